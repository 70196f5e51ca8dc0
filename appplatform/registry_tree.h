// The registry in memory and its text form, one line per key and per
// value:
//
//   ductra registry 1
//   key HKLM "SOFTWARE\Korvale Software\Ductra\9.0"
//   value 4 "TimeOut" hex:90010000
//
// Names are UTF-8 in double quotes, with '%', '"' and control units written
// %XX and lone surrogates %uXXXX; data is hexadecimal, so every value comes
// back byte for byte. A value line belongs to the key line above it. Keys
// and values keep the order in which they were made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "appplatform/registry.h"

namespace ductra::platform {

class RegistryTree {
 public:
  struct Value {
    std::u16string name;
    std::uint32_t type = 0;
    std::vector<std::byte> data;
  };
  struct Key {
    Hive hive = Hive::local_machine;
    std::u16string path;
    std::vector<Value> values;
  };

  // Replaces the tree by the text's; false (tree emptied) when the text is
  // not a registry.
  bool parse(std::string_view text);
  std::string format() const;

  // Null when the key does not exist. The empty path is the hive's root,
  // which always exists.
  const Key* find_key(Hive hive, std::u16string_view path) const;
  // Makes the key and its missing parents; null when the path is malformed.
  Key* make_key(Hive hive, std::u16string_view path);

  static const Value* find_value(const Key& key, std::u16string_view name);
  static void set_value(Key& key, std::u16string_view name, std::uint32_t type, std::vector<std::byte> data);

  // Empty components, components over 255 units and paths with NUL units
  // are malformed; one leading or trailing '\' is allowed.
  static bool normalise_path(std::u16string_view path, std::u16string* normal);

 private:
  bool parse_line(std::string_view line);
  Key* stored_key(Hive hive, std::u16string_view normal_path);

  std::vector<Key> keys_;
};

}  // namespace ductra::platform

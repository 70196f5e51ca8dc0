// The device's registry: the key trees HKLM and HKCU with DWORD, string and
// binary values, kept in one text file under the device root
// ("registry.txt") that the device and the application both change.
//
// Key paths and value names are compared without regard to case and keep
// the case they were made with. Every change takes the registry's lock,
// reads the file anew, changes it and replaces it in one step, so two
// processes that write at once lose nothing. A read sees the file as the
// last finished change left it. A file that cannot be read back is never
// overwritten: changes fail with corrupt and the file stays as it is.
//
// Reading follows the device's rules, with one safety: a string value
// (string, expand_string, multi_string) always comes back terminated by a
// 0 unit (two for multi_string), whatever was stored, and its size counts
// that terminator; a buffer without room for it gets more_data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include "appplatform/device_root.h"
#include "appplatform/status.h"

namespace ductra::platform {

enum class Hive { local_machine, current_user };

enum class ValueType : std::uint32_t {
  none = 0,
  string = 1,
  expand_string = 2,
  binary = 3,
  dword = 4,
  multi_string = 7,
};

class Registry {
 public:
  explicit Registry(const DeviceRoot& root);

  // Makes the key and every key above it that is missing.
  Status create_key(Hive hive, std::u16string_view key) const;
  bool key_exists(Hive hive, std::u16string_view key) const;

  // Reads value `name` (empty: the key's default value) of an existing key.
  // A null `buffer` asks only for the size. more_data when the buffer is
  // too small; `size` then holds the size needed. `type` may be null.
  Status read_value(Hive hive, std::u16string_view key, std::u16string_view name, ValueType* type,
                    std::span<std::byte> buffer, std::uint32_t* size) const;

  // Stores value `name` of an existing key, replacing any value of that name.
  Status write_value(Hive hive, std::u16string_view key, std::u16string_view name, ValueType type,
                     std::span<const std::byte> data) const;

  // Shorthands for DWORD values.
  Status read_dword(Hive hive, std::u16string_view key, std::u16string_view name, std::uint32_t* value) const;
  Status write_dword(Hive hive, std::u16string_view key, std::u16string_view name, std::uint32_t value) const;

  const std::filesystem::path& file() const { return file_; }

 private:
  std::filesystem::path file_;
  std::filesystem::path lock_;
};

}  // namespace ductra::platform

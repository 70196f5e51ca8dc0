// Libraries loaded by name (LoadLibrary, the driver loader): the library
// map says which host library stands for a device library (the component
// "\Windows\Quillpad.dll", the touch driver, a language module) or that there is
// none ("gdiplus"). Names are matched as device programs are (full path or
// file name, without case), and a missing ".dll" counts as present. A name
// the map does not know is looked for as a device file: a bare name in
// "\Windows", then in "\Program Files\Ductra".
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "appplatform/device_root.h"
#include "appplatform/status.h"

namespace ductra::platform {

class LibraryMap {
 public:
  // An empty host path says that the library does not exist.
  void add(std::u16string device_name, std::filesystem::path host_library);
  // Null when the map does not know the name.
  const std::filesystem::path* find(std::u16string_view name) const;

  // The map with the device's fixed entries: "gdiplus" maps to none.
  static LibraryMap standard();

 private:
  struct Entry {
    std::u16string device_name;
    std::filesystem::path host_library;
  };
  std::vector<Entry> entries_;
};

class Library {
 public:
  Library() = default;
  ~Library() { close(); }
  Library(Library&& other) noexcept;
  Library& operator=(Library&& other) noexcept;
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  // not_found when the name maps to none or to nothing that loads.
  static Status load(const DeviceRoot& root, const LibraryMap& map, std::u16string_view name, Library* out);

  bool is_loaded() const { return handle_ != nullptr; }
  // The entry point `symbol`; null when the library lacks it.
  void* entry(const char* symbol) const;
  void close();

 private:
  void* handle_ = nullptr;
};

}  // namespace ductra::platform

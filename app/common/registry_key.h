// The application's small registry operations: an open key under HKLM with
// DWORD reads and writes, and one-shot reads and writes of a value of any
// type. Each opens the key, creating it (and the keys above it) when
// missing, so a first run finds its keys in place after the first call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "appplatform/registry.h"
#include "appplatform/status.h"

namespace ductra {

class RegistryKey {
 public:
  // Opens `path` under HKLM, creating it when missing; is_open() tells
  // whether that worked.
  RegistryKey(const platform::Registry& registry, std::u16string_view path);

  bool is_open() const { return open_; }

  // True only when the value exists and holds exactly 4 bytes (of any type).
  bool read_dword(std::u16string_view name, std::uint32_t* value) const;
  // The same; stores 1 for any value other than 0.
  bool read_bool(std::u16string_view name, std::uint32_t* value) const;
  platform::Status write_dword(std::u16string_view name, std::uint32_t value) const;

 private:
  const platform::Registry& registry_;
  std::u16string path_;
  bool open_ = false;
};

// Reads value `name` of `key` (under `hive`, created when missing) into the
// buffer; `size` (may be null) receives the value's size. False when the
// value is missing or does not fit.
bool read_registry_value(const platform::Registry& registry, platform::Hive hive, std::u16string_view key,
                         std::u16string_view name, std::span<std::byte> buffer, std::uint32_t* size);

// Stores value `name` of `key` under HKLM (created when missing).
platform::Status write_registry_value(const platform::Registry& registry, std::u16string_view key,
                                      std::u16string_view name, std::span<const std::byte> data,
                                      platform::ValueType type);

}  // namespace ductra

#include "app/common/registry_key.h"

namespace ductra {

using platform::Hive;
using platform::Status;

RegistryKey::RegistryKey(const platform::Registry& registry, std::u16string_view path)
    : registry_(registry), path_(path), open_(registry.create_key(Hive::local_machine, path) == Status::ok) {}

bool RegistryKey::read_dword(std::u16string_view name, std::uint32_t* value) const {
  return open_ && registry_.read_dword(Hive::local_machine, path_, name, value) == Status::ok;
}

bool RegistryKey::read_bool(std::u16string_view name, std::uint32_t* value) const {
  std::uint32_t stored = 0;
  if (!read_dword(name, &stored)) return false;
  *value = stored != 0 ? 1 : 0;
  return true;
}

Status RegistryKey::write_dword(std::u16string_view name, std::uint32_t value) const {
  if (!open_) return Status::not_found;
  return registry_.write_dword(Hive::local_machine, path_, name, value);
}

bool read_registry_value(const platform::Registry& registry, Hive hive, std::u16string_view key,
                         std::u16string_view name, std::span<std::byte> buffer, std::uint32_t* size) {
  if (registry.create_key(hive, key) != Status::ok) return false;
  std::uint32_t stored_size = 0;
  const Status status = registry.read_value(hive, key, name, nullptr, buffer, &stored_size);
  if (size != nullptr) *size = stored_size;
  return status == Status::ok;
}

Status write_registry_value(const platform::Registry& registry, std::u16string_view key, std::u16string_view name,
                            std::span<const std::byte> data, platform::ValueType type) {
  const Status created = registry.create_key(Hive::local_machine, key);
  if (created != Status::ok) return created;
  return registry.write_value(Hive::local_machine, key, name, type, data);
}

}  // namespace ductra

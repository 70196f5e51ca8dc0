#include "appplatform/install_dir.h"

#include <algorithm>
#include <array>

namespace ductra::platform {
namespace {

bool is_string_type(ValueType type) { return type == ValueType::string || type == ValueType::expand_string; }

// The recorded folder, bounded by the bytes actually read and by its first
// 0 unit; empty when there is none that can be used.
std::u16string recorded_install_dir(const Registry& registry) {
  if (!registry.key_exists(Hive::local_machine, kInstallKey)) return {};
  std::array<char16_t, kMaxInstallDir + 1> units{};
  std::uint32_t size = 0;
  ValueType type = ValueType::none;
  const Status status = registry.read_value(Hive::local_machine, kInstallKey, u"InstallDir", &type,
                                            std::as_writable_bytes(std::span(units)), &size);
  if (status != Status::ok || !is_string_type(type)) return {};
  const std::size_t read_units = std::min<std::size_t>(size / sizeof(char16_t), units.size());
  const auto end = std::find(units.begin(), units.begin() + read_units, u'\0');
  std::u16string folder(units.begin(), end);
  return folder.size() <= kMaxInstallDir ? folder : std::u16string{};
}

}  // namespace

std::u16string install_dir_path(const Registry& registry, std::u16string_view name) {
  std::u16string path = recorded_install_dir(registry);
  if (path.empty()) path = kDefaultInstallDir;
  path += u'\\';
  path += name;
  return path;
}

}  // namespace ductra::platform

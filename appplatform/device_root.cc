#include "appplatform/device_root.h"

#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

#include "appplatform/text.h"

namespace ductra::platform {
namespace {

std::filesystem::path environment_path(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0' ? std::filesystem::path(value) : std::filesystem::path();
}

bool is_separator(char16_t unit) { return unit == u'\\' || unit == u'/'; }

// The components of a device path; false when one of them is unsafe.
bool split_device_path(std::u16string_view path, std::vector<std::u16string_view>* parts) {
  if (!path.empty() && is_separator(path.front())) path.remove_prefix(1);
  if (!path.empty() && is_separator(path.back())) path.remove_suffix(1);
  if (path.empty()) return true;
  std::size_t start = 0;
  while (true) {
    std::size_t end = start;
    while (end < path.size() && !is_separator(path[end])) ++end;
    const std::u16string_view part = path.substr(start, end - start);
    if (part.empty() || part == u"." || part == u".." || part.find(u'\0') != part.npos) return false;
    parts->push_back(part);
    if (end == path.size()) return true;
    start = end + 1;
  }
}

// The entry of `folder` whose name equals `part` without regard to case;
// the name as given when there is none.
std::filesystem::path match_entry(const std::filesystem::path& folder, std::u16string_view part) {
  const std::string wanted = to_utf8(part);
  std::error_code error;
  if (std::filesystem::exists(folder / wanted, error)) return folder / wanted;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (equal_ignoring_case(to_utf16(name), part)) return entry.path();
  }
  return folder / wanted;
}

}  // namespace

DeviceRoot DeviceRoot::from_environment() {
  if (auto root = environment_path("DUCTRA_DEVICE_ROOT"); !root.empty()) return DeviceRoot(root);
  if (auto data = environment_path("XDG_DATA_HOME"); !data.empty()) return DeviceRoot(data / "ductra");
  return DeviceRoot(environment_path("HOME") / ".local" / "share" / "ductra");
}

Status DeviceRoot::prepare() const {
  for (const char16_t* folder : {u"\\Windows\\StartUp", u"\\temp", u"\\Program Files\\Ductra"}) {
    std::filesystem::path host;
    if (to_host(folder, &host) != Status::ok) return Status::invalid_argument;
    std::error_code error;
    std::filesystem::create_directories(host, error);
    if (error) return Status::access_denied;
  }
  return Status::ok;
}

Status DeviceRoot::to_host(std::u16string_view device_path, std::filesystem::path* host) const {
  std::vector<std::u16string_view> parts;
  if (!split_device_path(device_path, &parts)) return Status::invalid_argument;
  std::filesystem::path result = host_;
  for (const auto part : parts) result = match_entry(result, part);
  *host = result;
  return Status::ok;
}

}  // namespace ductra::platform

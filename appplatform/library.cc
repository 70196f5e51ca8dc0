#include "appplatform/library.h"

#include <dlfcn.h>

#include <utility>

#include "appplatform/program_map.h"
#include "appplatform/text.h"

namespace ductra::platform {
namespace {

std::u16string_view without_dll(std::u16string_view name) {
  if (name.size() > 4 && equal_ignoring_case(name.substr(name.size() - 4), u".dll")) name.remove_suffix(4);
  return name;
}

bool same_library(std::u16string_view a, std::u16string_view b) {
  return equal_ignoring_case(without_dll(a), without_dll(b));
}

// The host file of a device library the map does not know; empty when
// there is none.
std::filesystem::path device_library(const DeviceRoot& root, std::u16string_view name) {
  const bool bare_name = device_file_name(name).size() == name.size();
  for (const std::u16string_view folder : {u"\\Windows\\", u"\\Program Files\\Ductra\\"}) {
    std::filesystem::path host;
    const std::u16string path = bare_name ? std::u16string(folder) + std::u16string(name) : std::u16string(name);
    std::error_code error;
    if (root.to_host(path, &host) == Status::ok && std::filesystem::is_regular_file(host, error)) return host;
    if (!bare_name) break;
  }
  return {};
}

}  // namespace

void LibraryMap::add(std::u16string device_name, std::filesystem::path host_library) {
  entries_.push_back(Entry{std::move(device_name), std::move(host_library)});
}

const std::filesystem::path* LibraryMap::find(std::u16string_view name) const {
  const bool bare_name = device_file_name(name).size() == name.size();
  for (const Entry& entry : entries_) {
    const std::u16string_view key = bare_name ? device_file_name(entry.device_name) : entry.device_name;
    if (same_library(key, name)) return &entry.host_library;
  }
  return nullptr;
}

LibraryMap LibraryMap::standard() {
  LibraryMap map;
  map.add(u"gdiplus", {});
  return map;
}

Library::Library(Library&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

Library& Library::operator=(Library&& other) noexcept {
  if (this != &other) {
    close();
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

Status Library::load(const DeviceRoot& root, const LibraryMap& map, std::u16string_view name, Library* out) {
  if (name.empty()) return Status::invalid_argument;
  const std::filesystem::path* mapped = map.find(name);
  const std::filesystem::path host = mapped != nullptr ? *mapped : device_library(root, name);
  if (host.empty()) return Status::not_found;
  void* handle = ::dlopen(host.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) return Status::not_found;
  out->close();
  out->handle_ = handle;
  return Status::ok;
}

void* Library::entry(const char* symbol) const { return handle_ == nullptr ? nullptr : ::dlsym(handle_, symbol); }

void Library::close() {
  if (handle_ != nullptr) ::dlclose(handle_);
  handle_ = nullptr;
}

}  // namespace ductra::platform

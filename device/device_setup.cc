#include "device/device_setup.h"

#include <system_error>

#include "appplatform/component_protocol.h"
#include "appplatform/registry.h"

namespace ductra::device {
namespace {

bool copy_default_data(const platform::DeviceRoot& root, const DeviceFiles& files, std::string* error) {
  std::filesystem::path folder;
  if (root.to_host(u"\\Program Files\\Ductra", &folder) != platform::Status::ok) {
    *error = "no application folder in the device root";
    return false;
  }
  std::error_code failure;
  for (const auto& entry : std::filesystem::directory_iterator(files.data_dir, failure)) {
    const std::filesystem::path name = entry.path().filename();
    if (name != "qlmain.dt" && name.extension() != ".wlb") continue;
    std::filesystem::copy_file(entry.path(), folder / name, std::filesystem::copy_options::skip_existing, failure);
    if (failure) {
      *error = "cannot copy " + entry.path().string() + ": " + failure.message();
      return false;
    }
  }
  if (failure || !std::filesystem::exists(folder / "qlmain.dt")) {
    *error = "no default data file in " + files.data_dir.string();
    return false;
  }
  return true;
}

bool link_library(const platform::DeviceRoot& root, std::u16string_view device_name,
                  const std::filesystem::path& host_library, std::string* error) {
  std::filesystem::path link;
  std::error_code failure;
  if (root.to_host(device_name, &link) != platform::Status::ok || !std::filesystem::exists(host_library, failure)) {
    *error = "missing library " + host_library.string();
    return false;
  }
  std::filesystem::remove(link, failure);
  std::filesystem::create_symlink(host_library, link, failure);
  if (failure) *error = "cannot link " + link.string() + ": " + failure.message();
  return !failure;
}

bool record_default_input_method(const platform::DeviceRoot& root, const platform::Guid& clsid) {
  const platform::Registry registry(root);
  std::uint32_t size = 0;
  if (registry.read_value(platform::kDefaultImHive, platform::kDefaultImKey, platform::kDefaultImValue, nullptr, {},
                          &size) == platform::Status::ok) {
    return true;
  }
  std::u16string text = platform::guid_to_string(clsid);
  text.push_back(u'\0');
  return registry.create_key(platform::kDefaultImHive, platform::kDefaultImKey) == platform::Status::ok &&
         registry.write_value(platform::kDefaultImHive, platform::kDefaultImKey, platform::kDefaultImValue,
                              platform::ValueType::string, std::as_bytes(std::span(text))) == platform::Status::ok;
}

}  // namespace

bool set_up_device_root(const platform::DeviceRoot& root, const DeviceFiles& files, const char* touch_driver,
                        const platform::Guid& default_input_method, std::string* error) {
  if (root.prepare() != platform::Status::ok) {
    *error = "cannot make the device root " + root.host().string();
    return false;
  }
  if (!copy_default_data(root, files, error) ||
      !link_library(root, u"\\Windows\\Quillpad.dll", files.library(kComponentLibrary), error) ||
      !link_library(root, u"\\Windows\\touch.dll", files.library(touch_driver), error)) {
    return false;
  }
  if (!record_default_input_method(root, default_input_method)) {
    *error = "cannot write the device's registry";
    return false;
  }
  return true;
}

}  // namespace ductra::device

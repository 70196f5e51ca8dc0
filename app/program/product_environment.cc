#include "app/program/product_environment.h"

#include "app/common/localizer.h"
#include "app/common/ui_helpers.h"
#include "app/shell/startup_link.h"
#include "appplatform/request_log.h"

namespace ductra {
namespace {

constexpr std::u16string_view kDataFileName = u"\\qlmain.dt";
constexpr std::u16string_view kOverridesFile = u"\\rec_param.txt";

std::filesystem::path host_path(const platform::DeviceRoot& root, std::u16string_view device_path) {
  std::filesystem::path host;
  root.to_host(device_path, &host);
  return host;
}

}  // namespace

ProductEnvironment::ProductEnvironment(platform::WindowSystem& windows, const platform::DeviceRoot& root,
                                       const platform::RuntimeDir& runtime, Engine& engine)
    : windows_(windows), root_(root), runtime_(runtime), engine_(engine), parts_(windows, root, runtime, engine) {}

std::uint32_t ProductEnvironment::load_settings() {
  RegistrySettings& settings = parts_.settings();
  settings.set_default_settings();
  settings.load_settings();
  localizer().set_language(settings.language());
  return settings.record().branding;
}

void ProductEnvironment::show_message(int string_id) {
  localizer().message_box({}, static_cast<std::uint32_t>(string_id), 0, 0);
}

void ProductEnvironment::reboot_device() { platform::request_reboot(root_); }

void ProductEnvironment::remove_startup_link() { ductra::remove_startup_link(root_); }

std::unique_ptr<Controller> ProductEnvironment::make_controller(platform::WindowHandle shell_window) {
  return std::make_unique<Controller>(windows_, shell_window, engine_,
                                      CoreFiles{data_file(), host_path(root_, kOverridesFile)},
                                      parts_.controller_parts());
}

std::filesystem::path ProductEnvironment::data_file() const {
  return host_path(root_, exe_directory() + std::u16string(kDataFileName));
}

}  // namespace ductra

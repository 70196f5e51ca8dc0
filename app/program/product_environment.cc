#include "app/program/product_environment.h"

#include "app/common/localizer.h"
#include "app/common/ui_helpers.h"
#include "app/settings/installation_dialogs.h"
#include "app/shell/cabinet_installation.h"
#include "app/shell/startup_link.h"
#include "app/windows/ctl_color_registry.h"
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
    : windows_(windows),
      root_(root),
      runtime_(runtime),
      engine_(engine),
      facts_(platform::SystemFacts::from_environment()),
      registry_(root),
      programs_(platform::ProgramMap::standard(platform::application_host_program())),
      settings_(registry_),
      errors_(registry_, settings_) {}

// The parts go before the settings and error reporting they use.
ProductEnvironment::~ProductEnvironment() { parts_.reset(); }

void ProductEnvironment::empty_prompt_colours() { CtlColorRegistry::instance().clear(); }

std::uint32_t ProductEnvironment::load_settings() {
  settings_.set_default_settings();
  settings_.load_settings();
  localizer().set_language(settings_.language());
  return settings_.record().branding;
}

void ProductEnvironment::install_cab(std::u16string_view device_path) {
  ductra::install_cab(CabinetPlatform{root_, registry_, programs_, facts_.os_major_version}, device_path);
}

void ProductEnvironment::show_message(int string_id) {
  localizer().message_box({}, static_cast<std::uint32_t>(string_id), 0, 0);
}

void ProductEnvironment::reboot_device() { platform::request_reboot(root_); }

void ProductEnvironment::remove_startup_link() { ductra::remove_startup_link(root_); }

void ProductEnvironment::run_dialog(int dialog_id, platform::WindowHandle parent) {
  run_installation_dialog(dialog_id, parent);
}

std::unique_ptr<Controller> ProductEnvironment::make_controller(platform::WindowHandle shell_window) {
  const ProgramDevice device{windows_, root_, runtime_, registry_, programs_, facts_};
  parts_ = std::make_unique<ApplicationParts>(device, engine_, shell_window, settings_, errors_);
  return std::make_unique<Controller>(windows_, shell_window, engine_,
                                      CoreFiles{data_file(), host_path(root_, kOverridesFile)},
                                      parts_->controller_parts());
}

std::filesystem::path ProductEnvironment::data_file() const {
  return host_path(root_, exe_directory() + std::u16string(kDataFileName));
}

}  // namespace ductra

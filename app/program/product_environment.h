// What a run of the application has of its device: the window system
// reached through the device's server, the device's root and runtime
// folder, the loaded engine, the settings and the parts of the controller.
// The installation dialogs and the cabinet installer are not in this build:
// a first run shows no dialogs and a "reboot" records no installation.
#pragma once

#include "app/program/application_parts.h"
#include "app/shell/ductra_main.h"

namespace ductra {

class ProductEnvironment final : public StartupEnvironment {
 public:
  ProductEnvironment(platform::WindowSystem& windows, const platform::DeviceRoot& root,
                     const platform::RuntimeDir& runtime, Engine& engine);

  platform::WindowSystem& windows() override { return windows_; }
  const platform::RuntimeDir& runtime() override { return runtime_; }
  ErrorReports& errors() override { return parts_.errors(); }
  std::uint32_t load_settings() override;
  void install_cab(std::u16string_view) override {}
  void show_message(int string_id) override;
  void reboot_device() override;
  void remove_startup_link() override;
  void run_dialog(int, platform::WindowHandle) override {}
  std::unique_ptr<Controller> make_controller(platform::WindowHandle shell_window) override;

  // The engine's data file: "qlmain.dt" in the program's folder.
  std::filesystem::path data_file() const;

 private:
  platform::WindowSystem& windows_;
  const platform::DeviceRoot& root_;
  const platform::RuntimeDir& runtime_;
  Engine& engine_;
  ApplicationParts parts_;
};

}  // namespace ductra

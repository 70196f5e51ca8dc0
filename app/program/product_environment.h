// What a run of the application has of its device: the window system
// reached through the device's server, the device's root and runtime
// folder, its registry, programs and facts, the loaded engine, the settings,
// error reporting, and the parts of the controller (made with the
// controller, over the shell window). The first run's dialogs and the
// cabinet installation of a "reboot" run on the device's own pieces.
#pragma once

#include <memory>

#include "app/program/application_parts.h"
#include "app/shell/ductra_main.h"

namespace ductra {

class ProductEnvironment final : public StartupEnvironment {
 public:
  // Everything given must outlive the environment.
  ProductEnvironment(platform::WindowSystem& windows, const platform::DeviceRoot& root,
                     const platform::RuntimeDir& runtime, Engine& engine);
  ~ProductEnvironment() override;

  platform::WindowSystem& windows() override { return windows_; }
  const platform::RuntimeDir& runtime() override { return runtime_; }
  ErrorReports& errors() override { return errors_; }
  void empty_prompt_colours() override;
  std::uint32_t load_settings() override;
  void install_cab(std::u16string_view device_path) override;
  void show_message(int string_id) override;
  void reboot_device() override;
  void remove_startup_link() override;
  void run_dialog(int dialog_id, platform::WindowHandle parent) override;
  std::unique_ptr<Controller> make_controller(platform::WindowHandle shell_window) override;

  // The engine's data file: "qlmain.dt" in the program's folder.
  std::filesystem::path data_file() const;

 private:
  platform::WindowSystem& windows_;
  const platform::DeviceRoot& root_;
  const platform::RuntimeDir& runtime_;
  Engine& engine_;
  const platform::SystemFacts facts_;
  const platform::Registry registry_;
  const platform::ProgramMap programs_;
  RegistrySettings settings_;
  ShellErrorHost errors_;
  std::unique_ptr<ApplicationParts> parts_;
};

}  // namespace ductra

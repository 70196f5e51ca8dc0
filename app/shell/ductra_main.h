// The program's entry: the three ways Ductra is started.
//
// "reboot" (compared whole and case-sensitively) finishes an installation:
// the cabinet is installed unless the branding forbids it, the user is told,
// and the device is restarted. The empty command line is the first run: the
// start-up link is removed and the two installation dialogs are shown. Any
// other command line (the input-panel component passes "start") is a normal
// run: unless another instance's shell window exists (exit code 1, nothing
// left open) it creates the shell window, signals "window created" (an
// event the device's processes share), raises the "is still alive" sign, builds the controller (exit code 4 when it cannot)
// and runs the message loop until WM_QUIT, then takes everything down in
// order (exit code 0).
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "app/shell/controller.h"
#include "appplatform/component_protocol.h"
#include "appplatform/runtime_dir.h"
#include "appplatform/window_system.h"

namespace ductra {

using platform::kWindowCreatedEvent;
inline constexpr std::u16string_view kPromptStrokeEndedEvent = u"Korvale Software Ductra prompt stroke ended Event";
inline constexpr std::u16string_view kStillAliveEvent = u"Korvale Software Ductra is still alive Event";
inline constexpr std::u16string_view kInstallationCab = u"\\temp\\Catalog.arm.cab";
inline constexpr std::u16string_view kInstallationClass = u"Ductra Installation Class";

// The text shown before the device restarts, and the installation dialogs.
inline constexpr int kStringRestartingDevice = 30;
inline constexpr int kDialogInstallationDone = 133;
inline constexpr int kDialogFlourishes = 154;
inline constexpr std::uint32_t kRebootPauseMs = 2000;

enum ExitCode : int { kExitNormal = 0, kExitNotStarted = 1, kExitNoController = 4 };

// What a run needs of the device beyond the window system.
class StartupEnvironment {
 public:
  virtual ~StartupEnvironment() = default;
  virtual platform::WindowSystem& windows() = 0;
  // Where the device keeps the objects its processes share by name.
  virtual const platform::RuntimeDir& runtime() = 0;
  virtual ErrorReports& errors() = 0;
  // Empties the prompt bubble's registry of control colours, before the
  // shell window exists.
  virtual void empty_prompt_colours() = 0;
  // Loads the settings record (defaults, then the registry), sets the
  // localizer's language from it and returns its branding value.
  virtual std::uint32_t load_settings() = 0;
  virtual void install_cab(std::u16string_view device_path) = 0;
  virtual void show_message(int string_id) = 0;
  virtual void reboot_device() = 0;  // recorded by the device, never carried out
  // Deletes the start-up link; a missing link is no error.
  virtual void remove_startup_link() = 0;
  virtual void run_dialog(int dialog_id, platform::WindowHandle parent) = 0;
  // Builds the controller for the shell window; null when it cannot.
  virtual std::unique_ptr<Controller> make_controller(platform::WindowHandle shell_window) = 0;
};

// Whether the branding value lets "reboot" install the cabinet.
bool branding_installs_cab(std::uint32_t branding);

int ductra_main(std::u16string_view command_line, StartupEnvironment& environment);

}  // namespace ductra

#include "app/shell/ductra_main.h"

#include "app/shell/shell_window.h"
#include "appplatform/alive_marker.h"
#include "appplatform/shared_event.h"
#include "appplatform/wait.h"

namespace ductra {
namespace {

// The branding variants that ship without the cabinet.
constexpr std::uint32_t kBrandingVariants = 255;

int finish_installation(StartupEnvironment& environment) {
  if (branding_installs_cab(environment.load_settings())) environment.install_cab(kInstallationCab);
  environment.show_message(kStringRestartingDevice);
  platform::sleep_for(kRebootPauseMs);
  environment.reboot_device();
  return kExitNormal;
}

platform::MessageResult installation_window_proc(platform::WindowHandle, std::uint32_t, platform::WParam,
                                                 platform::LParam) {
  return 0;
}

int run_first_time_setup(StartupEnvironment& environment) {
  environment.load_settings();
  environment.remove_startup_link();
  platform::WindowSystem& windows = environment.windows();
  windows.register_class({std::u16string(kInstallationClass), installation_window_proc, 0, 0});
  platform::CreateWindowParams params;
  params.class_name = kInstallationClass;
  params.title = u"Ductra";
  params.style = platform::WS_VISIBLE;
  params.width = 1000;
  params.height = 1000;
  const platform::WindowHandle window = windows.create_window(params);
  environment.run_dialog(kDialogInstallationDone, window);
  environment.run_dialog(kDialogFlourishes, window);
  windows.destroy_window(window);
  windows.unregister_class(kInstallationClass);
  return kExitNormal;
}

// Null when the device has no room for it: the run goes on without.
std::unique_ptr<platform::SharedEvent> create_named_event(const platform::RuntimeDir& runtime,
                                                          std::u16string_view name) {
  std::unique_ptr<platform::SharedEvent> event;
  platform::SharedEvent::create(runtime, name, platform::EventReset::automatic, false, &event);
  return event;
}

void run_message_loop(platform::WindowSystem& windows) {
  platform::Message message;
  while (windows.get_message(message) > 0) windows.dispatch_message(message);
}

int run_normally(StartupEnvironment& environment) {
  platform::WindowSystem& windows = environment.windows();
  const platform::RuntimeDir& runtime = environment.runtime();
  std::unique_ptr<platform::SharedEvent> window_created = create_named_event(runtime, kWindowCreatedEvent);
  std::unique_ptr<platform::SharedEvent> prompt_stroke_ended =
      create_named_event(runtime, kPromptStrokeEndedEvent);
  environment.empty_prompt_colours();
  if (init_shell(windows, environment.errors()) != InitShell::created) return kExitNotStarted;
  if (window_created) window_created->set();
  platform::AliveMarker still_alive;
  platform::AliveMarker::hold(runtime, kStillAliveEvent, &still_alive);
  std::unique_ptr<Controller> controller = environment.make_controller(shell_window());
  if (!controller) {
    destroy_shell_window(windows);  // as the end of the process would
    return kExitNoController;
  }
  run_message_loop(windows);
  publish_controller(nullptr);
  controller.reset();
  still_alive.release();
  destroy_shell_window(windows);
  return kExitNormal;
}

}  // namespace

bool branding_installs_cab(std::uint32_t branding) {
  const std::uint32_t variant = branding % kBrandingVariants;
  return variant != 3 && variant != 4;
}

int ductra_main(std::u16string_view command_line, StartupEnvironment& environment) {
  if (command_line == u"reboot") return finish_installation(environment);
  if (command_line.empty()) return run_first_time_setup(environment);
  return run_normally(environment);
}

}  // namespace ductra

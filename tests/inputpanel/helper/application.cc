// A stand-in for the application, started by the component through the
// launcher as "Ductra.exe start". It joins the device's window server,
// makes the shell window, sets "window created" and writes one line per
// event to "\ductra.log" of the device:
//   start                      when it runs
//   showing ours=1 shown=1     at WM_QUILLPAD_SHOWING (what query_im_state says)
//   hiding                     at WM_QUILLPAD_HIDING
//   deselect                   at WM_QUILLPAD_DESELECT; it then saves HKLM
//                              "SOFTWARE\Test" "Saved" and ends its loop
//   default selected <0|1>     after a posted kSelectDefault, which plays an
//                              engine failure: select_default_im
//   end                        when it ends
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "app/common/input_method.h"
#include "appplatform/component_protocol.h"
#include "appplatform/device_socket.h"
#include "appplatform/shared_event.h"
#include "appplatform/window_client.h"
#include "appplatform/window_system.h"

namespace {

using namespace ductra;

constexpr std::uint32_t kSelectDefault = platform::WM_APP + 1;

platform::DeviceRoot& root() {
  static platform::DeviceRoot device = platform::DeviceRoot::from_environment();
  return device;
}

void log_line(const std::string& line) {
  std::filesystem::path file;
  if (root().to_host(u"\\ductra.log", &file) != platform::Status::ok) return;
  std::ofstream(file, std::ios::app) << line << '\n';
}

void save_settings() {
  const platform::Registry registry(root());
  registry.create_key(platform::Hive::local_machine, u"SOFTWARE\\Test");
  registry.write_dword(platform::Hive::local_machine, u"SOFTWARE\\Test", u"Saved", 1);
}

platform::MessageResult shell_procedure(platform::WindowHandle window, std::uint32_t message, platform::WParam wparam,
                                        platform::LParam lparam) {
  platform::WindowSystem& system = platform::WindowSystem::current();
  switch (message) {
    case platform::WM_QUILLPAD_SHOWING: {
      const std::optional<ImState> state = query_im_state();
      log_line(state ? "showing ours=" + std::to_string(state->ours) + " shown=" + std::to_string(state->shown)
                     : "showing unknown");
      return 0;
    }
    case platform::WM_QUILLPAD_HIDING:
      log_line("hiding");
      return 0;
    case platform::WM_QUILLPAD_DESELECT:
      log_line("deselect");
      save_settings();
      system.post_quit_message(0);
      return 0;
    case kSelectDefault:
      log_line("default selected " + std::to_string(select_default_im(platform::Registry(root()), SipShow::unchanged)));
      return 0;
    default:
      return system.default_procedure(window, message, wparam, lparam);
  }
}

int run() {
  platform::RuntimeDir runtime;
  if (platform::RuntimeDir::for_device(root(), &runtime) != platform::Status::ok) return 2;
  std::unique_ptr<platform::SharedEvent> created;
  const platform::Status made =
      platform::SharedEvent::create(runtime, platform::kWindowCreatedEvent, platform::EventReset::automatic, false, &created);
  if (made != platform::Status::ok && made != platform::Status::already_exists) return 3;
  platform::WindowClient client;
  if (!client.connect(platform::window_server_socket(runtime))) return 4;
  platform::WindowSystem system(client);
  system.register_class({std::u16string(platform::kShellWindowClass), &shell_procedure});
  platform::CreateWindowParams params;
  params.class_name = platform::kShellWindowClass;
  params.title = platform::kShellWindowTitle;
  if (!system.create_window(params)) return 5;
  log_line("start");
  created->set();
  platform::Message message;
  while (system.get_message(message) > 0) system.dispatch_message(message);
  log_line("end");
  return 0;
}

}  // namespace

int main() { return run(); }

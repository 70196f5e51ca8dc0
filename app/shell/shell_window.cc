#include "app/shell/shell_window.h"

#include <atomic>

#include "app/common/ui_thread_caller.h"
#include "app/shell/controller.h"

namespace ductra {
namespace {

std::atomic<std::uint32_t> shell_window_id{0};
std::atomic<Controller*> controller{nullptr};

}  // namespace

InitShell init_shell(platform::WindowSystem& windows, ErrorReports& errors) {
  if (windows.find_window(kShellClass, kShellTitle)) return InitShell::another_instance;
  // Class style 0 and the stock white brush (number 0) behind a window never shown.
  if (!windows.register_class({std::u16string(kShellClass), shell_window_proc, 0, 0})) {
    errors.show_error_box(kStringCannotRegisterClass, kStringRestartAdvice);
    return InitShell::class_failed;
  }
  platform::CreateWindowParams params;
  params.class_name = kShellClass;
  params.title = kShellTitle;
  params.style = platform::WS_DISABLED;
  params.width = platform::CW_USEDEFAULT;
  params.height = platform::CW_USEDEFAULT;
  const platform::WindowHandle window = windows.create_window(params);
  if (!window) {
    errors.show_error_box(kStringCannotCreateWindow, kStringRestartAdvice);
    return InitShell::window_failed;
  }
  windows.show_window(window, platform::SW_HIDE);
  shell_window_id = window.id;
  return InitShell::created;
}

// The class goes with the window, as it would with the process, so a later
// run in the same process sets up afresh.
void destroy_shell_window(platform::WindowSystem& windows) {
  windows.destroy_window(shell_window());
  windows.unregister_class(kShellClass);
  shell_window_id = 0;
}

platform::WindowHandle shell_window() { return {shell_window_id.load()}; }

Controller* published_controller() { return controller.load(); }

void publish_controller(Controller* published) { controller = published; }

platform::MessageResult shell_window_proc(platform::WindowHandle window, std::uint32_t message,
                                          platform::WParam wparam, platform::LParam lparam) {
  if (message == WM_DUCTRA_RUN_ON_UI) return run_sent_work(lparam);
  Controller* handler = published_controller();
  return handler != nullptr ? handler->handle_message(window, message, wparam, lparam) : 0;
}

}  // namespace ductra

// The shell window: the one hidden, disabled top-level window of a normal
// run, whose procedure runs the work other threads hand the UI thread
// (ui_thread_caller.h) and hands every other message to the published
// controller (answering 0 while there is none), and the process-wide values
// around it.
#pragma once

#include <string_view>

#include "app/shell/controller_parts.h"
#include "appplatform/component_protocol.h"
#include "appplatform/window_system.h"

namespace ductra {

class Controller;

inline constexpr std::u16string_view kShellClass = platform::kShellWindowClass;
inline constexpr std::u16string_view kShellTitle = platform::kShellWindowTitle;

// Texts of the boxes when the class or the window cannot be made.
inline constexpr int kStringCannotRegisterClass = 21;
inline constexpr int kStringCannotCreateWindow = 23;

enum class InitShell {
  created = 0,
  another_instance = 1,   // a shell window exists already
  class_failed = 2,
  window_failed = 3,
};

// Sets up the shell window unless one exists: registers its class, creates
// it hidden and stores its handle (shell_window()). Failures show their box.
InitShell init_shell(platform::WindowSystem& windows, ErrorReports& errors);

// Destroys the shell window, unregisters its class and forgets it.
void destroy_shell_window(platform::WindowSystem& windows);

// The shell window of this process; null before init_shell.
platform::WindowHandle shell_window();

// The controller the shell window hands its messages to; null while none is
// published. Set and cleared on the UI thread.
Controller* published_controller();
void publish_controller(Controller* controller);

platform::MessageResult shell_window_proc(platform::WindowHandle window, std::uint32_t message,
                                          platform::WParam wparam, platform::LParam lparam);

}  // namespace ductra

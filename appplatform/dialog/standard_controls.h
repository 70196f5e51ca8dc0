// The standard controls of dialogs: their window procedures and the call
// that registers their classes in a process's window system. Each control
// paints itself on the display, takes pen and mouse input (a press
// captures it; a release inside acts) and keyboard input while it has the
// focus, and tells its parent what happened with WM_COMMAND.
#pragma once

#include "appplatform/window_system.h"

namespace ductra::platform {

// Registers every standard control class; a class already registered stays.
void register_standard_controls(WindowSystem& system);

MessageResult static_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam);
MessageResult button_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam);
MessageResult edit_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam);
MessageResult combo_box_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam);
MessageResult list_box_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam);
MessageResult trackbar_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam);
MessageResult up_down_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam);
MessageResult tab_control_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam);

}  // namespace ductra::platform

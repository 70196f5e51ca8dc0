// Whether this process's dialogs want the keyboard: while at least one
// dialog holding an edit field is open, the process tells the device's
// window server so (WindowSystem::set_keyboard_demand), and the device's
// window takes the keyboard focus from the desktop; when the last one
// closes, it says it no longer does. Safe to use from any thread.
#pragma once

namespace ductra::platform {

bool keyboard_wanted();

// One more (or one fewer) open dialog with an edit field.
void hold_keyboard();
void release_keyboard();

}  // namespace ductra::platform

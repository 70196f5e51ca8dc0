// Whether the device's own dialogs want the keyboard: while at least one
// dialog holding an edit field is open, the device's window should take
// the keyboard focus from the desktop, and give it back when the last one
// closes. The listener hears each change (true: wanted), on the thread
// that opened or closed the dialog. Safe to use from any thread.
#pragma once

#include <functional>

namespace ductra::platform {

// Installs the listener (empty: none); returns the previous one.
std::function<void(bool)> set_keyboard_demand_listener(std::function<void(bool)> listener);
bool keyboard_wanted();

// One more (or one fewer) open dialog with an edit field.
void hold_keyboard();
void release_keyboard();

}  // namespace ductra::platform

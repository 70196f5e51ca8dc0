// The application's end of the relay protocol (appplatform/relay_protocol.h):
// finding the input-panel component's relay window and sending it text and
// the recognition-mode state.
//
// The relay window is looked up afresh for every send: it is the first child
// of the input panel's window, when that child is of the relay class. Without
// it nothing is sent. A text goes as one WM_QUILLPAD_CHAR per unit, sent (so
// the window has queued every unit before the flush), then the flush.
#pragma once

#include <string_view>

#include "appplatform/window_system.h"

namespace ductra {

platform::WindowHandle find_sip_window(platform::WindowSystem& windows);

// The kind a unit is sent with, and the unit as sent: backspace, tab and
// carriage return go as themselves, a line feed as a carriage return, every
// other unit as a plain one.
platform::WParam relay_kind(char16_t unit);
char16_t relay_unit(char16_t unit);

// Makes `target` the foreground window first when it is a window and is not
// in front. False, and nothing sent, when there is no relay window.
bool send_text_to_sip(platform::WindowSystem& windows, std::u16string_view units, platform::WindowHandle target);

// The indicator of a recognition mode: 0 and 1 as themselves, 2 for 2 and 3.
int mode_indicator(int recognize_mode);

// Posts the state to the relay window, when there is one.
void post_sip_state(platform::WindowSystem& windows, int indicator, bool active);

}  // namespace ductra

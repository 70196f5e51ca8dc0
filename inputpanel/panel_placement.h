// Collapsing the input panel's window when the component shows: handwriting
// needs no panel area, so the panel becomes an invisible strip at x 0 just
// above the input-panel button (the top of the window "MS_SIPBUTTON"), or at
// the height of the work area when there is no button, with width and
// height 0. Its Z order, activation and its owner's order are left alone.
#pragma once

#include "appplatform/window_system.h"

namespace ductra::quillpad {

inline constexpr char16_t kSipButtonClass[] = u"MS_SIPBUTTON";

void collapse_panel(platform::WindowSystem& windows, platform::WindowHandle panel);

}  // namespace ductra::quillpad

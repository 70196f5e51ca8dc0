// What every control's painting shares: the context with the control's font
// and colours chosen, the background its parent asks for through the
// WM_CTLCOLOR* messages, and a one-pixel frame.
#pragma once

#include <cstdint>

#include "appplatform/draw/device_context.h"
#include "appplatform/window_types.h"

namespace ductra::platform {

struct ControlCanvas {
  DeviceContext dc;
  Rect client;
  Brush background;
};

// Begins painting `control`: a context on it with its font, the system's
// text colour and a transparent background mode, then asks the parent (the
// owner of a pop-up control) with
// `color_message` (wParam the context, lParam the control) whether it gives
// a brush (a const Brush* the parent keeps alive) and may change the
// context's colours; without one `fallback` is the background. The
// background is filled before this returns.
ControlCanvas begin_control_paint(WindowHandle control, std::uint32_t color_message, Brush fallback);

// A one-pixel frame just inside `rect`.
void draw_frame(DeviceContext& dc, const Rect& rect, ColorRef color);

// What every control does with a message it has no use for: at WM_DESTROY
// its record is forgotten; WM_SETFONT (wParam a const
// std::shared_ptr<const Font>*, null for the system font; lParam non-zero to
// redraw) sets its font; anything else goes to the default procedure.
MessageResult control_default(WindowHandle control, std::uint32_t message, WParam wparam, LParam lparam);

// The font a control draws with from now on, as WM_SETFONT gives it.
void set_control_font(WindowHandle control, WParam font, bool redraw);

// Sends WM_COMMAND with the control's id and `code` to its parent.
void notify_parent(WindowHandle control, int code);

}  // namespace ductra::platform

#include "appplatform/dialog/control_painting.h"

#include "appplatform/dialog/child_record.h"
#include "appplatform/dialog/window_context.h"
#include "appplatform/draw/color.h"
#include "appplatform/window_system.h"

namespace ductra::platform {
namespace {

// A child asks its parent; a pop-up control (a bubble) asks its owner.
WindowHandle colour_owner(WindowHandle control) {
  WindowSystem& system = WindowSystem::current();
  const WindowHandle parent = system.parent(control);
  return parent ? parent : system.get_window(control, GW_OWNER);
}

}  // namespace

ControlCanvas begin_control_paint(WindowHandle control, std::uint32_t color_message, Brush fallback) {
  WindowSystem& system = WindowSystem::current();
  system.end_paint(control, system.begin_paint(control));
  ControlCanvas canvas{window_context(control), system.client_rect(control).value_or(Rect{}), fallback};
  canvas.dc.select_font(child_font(control));
  canvas.dc.set_text_color(sys_color(system.is_window_enabled(control) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  canvas.dc.set_bk_mode(TRANSPARENT);
  const SendOutcome asked = system.send_message(colour_owner(control), color_message,
                                                reinterpret_cast<WParam>(&canvas.dc),
                                                static_cast<LParam>(control.id));
  if (asked.status == MessageStatus::delivered && asked.result != 0) {
    canvas.background = *reinterpret_cast<const Brush*>(asked.result);
  }
  canvas.dc.fill_rect(canvas.client, canvas.background);
  return canvas;
}

void draw_frame(DeviceContext& dc, const Rect& rect, ColorRef color) {
  const Brush line = solid_brush(color);
  dc.fill_rect({rect.left, rect.top, rect.right, rect.top + 1}, line);
  dc.fill_rect({rect.left, rect.bottom - 1, rect.right, rect.bottom}, line);
  dc.fill_rect({rect.left, rect.top, rect.left + 1, rect.bottom}, line);
  dc.fill_rect({rect.right - 1, rect.top, rect.right, rect.bottom}, line);
}

MessageResult control_default(WindowHandle control, std::uint32_t message, WParam wparam, LParam lparam) {
  if (message == WM_DESTROY) {
    forget_child_record(control);
    return 0;
  }
  if (message == WM_SETFONT) {
    set_control_font(control, wparam, lparam != 0);
    return 0;
  }
  return WindowSystem::current().default_procedure(control, message, wparam, lparam);
}

void set_control_font(WindowHandle control, WParam font, bool redraw) {
  const auto* given = reinterpret_cast<const std::shared_ptr<const Font>*>(font);
  child_record(control).font = given != nullptr ? *given : nullptr;
  if (redraw) WindowSystem::current().invalidate_rect(control, std::nullopt, true);
}

void notify_parent(WindowHandle control, int code) {
  WindowSystem& system = WindowSystem::current();
  system.send_message(system.parent(control), WM_COMMAND, make_wparam(child_id(control), code),
                      static_cast<LParam>(control.id));
}

}  // namespace ductra::platform

// The up-down control: two arrows one above the other. A tap on the upper
// one adds one to its position, on the lower one takes one off, within its
// range; the parent is asked first (UDN_DELTAPOS) and may refuse, then hears
// WM_VSCROLL with SB_THUMBPOSITION. With UDS_SETBUDDYINT the buddy window
// (UDM_SETBUDDY) shows the position in decimal.
#include "appplatform/dialog/up_down_control.h"

#include <string>

#include "appplatform/dialog/child_record.h"
#include "appplatform/dialog/control_painting.h"
#include "appplatform/dialog/standard_controls.h"
#include "appplatform/draw/color.h"
#include "appplatform/text.h"

namespace ductra::platform {
namespace {

void paint_arrow(DeviceContext& dc, const Rect& box, bool up) {
  dc.fill_rect(box, sys_color_brush(COLOR_BTNFACE));
  draw_frame(dc, box, sys_color(COLOR_WINDOWFRAME));
  const int x = (box.left + box.right) / 2;
  const int y = (box.top + box.bottom) / 2 + (up ? -2 : 2);
  for (int row = 0; row < 3; ++row) {
    const int top = up ? y + row : y - row;
    dc.fill_rect({x - row, top, x + row + 1, top + 1}, solid_brush(sys_color(COLOR_WINDOWTEXT)));
  }
}

void paint_up_down(WindowHandle window) {
  ControlCanvas canvas = begin_control_paint(window, WM_CTLCOLORSTATIC, sys_color_brush(COLOR_BTNFACE));
  const Rect& c = canvas.client;
  const int middle = (c.top + c.bottom) / 2;
  paint_arrow(canvas.dc, {c.left, c.top, c.right, middle}, true);
  paint_arrow(canvas.dc, {c.left, middle, c.right, c.bottom}, false);
}

void show_in_buddy(WindowHandle window) {
  WindowSystem& system = WindowSystem::current();
  const ChildRecord& record = child_record(window);
  const auto info = system.describe(window);
  if (!record.buddy || !info || !(info->style & UDS_SETBUDDYINT)) return;
  system.set_window_text(record.buddy, to_utf16(std::to_string(record.range.position)));
  system.invalidate_rect(record.buddy, std::nullopt, true);
}

void step(WindowHandle window, int delta) {
  WindowSystem& system = WindowSystem::current();
  UpDownNotify notify{{}, child_record(window).range.position, delta};
  notify.header.code = UDN_DELTAPOS;
  if (notify_parent(window, notify.header) != 0) return;
  Range& range = child_record(window).range;
  const int position = range.clamp(range.position + delta);
  if (position == range.position) return;
  range.position = position;
  show_in_buddy(window);
  system.send_message(system.parent(window), WM_VSCROLL, make_wparam(SB_THUMBPOSITION, position),
                      static_cast<LParam>(window.id));
}

void tap(WindowHandle window, Point at) {
  const Rect c = WindowSystem::current().client_rect(window).value_or(Rect{});
  step(window, at.y < (c.top + c.bottom) / 2 ? +1 : -1);
}

}  // namespace

MessageResult up_down_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  switch (message) {
    case WM_PAINT:
      paint_up_down(window);
      return 0;
    case WM_LBUTTONDOWN:
      tap(window, param_point(lparam));
      return 0;
    case UDM_SETBUDDY: {
      const WindowHandle previous = child_record(window).buddy;
      child_record(window).buddy = WindowHandle{static_cast<std::uint32_t>(wparam)};
      show_in_buddy(window);
      return previous.id;
    }
    case UDM_GETBUDDY:
      return child_record(window).buddy.id;
    case UDM_SETRANGE32: {
      Range& range = child_record(window).range;
      range.low = static_cast<int>(static_cast<std::intptr_t>(wparam));
      range.high = std::max(range.low, static_cast<int>(lparam));
      range.position = range.clamp(range.position);
      return 0;
    }
    case UDM_GETRANGE32: {
      const Range& range = child_record(window).range;
      if (auto* low = reinterpret_cast<int*>(wparam)) *low = range.low;
      if (auto* high = reinterpret_cast<int*>(lparam)) *high = range.high;
      return 0;
    }
    case UDM_SETPOS32: {
      Range& range = child_record(window).range;
      const int previous = range.position;
      range.position = range.clamp(static_cast<int>(lparam));
      show_in_buddy(window);
      return previous;
    }
    case UDM_GETPOS32:
      return child_record(window).range.position;
    default:
      return control_default(window, message, wparam, lparam);
  }
}

}  // namespace ductra::platform

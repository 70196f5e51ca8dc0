// The tab control: its tabs side by side in equal widths, the selected one
// shown raised. A tap on another tab asks the parent (WM_NOTIFY
// TCN_SELCHANGING; a non-zero answer keeps the current tab), selects it and
// tells the parent (TCN_SELCHANGE). TCM_SETCURSEL selects without telling.
// Tabs are added at the end (TCM_INSERTITEM gives the index they took).
#include "appplatform/dialog/child_record.h"
#include "appplatform/dialog/control_painting.h"
#include "appplatform/dialog/notify_header.h"
#include "appplatform/dialog/standard_controls.h"
#include "appplatform/draw/color.h"

namespace ductra::platform {
namespace {

Rect tab_rect(const Rect& client, int count, int index) {
  const int width = count > 0 ? client.width() / count : client.width();
  return {client.left + index * width, client.top, client.left + (index + 1) * width, client.bottom};
}

void paint_tabs(WindowHandle window) {
  ControlCanvas canvas = begin_control_paint(window, WM_CTLCOLORSTATIC, sys_color_brush(COLOR_BTNFACE));
  const ItemList& tabs = child_record(window).items;
  for (int i = 0; i < tabs.count(); ++i) {
    Rect tab = tab_rect(canvas.client, tabs.count(), i);
    const bool selected = i == tabs.selected();
    canvas.dc.fill_rect(tab, sys_color_brush(selected ? COLOR_WINDOW : COLOR_BTNFACE));
    draw_frame(canvas.dc, tab, sys_color(COLOR_WINDOWFRAME));
    canvas.dc.draw_text(*tabs.text(i), tab, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

bool notify(WindowHandle window, int code) {
  NotifyHeader header;
  header.code = code;
  return notify_parent(window, header) == 0;
}

// True when tab `index` is the selected one afterwards.
bool pick(WindowHandle window, int index) {
  const ItemList& tabs = child_record(window).items;
  if (!tabs.valid(index)) return false;
  if (index == tabs.selected()) return true;
  if (!notify(window, TCN_SELCHANGING)) return false;
  child_record(window).items.select(index);
  WindowSystem::current().invalidate_rect(window, std::nullopt, true);
  notify(window, TCN_SELCHANGE);
  return true;
}

void tap(WindowHandle window, Point at) {
  const int count = child_record(window).items.count();
  const Rect client = WindowSystem::current().client_rect(window).value_or(Rect{});
  for (int i = 0; i < count; ++i) {
    if (tab_rect(client, count, i).contains(at)) pick(window, i);
  }
}

}  // namespace

MessageResult tab_control_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  WindowSystem& system = WindowSystem::current();
  switch (message) {
    case WM_PAINT:
      paint_tabs(window);
      return 0;
    case WM_LBUTTONDOWN:
      tap(window, param_point(lparam));
      return 0;
    case CM_PICK:
      return pick(window, static_cast<int>(wparam)) ? 1 : 0;
    case TCM_INSERTITEM: {
      const auto* text = reinterpret_cast<const char16_t*>(lparam);
      if (!text) return kNoItem;
      system.invalidate_rect(window, std::nullopt, true);
      return child_record(window).items.add(text);
    }
    case TCM_GETITEMCOUNT:
      return child_record(window).items.count();
    case TCM_GETCURSEL:
      return child_record(window).items.selected();
    case TCM_SETCURSEL: {
      ItemList& tabs = child_record(window).items;
      const int previous = tabs.selected();
      if (!tabs.select(static_cast<int>(wparam))) return kNoItem;
      system.invalidate_rect(window, std::nullopt, true);
      return previous;
    }
    default:
      return control_default(window, message, wparam, lparam);
  }
}

}  // namespace ductra::platform

// The list box: its items one a row from the top, the selected one
// highlighted. A tap on a row selects it (with LBS_NOTIFY the parent hears
// LBN_SELCHANGE); LB_SETCURSEL selects without telling. With LBS_SORT the
// items are kept in the order of their texts; each has item data.
#include "appplatform/dialog/child_record.h"
#include "appplatform/dialog/control_painting.h"
#include "appplatform/dialog/list_calls.h"
#include "appplatform/dialog/standard_controls.h"
#include "appplatform/draw/color.h"

namespace ductra::platform {
namespace {

std::optional<ListCall> list_call_of(std::uint32_t message) {
  switch (message) {
    case LB_ADDSTRING: return ListCall::add;
    case LB_RESETCONTENT: return ListCall::clear;
    case LB_GETCOUNT: return ListCall::count;
    case LB_GETCURSEL: return ListCall::get_selection;
    case LB_SETCURSEL: return ListCall::set_selection;
    case LB_GETITEMDATA: return ListCall::get_data;
    case LB_SETITEMDATA: return ListCall::set_data;
    default: return std::nullopt;
  }
}

int row_height(WindowHandle window) { return child_font(window)->metrics().height + 2; }

void paint_list(WindowHandle window) {
  ControlCanvas canvas = begin_control_paint(window, WM_CTLCOLORLISTBOX, sys_color_brush(COLOR_WINDOW));
  const Rect& c = canvas.client;
  const ItemList& items = child_record(window).items;
  const int height = row_height(window);
  const ColorRef text_color = canvas.dc.text_color();
  for (int i = 0; i < items.count() && 1 + i * height < c.bottom; ++i) {
    Rect row{c.left + 1, c.top + 1 + i * height, c.right - 1, c.top + 1 + (i + 1) * height};
    const bool selected = i == items.selected();
    if (selected) canvas.dc.fill_rect(row, sys_color_brush(COLOR_HIGHLIGHT));
    canvas.dc.set_text_color(selected ? sys_color(COLOR_HIGHLIGHTTEXT) : text_color);
    row.left += 2;
    canvas.dc.draw_text(*items.text(i), row, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  draw_frame(canvas.dc, c, sys_color(COLOR_WINDOWFRAME));
}

bool pick(WindowHandle window, int row) {
  ItemList& items = child_record(window).items;
  if (!items.valid(row)) return false;
  if (row == items.selected()) return true;
  items.select(row);
  WindowSystem& system = WindowSystem::current();
  system.invalidate_rect(window, std::nullopt, true);
  const auto info = system.describe(window);
  if (info && (info->style & LBS_NOTIFY)) notify_parent(window, LBN_SELCHANGE);
  return true;
}

}  // namespace

MessageResult list_box_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  if (const auto call = list_call_of(message)) return answer_list_call(window, *call, wparam, lparam);
  switch (message) {
    case WM_CREATE:
      start_item_list(window, LBS_SORT);
      return 0;
    case WM_PAINT:
      paint_list(window);
      return 0;
    case WM_LBUTTONDOWN:
      pick(window, (param_point(lparam).y - 1) / row_height(window));
      return 0;
    case CM_PICK:
      return pick(window, static_cast<int>(wparam)) ? 1 : 0;
    default:
      return control_default(window, message, wparam, lparam);
  }
}

}  // namespace ductra::platform

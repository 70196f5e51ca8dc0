// The combo box, as a drop-down list: it shows the selected item; a tap
// opens the list under it (as a pop-up menu, so the pen or a script picks
// from it), and a pick selects that item and tells the parent with
// CBN_SELCHANGE. CB_SETCURSEL selects without telling. With CBS_SORT the
// items are kept in the order of their texts; each has a value of the
// caller's (item data).
#include "appplatform/dialog/child_record.h"
#include "appplatform/dialog/control_painting.h"
#include "appplatform/dialog/list_calls.h"
#include "appplatform/dialog/standard_controls.h"
#include "appplatform/draw/color.h"
#include "appplatform/popup_menu.h"

namespace ductra::platform {
namespace {

constexpr int kArrowWidth = 13;

std::optional<ListCall> list_call_of(std::uint32_t message) {
  switch (message) {
    case CB_ADDSTRING: return ListCall::add;
    case CB_RESETCONTENT: return ListCall::clear;
    case CB_GETCOUNT: return ListCall::count;
    case CB_GETCURSEL: return ListCall::get_selection;
    case CB_SETCURSEL: return ListCall::set_selection;
    case CB_GETITEMDATA: return ListCall::get_data;
    case CB_SETITEMDATA: return ListCall::set_data;
    default: return std::nullopt;
  }
}

void paint_combo(WindowHandle window) {
  ControlCanvas canvas = begin_control_paint(window, WM_CTLCOLOREDIT, sys_color_brush(COLOR_WINDOW));
  const Rect& c = canvas.client;
  draw_frame(canvas.dc, c, sys_color(COLOR_WINDOWFRAME));
  const Rect arrow{c.right - kArrowWidth, c.top, c.right, c.bottom};
  canvas.dc.fill_rect(arrow, sys_color_brush(COLOR_BTNFACE));
  draw_frame(canvas.dc, arrow, sys_color(COLOR_WINDOWFRAME));
  const Point tip{(arrow.left + arrow.right) / 2, (arrow.top + arrow.bottom) / 2 + 2};
  for (int row = 0; row < 4; ++row) {
    canvas.dc.fill_rect({tip.x - row, tip.y - row, tip.x + row + 1, tip.y - row + 1}, solid_brush(sys_color(COLOR_WINDOWTEXT)));
  }
  const ItemList& items = child_record(window).items;
  if (const std::u16string* text = items.text(items.selected())) {
    Rect text_area{c.left + 3, c.top, arrow.left - 2, c.bottom};
    canvas.dc.draw_text(*text, text_area, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
}

bool pick(WindowHandle window, int index) {
  if (!child_record(window).items.select(index)) return false;
  WindowSystem::current().invalidate_rect(window, std::nullopt, true);
  notify_parent(window, CBN_SELCHANGE);
  return true;
}

// The items as a menu below the box; ids are index + 1, 0 is no pick.
void drop_down(WindowHandle window) {
  WindowSystem& system = WindowSystem::current();
  ItemList& items = child_record(window).items;
  PopupMenu menu;
  for (int i = 0; i < items.count(); ++i) menu.append(MF_STRING, i + 1, *items.text(i));
  const Rect frame = system.window_rect(window).value_or(Rect{});
  const int picked = track_popup_menu(menu, TPM_RETURNCMD | TPM_NONOTIFY, frame.left, frame.bottom, window);
  if (picked > 0) pick(window, picked - 1);
}

}  // namespace

MessageResult combo_box_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  if (const auto call = list_call_of(message)) return answer_list_call(window, *call, wparam, lparam);
  switch (message) {
    case WM_CREATE:
      start_item_list(window, CBS_SORT);
      return 0;
    case WM_PAINT:
      paint_combo(window);
      return 0;
    case WM_LBUTTONUP:
      drop_down(window);
      return 0;
    case CM_PICK:
      return pick(window, static_cast<int>(wparam)) ? 1 : 0;
    default:
      return control_default(window, message, wparam, lparam);
  }
}

}  // namespace ductra::platform

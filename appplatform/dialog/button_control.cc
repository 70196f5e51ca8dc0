// The button control: push buttons, check boxes and radio buttons. A press
// captures the button and shows it held; lifting the pen inside clicks it
// (so does BM_CLICK, unless the button is disabled, or the space key while
// it has the focus). A click of
// an automatic check box toggles it, of an automatic radio button checks it
// and clears the other radio buttons of its group; then the parent gets
// BN_CLICKED.
#include "appplatform/dialog/child_record.h"
#include "appplatform/dialog/control_painting.h"
#include "appplatform/dialog/standard_controls.h"
#include "appplatform/draw/color.h"

namespace ductra::platform {
namespace {

constexpr int kMarkSide = 11;
constexpr int kTextGap = 4;

std::uint32_t style_of(WindowHandle window) {
  const auto info = WindowSystem::current().describe(window);
  return info ? info->style : 0;
}

std::uint32_t kind_of(WindowHandle window) { return style_of(window) & BS_TYPEMASK; }

bool is_radio(std::uint32_t kind) { return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON; }
bool is_check(std::uint32_t kind) { return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX; }

void set_check(WindowHandle window, WParam check) {
  ChildRecord& record = child_record(window);
  if (record.check == check) return;
  record.check = check;
  WindowSystem::current().invalidate_rect(window, std::nullopt, true);
}

// The first window of the group `window` belongs to: the nearest sibling at
// or before it with WS_GROUP, else the parent's first child.
WindowHandle group_start(WindowHandle window) {
  WindowSystem& system = WindowSystem::current();
  WindowHandle start = window;
  while (!(style_of(start) & WS_GROUP)) {
    const WindowHandle previous = system.get_window(start, GW_HWNDPREV);
    if (!previous) break;
    start = previous;
  }
  return start;
}

void clear_other_radios(WindowHandle window) {
  WindowSystem& system = WindowSystem::current();
  WindowHandle sibling = group_start(window);
  bool first = true;
  while (sibling && (first || !(style_of(sibling) & WS_GROUP))) {
    if (sibling != window && system.procedure(sibling) == button_procedure && kind_of(sibling) == BS_AUTORADIOBUTTON) {
      set_check(sibling, BST_UNCHECKED);
    }
    first = false;
    sibling = system.get_window(sibling, GW_HWNDNEXT);
  }
}

void click(WindowHandle window) {
  const std::uint32_t kind = kind_of(window);
  if (kind == BS_AUTOCHECKBOX) set_check(window, child_record(window).check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
  if (kind == BS_AUTORADIOBUTTON) {
    set_check(window, BST_CHECKED);
    clear_other_radios(window);
  }
  notify_parent(window, BN_CLICKED);
}

void set_pressed(WindowHandle window, bool pressed) {
  ChildRecord& record = child_record(window);
  if (record.pressed == pressed) return;
  record.pressed = pressed;
  WindowSystem::current().invalidate_rect(window, std::nullopt, true);
}

void paint_push_button(ControlCanvas& canvas, WindowHandle window, bool pressed, bool is_default) {
  const ColorRef face = sys_color(pressed ? COLOR_BTNSHADOW : COLOR_BTNFACE);
  canvas.dc.fill_rect(canvas.client, solid_brush(face));
  draw_frame(canvas.dc, canvas.client, sys_color(COLOR_WINDOWFRAME));
  if (is_default) {
    const Rect& c = canvas.client;
    draw_frame(canvas.dc, {c.left + 1, c.top + 1, c.right - 1, c.bottom - 1}, sys_color(COLOR_WINDOWFRAME));
  }
  Rect text_area = canvas.client;
  canvas.dc.draw_text(WindowSystem::current().window_text(window), text_area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void paint_mark(ControlCanvas& canvas, WindowHandle window, bool radio, WParam check) {
  const Rect& c = canvas.client;
  const int top = c.top + (c.height() - kMarkSide) / 2;
  const Rect box{c.left, top, c.left + kMarkSide, top + kMarkSide};
  canvas.dc.fill_rect(box, sys_color_brush(COLOR_WINDOW));
  if (radio) {
    canvas.dc.select_pen(solid_pen(1, sys_color(COLOR_WINDOWFRAME)));
    canvas.dc.select_brush(check == BST_CHECKED ? solid_brush(sys_color(COLOR_WINDOWTEXT)) : stock_brush(NULL_BRUSH));
    canvas.dc.ellipse(box.left, box.top, box.right, box.bottom);
  } else {
    draw_frame(canvas.dc, box, sys_color(COLOR_WINDOWFRAME));
    if (check == BST_CHECKED) {
      canvas.dc.select_pen(solid_pen(2, sys_color(COLOR_WINDOWTEXT)));
      canvas.dc.move_to(box.left + 2, box.top + 5);
      canvas.dc.line_to(box.left + 4, box.bottom - 3);
      canvas.dc.line_to(box.right - 2, box.top + 2);
    }
  }
  Rect text_area{box.right + kTextGap, c.top, c.right, c.bottom};
  canvas.dc.draw_text(WindowSystem::current().window_text(window), text_area, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

void paint_button(WindowHandle window) {
  const std::uint32_t kind = kind_of(window);
  ControlCanvas canvas = begin_control_paint(window, WM_CTLCOLORBTN, sys_color_brush(COLOR_STATIC));
  const ChildRecord& record = child_record(window);
  if (is_radio(kind) || is_check(kind)) {
    paint_mark(canvas, window, is_radio(kind), record.check);
  } else {
    paint_push_button(canvas, window, record.pressed, kind == BS_DEFPUSHBUTTON);
  }
}

MessageResult pointer_message(WindowHandle window, std::uint32_t message, LParam lparam) {
  WindowSystem& system = WindowSystem::current();
  const bool inside = system.client_rect(window).value_or(Rect{}).contains(param_point(lparam));
  switch (message) {
    case WM_LBUTTONDOWN:
      system.set_capture(window);
      set_pressed(window, true);
      break;
    case WM_MOUSEMOVE:
      if (system.capture() == window) set_pressed(window, inside);
      break;
    default: {  // WM_LBUTTONUP
      const bool was_pressed = child_record(window).pressed;
      if (system.capture() == window) system.release_capture();
      set_pressed(window, false);
      if (was_pressed && inside) click(window);
    }
  }
  return 0;
}

}  // namespace

MessageResult button_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  switch (message) {
    case WM_PAINT:
      paint_button(window);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      return pointer_message(window, message, lparam);
    case WM_KEYUP:
      if (wparam == VK_SPACE) click(window);
      return 0;
    case BM_CLICK:
      if (WindowSystem::current().is_window_enabled(window)) click(window);
      return 0;
    case BM_GETCHECK:
      return static_cast<MessageResult>(child_record(window).check);
    case BM_SETCHECK:
      set_check(window, wparam == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED);
      return 0;
    default:
      return control_default(window, message, wparam, lparam);
  }
}

}  // namespace ductra::platform

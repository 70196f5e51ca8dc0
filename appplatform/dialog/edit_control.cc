// The edit control: one line of text typed at its end. A tap gives it the
// focus; typed characters (WM_CHAR) are added while the text is shorter
// than its limit (EM_LIMITTEXT; 0 restores the default), backspace takes
// the last one off. Each change is reported as EN_CHANGE, a character
// refused at the limit as EN_MAXTEXT, focus as EN_SETFOCUS/EN_KILLFOCUS.
#include "appplatform/dialog/child_record.h"
#include "appplatform/dialog/control_painting.h"
#include "appplatform/dialog/standard_controls.h"
#include "appplatform/draw/color.h"

namespace ductra::platform {
namespace {

constexpr int kInset = 3;

void paint_edit(WindowHandle window) {
  WindowSystem& system = WindowSystem::current();
  ControlCanvas canvas = begin_control_paint(window, WM_CTLCOLOREDIT, sys_color_brush(COLOR_WINDOW));
  draw_frame(canvas.dc, canvas.client, sys_color(COLOR_WINDOWFRAME));
  const std::u16string text = system.window_text(window);
  const Rect& c = canvas.client;
  Rect text_area{c.left + kInset, c.top, c.right - kInset, c.bottom};
  canvas.dc.draw_text(text, text_area, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (system.focus() != window) return;
  const int caret_x = text_area.left + canvas.dc.text_extent(text).size.cx;
  canvas.dc.fill_rect({caret_x, c.top + kInset, caret_x + 1, c.bottom - kInset}, solid_brush(sys_color(COLOR_WINDOWTEXT)));
}

void replace_text(WindowHandle window, const std::u16string& text) {
  WindowSystem& system = WindowSystem::current();
  system.set_window_text(window, text);
  system.invalidate_rect(window, std::nullopt, true);
  notify_parent(window, EN_CHANGE);
}

void type_character(WindowHandle window, char16_t character) {
  std::u16string text = WindowSystem::current().window_text(window);
  if (character == VK_BACK) {
    if (text.empty()) return;
    text.pop_back();
  } else if (character < u' ') {
    return;  // return, escape and other controls belong to the dialog
  } else if (text.size() >= child_record(window).text_limit) {
    notify_parent(window, EN_MAXTEXT);
    return;
  } else {
    text.push_back(character);
  }
  replace_text(window, text);
}

void change_focus(WindowHandle window, int code) {
  WindowSystem::current().invalidate_rect(window, std::nullopt, true);
  notify_parent(window, code);
}

}  // namespace

MessageResult edit_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  WindowSystem& system = WindowSystem::current();
  switch (message) {
    case WM_PAINT:
      paint_edit(window);
      return 0;
    case WM_LBUTTONDOWN:
      system.set_focus(window);
      return 0;
    case WM_SETFOCUS:
      change_focus(window, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      change_focus(window, EN_KILLFOCUS);
      return 0;
    case WM_CHAR:
      type_character(window, static_cast<char16_t>(wparam));
      return 0;
    case EM_LIMITTEXT:
      child_record(window).text_limit = wparam == 0 ? kDefaultTextLimit : static_cast<std::size_t>(wparam);
      return 0;
    case EM_GETLIMITTEXT:
      return static_cast<MessageResult>(child_record(window).text_limit);
    default:
      return control_default(window, message, wparam, lparam);
  }
}

}  // namespace ductra::platform

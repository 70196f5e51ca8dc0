#include "appplatform/dialog/display_ui_painter.h"

#include "appplatform/dialog/control_painting.h"
#include "appplatform/dialog/window_context.h"
#include "appplatform/draw/color.h"
#include "appplatform/message_box.h"
#include "appplatform/window_system.h"

namespace ductra::platform {
namespace {

constexpr int kInset = 6;
constexpr int kCaptionHeight = 24;

// A context on the window with the system font, and the offset that turns
// screen coordinates into the window's client coordinates.
struct Surface {
  DeviceContext dc;
  Rect client;
  Point origin;
};

Surface surface_of(WindowHandle window) {
  WindowSystem& system = WindowSystem::current();
  Surface s{window_context(window), system.client_rect(window).value_or(Rect{}),
            system.client_to_screen(window, {0, 0}).value_or(Point{})};
  s.dc.select_font(system_font());
  s.dc.set_bk_mode(TRANSPARENT);
  return s;
}

Rect to_client(const Surface& s, const Rect& screen) { return screen.offset(-s.origin.x, -s.origin.y); }

std::u16string_view button_text(int id) {
  switch (id) {
    case IDOK: return u"OK";
    case IDCANCEL: return u"Cancel";
    case IDYES: return u"Yes";
    case IDNO: return u"No";
    default: return u"";
  }
}

void paint_item(Surface& s, const MenuItem& item, const Rect& rect, bool highlighted) {
  if (item.separator) {
    const int y = (rect.top + rect.bottom) / 2;
    s.dc.fill_rect({rect.left + 2, y, rect.right - 2, y + 1}, sys_color_brush(COLOR_BTNSHADOW));
    return;
  }
  if (highlighted) s.dc.fill_rect(rect, sys_color_brush(COLOR_HIGHLIGHT));
  const int text_color = !item.enabled ? COLOR_GRAYTEXT : highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT;
  s.dc.set_text_color(sys_color(text_color));
  if (item.checked) {
    s.dc.select_pen(solid_pen(2, sys_color(text_color)));
    const int y = (rect.top + rect.bottom) / 2;
    s.dc.move_to(rect.left + 4, y);
    s.dc.line_to(rect.left + 7, y + 3);
    s.dc.line_to(rect.left + 12, y - 4);
  }
  Rect text{rect.left + 16, rect.top, rect.right - 4, rect.bottom};
  s.dc.draw_text(item.text, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace

void DisplayUiPainter::paint_menu(WindowHandle window, const MenuRequest& request,
                                  std::optional<std::size_t> highlighted) {
  Surface s = surface_of(window);
  s.dc.fill_rect(s.client, sys_color_brush(COLOR_WINDOW));
  draw_frame(s.dc, s.client, sys_color(COLOR_WINDOWFRAME));
  const auto& items = request.menu->items();
  for (std::size_t i = 0; i < items.size() && i < request.layout.item_rects.size(); ++i) {
    paint_item(s, items[i], to_client(s, request.layout.item_rects[i]), highlighted == i);
  }
}

void DisplayUiPainter::paint_message_box(WindowHandle window, const MessageBoxRequest& request,
                                         const MessageBoxLayout& layout) {
  Surface s = surface_of(window);
  s.dc.fill_rect(s.client, sys_color_brush(COLOR_WINDOW));
  Rect caption{s.client.left, s.client.top, s.client.right, s.client.top + kCaptionHeight};
  s.dc.fill_rect(caption, sys_color_brush(COLOR_HIGHLIGHT));
  draw_frame(s.dc, s.client, sys_color(COLOR_WINDOWFRAME));
  s.dc.set_text_color(sys_color(COLOR_HIGHLIGHTTEXT));
  caption.left += kInset;
  s.dc.draw_text(request.caption, caption, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  const int buttons_top = layout.button_rects.empty() ? s.client.bottom : to_client(s, layout.button_rects.front()).top;
  Rect text{s.client.left + kInset, caption.bottom + kInset, s.client.right - kInset, buttons_top - kInset};
  s.dc.set_text_color(sys_color(COLOR_WINDOWTEXT));
  s.dc.draw_text(request.text, text, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  for (std::size_t i = 0; i < layout.button_rects.size() && i < request.buttons.size(); ++i) {
    Rect button = to_client(s, layout.button_rects[i]);
    s.dc.fill_rect(button, sys_color_brush(COLOR_BTNFACE));
    draw_frame(s.dc, button, sys_color(COLOR_WINDOWFRAME));
    s.dc.draw_text(button_text(request.buttons[i]), button, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

DisplayUiPainter& display_ui_painter() {
  static DisplayUiPainter painter;
  return painter;
}

}  // namespace ductra::platform

// The static control: its text in the dialog's font, left, centred or
// right by its style, on the background its parent gives through
// WM_CTLCOLORSTATIC; with SS_BITMAP the built-in bitmap its text names
// ("#136") at its top left instead. With SS_NOTIFY a tap on it (or BM_CLICK, as a script
// clicks) is reported as STN_CLICKED.
#include "appplatform/dialog/child_record.h"
#include "appplatform/dialog/control_painting.h"
#include "appplatform/dialog/standard_controls.h"
#include "appplatform/draw/color.h"
#include "appplatform/resources/builtin_resources.h"

namespace ductra::platform {
namespace {

unsigned text_format(std::uint32_t style) {
  switch (style & 0x3) {
    case SS_CENTER: return DT_CENTER | DT_WORDBREAK;
    case SS_RIGHT: return DT_RIGHT | DT_WORDBREAK;
    default: return DT_LEFT | DT_WORDBREAK;
  }
}

// The built-in bitmap a text "#N" names; null for any other text.
std::shared_ptr<Bitmap> named_bitmap(const std::u16string& text) {
  if (text.size() < 2 || text[0] != u'#') return nullptr;
  int id = 0;
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9' || id > 0xFFFF) return nullptr;
    id = id * 10 + (text[i] - u'0');
  }
  return load_builtin_bitmap(id);
}

void paint_bitmap(ControlCanvas& canvas, const std::u16string& text) {
  const std::shared_ptr<Bitmap> picture = named_bitmap(text);
  if (!picture) return;
  const DeviceContext source(picture);
  canvas.dc.bit_blt(canvas.client.left, canvas.client.top, picture->width(), picture->height(), source, 0, 0);
}

void paint_static(WindowHandle window) {
  WindowSystem& system = WindowSystem::current();
  ControlCanvas canvas = begin_control_paint(window, WM_CTLCOLORSTATIC, sys_color_brush(COLOR_STATIC));
  const auto info = system.describe(window);
  if (info && (info->style & SS_TYPEMASK) == SS_BITMAP) {
    paint_bitmap(canvas, system.window_text(window));
    return;
  }
  Rect text_area = canvas.client;
  canvas.dc.draw_text(system.window_text(window), text_area, text_format(info ? info->style : 0));
}

}  // namespace

MessageResult static_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  WindowSystem& system = WindowSystem::current();
  switch (message) {
    case WM_PAINT:
      paint_static(window);
      return 0;
    case BM_CLICK:
    case WM_LBUTTONUP: {
      const auto info = system.describe(window);
      if (info && (info->style & SS_NOTIFY)) notify_parent(window, STN_CLICKED);
      return 0;
    }
    default:
      return control_default(window, message, wparam, lparam);
  }
}

}  // namespace ductra::platform

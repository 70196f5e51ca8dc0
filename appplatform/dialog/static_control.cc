// The static control: its text in the dialog's font, left, centred or
// right by its style, on the background its parent gives through
// WM_CTLCOLORSTATIC. With SS_NOTIFY a tap on it (or BM_CLICK, as a script
// clicks) is reported as STN_CLICKED.
#include "appplatform/dialog/child_record.h"
#include "appplatform/dialog/control_painting.h"
#include "appplatform/dialog/standard_controls.h"
#include "appplatform/draw/color.h"

namespace ductra::platform {
namespace {

unsigned text_format(std::uint32_t style) {
  switch (style & 0x3) {
    case SS_CENTER: return DT_CENTER | DT_WORDBREAK;
    case SS_RIGHT: return DT_RIGHT | DT_WORDBREAK;
    default: return DT_LEFT | DT_WORDBREAK;
  }
}

void paint_static(WindowHandle window) {
  WindowSystem& system = WindowSystem::current();
  ControlCanvas canvas = begin_control_paint(window, WM_CTLCOLORSTATIC, sys_color_brush(COLOR_STATIC));
  const auto info = system.describe(window);
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

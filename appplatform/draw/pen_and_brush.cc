#include "appplatform/draw/pen_and_brush.h"

namespace ductra::platform {

Brush stock_brush(int number) {
  if (number & kSysColorFlag) return sys_color_brush(number);
  switch (number) {
    case LTGRAY_BRUSH: return solid_brush(rgb(192, 192, 192));
    case GRAY_BRUSH: return solid_brush(rgb(128, 128, 128));
    case DKGRAY_BRUSH: return solid_brush(rgb(64, 64, 64));
    case BLACK_BRUSH: return solid_brush(rgb(0, 0, 0));
    case NULL_BRUSH: return {rgb(0, 0, 0), true};
    default: return solid_brush(rgb(255, 255, 255));
  }
}

Pen stock_pen(int number) {
  switch (number) {
    case WHITE_PEN: return solid_pen(1, rgb(255, 255, 255));
    case NULL_PEN: return {PenStyle::null, 1, rgb(0, 0, 0)};
    default: return solid_pen(1, rgb(0, 0, 0));
  }
}

}  // namespace ductra::platform

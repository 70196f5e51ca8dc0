#include "device/window_scale.h"

#include <algorithm>
#include <cmath>

namespace ductra::device {

int window_scale(const DesktopFacts& desktop, int screen_width, int screen_height) {
  int scale = std::max(1, static_cast<int>(std::lround(desktop.dots_per_inch / 96.0)));
  while (scale > 1 && (screen_width * scale > desktop.width || screen_height * scale > desktop.height)) --scale;
  return scale;
}

Rgb8 widen_rgb565(unsigned pixel) {
  const unsigned red = (pixel >> 11) & 0x1F, green = (pixel >> 5) & 0x3F, blue = pixel & 0x1F;
  return {(red << 3) | (red >> 2), (green << 2) | (green >> 4), (blue << 3) | (blue >> 2)};
}

}  // namespace ductra::device

// How many desktop pixels show one pixel of the device's screen: a whole
// factor, the desktop's dots per inch over 96 rounded, at least 1, and no
// larger than lets the whole screen fit on the desktop.
#pragma once

namespace ductra::device {

struct DesktopFacts {
  double dots_per_inch = 96;
  int width = 0;   // the desktop's size in pixels
  int height = 0;
};

int window_scale(const DesktopFacts& desktop, int screen_width, int screen_height);

// The device's screen colour of an RGB565 pixel, widened to 8 bits a
// channel (the low bits repeat the high ones, so white stays white).
struct Rgb8 {
  unsigned red, green, blue;
};
Rgb8 widen_rgb565(unsigned pixel);

}  // namespace ductra::device

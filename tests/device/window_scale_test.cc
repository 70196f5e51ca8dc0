// The device's window on the desktop: its whole scale factor and the
// screen's colours as the desktop shows them.
#include "device/window_scale.h"

#include <gtest/gtest.h>

namespace ductra::device {
namespace {

TEST(WindowScaleTest, TheFactorFollowsTheDotsPerInchAndLetsTheScreenFit) {
  struct Case {
    DesktopFacts desktop;
    int scale;
  };
  const Case cases[] = {
      {{96, 1920, 1080}, 1},  {{144, 1920, 1080}, 2},  // 1.5 rounds to 2
      {{120, 1920, 1080}, 1}, {{192, 3840, 2160}, 2},  {{288, 3840, 2160}, 3},
      {{288, 1024, 768}, 2},                            // three times 320 rows would not fit
      {{288, 200, 200}, 1},                             // never below 1, even when nothing fits
      {{0, 1920, 1080}, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(window_scale(c.desktop, 240, 320), c.scale)
        << c.desktop.dots_per_inch << " dpi, " << c.desktop.width << "x" << c.desktop.height;
  }
}

TEST(WindowScaleTest, ScreenColoursWidenToEightBitsKeepingBlackAndWhite) {
  struct Case {
    unsigned rgb565;
    Rgb8 wide;
  };
  const Case cases[] = {
      {0x0000, {0, 0, 0}},     {0xFFFF, {255, 255, 255}}, {0xF800, {255, 0, 0}},
      {0x07E0, {0, 255, 0}},   {0x001F, {0, 0, 255}},     {0x8410, {132, 130, 132}},
  };
  for (const Case& c : cases) {
    const Rgb8 wide = widen_rgb565(c.rgb565);
    EXPECT_EQ(wide.red, c.wide.red) << std::hex << c.rgb565;
    EXPECT_EQ(wide.green, c.wide.green) << std::hex << c.rgb565;
    EXPECT_EQ(wide.blue, c.wide.blue) << std::hex << c.rgb565;
  }
}

}  // namespace
}  // namespace ductra::device

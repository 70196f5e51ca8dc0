#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/shell/coordinate_transform.h"
#include "app/shell/screen_info.h"
#include "app/shell/screen_metrics.h"
#include "app/shell/screen_platform.h"

namespace ductra {
namespace {

struct FakeScreen : ScreenPlatform {
  int width = 240;
  int height = 320;
  int dpi = 96;
  std::optional<int> orientation = 0;
  bool smartphone = false;
  std::optional<int> sip_button_height;

  int screen_width() const override { return width; }
  int screen_height() const override { return height; }
  int logical_pixels_x() const override { return dpi; }
  std::optional<int> display_orientation() const override { return orientation; }
  bool device_file_exists(std::u16string_view path) const override {
    return smartphone && path == u"\\windows\\home.cpl.xml";
  }
  std::optional<int> window_height_of_class(std::u16string_view name) const override {
    return name == u"MS_SIPBUTTON" ? sip_button_height : std::nullopt;
  }
};

TEST(CoordinateTransformTest, TurnsTouchPointsByTheOrientation) {
  struct Case {
    CoordinateTransform transform;
    std::int32_t x, y;
  };
  // Touch (100, 200); W and H are those of the rotated screen.
  const Case cases[] = {
      {{0, 240, 320}, 100, 200},
      {{1, 320, 240}, 1080, 100},
      {{2, 240, 320}, 860, 1080},
      {{4, 320, 240}, 200, 860},
      {{3, 320, 240}, 100, 200},  // not an orientation: unchanged
  };
  for (const Case& c : cases) {
    std::int32_t x = 100;
    std::int32_t y = 200;
    c.transform.transform(&x, &y);
    EXPECT_EQ(x, c.x) << c.transform.orientation;
    EXPECT_EQ(y, c.y) << c.transform.orientation;
  }
}

TEST(ScreenMetricsTest, PublishesTheScreenOfTheCurrentOrientation) {
  struct Case {
    int width, height, dpi;
    std::optional<int> orientation;
    int scale, published_orientation;
    bool square, landscape;
  };
  const Case cases[] = {
      {240, 320, 96, 0, 1, 0, false, false},
      {320, 240, 96, 1, 1, 1, false, true},
      {480, 640, 192, 2, 2, 2, false, false},
      {640, 480, 191, 4, 1, 4, false, true},
      {320, 320, 72, 3, 1, 0, true, false},            // a scale of at least 1
      {240, 320, 96, std::nullopt, 1, 0, false, false},  // a failed query
  };
  for (const Case& c : cases) {
    FakeScreen screen;
    screen.width = c.width;
    screen.height = c.height;
    screen.dpi = c.dpi;
    screen.orientation = c.orientation;
    EXPECT_EQ(display_orientation(screen), c.published_orientation);
    init_screen_globals(screen);
    const ScreenMetrics metrics = screen_metrics();
    EXPECT_EQ(metrics.width, c.width);
    EXPECT_EQ(metrics.height, c.height);
    EXPECT_EQ(metrics.display_scale, c.scale) << c.dpi;
    EXPECT_EQ(metrics.orientation, c.published_orientation);
    EXPECT_EQ(metrics.is_square(), c.square);
    EXPECT_EQ(metrics.is_landscape(), c.landscape);
    EXPECT_EQ(metrics.transform(), (CoordinateTransform{c.published_orientation, c.width, c.height}));
  }
}

TEST(ScreenInfoTest, ClassAndBottomBarFollowTheScreen) {
  struct Case {
    int width, height, dpi;
    bool smartphone;
    std::optional<int> sip_button_height;
    int resolution_class, bottom_bar;
    bool landscape;
  };
  const Case cases[] = {
      {240, 320, 96, false, std::nullopt, 240, 26, false},
      {240, 320, 96, true, std::nullopt, 240, 27, false},
      {320, 240, 96, false, std::nullopt, 240, 26, true},
      {320, 320, 96, false, std::nullopt, 320, 35, false},
      {320, 480, 96, false, std::nullopt, 240, 26, false},
      {480, 640, 192, false, std::nullopt, 480, 52, false},
      {176, 220, 96, false, std::nullopt, 176, 20, false},
      {200, 300, 96, false, std::nullopt, 240, 26, false},
      {240, 320, 96, false, 31, 240, 31, false},
  };
  for (const Case& c : cases) {
    FakeScreen screen;
    screen.width = c.width;
    screen.height = c.height;
    screen.dpi = c.dpi;
    screen.smartphone = c.smartphone;
    screen.sip_button_height = c.sip_button_height;
    const ScreenInfo info(screen);
    EXPECT_EQ(info.resolution_class(), c.resolution_class) << c.width << "x" << c.height;
    EXPECT_EQ(info.bottom_bar_height(), c.bottom_bar) << c.width << "x" << c.height;
    EXPECT_EQ(info.is_landscape(), c.landscape);
    EXPECT_EQ(info.is_smartphone(), c.smartphone);
    EXPECT_EQ(info.logical_pixels_x(), c.dpi);
    EXPECT_EQ(info.width(), c.width);
    EXPECT_EQ(info.height(), c.height);
  }
}

TEST(ScreenInfoTest, RefreshTellsWhetherTheScreenTurnedBetweenPortraitAndLandscape) {
  FakeScreen screen;
  screen.width = 320;
  screen.height = 240;
  ScreenInfo info(screen);
  EXPECT_FALSE(info.refresh());  // the first read (landscape against 0 x 0) happened while building
  screen.width = 240;
  screen.height = 320;
  EXPECT_TRUE(info.refresh());
  EXPECT_EQ(info.width(), 240);
  EXPECT_FALSE(info.refresh());
  screen.width = 320;
  screen.height = 320;
  EXPECT_FALSE(info.refresh());  // square is not landscape
  screen.width = 480;
  EXPECT_TRUE(info.refresh());
  EXPECT_EQ(info.bottom_bar_height(), 26);  // the class stays the one the object was built with
}

TEST(ScreenInfoTest, TheProcessInstanceIsBuiltOnce) {
  FakeScreen first;
  FakeScreen second;
  second.width = 480;
  ScreenInfo& info = ScreenInfo::instance(first);
  EXPECT_EQ(&ScreenInfo::instance(second), &info);
  EXPECT_EQ(info.width(), 240);
}

}  // namespace
}  // namespace ductra

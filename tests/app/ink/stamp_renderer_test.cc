#include "app/ink/stamp_renderer.h"

#include <gtest/gtest.h>

#include <vector>

namespace ductra {
namespace {

using platform::Bitmap;
using platform::DeviceContext;
using platform::Point;
using platform::rgb;

constexpr platform::ColorRef kWhite = rgb(255, 255, 255);
constexpr platform::ColorRef kInk = rgb(0, 0, 160);

std::shared_ptr<Bitmap> white_screen(int width = 40, int height = 30) {
  auto screen = Bitmap::create_rgb565(width, height);
  DeviceContext(screen).fill_rect({0, 0, width, height}, platform::solid_brush(kWhite));
  return screen;
}

bool same_pixels(const Bitmap& a, const Bitmap& b) {
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.native(x, y) != b.native(x, y)) return false;
    }
  }
  return true;
}

int changed_pixels(const Bitmap& screen) {
  int changed = 0;
  for (int y = 0; y < screen.height(); ++y) {
    for (int x = 0; x < screen.width(); ++x) changed += screen.color_at(x, y) != kWhite;
  }
  return changed;
}

TEST(StampRendererTest, TipMasksOfTheSmallWidthsAndADisc) {
  EXPECT_EQ(tip_mask(1), std::vector<std::uint8_t>{255});
  EXPECT_EQ(tip_mask(2), (std::vector<std::uint8_t>{5, 34, 5, 34, 255, 34, 5, 34, 5}));
  const std::vector<std::uint8_t> four = tip_mask(4);
  ASSERT_EQ(four.size(), 16u);
  for (const int corner : {0, 3, 12, 15}) EXPECT_EQ(four[corner], 0) << corner;
  for (const std::uint8_t cell : four) EXPECT_LT(cell, 140);
  // The four middle cells lie 0.71 from the middle: (2 - 0.71) / 2 * 140.
  EXPECT_EQ(four[5], 90);
  EXPECT_EQ(four[1], four[4]) << "the disc is symmetric";
  EXPECT_EQ(StampRenderer(2, kInk).tip_size(), 3);
  EXPECT_EQ(StampRenderer(5, kInk).tip_size(), 5);
  EXPECT_EQ(StampRenderer(0, kInk).tip_size(), 1) << "a width below 1 draws as 1";
}

TEST(StampRendererTest, BlendingMovesAPixelTowardTheInkByTheCoverage) {
  const std::uint16_t white = platform::to_rgb565(kWhite);
  const std::uint16_t black = 0;
  EXPECT_EQ(blend565(white, black, 0), white);
  EXPECT_EQ(blend565(white, black, 255), black);
  EXPECT_EQ(blend565(white, platform::to_rgb565(kInk), 255), platform::to_rgb565(kInk));
  // Coverage 34 moves each field 8 sixty-fourths of the way, 5 one: white
  // toward black loses about an eighth, and one step.
  const auto fields = [](std::uint16_t p) { return std::vector<int>{p >> 11, (p >> 5) & 0x3F, p & 0x1F}; };
  EXPECT_EQ(fields(blend565(white, black, 34)), (std::vector<int>{27, 55, 27}));
  EXPECT_EQ(fields(blend565(white, black, 5)), (std::vector<int>{30, 62, 30}));
  // Toward a brighter colour the fields grow.
  EXPECT_EQ(fields(blend565(black, white, 128)), (std::vector<int>{15, 31, 15}));
}

TEST(StampRendererTest, ADotIsOneTipCentredOnItsPixel) {
  auto screen = white_screen();
  DeviceContext dc(screen);
  StampRenderer(1, kInk).dot(dc, 5, 6);
  EXPECT_EQ(screen->native(5, 6), platform::to_rgb565(kInk)) << "width 1 is one opaque pixel";
  EXPECT_EQ(changed_pixels(*screen), 1);

  auto wide = white_screen();
  DeviceContext wide_dc(wide);
  StampRenderer(2, rgb(0, 0, 0)).dot(wide_dc, 10, 10);
  EXPECT_EQ(wide->color_at(10, 10), rgb(0, 0, 0));
  EXPECT_EQ(changed_pixels(*wide), 9);
  EXPECT_EQ(wide->native(9, 10), blend565(platform::to_rgb565(kWhite), 0, 34));
  EXPECT_EQ(wide->native(11, 11), blend565(platform::to_rgb565(kWhite), 0, 5));
}

// A polyline is the tip stamped at every pixel of the walk after its start
// point (at every fourth step for tips of 8 pixels or more): the same
// pixels as those dots drawn one by one.
TEST(StampRendererTest, APolylineStampsTheTipAlongItsWalk) {
  struct Case {
    int width;
    std::vector<Point> points;
    std::vector<Point> stamps;
  };
  const std::vector<Case> cases = {
      {3, {{5, 5}, {9, 7}}, {{6, 6}, {7, 6}, {8, 7}, {9, 7}}},
      {3, {{9, 7}, {5, 5}}, {{8, 6}, {7, 6}, {6, 5}, {5, 5}}},
      {2, {{5, 5}, {7, 10}}, {{5, 6}, {6, 7}, {6, 8}, {7, 9}, {7, 10}}},
      {4, {{5, 5}, {8, 8}, {10, 8}}, {{6, 6}, {7, 7}, {8, 8}, {9, 8}, {10, 8}}},
      {3, {{6, 6}, {6, 6}}, {}},
      {8, {{10, 15}, {22, 15}}, {{14, 15}, {18, 15}, {22, 15}}},
      {8, {{10, 15}, {12, 15}, {17, 15}}, {{14, 15}}},
  };
  for (const Case& c : cases) {
    auto drawn = white_screen();
    DeviceContext drawn_dc(drawn);
    StampRenderer(c.width, kInk).polyline(drawn_dc, c.points);
    auto expected = white_screen();
    DeviceContext expected_dc(expected);
    StampRenderer dots(c.width, kInk);
    for (const Point& p : c.stamps) dots.dot(expected_dc, p.x, p.y);
    EXPECT_TRUE(same_pixels(*drawn, *expected)) << "width " << c.width << ", from (" << c.points[0].x << ", "
                                                << c.points[0].y << ")";
  }
}

// Ink that runs off the screen is drawn up to the edges, the last column
// included, and nothing of it appears anywhere else.
TEST(StampRendererTest, APolylineAcrossTheScreenEdgesIsDrawnUpToThem) {
  auto screen = white_screen(20, 10);
  DeviceContext dc(screen);
  StampRenderer renderer(1, rgb(0, 0, 0));
  renderer.polyline(dc, std::vector<Point>{{-5, 2}, {25, 2}});
  for (int x = 0; x < 20; ++x) EXPECT_EQ(screen->color_at(x, 2), rgb(0, 0, 0)) << x;
  EXPECT_EQ(changed_pixels(*screen), 20);
  renderer.polyline(dc, std::vector<Point>{{3, -4}, {3, 14}});
  for (int y = 0; y < 10; ++y) EXPECT_EQ(screen->color_at(3, y), rgb(0, 0, 0)) << y;
  EXPECT_EQ(changed_pixels(*screen), 29);
}

}  // namespace
}  // namespace ductra

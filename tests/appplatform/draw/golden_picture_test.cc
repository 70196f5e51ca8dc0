// Drawing checked against golden pictures, with the fixed-advance font.
#include <gtest/gtest.h>

#include "appplatform/draw/device_context.h"
#include "appplatform/draw/font.h"
#include "golden.h"

namespace ductra::platform {
namespace {

using testing::expect_golden;

constexpr ColorRef kWhite = rgb(255, 255, 255);
constexpr ColorRef kBlack = rgb(0, 0, 0);
constexpr ColorRef kRed = rgb(255, 0, 0);
constexpr ColorRef kBlue = rgb(0, 0, 255);

std::shared_ptr<Bitmap> white_bitmap(int width, int height) {
  auto bitmap = Bitmap::create_rgb565(width, height);
  DeviceContext(bitmap).fill_rect({0, 0, width, height}, solid_brush(kWhite));
  return bitmap;
}

void label(DeviceContext& dc, int x, int y, std::u16string_view text) {
  dc.select_font(create_font({0, FW_NORMAL, false, false, kFixedTestFace}));
  dc.set_bk_mode(TRANSPARENT);
  dc.text_out(x, y, text);
}

TEST(GoldenPictureTest, Polyline) {
  auto bitmap = white_bitmap(28, 20);
  DeviceContext dc(bitmap);
  label(dc, 2, 0, u"Ab");
  const Point points[] = {{2, 18}, {10, 11}, {18, 18}, {26, 11}};
  dc.polyline(points);
  expect_golden(*bitmap, "polyline");
}

TEST(GoldenPictureTest, WidePen) {
  auto bitmap = white_bitmap(26, 18);
  DeviceContext dc(bitmap);
  label(dc, 1, 0, u"W");
  dc.select_pen(solid_pen(5, kRed));
  dc.move_to(10, 4);
  dc.line_to(22, 4);
  dc.select_pen(solid_pen(3, kBlue));
  const Point corner[] = {{4, 15}, {12, 10}, {22, 15}};
  dc.polyline(corner);
  expect_golden(*bitmap, "wide_pen");
}

TEST(GoldenPictureTest, FocusRectangleDrawnTwiceIsGone) {
  auto bitmap = white_bitmap(22, 14);
  DeviceContext dc(bitmap);
  label(dc, 4, 2, u"ok");
  dc.select_brush(solid_brush(kBlue));
  dc.fill_rect({15, 3, 19, 11}, solid_brush(kBlue));
  auto before = Bitmap::create_rgb565(22, 14);
  DeviceContext(before).bit_blt(0, 0, 22, 14, dc, 0, 0);

  dc.draw_focus_rect({1, 1, 21, 13});
  expect_golden(*bitmap, "focus_rect");

  dc.draw_focus_rect({1, 1, 21, 13});
  for (int y = 0; y < 14; ++y) {
    for (int x = 0; x < 22; ++x) ASSERT_EQ(bitmap->color_at(x, y), before->color_at(x, y)) << x << "," << y;
  }
}

TEST(GoldenPictureTest, ClippedBlitIntoAWindow) {
  auto source = Bitmap::create_rgb565(8, 8);
  DeviceContext source_dc(source);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) source_dc.set_pixel(x, y, (x + y) % 2 ? kRed : kBlue);
  }
  auto screen = white_bitmap(24, 16);
  DeviceContext frame(screen);
  frame.select_brush({kBlack, true});
  frame.rectangle(3, 2, 17, 12);
  // A window whose client area starts at (4, 3) and is 12 x 8 pixels, of
  // which the right 2 columns are covered by another window.
  DeviceContext window(screen, {4, 3}, {0, 0, 10, 8});
  window.bit_blt(-3, -2, 8, 8, source_dc, 0, 0);
  window.bit_blt(6, 3, 8, 8, source_dc, 0, 0);
  label(window, 8, -3, u"x");
  expect_golden(*screen, "clipped_blit");
}

}  // namespace
}  // namespace ductra::platform

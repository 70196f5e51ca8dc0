#include "appplatform/draw/device_context.h"

#include <gtest/gtest.h>

#include <string>

#include "appplatform/draw/cursor.h"
#include "appplatform/draw/display.h"
#include "appplatform/draw/icon.h"
#include "appplatform/draw/image_list.h"

namespace ductra::platform {
namespace {

constexpr ColorRef kWhite = rgb(255, 255, 255);
constexpr ColorRef kBlack = rgb(0, 0, 0);
constexpr ColorRef kRed = rgb(255, 0, 0);
// A grey that RGB565 holds exactly.
constexpr ColorRef kGrey = from_rgb565(to_rgb565(rgb(192, 192, 192)));

std::shared_ptr<Bitmap> filled(int width, int height, ColorRef color) {
  auto bitmap = Bitmap::create_rgb565(width, height);
  DeviceContext(bitmap).fill_rect({0, 0, width, height}, solid_brush(color));
  return bitmap;
}

// The pixels of one row as '#' (black) and '.' (anything else).
std::string row(const Bitmap& bitmap, int y) {
  std::string s;
  for (int x = 0; x < bitmap.width(); ++x) s.push_back(bitmap.color_at(x, y) == kBlack ? '#' : '.');
  return s;
}

TEST(DeviceContextTest, LinesLeaveOutTheirLastPixel) {
  struct Case {
    Point from, to;
    std::string row0;
  };
  const Case cases[] = {
      {{0, 0}, {5, 0}, "#####..."},
      {{5, 0}, {0, 0}, ".#####.."},
      {{3, 0}, {3, 0}, "........"},
      {{0, 0}, {7, 1}, "####...."},
  };
  for (const Case& c : cases) {
    auto bitmap = filled(8, 2, kWhite);
    DeviceContext dc(bitmap);
    dc.move_to(c.from.x, c.from.y);
    dc.line_to(c.to.x, c.to.y);
    EXPECT_EQ(row(*bitmap, 0), c.row0) << c.from.x << "," << c.from.y << " -> " << c.to.x << "," << c.to.y;
  }
}

TEST(DeviceContextTest, AWidePenDrawsADotForALineOfNoLength) {
  auto bitmap = filled(4, 4, kWhite);
  DeviceContext dc(bitmap);
  dc.select_pen(solid_pen(2, kBlack));
  dc.move_to(2, 2);
  dc.line_to(2, 2);
  EXPECT_EQ(row(*bitmap, 0), "....");
  EXPECT_EQ(row(*bitmap, 1), ".##.");
  EXPECT_EQ(row(*bitmap, 2), ".##.");
}

TEST(DeviceContextTest, DashedPenKeepsItsRhythmAcrossAPolyline) {
  auto bitmap = filled(16, 1, kWhite);
  DeviceContext dc(bitmap);
  dc.select_pen({PenStyle::dash, 1, kBlack});
  const Point points[] = {{0, 0}, {5, 0}, {16, 0}};
  dc.polyline(points);
  EXPECT_EQ(row(*bitmap, 0), "####..####..####");
}

TEST(DeviceContextTest, NullPenAndHollowBrushDrawNothing) {
  auto bitmap = filled(6, 6, kWhite);
  DeviceContext dc(bitmap);
  dc.select_pen(stock_pen(NULL_PEN));
  dc.select_brush(stock_brush(NULL_BRUSH));
  dc.rectangle(0, 0, 6, 6);
  dc.ellipse(0, 0, 6, 6);
  for (int y = 0; y < 6; ++y) EXPECT_EQ(row(*bitmap, y), "......");
}

TEST(DeviceContextTest, RectangleFillsInsideAndOutlinesWithThePen) {
  auto bitmap = filled(6, 4, kWhite);
  DeviceContext dc(bitmap);
  dc.select_brush(solid_brush(kRed));
  dc.rectangle(1, 0, 5, 4);
  EXPECT_EQ(row(*bitmap, 0), ".####.");
  EXPECT_EQ(row(*bitmap, 3), ".####.");
  EXPECT_EQ(bitmap->color_at(2, 1), kRed);
  EXPECT_EQ(bitmap->color_at(4, 2), kBlack);
}

TEST(DeviceContextTest, AWindowContextDrawsOnlyInsideItsClip) {
  auto screen = filled(10, 10, kWhite);
  DeviceContext window(screen, {2, 3}, {0, 0, 4, 2});
  window.fill_rect({-5, -5, 50, 50}, solid_brush(kBlack));
  window.set_pixel(5, 0, kRed);
  EXPECT_EQ(window.pixel(5, 0), CLR_INVALID);
  EXPECT_EQ(window.pixel(0, 0), kBlack);
  for (int y = 0; y < 10; ++y) {
    EXPECT_EQ(row(*screen, y), y == 3 || y == 4 ? "..####...." : "..........") << y;
  }
  // A clip beyond the screen is cut to it.
  DeviceContext edge(screen, {8, 8}, {0, 0, 5, 5});
  EXPECT_EQ(edge.clip(), (Rect{0, 0, 2, 2}));
}

TEST(DeviceContextTest, TheDisplayContextDrawsOnTheScreenPutInPlace) {
  EXPECT_EQ(display_context().target(), nullptr);
  display_context().fill_rect({0, 0, 5, 5}, solid_brush(kBlack));  // no screen: nothing happens

  std::vector<std::uint16_t> framebuffer(6 * 4, 0xFFFF);
  set_display(Bitmap::create_on_memory(6, 4, std::as_writable_bytes(std::span(framebuffer)), 12), 192);
  DeviceContext display = display_context();
  EXPECT_EQ(display.device_caps(LOGPIXELSX), 192);
  display.set_pixel(5, 3, kBlack);
  DeviceContext window = display_context({1, 1}, {0, 0, 2, 2});
  window.fill_rect({0, 0, 9, 9}, solid_brush(kBlack));
  set_display(nullptr);
  EXPECT_EQ(framebuffer[3 * 6 + 5], 0);
  EXPECT_EQ(framebuffer[1 * 6 + 1], 0);
  EXPECT_EQ(framebuffer[2 * 6 + 2], 0);
  EXPECT_EQ(framebuffer[2 * 6 + 3], 0xFFFF);
}

TEST(DeviceContextTest, BlitCombinesSourceAndDestinationByTheOperation) {
  struct Case {
    RasterOp op;
    std::uint16_t expected;
  };
  const Case cases[] = {{RasterOp::copy, 0x0F0F}, {RasterOp::xor_, 0xF00F}, {RasterOp::and_, 0x0F00}, {RasterOp::or_, 0xFF0F}};
  for (const Case& c : cases) {
    auto source = Bitmap::create_rgb565(1, 1);
    source->set_native(0, 0, 0x0F0F);
    auto target = Bitmap::create_rgb565(1, 1);
    target->set_native(0, 0, 0xFF00);
    DeviceContext(target).bit_blt(0, 0, 1, 1, DeviceContext(source), 0, 0, c.op);
    EXPECT_EQ(target->native(0, 0), c.expected);
  }
}

TEST(DeviceContextTest, BlitWithinOneBitmapReadsBeforeItWrites) {
  auto bitmap = filled(6, 1, kWhite);
  DeviceContext dc(bitmap);
  dc.set_pixel(0, 0, kBlack);
  dc.set_pixel(1, 0, kBlack);
  dc.bit_blt(1, 0, 4, 1, dc, 0, 0);
  EXPECT_EQ(row(*bitmap, 0), "###...");
}

TEST(DeviceContextTest, BlitLeavesOutWhatLiesOutsideTheSource) {
  auto source = filled(2, 2, kBlack);
  auto target = filled(5, 1, kWhite);
  DeviceContext(target).bit_blt(0, 0, 5, 1, DeviceContext(source), -1, 0);
  EXPECT_EQ(row(*target, 0), ".##..");
}

TEST(DeviceContextTest, MonochromeSourcePaintsInTheTextAndBackgroundColours) {
  auto mask = Bitmap::create_mono(2, 1);
  mask->set_native(1, 0, 1);
  auto target = filled(2, 1, kGrey);
  DeviceContext dc(target);
  dc.set_text_color(kRed);
  dc.set_bk_color(kWhite);
  dc.bit_blt(0, 0, 2, 1, DeviceContext(mask), 0, 0);
  EXPECT_EQ(target->color_at(0, 0), kRed);
  EXPECT_EQ(target->color_at(1, 0), kWhite);
}

TEST(DeviceContextTest, TransparentBlitStretchesAndSkipsTheTransparentColour) {
  // A 2 x 2 help mark on black drawn into a 4 x 4 square, as at 192 dots per inch.
  auto mark = filled(2, 2, kBlack);
  mark->set_color(1, 1, kRed);
  auto target = filled(6, 6, kWhite);
  DeviceContext dc(target);
  EXPECT_TRUE(dc.transparent_blt({1, 1, 5, 5}, DeviceContext(mark), {0, 0, 2, 2}, kBlack));
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 6; ++x) {
      const bool red = x >= 3 && x < 5 && y >= 3 && y < 5;
      EXPECT_EQ(target->color_at(x, y), red ? kRed : kWhite) << x << "," << y;
    }
  }
  EXPECT_FALSE(dc.transparent_blt({1, 1, 1, 5}, DeviceContext(mark), {0, 0, 2, 2}, kBlack));
}

TEST(DeviceContextTest, DeviceCapsOfTheTarget) {
  DeviceContext dc(Bitmap::create_rgb565(240, 320), 192);
  EXPECT_EQ(dc.device_caps(HORZRES), 240);
  EXPECT_EQ(dc.device_caps(VERTRES), 320);
  EXPECT_EQ(dc.device_caps(BITSPIXEL), 16);
  EXPECT_EQ(dc.device_caps(LOGPIXELSX) / 96, 2);
}

TEST(DeviceContextTest, SelectingReturnsWhatWasSelected) {
  DeviceContext dc(Bitmap::create_rgb565(1, 1));
  const Pen red = solid_pen(2, kRed);
  EXPECT_EQ(dc.select_pen(red), stock_pen(BLACK_PEN));
  EXPECT_EQ(dc.select_pen(stock_pen(BLACK_PEN)), red);
  EXPECT_EQ(dc.select_brush(stock_brush(BLACK_BRUSH)), stock_brush(WHITE_BRUSH));
  auto other = Bitmap::create_rgb565(2, 2);
  auto first = dc.select_bitmap(other);
  EXPECT_EQ(first->width(), 1);
  EXPECT_EQ(dc.clip(), (Rect{0, 0, 2, 2}));
}

TEST(IconTest, MaskKeepsTheScreenAndTheImageIsAddedWhereTheMaskIsClear) {
  auto mask = Bitmap::create_mono(3, 1);
  mask->set_native(0, 0, 1);  // transparent
  auto image = Bitmap::create_rgb565(3, 1);
  image->set_color(1, 0, kRed);
  image->set_color(2, 0, kBlack);
  auto icon = Icon::create(mask, image);
  ASSERT_NE(icon, nullptr);
  auto target = filled(3, 1, kGrey);
  DeviceContext dc(target);
  icon->draw(dc, 0, 0);
  EXPECT_EQ(target->color_at(0, 0), kGrey);
  EXPECT_EQ(target->color_at(1, 0), kRed);
  EXPECT_EQ(target->color_at(2, 0), kBlack);
  EXPECT_EQ(Icon::create(Bitmap::create_rgb565(3, 1), image), nullptr);
  EXPECT_EQ(Icon::create(Bitmap::create_mono(2, 1), image), nullptr);
}

TEST(ImageListTest, AStripWithAMaskColourBecomesOneImageACell) {
  // Three 2 x 1 images: red, grey (the mask colour, transparent) and black.
  auto strip = filled(6, 1, kGrey);
  strip->set_color(0, 0, kRed);
  strip->set_color(4, 0, kBlack);
  auto list = ImageList::create(2, 1);
  ASSERT_EQ(list->add_masked(*strip, kGrey), 0);
  EXPECT_EQ(list->count(), 3);
  auto target = filled(2, 1, kWhite);
  DeviceContext dc(target);
  EXPECT_TRUE(list->draw(0, dc, 0, 0));
  EXPECT_EQ(target->color_at(0, 0), kRed);
  EXPECT_EQ(target->color_at(1, 0), kWhite);
  EXPECT_TRUE(list->draw(1, dc, 0, 0));
  EXPECT_EQ(target->color_at(0, 0), kRed);
  EXPECT_FALSE(list->draw(3, dc, 0, 0));
  EXPECT_EQ(list->add_masked(*Bitmap::create_rgb565(1, 1), kGrey), -1);
  EXPECT_EQ(list->add_icon(Icon::from_image(*filled(3, 3, kRed), kGrey)), -1);
}

TEST(CursorTest, TheWaitCursorComesAndGoes) {
  const auto hourglass = wait_cursor();
  ASSERT_NE(hourglass, nullptr);
  EXPECT_EQ(hourglass->image->width(), 16);
  const auto before = set_cursor(hourglass);
  EXPECT_EQ(current_cursor(), hourglass);
  EXPECT_EQ(set_cursor(before), hourglass);
  EXPECT_EQ(current_cursor(), before);
}

}  // namespace
}  // namespace ductra::platform

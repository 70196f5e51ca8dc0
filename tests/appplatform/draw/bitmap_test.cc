#include "appplatform/draw/bitmap.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace ductra::platform {
namespace {

TEST(ColorTest, Rgb565KeepsTheTopBitsAndWidensBack) {
  struct Case {
    ColorRef color;
    std::uint16_t packed;
    ColorRef back;
  };
  const Case cases[] = {
      {rgb(255, 255, 255), 0xFFFF, rgb(255, 255, 255)},
      {rgb(0, 0, 0), 0x0000, rgb(0, 0, 0)},
      {rgb(255, 0, 0), 0xF800, rgb(255, 0, 0)},
      {rgb(0, 255, 0), 0x07E0, rgb(0, 255, 0)},
      {rgb(0, 0, 255), 0x001F, rgb(0, 0, 255)},
      {rgb(32, 32, 255), 0x211F, rgb(33, 32, 255)},
      {rgb(7, 3, 7), 0x0000, rgb(0, 0, 0)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(to_rgb565(c.color), c.packed) << std::hex << c.color;
    EXPECT_EQ(from_rgb565(c.packed), c.back) << std::hex << c.packed;
  }
}

TEST(ColorTest, SystemColoursTakeTheBrushFlag) {
  EXPECT_EQ(sys_color(COLOR_WINDOW), rgb(255, 255, 255));
  EXPECT_EQ(sys_color(COLOR_STATIC | kSysColorFlag), sys_color(COLOR_STATIC));
  EXPECT_EQ(sys_color(99), rgb(0, 0, 0));
}

TEST(BitmapTest, SidesOutsideTheLimitsGiveNoBitmap) {
  EXPECT_EQ(Bitmap::create_rgb565(0, 5), nullptr);
  EXPECT_EQ(Bitmap::create_rgb565(5, kMaxBitmapSide + 1), nullptr);
  EXPECT_EQ(Bitmap::create_mono(-1, 1), nullptr);
  EXPECT_NE(Bitmap::create_indexed8(1, 1, {}), nullptr);
}

TEST(BitmapTest, BottomUpRowsLieLastRowFirstInMemory) {
  auto bitmap = Bitmap::create_rgb565(3, 2, RowOrder::bottom_up);
  bitmap->set_native(1, 0, 0xABCD);
  EXPECT_EQ(bitmap->stride_bytes(), 8);  // 6 bytes padded to 4
  const auto bits = bitmap->bits();
  EXPECT_EQ(bits[8 + 2], 0xCD);
  EXPECT_EQ(bits[8 + 3], 0xAB);
  EXPECT_EQ(bitmap->native(1, 0), 0xABCDu);
}

TEST(BitmapTest, DrawsIntoTheCallersMemoryWithItsStride) {
  std::vector<std::uint16_t> memory(4 * 3, 0);
  auto bitmap = Bitmap::create_on_memory(3, 3, memory, 4);
  ASSERT_NE(bitmap, nullptr);
  bitmap->set_color(2, 1, rgb(255, 255, 255));
  EXPECT_EQ(memory[4 + 2], 0xFFFF);
  EXPECT_EQ(Bitmap::create_on_memory(3, 3, std::span(memory).first(10), 4), nullptr);
  EXPECT_EQ(Bitmap::create_on_memory(5, 1, memory, 4), nullptr);
}

TEST(BitmapTest, MonochromeAndPaletteBitmapsStoreTheirNearestValue) {
  auto mono = Bitmap::create_mono(10, 1);
  mono->set_color(9, 0, rgb(200, 200, 200));
  mono->set_color(0, 0, rgb(40, 40, 40));
  EXPECT_EQ(mono->bits()[1], 0x40);  // most significant bit first
  EXPECT_EQ(mono->native(9, 0), 1u);
  EXPECT_EQ(mono->native(0, 0), 0u);

  const std::array<ColorRef, 3> palette = {rgb(0, 0, 0), rgb(255, 255, 255), rgb(128, 128, 128)};
  auto indexed = Bitmap::create_indexed8(2, 1, palette);
  indexed->set_color(0, 0, rgb(120, 130, 128));
  EXPECT_EQ(indexed->native(0, 0), 2u);
  EXPECT_EQ(indexed->color_at(1, 0), rgb(0, 0, 0));
}

}  // namespace
}  // namespace ductra::platform

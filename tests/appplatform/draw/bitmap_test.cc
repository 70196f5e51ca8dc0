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
  const auto bytes = std::as_writable_bytes(std::span(memory));
  auto bitmap = Bitmap::create_on_memory(3, 3, bytes, 8);
  ASSERT_NE(bitmap, nullptr);
  bitmap->set_color(2, 1, rgb(255, 255, 255));
  EXPECT_EQ(memory[4 + 2], 0xFFFF);
  EXPECT_EQ(Bitmap::create_on_memory(3, 3, bytes.first(20), 8), nullptr);
  EXPECT_EQ(Bitmap::create_on_memory(5, 1, bytes, 8), nullptr);
  EXPECT_EQ(Bitmap::create_on_memory(3, 1, bytes, 7), nullptr);
  EXPECT_EQ(Bitmap::create_on_memory(3, 1, bytes.subspan(1), 8), nullptr);
}

TEST(BitmapTest, DibSectionsAreRgb565WithTheirRowOrder) {
  struct Case {
    DibHeader header;
    bool made;
    RowOrder order;
  };
  const Case cases[] = {
      {{4, 3}, true, RowOrder::bottom_up},
      {{4, -3}, true, RowOrder::top_down},
      {{4, 3, 16, false}, false, RowOrder::top_down},
      {{4, 3, 24}, false, RowOrder::top_down},
      {{4, 3, 16, true, 0x7C00, 0x03E0, 0x001F}, false, RowOrder::top_down},
      {{4, 0}, false, RowOrder::top_down},
  };
  for (const Case& c : cases) {
    const auto bitmap = Bitmap::create_dib_section(c.header);
    ASSERT_EQ(bitmap != nullptr, c.made) << c.header.height << " " << c.header.bit_count;
    if (bitmap) {
      EXPECT_EQ(bitmap->row_order(), c.order);
      EXPECT_EQ(bitmap->height(), 3);
    }
  }
}

TEST(BitmapTest, DefaultPaletteHasWhiteAtTheTop) {
  const auto palette = default_palette();
  ASSERT_EQ(palette.size(), 256u);
  EXPECT_EQ(palette[255], rgb(255, 255, 255));
  EXPECT_EQ(palette[0], rgb(0, 0, 0));
  EXPECT_NE(palette[8], palette[255]);
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

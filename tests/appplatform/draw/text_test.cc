#include <gtest/gtest.h>

#include <png.h>

#include <vector>

#include "appplatform/draw/device_context.h"
#include "appplatform/draw/fixed_test_font.h"
#include "appplatform/draw/font.h"
#include "appplatform/draw/png_file.h"
#include "golden.h"

namespace ductra::platform {
namespace {

constexpr ColorRef kWhite = rgb(255, 255, 255);
constexpr ColorRef kBlack = rgb(0, 0, 0);

class FixedFontTest : public ::testing::Test {
 protected:
  FixedFontTest() : bitmap_(Bitmap::create_rgb565(40, 20)), dc_(bitmap_) {
    dc_.fill_rect({0, 0, 40, 20}, solid_brush(kWhite));
    dc_.select_font(create_font({0, FW_NORMAL, false, false, kFixedTestFace}));
  }

  // Columns of row y that are black.
  std::vector<int> black_columns(int y) const {
    std::vector<int> xs;
    for (int x = 0; x < bitmap_->width(); ++x) {
      if (bitmap_->color_at(x, y) == kBlack) xs.push_back(x);
    }
    return xs;
  }

  std::shared_ptr<Bitmap> bitmap_;
  DeviceContext dc_;
};

TEST_F(FixedFontTest, ExtentsAndPartialFits) {
  struct Case {
    std::u16string text;
    int max_extent;
    int fit;
  };
  const Case cases[] = {{u"abc", 13, 2}, {u"abc", 12, 2}, {u"abc", 11, 1}, {u"abc", 5, 0}, {u"abc", -1, 3}, {u"", 10, 0}};
  for (const Case& c : cases) {
    const TextExtent e = dc_.text_extent(c.text, c.max_extent);
    EXPECT_EQ(e.fit, c.fit) << c.max_extent;
    EXPECT_EQ(e.size.cx, 6 * static_cast<int>(c.text.size()));
    EXPECT_EQ(e.size.cy, 10);
  }
  EXPECT_EQ(dc_.text_extent(u"abc").extents, (std::vector<int>{6, 12, 18}));
  // A character outside the 16-bit plane takes two units and one advance.
  EXPECT_EQ(dc_.text_extent(u"a\U0001D11Eb").extents, (std::vector<int>{6, 6, 12, 18}));
}

TEST_F(FixedFontTest, CentredSingleLineTextSitsInTheMiddle) {
  Rect rect{0, 0, 40, 20};
  dc_.set_bk_mode(TRANSPARENT);
  EXPECT_EQ(dc_.draw_text(u"ab", rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX), 10);
  // 12 pixels of text in 40: from x 14; 10 rows in 20: from y 5, glyph rows 6..12.
  EXPECT_EQ(black_columns(6), (std::vector<int>{15, 16, 17, 18, 21, 22, 23, 24}));
  EXPECT_TRUE(black_columns(5).empty());
  EXPECT_TRUE(black_columns(13).empty());
}

TEST_F(FixedFontTest, TextOutClipsToItsRectangleAndFillsAnOpaqueBackground) {
  dc_.set_bk_color(rgb(255, 0, 0));
  const Rect clip{0, 0, 9, 20};
  dc_.text_out(0, 0, u"ab", ETO_CLIPPED, &clip);
  EXPECT_EQ(black_columns(1), (std::vector<int>{1, 2, 3, 4, 7, 8}));
  EXPECT_EQ(bitmap_->color_at(0, 0), rgb(255, 0, 0));
  EXPECT_EQ(bitmap_->color_at(9, 0), kWhite);
}

TEST_F(FixedFontTest, UnderlineRunsUnderTheWholeText) {
  dc_.select_font(create_font({0, FW_NORMAL, false, true, kFixedTestFace}));
  dc_.set_bk_mode(TRANSPARENT);
  dc_.text_out(2, 0, u"a b");
  std::vector<int> expected;
  for (int x = 2; x < 20; ++x) expected.push_back(x);
  EXPECT_EQ(black_columns(9), expected);
}

TEST_F(FixedFontTest, PrefixesAndCalculatedRectangles) {
  Rect rect{0, 0, 40, 20};
  EXPECT_EQ(dc_.draw_text(u"a&&b&c", rect, DT_CALCRECT | DT_SINGLELINE), 10);
  EXPECT_EQ(rect, (Rect{0, 0, 24, 10}));  // "a&bc"
  rect = {0, 0, 40, 20};
  EXPECT_EQ(dc_.draw_text(u"one\ntwo", rect, DT_CALCRECT | DT_NOPREFIX), 20);
  EXPECT_EQ(rect, (Rect{0, 0, 18, 20}));
  rect = {0, 0, 20, 40};
  EXPECT_EQ(dc_.draw_text(u"ab cd efghijk", rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX), 30);
  EXPECT_EQ(rect.right, 42);  // the long word stays whole
}

// Cyrillic and Greek in DejaVu ("Tahoma"): written as a PNG to look at; the
// glyphs differ between FreeType versions, so only their presence is checked.
TEST(DejaVuTextTest, CyrillicAndGreekAreDrawnAndKeptAsAPicture) {
  auto bitmap = Bitmap::create_rgb565(260, 70);
  DeviceContext dc(bitmap);
  dc.fill_rect({0, 0, 260, 70}, solid_brush(kWhite));
  auto font = create_font({-18, FW_NORMAL, false, false, u"Tahoma"});
  dc.select_font(font);
  dc.set_bk_mode(TRANSPARENT);
  dc.text_out(4, 4, u"Съешь же ещё этих булок");
  dc.select_font(create_font({-18, FW_BOLD, false, true, u"Tahoma"}));
  dc.set_text_color(rgb(0, 0, 192));
  dc.text_out(4, 36, u"Γαζέες καὶ μυρτιὲς");
  ASSERT_TRUE(write_png(*bitmap, (testing::output_dir() / "cyrillic_and_greek.png").string()));

  for (char32_t letter : {U'Ж', U'Ω', U'א', U'ب'}) {
    const Glyph& g = font->glyph(letter);
    EXPECT_GT(g.advance, 0) << static_cast<unsigned>(letter);
    EXPECT_GT(g.rows, 0) << static_cast<unsigned>(letter);
  }
  int dark = 0;
  for (int y = 0; y < 70; ++y) {
    for (int x = 0; x < 260; ++x) dark += bitmap->color_at(x, y) != kWhite;
  }
  EXPECT_GT(dark, 400);
  EXPECT_EQ(font->metrics().height, font->metrics().ascent + font->metrics().descent);
}

TEST(DejaVuTextTest, APositiveHeightIsTheCellHeight) {
  auto font = create_font({20, FW_NORMAL, false, false, u"Tahoma"});
  EXPECT_NEAR(font->metrics().height, 20, 1);
}

TEST(PngFileTest, APngReadsBackPixelForPixel) {
  auto bitmap = Bitmap::create_rgb565(3, 2);
  bitmap->set_color(0, 0, rgb(255, 0, 0));
  bitmap->set_color(2, 1, rgb(0, 0, 255));
  const auto path = testing::output_dir() / "three_by_two.png";
  ASSERT_TRUE(write_png(*bitmap, path.string()));
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, path.string().c_str()));
  image.format = PNG_FORMAT_RGB;
  std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
  EXPECT_EQ(image.width, 3u);
  EXPECT_EQ(image.height, 2u);
  EXPECT_EQ(pixels[0], 255);
  EXPECT_EQ(pixels[5 * 3 + 2], 255);
  EXPECT_EQ(pixels[1 * 3], 0);
  EXPECT_FALSE(write_png(*bitmap, "/nonexistent-folder/x.png"));
}

}  // namespace
}  // namespace ductra::platform

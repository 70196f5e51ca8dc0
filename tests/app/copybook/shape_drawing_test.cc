#include "app/copybook/shape_drawing.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "appplatform/thread.h"
#include "appplatform/wait.h"
#include "tests/appplatform/virtual_time.h"

namespace ductra {
namespace {

using platform::ColorRef;

constexpr ColorRef kPaper = platform::rgb(255, 255, 255);
constexpr ColorRef kInk = platform::rgb(0, 0, 0);
constexpr ColorRef kGuide = platform::rgb(0, 160, 0);

// A shape element made of strokes in shape units, with its two guides.
class Element {
 public:
  Element(std::vector<std::vector<crPoint>> strokes, std::int16_t first_guide = -1000, std::int16_t second_guide = -1000)
      : points_(std::move(strokes)) {
    for (auto& stroke : points_) {
      strokes_.push_back({0, static_cast<std::uint32_t>(stroke.size()), static_cast<std::uint32_t>(stroke.size()),
                          stroke.empty() ? nullptr : stroke.data()});
    }
    sample_.strokes = {0, static_cast<std::uint32_t>(strokes_.size()), static_cast<std::uint32_t>(strokes_.size()),
                       strokes_.data()};
    sample_.first_guide = first_guide;
    sample_.second_guide = second_guide;
  }
  const crSample& sample() const { return sample_; }
  crDynArray as_list() const { return {0, 1, 1, const_cast<crSample*>(&sample_)}; }

 private:
  std::vector<std::vector<crPoint>> points_;
  std::vector<crDynArray> strokes_;
  crSample sample_{};
};

class Paper {
 public:
  Paper(int width, int height) : bitmap_(platform::Bitmap::create_rgb565(width, height)), dc_(bitmap_) {
    dc_.fill_rect({0, 0, width, height}, platform::solid_brush(kPaper));
  }
  platform::DeviceContext& dc() { return dc_; }
  bool inked(int x, int y) const { return bitmap_->native(x, y) == bitmap_->native_of(kInk); }
  bool guided(int x, int y) const { return bitmap_->native(x, y) == bitmap_->native_of(kGuide); }
  // The inked columns of row y.
  std::vector<int> inked_row(int y) const {
    std::vector<int> columns;
    for (int x = 0; x < bitmap_->width(); ++x) {
      if (inked(x, y)) columns.push_back(x);
    }
    return columns;
  }
  int inked_pixels() const {
    int n = 0;
    for (int y = 0; y < bitmap_->height(); ++y) n += static_cast<int>(inked_row(y).size());
    return n;
  }

 private:
  std::shared_ptr<platform::Bitmap> bitmap_;
  platform::DeviceContext dc_;
};

void draw(Paper& paper, const Element& element, ShapeCell cell, SecondPart second = {}, bool animate = false) {
  draw_shape(paper.dc(), platform::solid_pen(1, kInk), platform::solid_pen(1, kGuide), animate, element.sample(), cell,
             second);
}

std::vector<int> span_of(int from, int to) {
  std::vector<int> columns;
  for (int x = from; x <= to; ++x) columns.push_back(x);
  return columns;
}

TEST(ShapeDrawingTest, ShapeUnitsAreScaledOntoTheCellBelowItsGuideLines) {
  Paper paper(80, 80);
  const Element element({{{100, 50}}}, 100, 200);
  draw(paper, element, {{5, 10, 69, 70}, 320});
  EXPECT_TRUE(paper.inked(25, 30)) << "(100, 50) at scale 0.2, ten pixels down";
  EXPECT_TRUE(paper.guided(5, 30) && paper.guided(68, 30)) << "the first guide at 100 x 0.2 + 10";
  EXPECT_TRUE(paper.guided(40, 50)) << "the second at 200 x 0.2 + 10";
  EXPECT_FALSE(paper.guided(69, 30)) << "the line leaves out its last pixel";
  EXPECT_EQ(paper.inked_pixels(), 1) << "a one-point stroke is a dot";
  EXPECT_EQ(paper.dc().pen(), platform::Pen{}) << "the pen selected before is selected again";
}

TEST(ShapeDrawingTest, WithoutPointsOrReferenceWidthNothingIsDrawn) {
  Paper paper(40, 40);
  draw(paper, Element(std::vector<std::vector<crPoint>>(1)), {{0, 0, 40, 40}, 320});
  EXPECT_EQ(paper.inked_pixels(), 0);
  draw(paper, Element({{{0, 0}, {100, 0}}}, 10, 20), {{0, 0, 40, 40}, 0});
  EXPECT_EQ(paper.inked_pixels(), 0);
  EXPECT_FALSE(paper.guided(0, 10)) << "a reference width of 0 draws nothing";
}

// At scale 1 in a cell 90 wide: the first part a line at y 60 from x 0 to
// 80, the second part a line 10 long.
TEST(ShapeDrawingTest, CopiesOfTheSecondPartGoWhereTheLayoutSays) {
  const Element first({{{0, 50}, {80, 50}}});
  const Element detail({{{0, 0}, {10, 0}}});
  const crDynArray details = detail.as_list();
  const crDynArray none{};
  {
    Paper paper(90, 100);
    draw(paper, first, {{0, 0, 90, 100}, 90}, {&details, kCopiesAbove, 2});
    EXPECT_EQ(paper.inked_row(52), (std::vector<int>{25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 55, 56, 57, 58, 59, 60, 61,
                                                     62, 63, 64}))
        << "two copies centred on 30 and 60, 8 pixels above the first part";
  }
  {
    Paper paper(90, 100);
    draw(paper, first, {{0, 0, 90, 100}, 90}, {&none, kCopiesBelow, 1});
    EXPECT_EQ(paper.inked_row(68), span_of(34, 55)) << "a dash of 90 / 4 units centred on 45, 8 pixels below";
  }
  {
    Paper paper(90, 100);
    draw(paper, first, {{0, 0, 90, 100}, 90}, {&details, kCopiesAbove | kCopiesBelow, 0});
    EXPECT_EQ(paper.inked_pixels(), 80) << "a count of 0 draws the first part alone";
  }
}

class AnimatedShapeTest : public platform::VirtualTimeTest {};

TEST_F(AnimatedShapeTest, ShortStrokesPauseFiftyMillisecondsASegmentLongOnesHalfASecondInAll) {
  struct Case {
    int points;
    platform::Millis took;
    int pixels;  // a line leaves out its last pixel; one point is a dot
  };
  for (const Case c : {Case{20, 19 * 50, 19}, Case{100, 99 * 5, 99}, Case{1, 0, 1}}) {
    std::vector<crPoint> stroke;
    for (int i = 0; i < c.points; ++i) stroke.push_back({static_cast<std::int16_t>(i), 0});
    const Element element({stroke});
    Paper paper(120, 40);
    platform::Millis took = 0;
    auto run = platform::Thread::start([&] {
      const platform::Millis start = platform::tick_count();
      draw(paper, element, {{0, 0, 120, 40}, 120}, {}, true);
      took = platform::tick_count() - start;
      return 0u;
    });
    clock_.advance(2000);
    platform::wait_for(*run, platform::kInfinite);
    EXPECT_EQ(took, c.took) << c.points << " points";
    EXPECT_EQ(paper.inked_pixels(), c.pixels) << "every segment drawn";
  }
}

}  // namespace
}  // namespace ductra

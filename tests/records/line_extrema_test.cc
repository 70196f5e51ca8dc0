#include "engine/records/line_extrema.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/records/figure_records.h"
#include "tests/support/ink.h"
#include "tests/support/ink_samples.h"

namespace inkrec {
namespace {

using testing::Ink;
using testing::InkStroke;
using testing::write_line;
using testing::WrittenLine;

constexpr int kThreshold = 8;

// The strokes of a line as prepared stroke records.
class Line {
 public:
  explicit Line(const Ink& ink) {
    for (const InkStroke& stroke : ink) records_.push_back(test::point_records(stroke));
    for (auto& points : records_) {
      strokes_.push_back(std::make_unique<StrokeRecord>(test::run_of(points)));
      fill_steps_and_crossings(strokes_.back()->run);
      figure_prepare_glyph(*strokes_.back(), true);
      pointers_.push_back(strokes_.back().get());
    }
  }

  std::span<StrokeRecord* const> strokes() const { return pointers_; }

 private:
  std::vector<std::vector<PointRecord>> records_;
  std::vector<std::unique_ptr<StrokeRecord>> strokes_;
  std::vector<StrokeRecord*> pointers_;
};

// Letters of the given height, written as humps.
Ink letters(int height, int strokes = 3) {
  WrittenLine line;
  line.height = height;
  line.strokes = strokes;
  return write_line(line);
}

// A vertical stroke as tall as given, right of everything else.
InkStroke tall_stroke(int height) {
  InkStroke stroke;
  for (int dy = 0; dy <= height; dy += 10) {
    stroke.push_back({3000, static_cast<std::int16_t>(1000 - height + dy)});
  }
  return stroke;
}

TEST(LineTypicalHeightTest, GivesTheHeightOfTheLettersOfALine) {
  for (const int height : {24, 40, 60}) {
    SCOPED_TRACE(height);
    Line line(letters(height));
    LetterHeights heights;
    ASSERT_EQ(line_typical_height(line.strokes(), kThreshold, heights), kOk);
    EXPECT_EQ(heights.greatest, height);
    EXPECT_EQ(heights.typical, height);
  }
}

TEST(LineTypicalHeightTest, OneTallStrokeAmongManyLettersIsNotTypical) {
  Ink ink = letters(40, 8);
  ink.push_back(tall_stroke(300));
  Line line(ink);
  LetterHeights heights;
  ASSERT_EQ(line_typical_height(line.strokes(), kThreshold, heights), kOk);
  EXPECT_EQ(heights.greatest, 300);
  // The mean of the nine strokes' means, (8 * 40 + 300) / 9 = 68, is
  // less than a 3.5th of 300: two thirds of the greatest instead.
  EXPECT_EQ(heights.typical, 200);

  StrokeRecord* const missing[] = {nullptr};
  EXPECT_EQ(line_typical_height(missing, kThreshold, heights), kBadArgument);
}

TEST(LineExtremaTest, ALineOfEvenLettersSettlesOnTheirHeight) {
  Line line(letters(40));
  LineExtremaStatistics stats;
  ASSERT_EQ(analyse_line_extrema(stats, kThreshold, line.strokes(), false), kOk);
  EXPECT_EQ(stats.few_heights, 0);
  EXPECT_EQ(stats.estimate, 40);
  EXPECT_EQ(stats.small_height, 40);
  EXPECT_EQ(stats.large_height, 100);
  EXPECT_EQ(stats.confident_share, -1);
  EXPECT_EQ(stats.middle_mean, 40);
  EXPECT_EQ(stats.upper_mean, 40);
}

TEST(LineExtremaTest, ATallStrokeFallsInTheLargeClass) {
  Ink ink = letters(40);
  ink.push_back(tall_stroke(120));
  Line line(ink);
  LineExtremaStatistics stats;
  ASSERT_EQ(analyse_line_extrema(stats, kThreshold, line.strokes(), false), kOk);
  EXPECT_EQ(stats.estimate, 40);
  EXPECT_EQ(stats.small_height, 40);
  EXPECT_EQ(stats.large_height, 100);
  EXPECT_EQ(stats.large_count, 1);
  // Asked for, the small height is the greatest height of any stroke.
  ASSERT_EQ(analyse_line_extrema(stats, kThreshold, line.strokes(), true), kOk);
  EXPECT_EQ(stats.small_height, 120);
  EXPECT_EQ(stats.large_height, 192);
}

TEST(LineExtremaTest, LinesWithFewHeights) {
  LineExtremaStatistics stats;
  stats.default_small_height = 35;
  stats.default_large_height = 70;
  Line dots({{{10, 10}}, {{40, 10}}});
  ASSERT_EQ(analyse_line_extrema(stats, kThreshold, dots.strokes(), false), kOk);
  EXPECT_EQ(stats.few_heights, 1);
  EXPECT_EQ(stats.small_height, 35);
  EXPECT_EQ(stats.large_height, 70);

  Line one({tall_stroke(20)});
  ASSERT_EQ(analyse_line_extrema(stats, kThreshold, one.strokes(), false), kOk);
  EXPECT_EQ(stats.few_heights, 1);
  EXPECT_EQ(stats.small_height, 33);
  EXPECT_EQ(stats.large_height, 52);

  Line none({});
  ASSERT_EQ(analyse_line_extrema(stats, kThreshold, none.strokes(), false), kOk);
  EXPECT_EQ(stats.small_height, 35);
}

}  // namespace
}  // namespace inkrec

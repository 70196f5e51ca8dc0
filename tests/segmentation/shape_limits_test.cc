#include "engine/segmentation/shape_limits.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace inkrec {
namespace {

// Codes: (first bit, second bit) as 2 * first + second.
constexpr std::uint8_t k00 = 0, k01 = 1, k10 = 2, k11 = 3;

TEST(ShapeLimitsTest, SegmentCodesDisagreeWhereTheGroupHoldsWhatTheShapeLacks) {
  struct Case {
    std::uint8_t shape;
    std::uint8_t group;
    bool disagree;
  };
  const Case cases[] = {
      {k11, k00, false}, {k11, k01, false}, {k11, k10, false}, {k11, k11, false},
      {k00, k00, false}, {k00, k01, false}, {k00, k10, false}, {k00, k11, true},
      {k01, k00, false}, {k01, k01, false}, {k01, k10, true},  {k01, k11, true},
      {k10, k00, false}, {k10, k01, true},  {k10, k10, false}, {k10, k11, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(segment_codes_disagree(c.shape, c.group), c.disagree)
        << int(c.shape) << " against " << int(c.group);
  }
}

TEST(ShapeLimitsTest, NeighbouringSegmentsMergeIntoOneCode) {
  struct Case {
    std::uint8_t x;
    std::uint8_t y;
    std::uint8_t merged;
  };
  const Case cases[] = {
      {k11, k00, k00}, {k11, k10, k10}, {k10, k00, k00}, {k10, k01, k11}, {k01, k01, k01},
      {k01, k10, k11}, {k00, k11, k11}, {k00, k10, k00}, {k00, k01, k00}, {k00, k00, k00},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(merged_segment_code(c.x, c.y), c.merged) << int(c.x) << " then " << int(c.y);
  }
  const std::uint8_t masks[2] = {0b0101, 0b0011};
  EXPECT_EQ(segment_code(masks, 0), k11);
  EXPECT_EQ(segment_code(masks, 1), k01);
  EXPECT_EQ(segment_code(masks, 2), k10);
  EXPECT_EQ(segment_code(masks, 3), k00);
  EXPECT_EQ(segment_code(masks, 8), k00);  // past the masks' bits
}

ShapeInfo segments(std::int8_t count, std::uint8_t first, std::uint8_t second) {
  ShapeInfo shape{};
  shape.segment_count = count;
  shape.segment_masks[0] = first;
  shape.segment_masks[1] = second;
  return shape;
}

GroupShapeFacts group_segments(std::int32_t count, std::uint8_t first, std::uint8_t second,
                               std::int32_t figures = 1) {
  GroupShapeFacts group;
  group.segment_count = count;
  group.segment_masks[0] = first;
  group.segment_masks[1] = second;
  group.figure_count = figures;
  return group;
}

TEST(ShapeLimitsTest, SegmentTestByTheCountsOfBothSides) {
  struct Case {
    const char* what;
    ShapeInfo shape;
    GroupShapeFacts group;
    bool segment_switch;
    bool ruled_out;
    std::int32_t penalty;
  };
  const Case cases[] = {
      {"no shape segments: no test", segments(0, 0, 0), group_segments(5, 0xFF, 0xFF), true,
       false, 0},
      {"equal counts, all agree", segments(2, 0b11, 0b11), group_segments(2, 0b01, 0b10), true,
       false, 0},
      {"equal counts, one disagrees", segments(2, 0b01, 0b01), group_segments(2, 0b11, 0b11),
       true, false, 400},
      {"shape (0,0) takes a group code of one bit", segments(2, 0b01, 0b01),
       group_segments(2, 0b11, 0b01), true, false, 0},
      {"equal counts, two disagree", segments(2, 0b00, 0b00), group_segments(2, 0b11, 0b11), true,
       true, 0},
      {"equal counts, switch off", segments(2, 0b00, 0b00), group_segments(2, 0b11, 0b11), false,
       false, 0},
      // Shape (1,1) (0,0) (0,1) against group (0,0) (0,1): merging shape
      // segments 0 and 1 gives (0,0), which fits.
      {"one shape segment more, a merge fits", segments(3, 0b001, 0b101),
       group_segments(2, 0b00, 0b10), true, false, 0},
      {"one group segment more, switch off", segments(1, 0, 0), group_segments(2, 0b11, 0b11),
       false, false, 400},
      // Group (0,1) (1,0) merges to (1,1), which a shape (0,0) refuses; the
      // last group segment dropped leaves (0,1), which it takes.
      {"one group segment more, the best merge agrees", segments(1, 0, 0),
       group_segments(2, 0b10, 0b01), true, false, 400},
      {"one group segment more, one disagreement left", segments(1, 0, 0),
       group_segments(2, 0b11, 0b11), true, false, 800},
      {"two group segments more, two figures", segments(1, 0, 0), group_segments(3, 0, 0, 2),
       true, false, 800},
      {"two group segments more, one figure", segments(1, 0, 0), group_segments(3, 0, 0, 1),
       true, true, 0},
      {"three group segments more", segments(1, 0, 0), group_segments(4, 0, 0, 2), true, true,
       0},
      {"two shape segments more: no test", segments(4, 0, 0), group_segments(2, 0xFF, 0xFF),
       true, false, 0},
  };
  for (const Case& c : cases) {
    const ShapeVerdict verdict = segment_verdict(c.group, c.shape, c.segment_switch);
    EXPECT_EQ(verdict.ruled_out, c.ruled_out) << c.what;
    EXPECT_EQ(verdict.penalty, c.penalty) << c.what;
  }
}

TEST(ShapeLimitsTest, TurningPointsOverTheLimitCostOrRuleOut) {
  ShapeInfo shape{};
  shape.minima_limit = 2;
  struct Case {
    std::int32_t minima;
    std::int32_t figures;
    bool ruled_out;
    std::int32_t penalty;
  };
  const Case cases[] = {
      {2, 1, false, 0}, {3, 1, false, 400}, {4, 1, true, 0}, {4, 2, false, 800}, {9, 0, true, 0},
  };
  for (const Case& c : cases) {
    GroupShapeFacts group;
    group.minima = c.minima;
    group.figure_count = c.figures;
    const ShapeVerdict verdict = turning_point_verdict(group, shape);
    EXPECT_EQ(verdict.ruled_out, c.ruled_out) << c.minima << " minima, " << c.figures;
    EXPECT_EQ(verdict.penalty, c.penalty) << c.minima << " minima, " << c.figures;
  }
  GroupShapeFacts all;
  all.minima = all.maxima = all.turning_count = 50;
  all.figure_count = 3;
  EXPECT_EQ(turning_point_verdict(all, ShapeInfo{}).penalty, 0);  // no limits set
  ShapeInfo every = shape;
  every.maxima_limit = 1;
  every.count_limit = 3;
  all.minima = 3;
  all.maxima = 2;
  all.turning_count = 5;
  EXPECT_EQ(turning_point_verdict(all, every).penalty, 400 + 400 + 800);
}

TEST(ShapeLimitsTest, EmptyColumnsAndRowsAgainstTheScaledBox) {
  ShapeInfo shape{};
  shape.width_factor = 50;
  shape.height_factor = 100;
  struct Case {
    std::int32_t empty_columns;
    std::int32_t empty_rows;
    bool ruled_out;
    std::int32_t penalty;
  };
  // A box 40 wide (20 allowed, 40 at most) and 30 high (30, 60).
  const Case cases[] = {
      {20, 30, false, 0}, {21, 0, false, 850}, {40, 0, false, 850}, {41, 0, true, 0},
      {0, 31, false, 850}, {21, 31, false, 1700}, {0, 61, true, 0},
  };
  for (const Case& c : cases) {
    GroupShapeFacts group;
    group.width = 40;
    group.height = 30;
    group.empty_columns = c.empty_columns;
    group.empty_rows = c.empty_rows;
    const ShapeVerdict verdict = empty_space_verdict(group, shape);
    EXPECT_EQ(verdict.ruled_out, c.ruled_out) << c.empty_columns << ", " << c.empty_rows;
    EXPECT_EQ(verdict.penalty, c.penalty) << c.empty_columns;
  }
}

TEST(ShapeLimitsTest, HeightRampFallsToZeroAtTheHeightTheSamplesSpan) {
  ShapeInfo shape{};
  shape.stats[2] = 0;   // the samples' top on the upper line
  shape.stats[3] = 50;  // their bottom half a letter below the base line
  // Spanned: (50 - 0 + 100) * 60 / 3 = 3000 hundredths, a height of 30.
  EXPECT_EQ(height_ramp_penalty(shape, 0, 60), 3000);
  EXPECT_EQ(height_ramp_penalty(shape, 15, 60), 1500);
  EXPECT_EQ(height_ramp_penalty(shape, 30, 60), 0);
  EXPECT_EQ(height_ramp_penalty(shape, 90, 60), 0);
  shape.stats[2] = -40;  // a top above the upper line counts as on it
  EXPECT_EQ(height_ramp_penalty(shape, 15, 60), 1500);
}

}  // namespace
}  // namespace inkrec

// The straightening of the text lines: measured skew, the turns of the
// run's points and what is kept of them.
#include "engine/segmentation/line_skew.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/segmentation/stroke_intake.h"
#include "tests/support/ink_samples.h"
#include "tests/support/split_ink.h"

namespace inkrec {
namespace {

using testing::Ink;
using testing::InkStroke;

class LineSkewTest : public ::testing::Test {
 protected:
  RecognitionContext take_in(const Ink& ink) {
    bench_.work().clear();
    RecognitionContext context = bench_.context();
    for (const InkStroke& stroke : ink) {
      std::vector<PointRecord> points;
      for (const PackedPoint p : stroke) {
        points.push_back(PointRecord{p, TrajectoryRecord(static_cast<std::uint16_t>(points.size()))});
      }
      EXPECT_EQ(add_figure_to_pane(context, points, {}), kOk);
    }
    EXPECT_EQ(reserve_stroke_pairs(context, static_cast<std::uint32_t>(ink.size())), kOk);
    return context;
  }
  // The slope of line k's middle fit in degrees.
  double middle_degrees(int k) {
    return std::atan(bench_.work().text_lines[static_cast<std::uint32_t>(k)].fits[1].slope()) *
           57.29577957855229;
  }

  testing::SplitBench bench_;
};

Ink tilted_line(double tilt) {
  testing::WrittenLine line;
  line.strokes = 4;
  line.tilt = tilt;
  return testing::write_line(line);
}

TEST_F(LineSkewTest, DirectionsAlongALineAgreeWithIt) {
  std::vector<PackedPoint> points;
  for (int k = 0; k < 40; ++k) points.push_back(testing::tilted(20 * k, 0, 10, 1000, 1000));
  // Every second point is a sample; each sample pairs with the samples up
  // to four steps either side: 140 pairs, all within 9 degrees of 10
  // (score 3 each), weight 40 points times 420.
  int angle = 0;
  int weight = 1;
  measure_direction_agreement(points, &angle, &weight, 10, 10, 10);
  EXPECT_EQ(angle, 10);
  EXPECT_EQ(weight, 40 * 3 * 140);
  // Measured against level references the line still comes out at 10.
  measure_direction_agreement(points, &angle, &weight, 0, 0, 0);
  EXPECT_NEAR(angle, 10, 1);
  int untouched = 7;
  measure_direction_agreement(std::span<const PackedPoint>(points.data(), 1), &untouched, &weight,
                              0, 0, 0);
  EXPECT_EQ(untouched, 7);
}

// Each turn starts from the points as taken in: turning there and back
// gives them back exactly.
TEST_F(LineSkewTest, TurnsDoNotCompound) {
  RecognitionContext context = take_in(tilted_line(0));
  const std::vector<PackedPoint> before = [&] {
    std::vector<PackedPoint> points;
    for (std::uint32_t k = 0; k < bench_.work().point_runs[0]->size(); ++k) {
      points.push_back((*bench_.work().point_runs[0])[k].point);
    }
    return points;
  }();
  for (int turn : {7, 13, -11, 4, -13}) ASSERT_EQ(rotate_line_points(context, turn), kOk);
  EXPECT_EQ(bench_.work().line_rotation, 0);
  for (std::uint32_t k = 0; k < before.size(); ++k) {
    EXPECT_EQ((*bench_.work().point_runs[0])[k].point, before[k]);
  }
}

TEST_F(LineSkewTest, ALineTurnedByTenDegreesIsStraightened) {
  RecognitionContext context = take_in(tilted_line(10));
  ASSERT_EQ(estimate_line_slant(context, true), kOk);
  EXPECT_NEAR(bench_.work().line_rotation, -10, 2);
  EXPECT_EQ(bench_.work().skew_correction, bench_.work().line_rotation);
  ASSERT_EQ(bench_.work().text_lines.size(), 1u);
  EXPECT_LT(std::abs(middle_degrees(0)), 2.0);
}

TEST_F(LineSkewTest, SmallTiltsAreLeftAlone) {
  for (const double tilt : {0.0, 2.0, -2.0}) {
    RecognitionContext context = take_in(tilted_line(tilt));
    ASSERT_EQ(estimate_line_slant(context, true), kOk);
    EXPECT_EQ(bench_.work().line_rotation, 0) << tilt;
    EXPECT_EQ(bench_.work().skew_correction, 0) << tilt;
  }
  // Without the flag nothing is turned at all.
  RecognitionContext context = take_in(tilted_line(10));
  ASSERT_EQ(estimate_line_slant(context, false), kOk);
  EXPECT_EQ(bench_.work().line_rotation, 0);
}

TEST_F(LineSkewTest, ASingleStrokeNeedsNoStraightening) {
  testing::WrittenLine line;
  line.strokes = 1;
  line.tilt = 10;
  RecognitionContext context = take_in(testing::write_line(line));
  ASSERT_EQ(estimate_line_slant(context, true), kOk);
  EXPECT_EQ(bench_.work().lines_done, 1);
  EXPECT_EQ(bench_.work().line_rotation, 0);
  EXPECT_EQ(bench_.work().text_lines.size(), 1u);
}

}  // namespace
}  // namespace inkrec

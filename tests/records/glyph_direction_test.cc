#include "engine/records/glyph_direction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/records/glyph_geometry.h"
#include "engine/records/trajectory_record.h"
#include "tests/support/figure_ink.h"

namespace inkrec {
namespace {

using test::circle;
using test::Figure;
using test::Points;
using test::polyline;

TEST(DirectionStatisticsTest, SortsInkIntoDirectionGroups) {
  Figure flat({polyline({{0, 0}, {200, 0}})});
  ASSERT_EQ(flat.status(), kOk);
  EXPECT_EQ(flat.direction().horizontal_direction, 0);
  EXPECT_EQ(flat.direction().horizontal_weight, 1000);
  EXPECT_EQ(flat.direction().vertical_weight, 0);
  // A flat compact figure has no vertical direction.
  EXPECT_EQ(flat.direction().vertical_direction, 0);
  EXPECT_EQ(flat.direction().steepness_weight, 1);

  Figure leftward({polyline({{200, 0}, {0, 0}})});
  EXPECT_EQ(leftward.direction().horizontal_direction, 0);

  Figure down({polyline({{0, 0}, {0, 200}})});
  EXPECT_EQ(down.direction().vertical_direction, 90);
  EXPECT_EQ(down.direction().vertical_weight, 1000);
  EXPECT_EQ(down.direction().steepness_weight, 200);
  EXPECT_EQ(down.direction().horizontal_direction, -100);

  // Up strokes count for 40 percent of their weight.
  Figure down_and_up({polyline({{0, 0}, {0, 200}, {0, 0}})});
  EXPECT_EQ(down_and_up.direction().vertical_weight, 700);
  EXPECT_EQ(down_and_up.direction().vertical_direction, 90);

  // Horizontal strokes slightly rising count below 0.
  Figure rising({polyline({{0, 100}, {200, 60}})});
  EXPECT_LT(rising.direction().horizontal_direction, 0);
  EXPECT_GE(rising.direction().horizontal_direction, -30);

  Figure diagonals({polyline({{0, 0}, {100, 100}, {200, 0}})});
  EXPECT_EQ(diagonals.direction().first_diagonal_direction, 45);
  EXPECT_EQ(diagonals.direction().first_diagonal_weight, 500);
  EXPECT_EQ(diagonals.direction().second_diagonal_direction, 135);
  EXPECT_EQ(diagonals.direction().second_diagonal_weight, 500);
  EXPECT_EQ(diagonals.direction().overall_direction, 90);
}

TEST(DirectionStatisticsTest, CountsReversalsOfTheVerticalMovement) {
  Figure zigzag({polyline({{0, 0}, {20, 100}, {40, 0}, {60, 100}, {80, 100}, {100, 0}})});
  EXPECT_EQ(zigzag.glyph().reversals.down_to_up, 2);
  EXPECT_EQ(zigzag.glyph().reversals.up_to_down, 1);
}

TEST(DirectionStatisticsTest, TrajectoryModeReadsTheRecordedSteps) {
  Figure figure({polyline({{0, 0}, {0, 200}})}, false);
  EXPECT_EQ(figure.direction().vertical_weight, 1000);
  // Steps recorded as horizontal turn the same points into a flat figure.
  for (PointRecord& record : figure.stroke(0)) record.trajectory.step_direction = 0;
  ASSERT_EQ(figure.glyph().prepare(figure.runs(), true), kOk);
  EXPECT_EQ(figure.direction().horizontal_weight, 1000);
  EXPECT_EQ(figure.direction().vertical_weight, 0);
  // With no recorded step at all there is nothing to measure.
  for (PointRecord& record : figure.stroke(0)) record.trajectory.step_length = 0;
  ASSERT_EQ(figure.glyph().prepare(figure.runs(), true), kOk);
  EXPECT_EQ(figure.direction().horizontal_direction, -100);
  EXPECT_EQ(figure.direction().vertical_direction, 90);
}

TEST(DirectionStatisticsTest, MeasuresCompactnessAndDiameter) {
  Figure line({polyline({{0, 0}, {200, 200}})});
  EXPECT_EQ(line.direction().compactness, 0);
  EXPECT_EQ(line.direction().diameter, 266);
  EXPECT_EQ(line.direction().length_per_diameter, 97);
  EXPECT_EQ(line.direction().aspect, 100);
  EXPECT_EQ(line.direction().compactness_score, 10);
  EXPECT_EQ(line.direction().spread_score, 15);

  Figure ring({circle(100, 100, 100, true)});
  EXPECT_GT(ring.direction().compactness, 250);
  EXPECT_GT(ring.direction().length_per_diameter, 280);
}

struct ShapeCase {
  const char* name;
  std::vector<Points> strokes;
  int shape_class;
};

TEST(ShapeClassTest, OneFigurePerClass) {
  // Open figures run from one corner to another; closed ones come back.
  const ShapeCase cases[] = {
      {"tiny", {polyline({{0, 0}, {5, 5}})}, 0},
      {"rightward", {polyline({{0, 0}, {200, 0}})}, 1},
      {"down-right", {polyline({{0, 0}, {200, 200}})}, 2},
      {"down", {polyline({{0, 0}, {0, 200}})}, 3},
      {"down-left", {polyline({{200, 0}, {0, 200}})}, 4},
      {"leftward", {polyline({{200, 0}, {0, 0}})}, 5},
      {"up-left", {polyline({{200, 200}, {0, 0}})}, 6},
      {"up", {polyline({{0, 200}, {0, 0}})}, 7},
      {"up-right", {polyline({{0, 200}, {200, 0}})}, 8},
      {"right and back", {polyline({{0, 0}, {200, 0}, {0, 0}})}, 9},
      {"down-right and back", {polyline({{0, 0}, {200, 200}, {0, 0}})}, 10},
      {"down and back", {polyline({{0, 0}, {0, 200}, {0, 0}})}, 11},
      {"down-left and back", {polyline({{200, 0}, {0, 200}, {200, 0}})}, 12},
      {"left and back", {polyline({{200, 0}, {0, 0}, {200, 0}})}, 13},
      {"up-left and back", {polyline({{200, 200}, {0, 0}, {200, 200}})}, 14},
      {"up and back", {polyline({{0, 200}, {0, 0}, {0, 200}})}, 15},
      {"up-right and back", {polyline({{0, 200}, {200, 0}, {0, 200}})}, 16},
      // Short ink counts as closed unless its ends lie across the box.
      {"short rightward", {polyline({{0, 0}, {30, 0}})}, 9},
      {"short down", {polyline({{0, 0}, {0, 30}})}, 11},
      {"short up-right", {polyline({{0, 30}, {30, 0}})}, 8},
  };
  for (const ShapeCase& c : cases) {
    SCOPED_TRACE(c.name);
    Figure figure(c.strokes);
    ASSERT_EQ(figure.status(), kOk);
    EXPECT_EQ(figure.direction().shape_class, c.shape_class);
    EXPECT_EQ(figure.direction().shape_confidence, 8200);
    EXPECT_EQ(figure.direction().deferred_shape_class, -1);
  }
}

// An arc of `span` degrees of an ellipse 200 wide and 2 * depth high,
// symmetric about its lowest point, drawn left to right.
Points arc(int span, int depth) {
  Points out;
  for (int i = 0; i <= 30; ++i) {
    const double a = std::numbers::pi * (90 - span / 2 + span * i / 30.0) / 180;
    out.push_back({static_cast<std::int16_t>(std::lround(100 - 100 * std::cos(a))),
                   static_cast<std::int16_t>(std::lround(depth * std::sin(a)))});
  }
  return out;
}

// Prepares the figure again with every point's curvature score set, so
// that its interior turning point scores that much.
void score_turns(Figure& figure, int score) {
  for (PointRecord& record : figure.stroke(0)) record.trajectory.score = score;
  figure.refill();
  ASSERT_EQ(figure.status(), kOk);
}

TEST(ShapeClassTest, ArcsAreClassedByCompactnessAndTheSharpnessOfTheirTurn) {
  Figure shallow({arc(180, 30)});
  EXPECT_EQ(shallow.direction().shape_class, 1);
  EXPECT_EQ(shallow.direction().shape_confidence, 8200);

  // A deeper arc with a sharp turn defers its class; a smooth turn keeps it.
  Figure deeper({arc(180, 70)});
  EXPECT_EQ(deeper.direction().shape_class, -1);
  EXPECT_EQ(deeper.direction().deferred_shape_class, 1);
  EXPECT_EQ(deeper.direction().shape_confidence, 8200);
  score_turns(deeper, 2000);
  EXPECT_EQ(deeper.direction().shape_class, 1);
  EXPECT_EQ(deeper.direction().deferred_shape_class, -1);

  // Past a compactness of 100 the deferred class is less sure: 8200 less
  // 82 for each point of compactness (25), plus 400/900 of the horizontal
  // weight above 100 (291).
  Figure wide({arc(240, 70)});
  EXPECT_EQ(wide.direction().compactness, 125);
  EXPECT_EQ(wide.direction().horizontal_weight, 391);
  EXPECT_EQ(wide.direction().shape_class, -1);
  EXPECT_EQ(wide.direction().deferred_shape_class, 1);
  EXPECT_EQ(wide.direction().shape_confidence, 8200 - 25 * 82 + 291 * 400 / 900);
}

TEST(ShapeClassTest, AnUnclassedCupWithASharpTurnCountsAsMoreCompact) {
  Figure cup({arc(180, 150)});
  const int raised = cup.direction().compactness;
  EXPECT_EQ(cup.direction().shape_class, -1);
  EXPECT_EQ(cup.direction().shape_confidence, 0);
  EXPECT_EQ(cup.direction().deferred_shape_class, -1);
  score_turns(cup, 6000);
  EXPECT_EQ(cup.direction().compactness, raised - 110);
  EXPECT_EQ(cup.direction().deferred_shape_class, 3);
}

TEST(ShapeClassTest, ComplexFiguresGetNoClass) {
  const ShapeCase cases[] = {
      {"two strokes", {polyline({{0, 0}, {100, 100}}), polyline({{100, 0}, {0, 100}})}, -1},
      {"ring", {circle(100, 100, 100, true)}, -1},
      {"long scribble",
       {polyline({{0, 0}, {100, 100}, {0, 100}, {100, 0}, {0, 0}, {100, 100}})},
       -1},
  };
  for (const ShapeCase& c : cases) {
    SCOPED_TRACE(c.name);
    Figure figure(c.strokes);
    EXPECT_EQ(figure.direction().shape_class, -1);
    EXPECT_EQ(figure.direction().shape_confidence, 0);
    EXPECT_EQ(figure.direction().deferred_shape_class, -1);
  }
}

// A loop from point 1 back to it at point 5, 60 wide and 50 high, seen
// from its crossing point straight above it (loop kind 6); mirrored, it
// turns the other way.
Points loop_stroke(bool mirrored, PackedPoint tail = {100, 50}) {
  const std::int16_t right = mirrored ? 20 : 80;
  const std::int16_t left = mirrored ? 80 : 20;
  return {{0, 50}, {50, 50}, {right, 20}, {50, 0}, {left, 20}, {50, 50}, tail};
}

void cross_at(Figure& figure, std::size_t stroke, std::size_t at, std::uint16_t partner) {
  TrajectoryRecord& record = figure.stroke(stroke)[at].trajectory;
  record.first_partner = partner;
  record.add_flags(TrajectoryRecord::kFirstCrossing);
  figure.refill();
}

TEST(FeatureMasksTest, LargeLoopsMarkTheirKindOnTheirSide) {
  constexpr std::uint32_t kTallLoopAbove = (1u << 6) | (1u << 22);
  Figure figure({loop_stroke(false)});
  cross_at(figure, 0, 1, 5);
  ASSERT_EQ(figure.stroke(0)[1].trajectory.crossing.loop_kind, 6u);
  ASSERT_EQ(figure.stroke(0)[1].trajectory.crossing.turn_marker, 0);
  const FeatureMasks& masks = figure.glyph().feature_masks;
  EXPECT_EQ(masks.marked, 0u);
  EXPECT_EQ(masks.other, kTallLoopAbove);
  // The loop starts at the second point and ends two points before the end.
  EXPECT_EQ(masks.start_other, kTallLoopAbove);
  EXPECT_EQ(masks.end_other, kTallLoopAbove);
  EXPECT_EQ(masks.start_marked, 0u);

  Figure mirrored({loop_stroke(true)});
  cross_at(mirrored, 0, 1, 5);
  ASSERT_EQ(mirrored.stroke(0)[1].trajectory.crossing.turn_marker, 1);
  EXPECT_EQ(mirrored.glyph().feature_masks.marked, kTallLoopAbove);
  EXPECT_EQ(mirrored.glyph().feature_masks.other, 0u);

  // Only a one-run figure has start and end masks.
  Figure two_runs({loop_stroke(false), polyline({{0, 60}, {10, 60}})});
  cross_at(two_runs, 0, 1, 5);
  EXPECT_EQ(two_runs.glyph().feature_masks.other, kTallLoopAbove);
  EXPECT_EQ(two_runs.glyph().feature_masks.start_other, 0u);
  EXPECT_EQ(two_runs.glyph().feature_masks.end_other, 0u);
}

TEST(FeatureMasksTest, SmallLoopsAndLoopsPastTheRunCountNothing) {
  // In a figure 400 high the loop is low.
  Figure low({loop_stroke(false, {1000, 400})});
  cross_at(low, 0, 1, 5);
  EXPECT_EQ(low.glyph().feature_masks.other, 0u);
  EXPECT_EQ(low.glyph().feature_masks.start_other, 0u);

  // A crossing whose loop runs past the run's end.
  Figure cut({loop_stroke(false)});
  cross_at(cut, 0, 1, 5);
  cut.run(0).count = 4;
  ASSERT_EQ(cut.glyph().prepare(cut.runs(), true), kOk);
  EXPECT_EQ(cut.glyph().feature_masks.other, 0u);
}

}  // namespace
}  // namespace inkrec

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "engine/analysis/raf_features.h"
#include "tests/support/raf_figures.h"

namespace inkrec {
namespace {

using test::block_values;
using test::compute_figure;
using test::raf_list;
using test::RafRun;
using Figure = std::vector<std::vector<PackedPoint>>;

// The indices of the non-zero counters of a block with their values.
std::vector<std::pair<int, int>> lit(const RafContext& context, const Raf& raf) {
  std::vector<std::pair<int, int>> cells;
  const std::vector<int> values = block_values(context, raf);
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (values[i] != 0) cells.emplace_back(static_cast<int>(i), values[i]);
  }
  return cells;
}

using Lit = std::vector<std::pair<int, int>>;

TEST(RafExtractors, LineCrossingsOfALevelBar) {
  // "04-CrossVLines": run count 1 in all six columns; "17-CrossLineDn": no
  // downward stroke, run count 0 in all six rows.
  const DynArray<Raf> rafs = raf_list({{4, 6, 4}, {17, 8, 5}});
  RafContext context;
  ASSERT_EQ(compute_figure(context, {{{0, 0}, {40, 0}}}, RafRun{&rafs}), kOk);
  EXPECT_EQ(lit(context, rafs[0]), (Lit{{6, 1}, {7, 1}, {8, 1}, {9, 1}, {10, 1}, {11, 1}}));
  EXPECT_EQ(lit(context, rafs[1]), (Lit{{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}}));
}

TEST(RafExtractors, CrossingCodesOfTwoBars) {
  // Every row holds two runs of cells; each row's code is taken at its
  // first raster point, on the left bar: one run to the right.
  const DynArray<Raf> rafs = raf_list({{5, 12, 3}});
  RafContext context;
  ASSERT_EQ(compute_figure(context, {{{0, 0}, {0, 40}}, {{20, 0}, {20, 40}}}, RafRun{&rafs}), kOk);
  int plane1 = 0;
  for (const auto& [index, value] : lit(context, rafs[0])) {
    EXPECT_GE(index, 9);
    EXPECT_LT(index, 18);
    plane1 += value;
  }
  EXPECT_GE(plane1, 82);  // every raster point at least once
}

TEST(RafExtractors, StrokeStartsAndEnds) {
  const DynArray<Raf> rafs = raf_list({{8, 6, 3}});
  const Figure diagonal{{{0, 0}, {30, 30}}};
  RafContext context;
  // Start in band (0, 0) of plane 0, end in band (2, 2) of plane 1: two
  // counters are too few for a figure.
  EXPECT_EQ(compute_figure(context, diagonal, RafRun{&rafs}), kRafTooLittleData);
  EXPECT_EQ(lit(context, rafs[0]), (Lit{{0, 1}, {17, 1}}));
  const RafEndSwitches piece{0, 1};
  compute_figure(context, diagonal, RafRun{&rafs, false, &piece});
  EXPECT_EQ(lit(context, rafs[0]), (Lit{{17, 1}}));
}

TEST(RafExtractors, TurningSums) {
  // "18-NewSumDug" without "06-DugolChord" sees no chord turns; a square
  // turns 270 degrees in "07-SumDug" (S class 3, spread class 0).
  const DynArray<Raf> rafs = raf_list({{18, 10, 2}, {7, 10, 2}});
  RafContext context;
  compute_figure(context, {{{0, 0}, {20, 0}, {20, 20}, {0, 20}, {0, 0}}}, RafRun{&rafs});
  EXPECT_EQ(lit(context, rafs[0]), (Lit{{0, 1}, {10, 1}}));
  EXPECT_EQ(lit(context, rafs[1]), (Lit{{3, 1}, {10, 1}}));
}

TEST(RafExtractors, ChordBendsOfStraightStrokes) {
  const DynArray<Raf> rafs = raf_list({{6, 66, 3}});
  const struct {
    Figure figure;
    int plane;
  } cases[] = {{{{{0, 0}, {40, 0}}}, 0}, {{{{0, 0}, {0, 40}}}, 1}};
  for (const auto& c : cases) {
    RafContext context;
    ASSERT_EQ(compute_figure(context, c.figure, RafRun{&rafs}), kOk);
    int counted = 0;
    for (const auto& [index, value] : lit(context, rafs[0])) {
      EXPECT_EQ(index / 9, c.plane);  // 22 planes of 3 x 3 cells
      counted += value;
    }
    EXPECT_GE(counted, 39);  // every point of the second pass
  }
}

TEST(RafExtractors, TopologyOfOccupiedCells) {
  const DynArray<Raf> rafs = raf_list({{11, 21, 3}, {12, 24, 3}});
  const Box16 frame{0, 0, 47, 47};
  RafContext context;
  // A single occupied cell is isolated in both features.
  compute_figure(context, {{{0, 0}, {1, 1}}}, RafRun{&rafs, false, nullptr, nullptr, &frame});
  EXPECT_EQ(lit(context, rafs[0]), (Lit{{0, 1}}));
  EXPECT_EQ(lit(context, rafs[1]), (Lit{{0, 1}}));
  // A dot in cell (3, 3) inside a square on the border of its 7 x 7 window.
  ASSERT_EQ(
      compute_figure(context, {{{0, 0}, {24, 0}, {24, 24}, {0, 24}, {0, 0}}, {{12, 12}, {13, 13}}},
                     RafRun{&rafs, false, nullptr, nullptr, &frame}),
      kOk);
  EXPECT_EQ(block_values(context, rafs[0])[0], 1);
}

TEST(RafExtractors, GroupsAndArrangementsOfStrokes) {
  const DynArray<Raf> rafs = raf_list({{13, 4, 1}, {14, 6, 1}});
  const struct {
    const char* name;
    Figure figure;
    Lit groups;
    Lit arrangement;
  } cases[] = {
      {"crossing", {{{0, 0}, {20, 20}}, {{0, 20}, {20, 0}}}, {{0, 1}}, {}},
      {"side by side", {{{0, 0}, {0, 20}}, {{10, 0}, {10, 20}}}, {{1, 1}}, {{1, 1}}},
      {"one above the other", {{{0, 0}, {20, 0}}, {{0, 20}, {20, 20}}}, {{1, 1}}, {{2, 1}}},
      {"three in a row",
       {{{0, 0}, {0, 20}}, {{15, 0}, {15, 20}}, {{30, 0}, {30, 20}}},
       {{2, 1}},
       {{3, 3}}},
      {"one stroke", {{{0, 0}, {20, 20}}}, {{0, 1}}, {{0, 1}}},
  };
  for (const auto& c : cases) {
    RafContext context;
    compute_figure(context, c.figure, RafRun{&rafs});
    EXPECT_EQ(lit(context, rafs[0]), c.groups) << c.name;
    EXPECT_EQ(lit(context, rafs[1]), c.arrangement) << c.name;
  }
}

TEST(RafExtractors, CosinesOfNoScaledPointsCountNothing) {
  const DynArray<Raf> rafs = raf_list({{0, 16, 12}, {10, 8, 1}});
  RafContext context;
  ASSERT_EQ(context.reset(test::total_cells(rafs)), kOk);
  StrokeList strokes(1, true);
  auto stroke = std::make_unique<Stroke>();
  stroke->push_back({0, 0});
  stroke->push_back({20, 30});
  strokes.push_back_owned(std::move(stroke));
  ASSERT_EQ(context.load_strokes(strokes), kOk);
  context.work.scaled_strokes.clear();
  EXPECT_EQ(compute_rafs(context, rafs, Box16{0, 0, 20, 30}, nullptr, nullptr, true),
            kRafTooLittleData);
  EXPECT_EQ(lit(context, rafs[0]), Lit{});
}

}  // namespace
}  // namespace inkrec

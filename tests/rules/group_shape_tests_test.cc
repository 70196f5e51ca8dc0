#include "engine/rules/group_shape_tests.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/foundation/status.h"
#include "tests/support/drawn_group.h"

namespace inkrec {
namespace {

using test::Points;
using test::polyline;

TEST(GroupShapeTestsTest, DescendingRunsCountEveryStretchDownTheTablet) {
  struct Case {
    const char* what;
    std::vector<Points> strokes;
    std::int32_t runs;
  };
  const Case cases[] = {
      {"one stroke down", {polyline({{0, 0}, {0, 60}}, 5)}, 1},
      {"a stroke up", {polyline({{0, 60}, {0, 0}}, 5)}, 0},
      {"a flat stroke", {polyline({{0, 0}, {60, 0}}, 5)}, 0},
      {"a W: down, up, down, up", {polyline({{0, 0}, {10, 60}, {20, 0}, {30, 60}, {40, 0}}, 5)}, 2},
      {"down with a flat stretch in the middle",
       {polyline({{0, 0}, {0, 30}, {20, 30}, {20, 60}}, 5)},
       1},
      {"two strokes down", {polyline({{0, 0}, {0, 60}}, 5), polyline({{20, 0}, {20, 60}}, 5)}, 2},
      {"a single point", {{{5, 5}}}, 0},
  };
  for (const Case& c : cases) {
    test::DrawnGroup drawn(c.strokes);
    std::int32_t runs = -1;
    ASSERT_EQ(count_descending_runs(drawn.group(), &runs), kOk) << c.what;
    EXPECT_EQ(runs, c.runs) << c.what;
  }
  test::DrawnGroup drawn({polyline({{0, 0}, {0, 60}}, 5)});
  ASSERT_EQ(drawn.group().figures.push_back(nullptr), kOk);
  std::int32_t runs = 0;
  EXPECT_EQ(count_descending_runs(drawn.group(), &runs), kBadArgument);
}

// A stroke-pair table of three strokes on line 0 whose only measured pair
// is (0, partner) at the distance.
PairTable stroke_pairs_with(int partner, std::int16_t distance) {
  PairTable table;
  EXPECT_EQ(table.reserve(3), kOk);
  EXPECT_EQ(table.entries().resize(3), kOk);
  PairMetrics* entry = table.at(0, partner);
  entry->measures[0] = distance;
  entry->kind = 0;
  return table;
}

TEST(GroupShapeTestsTest, OverlapFlagOfASingleMarkLooksForANearStrokeItDoesNotHold) {
  struct Case {
    const char* what;
    int partner;
    std::int16_t distance;
    bool holds_partner;
    bool flag;
  };
  const Case cases[] = {
      {"a stroke at distance 1", 2, 1, false, true},
      {"a stroke touching it", 1, 0, false, true},
      {"a stroke at distance 2", 2, 2, false, false},
      {"the near stroke is the mark's own", 1, 1, true, false},
  };
  for (const Case& c : cases) {
    std::vector<Points> strokes = {polyline({{0, 0}, {4, 4}}, 2)};
    if (c.holds_partner) strokes.push_back(polyline({{10, 0}, {14, 4}}, 2));
    test::DrawnGroup drawn(strokes);
    for (std::size_t i = 0; i < strokes.size(); ++i) drawn.figure(i).line_index = 0;
    drawn.group().one_figure_mark = 1;
    const PairTable table = stroke_pairs_with(c.partner, c.distance);
    bool flag = !c.flag;
    ASSERT_EQ(group_overlap_flag(drawn.group(), table, &flag), kOk) << c.what;
    EXPECT_EQ(flag, c.flag) << c.what;
  }
  test::DrawnGroup letter({polyline({{0, 0}, {0, 60}}, 5)});
  bool flag = false;
  EXPECT_EQ(group_overlap_flag(letter.group(), PairTable{}, &flag), kOk);
  EXPECT_TRUE(flag);  // a group not formed as a single mark
}

// F1 and F2 of a group, F2 continued by N (its stroke's piece two further)
// at the given x.
struct TwoFigures {
  TwoFigures(std::int16_t f2_x, std::int16_t n_x)
      : drawn({polyline({{0, 0}, {0, 60}}, 5), polyline({{f2_x, 0}, {f2_x, 60}}, 5)}),
        n_points(test::point_records(polyline({{n_x, 0}, {n_x, 60}}, 5))) {
    drawn.figure(1).stroke_index = 5;
    drawn.figure(1).piece = 0;
    drawn.figure(1).piece_key = 0;
    FigureRecord* n = line_figures.push_default();
    n->run = test::run_of(n_points);
    n->stroke_index = 5;
    n->piece = 2;
    n->piece_key = 2;
    EXPECT_EQ(figure_prepare_glyph(*n, true), kOk);
  }
  bool spaced_as_one(bool segment_switch = true) {
    return two_figures_spaced_as_one(drawn.group(), drawn.box(), 100, segment_switch, line_figures);
  }

  test::DrawnGroup drawn;
  std::vector<PointRecord> n_points;
  DynArray<FigureRecord> line_figures;
};

TEST(GroupShapeTestsTest, TwoFiguresAreSpacedAsOneLetterByTheirGapAgainstTheNextOne) {
  struct Case {
    const char* what;
    std::int16_t f2_x;
    std::int16_t n_x;
    bool one;
  };
  const Case cases[] = {
      {"a gap narrower than to the next piece", 8, 60, true},
      {"a gap wider than to the next piece", 40, 45, false},
      {"a gap as wide, but below a tenth of the size", 8, 16, true},
      {"a narrower gap, but over half the size", 70, 200, false},
  };
  for (const Case& c : cases) {
    TwoFigures two(c.f2_x, c.n_x);
    EXPECT_EQ(two.spaced_as_one(), c.one) << c.what;
  }
  TwoFigures apart(40, 45);
  EXPECT_TRUE(apart.spaced_as_one(false));  // the segment switch off
  apart.drawn.figure(1).piece_key = 7;      // no next piece of F2's stroke
  EXPECT_TRUE(apart.spaced_as_one());
  TwoFigures reversed(-40, -35);  // F2 starts left of F1
  EXPECT_TRUE(reversed.spaced_as_one());
}

TEST(GroupShapeTestsTest, ProfilePenaltyOfANarrowTopAndOfWideParts) {
  struct Case {
    const char* what;
    std::vector<Points> strokes;
    std::int32_t penalty;
  };
  const Case cases[] = {
      {"a peak: the first row a point, the rows widening below",
       {polyline({{0, 60}, {30, 0}, {60, 60}}, 3)},
       800},
      {"a box", {polyline({{0, 0}, {60, 0}, {60, 60}, {0, 60}, {0, 0}}, 3)}, 0},
      {"a valley: narrow at the bottom", {polyline({{0, 0}, {30, 60}, {60, 0}}, 3)}, 0},
      {"three bars as wide as the group",
       {polyline({{0, 0}, {60, 0}}, 3), polyline({{0, 30}, {60, 30}}, 3),
        polyline({{0, 60}, {60, 60}}, 3)},
       200 + 450},
      {"two bars of 0.7 of the group, one short",
       {polyline({{0, 0}, {42, 0}}, 3), polyline({{18, 30}, {60, 30}}, 3),
        polyline({{0, 60}, {10, 60}}, 3)},
       200},
  };
  for (const Case& c : cases) {
    test::DrawnGroup drawn(c.strokes);
    std::int32_t penalty = 0;
    ASSERT_EQ(add_profile_penalty(drawn.group(), drawn.box(), &penalty), kOk) << c.what;
    EXPECT_EQ(penalty, c.penalty) << c.what;
  }
}

}  // namespace
}  // namespace inkrec

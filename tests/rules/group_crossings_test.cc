#include "engine/rules/group_crossings.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/drawn_group.h"

namespace inkrec {
namespace {

using test::Points;

// An "И" of three strokes in the box 0..40 x 0..60, every stroke drawn
// downward; and the same with the right stem drawn upward.
std::vector<Points> i_downward() {
  return {test::polyline({{0, 0}, {0, 60}}, 5), test::polyline({{40, 0}, {0, 60}}, 5),
          test::polyline({{40, 0}, {40, 60}}, 5)};
}
std::vector<Points> i_right_stem_up() {
  return {test::polyline({{0, 0}, {0, 60}}, 5), test::polyline({{40, 0}, {0, 60}}, 5),
          test::polyline({{40, 60}, {40, 0}}, 5)};
}

TEST(GroupCrossingsTest, DownwardCrossingsAndInkExtentAtAHeight) {
  test::DrawnGroup down(i_downward());
  test::DrawnGroup mixed(i_right_stem_up());
  ASSERT_EQ(down.box(), (Box16{0, 0, 40, 60}));
  struct Case {
    std::int32_t p;
    std::int32_t row;
    int down_crossings;
    int mixed_crossings;
  };
  const Case cases[] = {
      {0, 60, 0, 0},   // no point lies below the bottom row
      {50, 30, 3, 2},  // the stem drawn upward does not count
      {33, 41, 3, 2},  // 60 * 33 / 100 = 19.8 truncates: row 41
      {100, 0, 3, 2},  // the top row: every stroke starts on it
  };
  for (const Case& c : cases) {
    EXPECT_EQ(row_at_height(down.group(), c.p), c.row) << c.p;
    EXPECT_EQ(crossings_at_height(down.group(), c.p), c.down_crossings) << c.p;
    EXPECT_EQ(crossings_at_height(mixed.group(), c.p), c.mixed_crossings) << c.p;
  }
  // The ink extent counts the crossings either way.
  EXPECT_EQ(extent_points_at_height(down.group(), 50), 3);
  EXPECT_EQ(extent_points_at_height(mixed.group(), 50), 3);
}

TEST(GroupCrossingsTest, NullFiguresCountNothing) {
  test::DrawnGroup down(i_downward());
  ASSERT_EQ(down.group().figures.push_back(nullptr), kOk);
  EXPECT_EQ(crossings_at_height(down.group(), 50), 3);
  EXPECT_EQ(extent_points_at_height(down.group(), 50), 3);
  FigureGroup without_geometry;
  EXPECT_EQ(crossings_at_height(without_geometry, 50), 0);
}

}  // namespace
}  // namespace inkrec

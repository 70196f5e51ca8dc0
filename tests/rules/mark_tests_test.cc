#include "engine/rules/mark_tests.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/foundation/status.h"
#include "tests/support/drawn_group.h"

namespace inkrec {
namespace {

using test::Points;
using test::polyline;

constexpr std::int32_t kSize = 100;

// A mark drawn in rows top..bottom over x 0..10 on line 0, formed as a
// single mark, with the base lines 100 and 200; and the line's figures.
struct MarkOnLine {
  MarkOnLine(std::int16_t top, std::int16_t bottom)
      : mark({polyline({{0, top}, {10, bottom}}, 2)}) {
    mark.figure(0).line_index = 0;
    mark.group().one_figure_mark = 1;
    element_set_baseline_pair(mark.group(), ReferenceBand{100, 200, 1});
  }
  // A figure of the line over the box, drawn as a vertical stroke.
  void add_figure(std::int16_t left, std::int16_t top, std::int16_t right, std::int16_t bottom,
                  std::uint16_t line = 0) {
    points.push_back(test::point_records(polyline({{left, top}, {right, bottom}}, 4)));
    FigureRecord* figure = line_figures.push_default();
    figure->run = test::run_of(points.back());
    figure->line_index = line;
    EXPECT_EQ(figure_prepare_glyph(*figure, true), kOk);
  }

  test::DrawnGroup mark;
  std::vector<std::vector<PointRecord>> points;
  DynArray<FigureRecord> line_figures;
};

// A mark in rows top..bottom and the penalty its place costs.
struct Case {
  const char* what;
  std::int16_t top;
  std::int16_t bottom;
  std::int32_t penalty;
};

TEST(MarkTestsTest, UpperMarkStandsOnTheLetterBelowAndPaysForComingDown) {
  // The letter below reaches the base line 200: R = 200, the ramp runs
  // from 200 - (100 + 100) / 3 = 134 (0) to 200 (3000).
  const Case cases[] = {
      {"high above the letter", 40, 50, 0},
      {"down at the upper line", 150, 160, 3000 * (160 - 134) / 66 + 3000 * (150 - 134) / 66},
      {"tall", 40, 150, 3000 * (150 - 134) / 66 + 1000 * (111 - 80) / 80},  // m = 160
  };
  for (const Case& c : cases) {
    MarkOnLine line(c.top, c.bottom);
    line.add_figure(0, 0, 0, 0);  // the array's first figure is passed over
    line.add_figure(0, 170, 40, 200);
    const MarkPlace place =
        upper_mark_place(line.mark.group(), line.mark.box(), kSize, line.line_figures);
    EXPECT_TRUE(place.flag) << c.what;
    EXPECT_EQ(place.penalty, c.penalty) << c.what;
  }
}

TEST(MarkTestsTest, UpperMarkFlagNeedsASingleMarkWithBaseLinesAndNothingAboveIt) {
  MarkOnLine above(40, 50);
  above.add_figure(0, 0, 0, 0);
  above.add_figure(2, 0, 8, 30);  // ink above the mark within its span
  EXPECT_FALSE(
      upper_mark_place(above.mark.group(), above.mark.box(), kSize, above.line_figures).flag);
  MarkOnLine other_line(40, 50);
  other_line.add_figure(0, 0, 0, 0);
  other_line.add_figure(2, 0, 8, 30, 1);  // the same ink on another line
  EXPECT_TRUE(upper_mark_place(other_line.mark.group(), other_line.mark.box(), kSize,
                               other_line.line_figures)
                  .flag);
  MarkOnLine letter(40, 50);
  letter.mark.group().one_figure_mark = 0;
  EXPECT_FALSE(
      upper_mark_place(letter.mark.group(), letter.mark.box(), kSize, letter.line_figures).flag);
  test::DrawnGroup no_lines({polyline({{0, 40}, {10, 50}}, 2)});
  no_lines.group().one_figure_mark = 1;
  const MarkPlace none = upper_mark_place(no_lines.group(), no_lines.box(), kSize, {});
  EXPECT_FALSE(none.flag);
  EXPECT_EQ(none.penalty, 0);
}

TEST(MarkTestsTest, LowerMarkPaysForRisingTowardsTheUpperLine) {
  // The ramp runs from the upper line 100 (1500) to 200 - 100/2 = 150 (0).
  const Case cases[] = {
      {"below the base line", 210, 220, 0},
      {"between the lines", 120, 130, 2 * (1500 - 1500 * 20 / 50)},
  };
  for (const Case& c : cases) {
    MarkOnLine line(c.top, c.bottom);
    MarkPlace place;
    ASSERT_EQ(
        lower_mark_place(line.mark.group(), line.mark.box(), kSize, line.line_figures, &place),
        kOk);
    EXPECT_TRUE(place.flag) << c.what;
    EXPECT_EQ(place.penalty, c.penalty) << c.what;
  }
  MarkOnLine below(210, 220);
  below.add_figure(5, 230, 20, 260);  // ink starting in the mark's span, wholly below it
  MarkPlace place;
  ASSERT_EQ(
      lower_mark_place(below.mark.group(), below.mark.box(), kSize, below.line_figures, &place),
      kOk);
  EXPECT_FALSE(place.flag);
}

}  // namespace
}  // namespace inkrec

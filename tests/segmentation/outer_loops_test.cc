// The loop test of figures and the small judgements of pairs of letter
// results.
#include "engine/segmentation/outer_loops.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/records/request_switches.h"
#include "engine/segmentation/result_pair_order.h"
#include "tests/support/drawn_line.h"

namespace inkrec {
namespace {

using test::DrawnLine;
using test::Points;
using test::polyline;
using test::stem;

// A cursive "l": up from the baseline (y 100) to a loop whose tip (y 5)
// lies far above the upper line (y 60), the arms crossing near y 65.
Points looped_ascender() {
  return polyline({{90, 100}, {118, 40}, {122, 15}, {111, 5}, {100, 15}, {104, 40}, {112, 100}},
                  5);
}

// The same loop hanging below the baseline (a "g" tail), tip at y 155.
Points looped_descender() {
  Points points = looped_ascender();
  for (PackedPoint& p : points) p.y = static_cast<std::int16_t>(160 - p.y + 60);
  return points;
}

TEST(OuterLoopsTest, LoopsFarBeyondTheLinesAreFound) {
  struct Case {
    std::string name;
    Points ink;
    std::int32_t bits;
  };
  const std::vector<Case> cases = {
      {"a looped ascender", looped_ascender(), kLoopAboveUpperLine},
      {"a looped descender", looped_descender(), kLoopBelowBaseline},
      {"a stem", stem(100, 10, 100), 0},
      {"an arch", test::arch(80, 40, 40), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DrawnLine drawn({c.ink});
    const ReferenceBand band{60, 100, 0};
    drawn.body(0).geometry.set_baseline_pair(band);
    FigureGroup& group = drawn.result({0}, 'l', &band);
    EXPECT_EQ(find_outer_loops(group, 40), c.bits);
  }
}

TEST(OuterLoopsTest, NoLoopWithoutFiguresOrReferenceLinesOrAtTheRunsEnd) {
  DrawnLine drawn({looped_ascender()});
  FigureGroup empty;
  EXPECT_EQ(find_outer_loops(empty, 40), 0);
  FigureGroup& unlined = drawn.result({0}, 'l');
  EXPECT_EQ(find_outer_loops(unlined, 40), 0);
  const ReferenceBand band{60, 100, 0};
  drawn.body(0).geometry.set_baseline_pair(band);
  const FigureRecord& figure = drawn.body(0);
  EXPECT_EQ(is_loop_extremum(figure, static_cast<std::uint32_t>(figure.run.count - 1), 40, false),
            0);
  EXPECT_EQ(is_loop_extremum(figure, 0, 40, true), 0);
}

TEST(ResultPairOrderTest, TheHeightBlendLeansLessOnFarHeights) {
  struct Case {
    std::int32_t b;
    std::int32_t blended;
  };
  const std::vector<Case> cases = {
      {180, 100},  // at most 1.8 a: a
      {190, 102},  // (a + 10b/18)/2
      {200, 105},  // exactly 2a still blends by 10/18
      {201, 100},  // just above 2a: (a + b/2)/2
      {250, 112},  // 2.5a: (a + b/2)/2
      {300, 55},   // past 2.5a: (a + 2b/52)/2
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.b);
    EXPECT_EQ(blend_height(100, c.b), c.blended);
  }
}

TEST(ResultPairOrderTest, InterleavedMembersAndLowFeetBreakTheOrder) {
  DrawnLine drawn({stem(100, 60, 100), stem(140, 60, 100), stem(180, 60, 100), stem(220, 20, 40)});
  const FigureGroup& first = drawn.result({0, 2}, 'a');
  const FigureGroup& second = drawn.result({1}, 'b');
  const FigureGroup& high = drawn.result({3}, 'c');
  EXPECT_TRUE(members_interleave(first, second));
  EXPECT_FALSE(members_interleave(second, high));
  EXPECT_FALSE(members_interleave(FigureGroup(), second));

  drawn.kernel().params_.skew_allowed = 1;
  std::uint8_t flag = 1;
  check_pair_order(drawn.context(), first, second, &flag);
  EXPECT_EQ(flag, 0);

  // Without the stroke order only the feet count: b standing high above
  // a keeps the flag, b reaching down beside a clears it.
  drawn.kernel().params_.skew_allowed = 0;
  FigureGroup a;
  a.box = Box16{0, 60, 10, 100};
  FigureGroup b;
  b.box = Box16{20, 20, 30, 40};
  flag = 1;
  check_pair_order(drawn.context(), a, b, &flag);
  EXPECT_EQ(flag, 1);
  b.box = Box16{20, 60, 30, 100};
  check_pair_order(drawn.context(), a, b, &flag);
  EXPECT_EQ(flag, 0);
}

}  // namespace
}  // namespace inkrec

// The geometric tests of the pair-merge decision over drawn letters.
#include "engine/segmentation/pair_merge_geometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "tests/support/drawn_line.h"

namespace inkrec {
namespace {

using test::DrawnLine;
using test::Points;
using test::polyline;

Points stem(int x, int top, int bottom) {
  return polyline({{static_cast<std::int16_t>(x), static_cast<std::int16_t>(top)},
                   {static_cast<std::int16_t>(x), static_cast<std::int16_t>(bottom)}});
}

// Bodies 0, 1 and 2 are stems standing on y = 100 at x = 100, 140 and 180;
// body 3 a short mark high above body 1.
class PairMergeGeometryTest : public ::testing::Test {
 protected:
  PairMergeGeometryTest()
      : drawn_({stem(100, 60, 100), stem(140, 60, 100), stem(180, 60, 100), stem(140, 0, 10)}) {
    PairTable& pairs = drawn_.context().figure_pairs();
    EXPECT_EQ(pairs.reserve(4), kOk);
    EXPECT_EQ(pairs.entries().resize(6), kOk);
    for (PairMetrics& entry : pairs.entries()) entry.kind = 0;
  }

  void set_pair_value(int i, int j, std::int16_t value) {
    drawn_.context().figure_pairs().at(i, j)->measures[0] = value;
  }

  DrawnLine drawn_;
};

TEST_F(PairMergeGeometryTest, ASingleFigureLevelWithAnotherNeighbourIsNotMerged) {
  struct Case {
    std::string name;
    std::vector<std::size_t> b;
    int partner;  // body 1's nearest neighbour, -1 for none
    std::int16_t partner_line;
    std::uint8_t flag;
  };
  const std::vector<Case> cases = {
      {"a neighbour level with it", {1}, 2, 0, 0},
      {"a neighbour high above it", {1}, 3, 0, 1},
      {"the neighbour is the other result's", {1}, 0, 0, 1},
      {"no measured neighbour", {1}, -1, 0, 1},
      {"the neighbour is on another line", {1}, 2, 1, 1},
      {"two figures", {1, 2}, 2, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (PairMetrics& entry : drawn_.context().figure_pairs().entries()) entry.reset();
    for (PairMetrics& entry : drawn_.context().figure_pairs().entries()) entry.kind = 0;
    if (c.partner >= 0) {
      set_pair_value(1, c.partner, 5);
      drawn_.context().figure_pairs().at(1, c.partner)->kind = c.partner_line;
    }
    FragmentState state(drawn_.context(), drawn_.line());
    const FigureGroup& a = drawn_.result({0}, 'a');
    const FigureGroup& b = drawn_.result(c.b, 'b');
    std::uint8_t flag = 1;
    EXPECT_EQ(check_single_figure_partner(state, a, b, &flag), kOk);
    EXPECT_EQ(flag, c.flag);
  }
}

// From the middle of a's lowest third, halfway to its top (100, 80), to
// the foot of b: at (140, 120) the link falls at 45 degrees, 45 off the
// upright slant; at (140, 80) it runs level, 90 off.
TEST_F(PairMergeGeometryTest, TheBottomLinkAngleIsMeasuredAgainstTheSlant) {
  DrawnLine drawn({stem(100, 60, 100), stem(140, 80, 120), stem(140, 40, 80)});
  FragmentState state(drawn.context(), drawn.line());
  const FigureGroup& a = drawn.result({0}, 'a');
  struct Case {
    std::size_t b;
    std::int16_t slant;
    std::int32_t angle;
  };
  for (const Case c : {Case{1, 90, 45}, Case{2, 90, 90}, Case{1, 0, 45}, Case{1, 60, 15}}) {
    drawn.context().settings().slant_angle = c.slant;
    std::int32_t angle = -1;
    EXPECT_EQ(bottom_link_angle(state, a, drawn.result({c.b}, 'b'), &angle), kOk);
    EXPECT_EQ(angle, c.angle);
  }
  EXPECT_EQ(bottom_link_angle(state, a, a, nullptr), kOk);
  LetterResult& broken = drawn.result({0}, 'x');
  ASSERT_EQ(broken.figures.push_back(nullptr), kOk);
  std::int32_t angle = -1;
  EXPECT_EQ(bottom_link_angle(state, broken, a, &angle), kBadArgument);
  EXPECT_EQ(angle, -1);
}

TEST_F(PairMergeGeometryTest, BoundsOfTheTwoResultsSets) {
  LetterResult& a = drawn_.result({0, 1}, 'a');
  LetterResult& b = drawn_.result({2}, 'b');
  ASSERT_EQ(a.coverage.set(5), kOk);
  PairBounds bounds;
  ASSERT_EQ(position_bounds_of_pair(a, b, &bounds), kOk);
  EXPECT_EQ(bounds.a_first, 0u);
  EXPECT_EQ(bounds.a_last, 5u);
  EXPECT_EQ(bounds.b_first, 2u);
  EXPECT_EQ(bounds.b_last, 2u);
  ASSERT_EQ(figure_bounds_of_pair(a, b, &bounds), kOk);
  EXPECT_EQ(bounds.a_last, 1u);
  b.members.clear();
  bounds.a_first = 77;
  EXPECT_EQ(figure_bounds_of_pair(a, b, &bounds), kBadArgument);
  EXPECT_EQ(bounds.a_first, 77u);
}

}  // namespace
}  // namespace inkrec

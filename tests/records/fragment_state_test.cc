// The fragment state of a text line: the mean sizes of its candidates and
// their order along the writing direction.
#include "engine/records/fragment_state.h"

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

Points bar(int left, int right, int y) {
  return polyline({{static_cast<std::int16_t>(left), static_cast<std::int16_t>(y)},
                   {static_cast<std::int16_t>(right), static_cast<std::int16_t>(y)}});
}

// A small arch ("n") of the given width and height standing on y = 100.
Points arch(int left, int width, int height) {
  const auto l = static_cast<std::int16_t>(left);
  const auto r = static_cast<std::int16_t>(left + width);
  const auto top = static_cast<std::int16_t>(100 - height);
  return polyline({{l, 100}, {l, top}, {r, top}, {r, 100}}, 5);
}

void read_as(FigureRecord& figure, char16_t code) {
  ASSERT_EQ(figure.candidates[0].insert(Answer::from_code(code)), kOk);
}

TEST(FragmentStateTest, StartsEmptyAndUnmeasured) {
  DrawnLine drawn({});
  FragmentState state(drawn.context(), drawn.line());
  EXPECT_EQ(&state.line, &drawn.line());
  EXPECT_TRUE(state.chosen_results.empty());
  EXPECT_FALSE(state.chosen_results.owns());
  EXPECT_EQ(state.mean_width, 0);
  EXPECT_EQ(state.mean_height, 0);
  // Nothing to measure: the means stay.
  EXPECT_EQ(estimate_fragment_sizes(state), kOk);
  EXPECT_EQ(state.mean_width, 0);
  EXPECT_EQ(state.mean_height, 0);
  EXPECT_EQ(order_fragment_candidates(state), kOk);
}

// Letter height 30: a figure counts for the width from 10 units wide; a
// figure read as a space or a hyphen never counts for the height.
TEST(FragmentStateTest, MeanSizesOfDrawnLines) {
  struct Case {
    std::string name;
    std::vector<Points> strokes;
    std::u16string readings;  // one per stroke, '.' for none
    std::int32_t width;
    std::int32_t height;
  };
  const std::vector<Case> cases = {
      // widths 21, 31 and a stem of 1; heights 21, 31, 41
      {"arches and a stem", {arch(0, 20, 20), arch(50, 30, 30), stem(100, 60, 100)}, u"...",
       26, 31},
      // the 9-wide arch is too narrow, the 10-wide one counts
      {"a third of the height", {arch(0, 8, 20), arch(50, 9, 20)}, u"..", 10, 21},
      {"all narrow", {stem(0, 60, 100), stem(20, 70, 100)}, u"..", 30 * 6 / 8, 36},
      {"a hyphen is left out of the height", {arch(0, 20, 20), bar(40, 60, 90)}, u"a-", 21, 21},
      {"all blank", {bar(0, 20, 90), bar(40, 80, 90)}, u" -", 31, 30},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DrawnLine drawn(c.strokes, 30);
    for (std::size_t i = 0; i < c.readings.size(); ++i) {
      if (c.readings[i] != u'.') read_as(drawn.body(i), c.readings[i]);
    }
    FragmentState state(drawn.context(), drawn.line());
    ASSERT_EQ(estimate_fragment_sizes(state), kOk);
    EXPECT_EQ(state.mean_width, c.width);
    EXPECT_EQ(state.mean_height, c.height);
  }
}

// The bodies in the order of the candidates, after checking that the
// positions are numbered along it.
std::vector<int> ordered_bodies(FragmentState& state) {
  std::vector<int> bodies;
  for (std::uint32_t i = 0; i < state.line.candidates.size(); ++i) {
    const FigureRecord* figure = state.line.candidates[i];
    EXPECT_EQ(figure->position, i);
    bodies.push_back(figure->number);
  }
  return bodies;
}

// A line written out of order (the dot over the stem added last): left to
// right, the dot goes before its stem; right to left the line reverses,
// the dot still first of its column.
TEST(FragmentStateTest, CandidatesFollowTheWritingDirection) {
  DrawnLine drawn({arch(200, 20, 20), stem(100, 80, 100), arch(0, 20, 20), stem(300, 80, 100),
                   polyline({{100, 60}, {101, 61}})});
  for (const bool right_to_left : {false, true}) {
    SCOPED_TRACE(right_to_left ? "right to left" : "left to right");
    drawn.kernel().right_to_left_ = right_to_left;
    FragmentState state(drawn.context(), drawn.line());
    ASSERT_EQ(estimate_fragment_sizes(state), kOk);
    ASSERT_EQ(order_fragment_candidates(state), kOk);
    const std::vector<int> expected =
        right_to_left ? std::vector<int>{3, 0, 4, 1, 2} : std::vector<int>{2, 4, 1, 0, 3};
    EXPECT_EQ(ordered_bodies(state), expected);
  }
}

// Two candidates whose sort keys lie the tolerance apart go top to bottom,
// whichever of them the list holds first; one unit further they go by x.
// The tolerance is a fifteenth of the mean height, at least 2.
TEST(FragmentStateTest, TheToleranceDecidesBetweenColumnAndRow) {
  struct Case {
    std::int32_t mean_height;
    int dx;
    bool by_height;
  };
  const Case cases[] = {{29, 2, true}, {29, 3, false}, {0, 2, true},
                        {45, 3, true}, {45, 4, false}, {45, -3, true}};
  for (const Case& c : cases) {
    for (const bool low_first : {false, true}) {
      SCOPED_TRACE(testing::Message() << "mean height " << c.mean_height << ", dx " << c.dx
                                      << (low_first ? ", low first" : ", high first"));
      DrawnLine drawn(std::vector<Points>(2));
      FigureRecord& low = drawn.body(0);
      FigureRecord& high = drawn.body(1);
      low.geometry.band_centroid = {100, 90};
      high.geometry.band_centroid = {static_cast<std::int16_t>(100 + c.dx), 40};
      PtrArray<FigureRecord>& candidates = drawn.line().candidates;
      candidates.remove_all();
      ASSERT_EQ(candidates.push_back(low_first ? &low : &high), kOk);
      ASSERT_EQ(candidates.push_back(low_first ? &high : &low), kOk);
      FragmentState state(drawn.context(), drawn.line());
      state.mean_height = c.mean_height;
      ASSERT_EQ(order_fragment_candidates(state), kOk);
      const FigureRecord* first = c.by_height || c.dx < 0 ? &high : &low;
      EXPECT_EQ(candidates[0], first);
    }
  }
}

TEST(FragmentStateTest, ANullCandidateIsReported) {
  DrawnLine drawn({stem(0, 60, 100)});
  ASSERT_EQ(drawn.line().candidates.push_back(nullptr), kOk);
  FragmentState state(drawn.context(), drawn.line());
  EXPECT_EQ(estimate_fragment_sizes(state), kBadArgument);
  EXPECT_EQ(order_fragment_candidates(state), kBadArgument);
}

}  // namespace
}  // namespace inkrec

// The hypothesis graph over drawn lines: which figure sets are tried as
// letters, for what reason, and that none is tried twice.
#include "engine/segmentation/hypothesis_graph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/records/line_group.h"
#include "engine/segmentation/attach_test.h"
#include "tests/support/pieced_line.h"

namespace inkrec {
namespace {

using test::bits;
using test::CutStroke;
using test::members_of;
using test::PiecedLine;
using test::Points;
using test::polyline;
using test::stem;

using Reasons = std::map<std::vector<std::uint32_t>, std::int32_t>;

// The line measured and ordered as the letter search does before the graph.
int build(PiecedLine& drawn) {
  drawn.measure_pairs();
  FragmentState state(drawn.context(), drawn.line());
  EXPECT_EQ(estimate_fragment_sizes(state), kOk);
  EXPECT_EQ(order_fragment_candidates(state), kOk);
  return build_hypothesis_graph(state);
}

// Each result's members with its reason; fails on two equal member sets.
Reasons reasons_of(PiecedLine& drawn) {
  Reasons reasons;
  for (const LetterResult* result : drawn.line().letter_results) {
    const auto [at, fresh] = reasons.emplace(members_of(result->members), result->reason);
    EXPECT_TRUE(fresh) << "two results of one figure set";
  }
  return reasons;
}

// No figure set was read twice.
void expect_each_set_read_once(const PiecedLine& drawn) {
  std::set<std::vector<std::uint32_t>> sets(drawn.read().begin(), drawn.read().end());
  EXPECT_EQ(sets.size(), drawn.read().size());
}

TEST(HypothesisGraphTest, ALineOfOneFigureGetsOneResult) {
  PiecedLine drawn({CutStroke(stem(100, 60, 100))});
  ASSERT_EQ(build(drawn), kOk);
  EXPECT_EQ(reasons_of(drawn), (Reasons{{{0}, 10}}));
}

TEST(HypothesisGraphTest, WholeLineModeAddsTheWholeLineAndNoWordWindows) {
  PiecedLine drawn({CutStroke(stem(100, 60, 100)), CutStroke(stem(125, 60, 100)),
                    CutStroke(stem(150, 60, 100))});
  drawn.params().mode = 2;
  ASSERT_EQ(build(drawn), kOk);
  const Reasons reasons = reasons_of(drawn);
  EXPECT_EQ(reasons.at({0}), 10);
  EXPECT_EQ(reasons.at({1}), 10);
  EXPECT_EQ(reasons.at({2}), 10);
  EXPECT_EQ(reasons.at({0, 1, 2}), 20);
  for (const auto& [set, reason] : reasons) EXPECT_LT(reason, 50);
  expect_each_set_read_once(drawn);
}

// "il" written as a stem with a dot above it and a taller stem 20 to the
// right: every figure alone (10); the dot, first along the line, takes the
// stem written before it growing to the left (22); the tall stem, a small
// classed figure that no result holds, joins the results on the dot's
// stroke, its nearest (40). Each set is read once.
TEST(HypothesisGraphTest, ADottedStemBesideAnotherGivesEachResultItsReason) {
  PiecedLine drawn({CutStroke(stem(100, 70, 100)), CutStroke(polyline({{100, 55}, {101, 57}}, 1)),
                    CutStroke(stem(120, 40, 100))});
  ASSERT_EQ(build(drawn), kOk);
  EXPECT_EQ(reasons_of(drawn),
            (Reasons{{{0}, 10}, {{1}, 10}, {{2}, 10}, {{0, 1}, 22}, {{1, 2}, 40}, {{0, 1, 2}, 40}}));
  expect_each_set_read_once(drawn);
  EXPECT_EQ(drawn.read().size(), drawn.line().letter_results.size());
  // Every result of several figures belongs to the one word group.
  ASSERT_EQ(drawn.line().word_groups.size(), 1u);
  EXPECT_EQ(drawn.line().word_groups[0].figures.size(), 3u);
  EXPECT_EQ(drawn.line().word_groups[0].letter_groups.size(), 6u);
}

// Word windows: h 40 and s 40 make W 120. Three stems of one word 70
// apart: the window of the two outer ones spans 140 and is not tried; the
// same three as pieces of one stroke are tried up to 1.5 W.
TEST(HypothesisGraphTest, AWindowWiderThanWNeedsOneStrokeAndLessThanOneAndAHalfW) {
  struct Case {
    std::string name;
    std::vector<CutStroke> strokes;
    bool outer_window;
  };
  const Points three_on_one = polyline({{100, 60}, {100, 100}, {170, 100}, {170, 60}, {170, 100},
                                        {240, 100}, {240, 60}},
                                       5);
  const std::vector<Case> cases = {
      {"three strokes", {CutStroke(stem(100, 60, 100)), CutStroke(stem(170, 60, 100)),
                         CutStroke(stem(240, 60, 100))}, false},
      {"one stroke", {CutStroke(three_on_one, {8, 22, 30, 44})}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PiecedLine drawn(c.strokes);
    // One word group of the three bodies.
    LineGroup* word = drawn.line().word_groups.push_default();
    ASSERT_NE(word, nullptr);
    for (std::uint32_t i = 0; i < 3; ++i) {
      ASSERT_EQ(word->figures.push_back(&drawn.body(i)), kOk);
      set_line_group(drawn.body(i), 0);
    }
    ASSERT_EQ(build(drawn), kOk);
    const Reasons reasons = reasons_of(drawn);
    EXPECT_EQ(reasons.count({0, 1, 2}) == 1, c.outer_window);
    EXPECT_EQ(reasons.count({0, 2}), 0u);
    expect_each_set_read_once(drawn);
  }
}

TEST(HypothesisGraphTest, AnEmptyLineAndAStopRequestEndTheBuild) {
  PiecedLine drawn({CutStroke(stem(100, 60, 100)), CutStroke(stem(125, 60, 100))});
  drawn.measure_pairs();
  TextLine empty;
  FragmentState nothing(drawn.context(), empty);
  EXPECT_EQ(build_hypothesis_graph(nothing), kBadArgument);
}

TEST(HypothesisGraphTest, NearestInSetByKey) {
  PiecedLine drawn({CutStroke(stem(100, 60, 100)), CutStroke(stem(140, 60, 100)),
                    CutStroke(stem(180, 60, 100)), CutStroke(stem(220, 60, 100))});
  // Positions 0, 3, 1, 2: body order and position order differ.
  const std::uint16_t positions[] = {0, 3, 1, 2};
  for (std::uint32_t i = 0; i < 4; ++i) drawn.body(i).position = positions[i];
  const PtrArray<FigureRecord>& candidates = drawn.line().candidates;
  const BitSet all = bits({0, 1, 2, 3});
  EXPECT_EQ(nearest_in_set(drawn.body(0), FigureKey::kBodyIndex, all, candidates, true), 1);
  EXPECT_EQ(nearest_in_set(drawn.body(0), FigureKey::kPosition, all, candidates, true), 2);
  EXPECT_EQ(nearest_in_set(drawn.body(1), FigureKey::kPosition, all, candidates, false), 3);
  EXPECT_EQ(nearest_in_set(drawn.body(0), FigureKey::kBodyIndex, all, candidates, false), -1);
  EXPECT_EQ(nearest_in_set(drawn.body(0), FigureKey::kBodyIndex, bits({0}), candidates, true), -1);
}

// A link is refused between two figures when it is small (no side above
// h/5, held to 3..15) yet lies at least max(h/5, 6) away.
TEST(AttachTestTest, ASmallLinkFarFromTheFigureIsRefused) {
  struct Case {
    std::string name;
    Points link;
    std::int16_t distance;
    std::uint8_t flag;
  };
  const std::vector<Case> cases = {
      {"small and far", polyline({{130, 90}, {134, 92}}, 1), 8, 0},
      {"small and near", polyline({{130, 90}, {134, 92}}, 1), 7, 1},
      {"long", polyline({{130, 90}, {150, 92}}, 1), 8, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PiecedLine drawn({CutStroke(stem(100, 60, 100)), CutStroke(c.link)});
    drawn.measure_pairs();
    drawn.context().figure_pairs().at(0, 1)->link_distance = c.distance;
    FragmentState state(drawn.context(), drawn.line());
    std::uint8_t flag = 1;
    EXPECT_EQ(reject_small_link(state, drawn.body(0), drawn.body(1), &flag), kOk);
    EXPECT_EQ(flag, c.flag);
  }
}

// The attach test with the pair entry set by hand: h 40, so L 12 (3h/10),
// S 16, N 32.
TEST(AttachTestTest, TheFieldsLeftOpenDecideAttachment) {
  struct Case {
    std::string name;
    Points j;
    std::int16_t distance;
    std::int16_t angle;
    bool attached;
  };
  const Points dash = polyline({{150, 80}, {170, 80}}, 2);     // flat and small
  const Points tick = polyline({{150, 70}, {150, 90}}, 2);     // upright and small
  const Points far_stem = stem(300, 60, 100);
  const std::vector<Case> cases = {
      {"within L", tick, 12, 0, true},
      {"a flat small figure beside the anchor has L halved", dash, 10, 0, false},
      {"an upright one at that distance", tick, 10, 0, true},
      {"above the anchor in the middle window, nearer than N", far_stem, 30, 90, true},
      {"in the middle window but beyond N", far_stem, 33, 100, false},
      {"in the narrow window nearer than 4(h + s)/5", far_stem, 63, 90, true},
      {"a stem without width far beside the anchor", far_stem, 40, 0, false},
      {"in the wide window nearer than S", far_stem, 15, 65, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PiecedLine drawn({CutStroke(stem(100, 60, 100)), CutStroke(c.j)});
    drawn.measure_pairs();
    PairMetrics& entry = *drawn.context().figure_pairs().at(0, 1);
    entry.link_distance = c.distance;
    entry.angle = c.angle;
    drawn.context().pair_table().at(0, 1)->measures[0] = 100;
    FragmentState state(drawn.context(), drawn.line());
    state.mean_height = 40;
    AttachTest test(state);
    bool attached = false;
    EXPECT_EQ(test.test(drawn.body(0), drawn.body(1), 12, &attached), kOk);
    EXPECT_EQ(attached, c.attached);
  }
}

}  // namespace
}  // namespace inkrec

// The evaluation of figure sets as letters over drawn lines: which sets
// may be one letter, and what a result holds.
#include "engine/segmentation/stroke_group_evaluation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/records/line_group.h"
#include "engine/segmentation/group_evaluations.h"
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

// A zigzag of `strokes` upright strokes `height` high standing on y 100
// from x, 6 apart, and the cuts that make each upright a body and each
// short hop between two uprights a link (an empty cut list leaves it one
// body). Points lie 5 apart: an upright has height/5 steps, a hop one.
Points zigzag(int x, int strokes, int height = 40) {
  Points corners;
  for (int i = 0; i < strokes; ++i) {
    const auto left = static_cast<std::int16_t>(x + 6 * i);
    const auto top = static_cast<std::int16_t>(100 - height);
    corners.push_back({left, i % 2 == 0 ? top : std::int16_t{100}});
    corners.push_back({left, i % 2 == 0 ? std::int16_t{100} : top});
  }
  return polyline(corners, 5);
}
std::vector<int> upright_cuts(int strokes, int height = 40) {
  const int steps = height / 5;
  std::vector<int> cuts;
  for (int i = 0; i + 1 < strokes; ++i) {
    cuts.push_back((steps + 1) * i + steps);  // the upright's last point
    cuts.push_back((steps + 1) * (i + 1));    // the next one's first
  }
  return cuts;
}

int evaluate(PiecedLine& drawn, const BitSet& set, bool composite = false) {
  FragmentState state(drawn.context(), drawn.line());
  return evaluate_stroke_group(state, set, composite, nullptr);
}

struct Admission {
  std::string name;
  std::vector<CutStroke> strokes;
  std::vector<std::uint32_t> set;
  int status;
  std::int32_t mode = 0;
  bool composite = false;
  bool pass = false;
  std::vector<std::uint16_t> positions = {};  // the candidates' positions when not their numbers
  std::int32_t loop = -1;                      // a loop point of body 0
  bool joining = false;                        // the stroke-joining switch
};

TEST(StrokeGroupEvaluationTest, WhichSetsMayBeOneLetter) {
  const CutStroke left{stem(100, 60, 100)};
  const CutStroke middle{stem(140, 70, 100)};
  const CutStroke right{stem(180, 60, 100)};
  const CutStroke above{stem(140, 0, 20)};
  const CutStroke five{zigzag(100, 5), upright_cuts(5)};
  const CutStroke six{zigzag(100, 6), upright_cuts(6)};
  const CutStroke three{zigzag(100, 3), upright_cuts(3)};
  const CutStroke waves{zigzag(100, 6)};
  const CutStroke ten_short{zigzag(100, 10, 15), upright_cuts(10, 15)};
  const CutStroke bar_over_middle{polyline({{95, 70}, {120, 70}})};
  const CutStroke bar_beyond_middle{polyline({{108, 70}, {111, 70}})};
  const std::vector<Admission> cases = {
      {"two neighbours", {left, middle}, {0, 1}, kOk},
      {"an empty set", {left, middle}, {}, kPaneFigureWithoutLine},
      {"figures of two lines", {left, {stem(140, 160, 200), {}, 1}}, {0, 1}, kPaneFigureWithoutLine},
      {"a body that does not exist", {left, middle}, {0, 7}, kBadArgument},
      // Written left, right, middle: positions 0, 2, 1.
      {"the gap holds a figure between the two", {left, right, middle}, {0, 1}, kRejected, 0, false,
       false, {0, 2, 1}},
      {"the gap's figure stands high above them", {left, right, above}, {0, 1}, kOk, 0, false, false,
       {0, 2, 1}},
      {"the composite search asks", {left, right, middle}, {0, 1}, kOk, 0, true, false, {0, 2, 1}},
      {"whole-line mode", {left, right, middle}, {0, 1}, kOk, 2, false, false, {0, 2, 1}},
      {"gaps in positions and bodies on two strokes", {left, middle, right}, {0, 2}, kRejected},
      {"pieces 0 and 4 without 2", {three}, {0, 2}, kRejected},
      {"pieces 0 and 4 in whole-line mode", {three}, {0, 2}, kOk, 2},
      {"five tall figures of one stroke", {five}, {0, 1, 2, 3, 4}, kOk},
      {"six tall figures of one stroke", {six}, {0, 1, 2, 3, 4, 5}, kRejected},
      {"six tall figures in whole-line mode", {six}, {0, 1, 2, 3, 4, 5}, kOk, 2},
      {"five uprights read as one run", {five}, {0, 1, 2, 3, 4}, kOk, 0, false, true},
      {"ten short uprights read as one run turn too often", {ten_short},
       {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, kRejected, 0, false, true},
      {"the turns without the pass switch", {ten_short}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, kOk},
      {"the turns in whole-line mode", {ten_short}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, kOk, 2, false,
       true},
      {"five turns before a loop point", {waves}, {0}, kRejected, 0, false, false, {}, 60},
      {"no loop point", {waves}, {0}, kOk},
      {"the loop point in whole-line mode", {waves}, {0}, kOk, 2, false, false, {}, 60},
      // A stroke written after a joined one joins a letter in its middle
      // only when it lies over that letter, as the bar of a t does.
      {"a later bar over the middle of a joined stroke", {three, bar_over_middle}, {1, 3}, kOk, 0,
       false, false, {0, 1, 3, 2}, -1, true},
      {"a later stroke beside the middle of a joined stroke", {three, bar_beyond_middle}, {1, 3},
       kRejected, 0, false, false, {0, 1, 3, 2}, -1, true},
  };
  for (const Admission& c : cases) {
    SCOPED_TRACE(c.name);
    PiecedLine drawn(c.strokes);
    drawn.params().mode = c.mode;
    drawn.params().cursive_split = c.pass ? 1 : 0;
    drawn.params().layout_switch = c.joining ? 1 : 0;
    for (std::size_t i = 0; i < c.positions.size(); ++i) {
      drawn.body(static_cast<std::uint32_t>(i)).position = c.positions[i];
    }
    drawn.body(0).link_references[0] = c.loop;
    BitSet set;
    for (const std::uint32_t m : c.set) ASSERT_EQ(set.set(m), kOk);
    EXPECT_EQ(evaluate(drawn, set, c.composite), c.status);
    const std::uint32_t results = c.status == kOk ? 1 : 0;
    EXPECT_EQ(drawn.line().letter_results.size(), results);
    EXPECT_EQ(drawn.read().size(), results);
  }
}

TEST(StrokeGroupEvaluationTest, AResultHoldsItsFiguresReadingsAndWordGroup) {
  PiecedLine drawn({{stem(100, 60, 100)}, {stem(140, 60, 100)}, {stem(180, 60, 100)},
                    {stem(220, 60, 100)}});
  FragmentState state(drawn.context(), drawn.line());
  LetterResult* first = nullptr;
  ASSERT_EQ(evaluate_stroke_group(state, bits({0, 1}), false, &first), kOk);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(members_of(first->members), (std::vector<std::uint32_t>{0, 1}));
  EXPECT_EQ(members_of(first->coverage), (std::vector<std::uint32_t>{0, 1}));
  ASSERT_EQ(first->figures.size(), 2u);
  EXPECT_EQ(first->figures[0], &drawn.body(0));
  EXPECT_EQ(first->figures[1], &drawn.body(1));
  EXPECT_EQ(first->box, (Box16{100, 60, 140, 100}));
  EXPECT_EQ(first->index, 0);
  EXPECT_EQ(first->reason, -1);
  ASSERT_EQ(first->answers->answers().size(), 1u);
  EXPECT_EQ(first->answers->answers()[0].codes[0], 'b');
  EXPECT_EQ(drawn.line().word_groups.size(), 1u);

  // A second pair makes a second word group; a pair across both merges them.
  ASSERT_EQ(evaluate_stroke_group(state, bits({2, 3}), false, nullptr), kOk);
  EXPECT_EQ(drawn.line().word_groups.size(), 2u);
  ASSERT_EQ(evaluate_stroke_group(state, bits({1, 2}), false, nullptr), kOk);
  ASSERT_EQ(drawn.line().word_groups.size(), 1u);
  const LineGroup& word = drawn.line().word_groups[0];
  EXPECT_EQ(word.figures.size(), 4u);
  EXPECT_EQ(word.letter_groups.size(), 3u);
  for (std::uint32_t i = 0; i < 4; ++i) EXPECT_EQ(line_group_of(drawn.body(i)), 0u);

  // A single figure joins its figure's word group.
  ASSERT_EQ(evaluate_stroke_group(state, bits({3}), false, nullptr), kOk);
  EXPECT_EQ(word.letter_groups.size(), 4u);
}

// A figure read alone is a single mark whatever its height: a parenthesis
// or a bracket, taller than the letters, is read as one and must not be
// taken for ink that overlaps other strokes. A set of two figures is not.
TEST(StrokeGroupEvaluationTest, EverySingleFigureIsASingleMarkWhateverItsHeight) {
  PiecedLine drawn({{stem(100, 90, 100)}, {stem(140, 60, 100)}, {stem(180, 20, 100)},
                    {stem(220, 60, 100)}});
  FragmentState state(drawn.context(), drawn.line());
  const struct {
    BitSet set;
    std::uint8_t single_mark;
  } cases[] = {{bits({0}), 1}, {bits({1}), 1}, {bits({2}), 1}, {bits({2, 3}), 0}};
  for (const auto& c : cases) {
    LetterResult* result = nullptr;
    ASSERT_EQ(evaluate_stroke_group(state, c.set, false, &result), kOk);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->one_figure_mark, c.single_mark)
        << "figures " << testing::PrintToString(members_of(c.set));
  }
}

TEST(StrokeGroupEvaluationTest, PiecesOfOneStrokeAreReadAsOneRunThatKeepsTheReadings) {
  PiecedLine drawn({{zigzag(100, 3), upright_cuts(3)}});
  FragmentState state(drawn.context(), drawn.line());
  LetterResult* result = nullptr;
  ASSERT_EQ(evaluate_stroke_group(state, bits({0, 1}), false, &result), kOk);
  ASSERT_EQ(drawn.line().part.extra_figures.size(), 1u);
  const FigureRecord& element = *drawn.line().part.extra_figures[0];
  EXPECT_EQ(element.run.points, drawn.body(0).run.points);
  EXPECT_EQ(element.run.count, 18);  // two uprights of 9 points each
  EXPECT_EQ(element.piece, 0);
  EXPECT_EQ(element.piece_key, 2);
  ASSERT_EQ(element.candidates[0].answers().size(), 1u);
  EXPECT_EQ(element.candidates[0].answers()[0].codes[0], 'b');
  EXPECT_EQ(result->answers->answers()[0].codes[0], 'b');
  EXPECT_EQ(result->figures.size(), 2u);
}

TEST(GroupEvaluationsTest, ASetAskedForTwiceIsEvaluatedOnce) {
  PiecedLine drawn({{stem(100, 60, 100)}, {stem(140, 60, 100)}, {stem(180, 60, 100)}});
  FragmentState state(drawn.context(), drawn.line());
  GroupEvaluations evaluations(state);
  LetterResult* result = nullptr;
  ASSERT_EQ(evaluations.evaluate(bits({0, 1}), EvaluationReason::kGrowthRight, false, &result),
            kOk);
  LetterResult* again = nullptr;
  ASSERT_EQ(evaluations.evaluate(bits({0, 1}), EvaluationReason::kWordWindow, false, &again), kOk);
  EXPECT_EQ(again, result);
  EXPECT_EQ(result->reason, 21);
  // A refused set is remembered too.
  EXPECT_EQ(evaluations.evaluate(bits({0, 2}), EvaluationReason::kWordWindow), kOk);
  EXPECT_EQ(evaluations.evaluate(bits({0, 2}), EvaluationReason::kWordWindow), kOk);
  EXPECT_TRUE(evaluations.evaluated(bits({0, 2})));
  EXPECT_EQ(evaluations.find(bits({0, 2})), nullptr);
  EXPECT_EQ(evaluations.evaluations(), 2u);
  EXPECT_EQ(drawn.read().size(), 1u);
  EXPECT_EQ(drawn.line().letter_results.size(), 1u);
  // A later build over the same line finds the results already made.
  GroupEvaluations later(state);
  EXPECT_EQ(later.find(bits({0, 1})), result);
}

TEST(GroupEvaluationsTest, ASetRefusedForItsGapIsJudgedOnceMoreForACompositeLetter) {
  // Written left, right, middle: the middle figure lies in the gap.
  PiecedLine drawn({{stem(100, 60, 100)}, {stem(180, 60, 100)}, {stem(140, 70, 100)}});
  const std::uint16_t positions[] = {0, 2, 1};
  for (std::uint32_t i = 0; i < 3; ++i) drawn.body(i).position = positions[i];
  FragmentState state(drawn.context(), drawn.line());
  GroupEvaluations evaluations(state);
  LetterResult* result = nullptr;
  ASSERT_EQ(evaluations.evaluate(bits({0, 1}), EvaluationReason::kWordWindow, false, &result), kOk);
  EXPECT_EQ(result, nullptr);
  ASSERT_EQ(evaluations.evaluate(bits({0, 1}), EvaluationReason::kComposite, true, &result), kOk);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->reason, 30);
  LetterResult* again = nullptr;
  ASSERT_EQ(evaluations.evaluate(bits({0, 1}), EvaluationReason::kComposite, true, &again), kOk);
  EXPECT_EQ(again, result);
  EXPECT_EQ(evaluations.evaluations(), 2u);
  EXPECT_EQ(drawn.read().size(), 1u);
}

TEST(GroupEvaluationsTest, ARefusedSingleFigureStillGetsAResultWithoutReadings) {
  PiecedLine drawn({CutStroke(zigzag(100, 6))});
  drawn.body(0).link_references[0] = 60;
  FragmentState state(drawn.context(), drawn.line());
  GroupEvaluations evaluations(state);
  LetterResult* result = nullptr;
  ASSERT_EQ(evaluations.evaluate(bits({0}), EvaluationReason::kSingleFigure, false, &result), kOk);
  ASSERT_NE(result, nullptr);
  EXPECT_FALSE(result->has_answers());
  EXPECT_EQ(result->reason, 10);
  EXPECT_EQ(members_of(result->coverage), (std::vector<std::uint32_t>{0}));
  EXPECT_TRUE(drawn.read().empty());
}

}  // namespace
}  // namespace inkrec

#include "engine/rules/pair_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "tests/support/pair_rule_case.h"

namespace inkrec {
namespace {

using test::PairRuleCase;
using test::Piece;
using test::polyline;
using test::Side;

// Two results of a line with a letter size of 100, y growing downward:
// A, the later, and B, the earlier.
struct Scene {
  Side a;
  Side b;
};

Piece line_piece(const test::Points& corners, std::uint16_t stroke, std::uint16_t piece = 0) {
  return Piece{polyline(corners), stroke, piece};
}

Piece stem(std::int16_t x, std::int16_t top, std::int16_t bottom, std::uint16_t stroke,
           std::uint16_t piece = 0) {
  return line_piece({{x, top}, {x, bottom}}, stroke, piece);
}

// Two stems of two strokes, a letter width apart.
Scene apart() { return {Side{{stem(200, 100, 200, 1)}}, Side{{stem(100, 100, 200, 0)}}}; }
// A stem close to the right of another.
Scene close() { return {Side{{stem(115, 100, 200, 1)}}, Side{{stem(100, 100, 200, 0)}}}; }
// A stem inside the bowl of a "c".
Scene in_bowl() {
  return {Side{{stem(140, 100, 200, 1)}},
          Side{{line_piece({{150, 100}, {100, 110}, {100, 190}, {150, 200}}, 0)}}};
}
// A dot over a stem, and the same with the dot first.
Scene dot_over() {
  return {Side{{line_piece({{100, 60}, {103, 63}}, 1)}}, Side{{stem(100, 100, 200, 0)}}};
}
Scene dot_before() {
  return {Side{{stem(100, 100, 200, 1)}}, Side{{line_piece({{100, 60}, {103, 63}}, 0)}}};
}
// A short stroke at the foot of a tall one.
Scene low_small() {
  return {Side{{line_piece({{130, 170}, {150, 200}}, 1)}}, Side{{stem(100, 50, 200, 0)}}};
}
// One stroke: B's piece goes down, up and right; A's piece, after one
// link, goes down again.
Scene linked() {
  return {Side{{stem(150, 110, 200, 0, 2)}},
          Side{{line_piece({{100, 200}, {100, 100}, {140, 100}}, 0)}}};
}
// One stroke: a stem, then a cup after a link.
Scene cup() {
  return {Side{{line_piece({{160, 100}, {120, 110}, {110, 150}, {120, 190}, {160, 200}}, 0, 2)}},
          Side{{stem(100, 100, 200, 0)}}};
}
// A stem beside a stem crossed by a bar.
Scene crossed_b() {
  return {Side{{stem(200, 100, 200, 2)}},
          Side{{stem(100, 100, 200, 0), line_piece({{60, 130}, {220, 130}}, 1)}}};
}
// A stem crossed by a bar beside a stem.
Scene crossed_a() {
  return {Side{{stem(150, 100, 200, 1), line_piece({{130, 120}, {180, 120}}, 2)}},
          Side{{stem(100, 100, 200, 0)}}};
}
// A stem under another.
Scene stacked() { return {Side{{stem(100, 150, 200, 1)}}, Side{{stem(100, 50, 100, 0)}}}; }
// A stem drawn upward, higher than B's.
Scene higher_upward() {
  return {Side{{line_piece({{200, 150}, {200, 50}}, 1)}}, Side{{stem(100, 100, 200, 0)}}};
}
// A stem left of the earlier one.
Scene left_of() { return {Side{{stem(50, 100, 200, 1)}}, Side{{stem(150, 100, 200, 0)}}}; }
// A stroke down to the left towards a stem.
Scene diagonal() {
  return {Side{{line_piece({{200, 100}, {120, 200}}, 1)}}, Side{{stem(100, 100, 200, 0)}}};
}
// One stroke: B down and right along the foot, A rising away after a link.
Scene rising() {
  return {Side{{line_piece({{150, 200}, {170, 120}}, 0, 2)}},
          Side{{line_piece({{100, 100}, {100, 200}, {140, 200}}, 0)}}};
}
// One stroke cut into two stems after a link.
Scene one_stroke() { return {Side{{stem(130, 100, 200, 0, 2)}}, Side{{stem(100, 100, 200, 0)}}}; }
// One stroke: B a short high piece, A a full stem; and B a short low piece.
Scene short_high_b() { return {Side{{stem(130, 100, 200, 0, 2)}}, Side{{stem(100, 100, 150, 0)}}}; }
Scene short_low_b() { return {Side{{stem(130, 100, 200, 0, 2)}}, Side{{stem(100, 150, 200, 0)}}}; }
// One stroke: B up a stem, A down the next from the point B ends at.
Scene continued() {
  return {Side{{stem(130, 100, 200, 0, 2)}},
          Side{{line_piece({{100, 200}, {100, 100}, {130, 100}}, 0)}}};
}
// One stroke: B a stem drawn upward, A a stem with a foot to the right.
Scene foot() {
  return {Side{{line_piece({{110, 100}, {110, 200}, {160, 200}}, 0, 2)}},
          Side{{line_piece({{100, 200}, {100, 100}}, 0)}}};
}
// One stroke: B an arch of two downstrokes, A a third downstroke.
Scene arches() {
  return {Side{{stem(160, 100, 200, 0, 2)}},
          Side{{line_piece({{100, 100}, {100, 200}, {130, 100}, {130, 200}}, 0)}}};
}
// A small B before a large A.
Scene small_b() {
  return {Side{{line_piece({{130, 100}, {180, 200}}, 1)}},
          Side{{line_piece({{100, 170}, {110, 200}}, 0)}}};
}
// A of three stems over the end of B; B of three stems about A.
Scene three_a() {
  return {Side{{stem(90, 100, 200, 1), stem(120, 100, 200, 2), stem(150, 100, 200, 3)}},
          Side{{stem(100, 100, 200, 0)}}};
}
Scene three_b() {
  return {Side{{stem(200, 100, 200, 3)}},
          Side{{stem(100, 100, 200, 0), stem(130, 100, 200, 1), stem(260, 100, 200, 2)}}};
}
// A high stem just left of B's top, reaching into it.
Scene high_a() { return {Side{{stem(95, 100, 200, 1)}}, Side{{stem(100, 150, 250, 0)}}}; }
// A stem drawn over the same column as B's.
Scene same_column() { return {Side{{stem(100, 100, 200, 1)}}, Side{{stem(100, 100, 200, 0)}}}; }
// A peak drawn right to left, and left to right.
Scene peak_leftward() {
  return {Side{{line_piece({{160, 200}, {140, 100}, {120, 200}}, 1)}},
          Side{{stem(100, 100, 200, 0)}}};
}
Scene peak_rightward() {
  return {Side{{line_piece({{120, 200}, {140, 100}, {160, 200}}, 1)}},
          Side{{stem(100, 100, 200, 0)}}};
}
// A stem starting low on B's foot.
Scene low_on_b() { return {Side{{stem(100, 140, 200, 1)}}, Side{{stem(100, 100, 150, 0)}}}; }
// Two slanted strokes overlapping in x.
Scene slants() {
  return {Side{{line_piece({{110, 100}, {130, 200}}, 1)}},
          Side{{line_piece({{100, 100}, {120, 200}}, 0)}}};
}
// B ending rightward along its foot, A starting rightward.
Scene flowing() {
  return {Side{{line_piece({{150, 150}, {200, 150}}, 1)}},
          Side{{line_piece({{100, 100}, {100, 200}, {140, 200}}, 0)}}};
}
// One stroke: B down and back up the same line, A a stem after a link.
Scene retraced() {
  return {Side{{stem(150, 100, 200, 0, 2)}},
          Side{{line_piece({{100, 100}, {120, 200}, {100, 100}}, 0)}}};
}
// A stem under a slanted B.
Scene under_slant() {
  return {Side{{stem(100, 150, 200, 1)}}, Side{{line_piece({{100, 50}, {140, 100}}, 0)}}};
}
// A mark over the middle of a wide A; a bar over a bar; a bar under a bar.
Scene accent() {
  return {Side{{line_piece({{100, 120}, {150, 200}, {200, 120}}, 1)}},
          Side{{line_piece({{140, 90}, {150, 100}}, 0)}}};
}
Scene bar_under() {
  return {Side{{line_piece({{100, 50}, {150, 80}}, 1)}},
          Side{{line_piece({{100, 150}, {150, 180}}, 0)}}};
}
// One stroke: A rising from its start, which lies below B's start.
Scene rising_end() {
  return {Side{{line_piece({{150, 200}, {170, 120}}, 0, 2)}},
          Side{{line_piece({{100, 100}, {100, 200}, {140, 200}}, 0)}}};
}

// The joined group made of A's first figure alone.
void one_figure_joined(PairRuleCase& c) {
  c.joined().figures.remove_all();
  ASSERT_EQ(c.joined().figures.push_back(&c.a_figure(0)), kOk);
}
// The joined group made of A's two figures alone.
void two_figure_joined(PairRuleCase& c) {
  c.joined().figures.remove_all();
  ASSERT_EQ(c.joined().figures.push_back(&c.a_figure(0)), kOk);
  ASSERT_EQ(c.joined().figures.push_back(&c.a_figure(1)), kOk);
}
// The strokes of the two results measured 2 apart.
void strokes_touch(PairRuleCase& c) {
  PairTable& strokes = c.work().stroke_pairs;
  ASSERT_EQ(strokes.reserve(2), kOk);
  ASSERT_EQ(strokes.entries().resize(1), kOk);
  strokes.at(0, 1)->measures[0] = 2;
}
// B's own box ending left of A.
void narrow_b_box(PairRuleCase& c) { c.b().box.right = 40; }

struct KindCase {
  std::int16_t kind;
  std::function<Scene()> firing;                        // a scene the test holds for
  std::int32_t penalty;                                 // what it subtracts there
  std::function<Scene()> silent;                        // a scene the test fails for
  std::function<void(PairRuleCase&)> adjust = nullptr;  // made to the firing scene
};

const std::vector<KindCase>& kind_cases() {
  static const std::vector<KindCase> cases = {
      {1, foot, 745, apart},
      {2, in_bowl, 150, apart},
      {3, linked, 500, apart},
      {4, apart, 400, crossed_a},
      {5, one_stroke, 1600, apart},
      {6, cup, 700, apart},
      {7, short_high_b, 750, one_stroke},
      {8, arches, 300, one_stroke},
      {9, small_b, 300, apart},
      {10, dot_over, 9900, apart},
      {11, crossed_b, 250, apart},
      {12, three_a, 800, apart},
      {13, apart, 400, one_stroke, strokes_touch},
      {14, three_b, 400, crossed_b},
      {15, crossed_b, 400, apart},
      {16, in_bowl, 1300, apart},
      {17, high_a, 650, apart},
      {18, close, 400, apart},
      {19, same_column, 620, apart, one_figure_joined},
      {20, peak_leftward, 600, peak_rightward, one_figure_joined},
      {21, apart, 150, crossed_a, one_figure_joined},
      {22, low_on_b, 500, apart},
      {23, dot_over, 350, apart},
      {24, linked, 250, apart},
      {25, short_high_b, 600, one_stroke},
      {26, short_low_b, 200, one_stroke},
      {27, continued, 100, one_stroke},
      {28, one_stroke, 400, apart},
      {29, short_low_b, 250, one_stroke},
      {30, one_stroke, 1000, apart},
      {31, cup, 1800, apart},
      {32, close, 750, apart},
      {33, slants, 2300, apart},
      {34, dot_over, 1500, apart},
      {35, crossed_b, 1500, apart},
      {36, close, 1000, apart},
      {37, close, 1000, apart},
      {38, cup, 750, apart},
      {39, dot_over, 1000, apart},
      {40, linked, 650, apart},
      {41, apart, 800, higher_upward},
      {42, close, 400, apart},
      {43, low_small, 750, apart},
      {44, dot_over, 750, apart},
      {45, crossed_b, 600, apart},
      {46, one_stroke, 400, apart},
      {47, crossed_b, 1000, apart},
      {48, linked, 600, apart},
      {49, rising, 801, apart},
      {50, flowing, 1100, apart},
      {51, retraced, 500, linked},
      {52, close, 1000, apart},
      {53, one_stroke, 800, apart},
      {54, close, 3020, apart},
      {55, apart, 1000, left_of},
      {56, apart, 1600, left_of},
      {57, low_small, 1100, apart},
      {58, under_slant, 1000, apart},
      {59, close, 70571, left_of},
      {60, crossed_a, 200, apart},
      {61, apart, 700, left_of},
      {62, apart, 700, left_of},
      {63, apart, 200, left_of},
      {64, low_small, 500, apart},
      {65, apart, 600, left_of},
      {66, diagonal, 334633, apart},
      {67, close, 500, apart},
      {68, close, 500, apart},
      {69, accent, 300, apart},
      {70, cup, 300, apart},
      {71, cup, 300, apart},
      {72, bar_under, 300, apart},
      {73, stacked, 300, apart},
      {74, dot_before, 300, apart},
      {75, dot_before, 300, apart},
      {76, dot_before, 300, apart},
      {77, dot_before, 300, apart},
      {78, dot_before, 300, apart},
      {79, dot_before, 300, apart},
      {80, dot_before, 300, apart},
      {81, left_of, 150, left_of, narrow_b_box},
      {82, crossed_a, 150, apart, two_figure_joined},
      {83, stacked, 100, apart},
      {84, rising_end, 750, apart},
  };
  return cases;
}

std::optional<std::int32_t> penalty_of(const KindCase& k, const Scene& scene, bool with_rule,
                                       bool adjusted) {
  PairRuleCase c(scene.a, scene.b);
  if (adjusted && k.adjust) k.adjust(c);
  if (!with_rule) {
    c.kernel().clear_rules();
    return c.evaluate();
  }
  return c.penalty(k.kind);
}

TEST(PairRulesTest, EveryKindFiresWhereItsTestHoldsAndNowhereElse) {
  ASSERT_EQ(kind_cases().size(), 84u);
  for (const KindCase& k : kind_cases()) {
    SCOPED_TRACE("kind " + std::to_string(k.kind));
    EXPECT_EQ(penalty_of(k, k.firing(), true, true), k.penalty);
    EXPECT_EQ(penalty_of(k, k.firing(), false, true), 0);
    EXPECT_EQ(penalty_of(k, k.silent(), true, false), 0);
  }
}

TEST(PairRulesTest, TheReadingsChooseTheRulesAndTheirCodes) {
  const Scene scene = one_stroke();
  PairRuleCase c(scene.a, scene.b);
  ASSERT_EQ(c.penalty(30), 1000);
  // Read through -1, the codes before the last rewrite ("l" and "l") excuse
  // the pair; read at 0 the current ones do not.
  c.a().answers->answers()[0].saved_codes[1] = u'l';
  c.b().answers->answers()[0].saved_codes[1] = u'l';
  constexpr std::uint32_t kFirst = 0xFFFFFFFF;
  EXPECT_EQ(c.evaluate(1, kFirst, kFirst), 0);
  EXPECT_EQ(c.evaluate(1, 0, 0), 1000);
  // A reading index beyond the list.
  EXPECT_EQ(c.evaluate(1, 1, 0), 0);
  EXPECT_EQ(c.evaluate(1, 0, 1), 0);
}

TEST(PairRulesTest, ARuleRunsOnlyForTheJoinedReadingOfItsFlag) {
  const Scene scene = cup();
  PairRuleCase c(scene.a, scene.b);
  test::PairRuleKernel& kernel = c.kernel();
  struct Case {
    std::int16_t kind;
    std::uint8_t flag;
    std::uint16_t joined_key;
    int copies;
    std::int32_t penalty;
  } cases[] = {
      {28, 0, test::kKeyJoined, 1, 400},  // its own table
      {28, 0, test::kKeyJoined, 2, 800},  // twice
      {28, 0, 99, 1, 0},                  // the joined group reads otherwise
      {28, 1, test::kKeyJoined, 1, 0},    // a kind of the other table
      {70, 1, test::kKeyJoined, 1, 300},
      {70, 0, test::kKeyJoined, 1, 0},
      {85, 0, test::kKeyJoined, 1, 0},  // no such kind
  };
  for (const Case& k : cases) {
    kernel.set_rule(k.kind, k.flag, k.joined_key, k.copies);
    EXPECT_EQ(c.evaluate(), k.penalty) << k.kind << " " << int{k.flag} << " " << k.joined_key;
  }
  // Without a plain reading the rules of flag 0 have nothing to match.
  c.joined().answers->answers()[0].kind = 1;
  kernel.set_rule(28, 0);
  EXPECT_EQ(c.evaluate(), 0);
  kernel.set_rule(70, 1);
  EXPECT_EQ(c.evaluate(), 300);
}

TEST(PairRulesTest, NoJoinedGroupOrNoFigureEndsTheEvaluation) {
  const Scene scene = one_stroke();
  {
    PairRuleCase c(scene.a, scene.b);
    c.joined().members.clear();
    EXPECT_EQ(c.penalty(28), 0);
  }
  {
    PairRuleCase c(scene.a, scene.b);
    c.a().figures.remove_all();
    std::int32_t accumulator = 5;
    EXPECT_EQ(c.status_of(28, &accumulator), kBadArgument);
    EXPECT_EQ(accumulator, 5);
    c.kernel().clear_rules();
    EXPECT_EQ(c.evaluate(), 0);  // no rule: the figures are never read
  }
  {
    // Kind 13 needs the strokes' pair record.
    const Scene two = apart();
    PairRuleCase c(two.a, two.b);
    std::int32_t accumulator = 0;
    EXPECT_EQ(c.status_of(13, &accumulator), kBadArgument);
  }
}

// The joined group is the result made of exactly the strokes of both:
// one stroke more or less, even one far past them, is another group.
TEST(PairRulesTest, TheJoinedGroupHasExactlyTheStrokesOfBothResults) {
  const Scene scene = one_stroke();
  struct Case {
    const char* name;
    void (*change)(PairRuleCase&);
    bool fires;
  };
  const Case cases[] = {
      {"both results' strokes", [](PairRuleCase&) {}, true},
      {"no strokes", [](PairRuleCase& c) { c.joined().members.clear(); }, false},
      {"A's strokes alone",
       [](PairRuleCase& c) { ASSERT_EQ(c.joined().members.assign(c.a().members), kOk); }, false},
      {"B's strokes alone",
       [](PairRuleCase& c) { ASSERT_EQ(c.joined().members.assign(c.b().members), kOk); }, false},
      {"a stroke more, in a later word of the set",
       [](PairRuleCase& c) { ASSERT_EQ(c.joined().members.set(100), kOk); }, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    PairRuleCase c(scene.a, scene.b);
    k.change(c);
    const std::optional<std::int32_t> penalty = c.penalty(28);
    ASSERT_TRUE(penalty.has_value());
    EXPECT_EQ(*penalty != 0, k.fires);
  }
}

TEST(PairRulesTest, RowsThatBothResultsDoNotShareHoldNoTouchAndNoMean) {
  const Scene scene = stacked();
  PairRuleCase c(scene.a, scene.b);
  one_figure_joined(c);
  for (const std::int16_t kind : {2, 17, 19}) EXPECT_EQ(c.penalty(kind), 0) << kind;
}

TEST(PairRulesTest, TheLinesSpacingNarrowsTheGapOfKind32) {
  const Scene scene = close();
  PairRuleCase c(scene.a, scene.b);
  // A fifth of the size, 20: the 15 between the stems costs 750.
  EXPECT_EQ(c.penalty(32), 750);
  // A steady spacing of 20 +- 5 allows 15 only: nothing.
  c.kernel().spacing = NeighbourSpacing{20, 5};
  EXPECT_EQ(c.penalty(32), 0);
  // A spread of half the spacing or more is not used.
  c.kernel().spacing = NeighbourSpacing{20, 10};
  EXPECT_EQ(c.penalty(32), 750);
}

}  // namespace
}  // namespace inkrec

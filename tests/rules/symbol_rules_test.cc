#include "engine/rules/symbol_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "engine/foundation/status.h"
#include "tests/support/drawn_group.h"

namespace inkrec {
namespace {

using test::Points;
using test::polyline;

constexpr std::int32_t kSize = 100;

// A drawn group judged against one variant, with the base lines 100 and
// 200 and a letter size of 100. The answer is P, or nothing when the
// variant is dropped.
class RuleCase {
 public:
  explicit RuleCase(const std::vector<Points>& strokes) : ink_(strokes) {
    for (std::size_t i = 0; i < strokes.size(); ++i) ink_.figure(i).line_index = 0;
    element_set_baseline_pair(ink_.group(), ReferenceBand{100, 200, 1});
    if (strokes.size() == 1) args_.one_figure_info = &one_figure_info_;
  }

  std::optional<std::int32_t> judge(std::uint16_t code, std::uint16_t shape,
                                    std::uint16_t etalon = 1000, std::uint32_t charset = 5) {
    Variant symbol;
    symbol.idSet = charset;
    symbol.menuc = code;
    symbol.shape_id = shape;
    symbol.etalon_id = etalon;
    args_.symbol = &symbol;
    args_.group = &ink_.group();
    args_.first_figure = &ink_.figure(0);
    args_.box = ink_.box();
    args_.figure_count = static_cast<std::int32_t>(ink_.group().figures.size());
    args_.member_count = args_.figure_count;
    args_.size = kSize;
    args_.penalties = &penalties_;
    std::int32_t penalty = 0;
    bool drop = false;
    EXPECT_EQ(apply_symbol_rules(args_, penalty, &drop), kOk);
    if (drop) return std::nullopt;
    return penalty;
  }

  test::DrawnGroup& ink() { return ink_; }
  SymbolRuleArgs& args() { return args_; }
  PenaltyBlock& penalties() { return penalties_; }

 private:
  test::DrawnGroup ink_;
  SymbolRuleArgs args_;
  PenaltyBlock penalties_;
  FigureInfo one_figure_info_;
};

constexpr std::optional<std::int32_t> kDropped = std::nullopt;

TEST(SymbolRulesTest, BackspaceNeedsOneStroke) {
  RuleCase two({polyline({{200, 150}, {0, 150}}, 5), polyline({{200, 160}, {0, 160}}, 5)});
  EXPECT_EQ(two.judge(8, 1), kDropped);
  RuleCase upright({polyline({{0, 60}, {0, 200}}, 5)});
  EXPECT_EQ(upright.judge(8, 1), kDropped);  // one stroke, but no flat stroke's class
}

TEST(SymbolRulesTest, HaOfOneFigureIsRefused) {
  struct Case {
    const char* what;
    std::uint16_t code;
    std::uint16_t shape;
    bool two_figures;
    bool dropped;
  };
  const Case cases[] = {
      {"Х of one figure", 1061, 1, false, true},
      {"Х of two figures", 1061, 1, true, false},
      {"х 456 of one figure", 1093, 456, false, true},
      {"х 459", 1093, 459, false, true},
      {"х 460", 1093, 460, false, true},
      {"х 457 of one figure", 1093, 457, false, false},
      {"х 456 of two figures", 1093, 456, true, false},
  };
  for (const Case& c : cases) {
    std::vector<Points> strokes = {polyline({{0, 100}, {60, 200}}, 5)};
    if (c.two_figures) strokes.push_back(polyline({{60, 100}, {0, 200}}, 5));
    RuleCase rule(strokes);
    EXPECT_EQ(!rule.judge(c.code, c.shape, 1000, 4).has_value(), c.dropped) << c.what;
  }
}

TEST(SymbolRulesTest, GeByTheWidthOfItsBox) {
  struct Case {
    const char* what;
    std::vector<Points> strokes;
    std::optional<std::int32_t> penalty;
  };
  // r = 10 * width / height of the geometry box.
  const Case cases[] = {
      {"a flat stroke", {polyline({{0, 150}, {80, 150}}, 5)}, kDropped},
      {"r = 10", {polyline({{0, 200}, {0, 100}, {100, 100}}, 5)}, 0},
      {"r = 13", {polyline({{0, 200}, {0, 100}, {130, 100}}, 5)}, 0},
      {"r = 20",
       {polyline({{0, 200}, {0, 100}, {200, 100}}, 5)},
       -(600 + (1100 - 600) * (20 - 15) / 15)},
      {"r = 30", {polyline({{0, 200}, {0, 100}, {300, 100}}, 5)}, -1100},
      {"r = 31", {polyline({{0, 200}, {0, 100}, {310, 100}}, 5)}, kDropped},
  };
  for (const Case& c : cases) {
    RuleCase rule(c.strokes);
    EXPECT_EQ(rule.judge(1043, 1, 1000, 4), c.penalty) << c.what;
  }
}

TEST(SymbolRulesTest, EuroOfThreeFiguresTakesNoPenalty) {
  const std::vector<Points> c_shape = {polyline({{60, 100}, {0, 150}, {60, 200}}, 5)};
  const Points bar1 = polyline({{0, 140}, {50, 140}}, 5);
  const Points bar2 = polyline({{0, 160}, {50, 160}}, 5);
  RuleCase three({c_shape[0], bar1, bar2});
  EXPECT_EQ(three.judge(8364, 1), 0);
  RuleCase two({c_shape[0], bar1});
  EXPECT_EQ(two.judge(8364, 1), -950);
  EXPECT_EQ(two.judge(8352, 1), -950);
}

TEST(SymbolRulesTest, TheFiveStepsOfTheLRule) {
  // Base lines 100 and 200, size 100: m = 150, d' = 100.
  const Points stem = polyline({{0, 60}, {0, 200}}, 5);
  const Points stem_up = polyline({{0, 200}, {0, 60}}, 5);
  struct Case {
    const char* what;
    std::vector<Points> strokes;
    std::uint16_t shape;
    bool element_flag;
    std::optional<std::int32_t> penalty;
  };
  const Case cases[] = {
      // Step 1 (stems 830, 708, short 142): the bottom must pass the middle
      // of the base lines; the top is charged from t - L/2 on: at 60,
      // ramp(50 -> 0, 150 -> 1000) = 100.
      {"1: a stem ending above the middle",
       {polyline({{0, 40}, {0, 140}}, 5)},
       830,
       true,
       kDropped},
      {"1: a full stem", {stem}, 830, true, -100},
      {"1: the same as shape 708", {stem}, 708, true, -100},
      {"1: not for other shapes", {stem}, 700, true, 0},
      // Step 2 (830, one figure): a stem drawn upward ends more than H/3
      // above its bottom.
      {"2: the stem drawn upward", {stem_up}, 830, true, -100 - 3000},
      {"2: only with E set", {stem_up}, 830, false, -100},
      // Step 3 ("l" of two figures): a short piece beside a tall stem.
      {"3: a short piece beside the stem",
       {stem, polyline({{5, 120}, {30, 125}}, 5)},
       700,
       true,
       -400},
      {"3: a piece as tall as a third", {stem, polyline({{5, 120}, {30, 170}}, 5)}, 700, true, 0},
      // Step 4 (830): a flat piece in the middle half of the box.
      {"4: a flat piece in the middle",
       {stem, polyline({{-5, 130}, {5, 130}}, 5)},
       830,
       true,
       -100 - 1500},
      {"4: a flat piece near the top", {stem, polyline({{-5, 70}, {5, 70}}, 5)}, 830, true, -100},
      // Step 5 ("l", one figure, E clear): a top near the upper line,
      // ramp(t - L/4 -> 0, t -> 200) at T.
      {"5: the top on the upper line", {polyline({{0, 100}, {0, 200}}, 5)}, 700, false, -200},
      {"5: the top at 90", {polyline({{0, 90}, {0, 200}}, 5)}, 700, false, -(200 * 15 / 25)},
      {"5: only with E clear", {polyline({{0, 100}, {0, 200}}, 5)}, 700, true, 0},
  };
  for (const Case& c : cases) {
    RuleCase rule(c.strokes);
    rule.ink().group().single = c.element_flag ? 1 : 0;
    EXPECT_EQ(rule.judge(108, c.shape), c.penalty) << c.what;
  }
}

TEST(SymbolRulesTest, TheTailChargesByPropertiesAndShapeIds) {
  RuleCase rule({polyline({{0, 60}, {0, 200}}, 5)});
  // With every slot and weight 0 the etalon penalties and weight 14 leave
  // P alone.
  EXPECT_EQ(rule.judge(120, 1, 279), 0);
  rule.penalties()[kEndDropSlot] = 399;
  EXPECT_EQ(rule.judge(120, 1, 279), -399);  // etalon 279 is of class a
  rule.args().one_figure_info = nullptr;
  rule.penalties()[kEndDropSlot] = 0;
  rule.args().weights.small_parts_penalty = 450;
  EXPECT_EQ(rule.judge(120, 1), 0);  // property bit 21 clear
}

TEST(SymbolRulesTest, EdgeCasesOfSingleRows) {
  const Points stroke = polyline({{0, 100}, {40, 200}}, 5);
  const Points other = polyline({{40, 100}, {0, 200}}, 5);
  struct Case {
    const char* what;
    std::vector<Points> strokes;
    std::uint16_t code;
    std::uint16_t shape;
    std::optional<std::int32_t> penalty;
  };
  const Case cases[] = {
      {"a pound sign of one stroke", {stroke}, 163, 1, kDropped},
      {"a pound sign of two strokes", {stroke, other}, 163, 1, 0},
      {"an enclosed n of one figure", {stroke}, 9385, 1, kDropped},
      {"an enclosed w of one figure", {stroke}, 9394, 1, kDropped},
      // The weight-10 rule: no descending runs counted costs 2 * 500.
      {"И with no descending runs", {stroke, other}, 1048, 1, -1000},
      // The narrow-top rule of the tail is for one figure only.
      {"shape 134 of two figures", {stroke, other}, 500, 134, 0},
  };
  for (const Case& c : cases) {
    RuleCase rule(c.strokes);
    EXPECT_EQ(rule.judge(c.code, c.shape, 1000, 4), c.penalty) << c.what;
  }
}

TEST(SymbolRulesTest, SpaceIsCappedOnlyBelowFifteenDegreesFromTheLine) {
  // A flat stroke, its ends at the box's left: a space of one stroke on a
  // line of two.
  const Points flat = polyline({{0, 190}, {80, 190}, {0, 192}}, 5);
  for (const std::int32_t angle : {75, 76, 90, 104, 105}) {
    RuleCase rule({flat});
    DynArray<StrokeRecord> strokes;
    strokes.push_default()->line_index = 0;
    strokes.push_default()->line_index = 0;
    rule.args().line.strokes = &strokes;
    rule.args().partner_distance = 50;
    rule.args().partner_angle = angle;
    rule.args().line_angle = 90;
    const std::optional<std::int32_t> p = rule.judge(32, 1);
    ASSERT_TRUE(p.has_value()) << angle;
    EXPECT_EQ(*p, std::abs(angle - 90) < 15 ? -3000 : 0) << angle;
  }
}

}  // namespace
}  // namespace inkrec

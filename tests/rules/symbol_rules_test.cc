#include "engine/rules/symbol_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "tests/support/drawn_group.h"

namespace inkrec {
namespace {

using test::Points;
using test::polyline;

constexpr std::int32_t kSize = 100;

// A drawn group judged against one variant, with the base lines 100 and
// 200 (or those given) and a letter size of 100. The answer is P, or
// nothing when the variant is dropped.
class RuleCase {
 public:
  explicit RuleCase(const std::vector<Points>& strokes,
                    ReferenceBand band = ReferenceBand{100, 200, 1})
      : ink_(strokes) {
    for (std::size_t i = 0; i < strokes.size(); ++i) ink_.figure(i).line_index = 0;
    element_set_baseline_pair(ink_.group(), band);
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

TEST(SymbolRulesTest, HyphenInTheLineAndAfterAStroke) {
  // Base lines 100 and 200: q = 16, m = 150; the top ramp runs from the
  // upper line (700) to m - q = 134 (0).
  struct Case {
    const char* what;
    Points stroke;
    std::optional<std::int32_t> penalty;
  };
  const Case cases[] = {
      {"in the middle of the line", polyline({{0, 150}, {40, 150}}, 5), 0},
      {"drawn leftwards", polyline({{40, 150}, {0, 150}}, 5), kDropped},
      {"high on the line", polyline({{0, 105}, {40, 105}}, 5), -(700 - 700 * 5 / 34)},
  };
  DynArray<FigureRecord> line_figures;
  for (const Case& c : cases) {
    RuleCase rule({c.stroke});
    rule.args().line.figures = &line_figures;
    rule.args().partner_distance = 50;
    EXPECT_EQ(rule.judge(45, 1), c.penalty) << c.what;
  }
}

TEST(SymbolRulesTest, ALineWithoutBaseLinesChargesNoStrokeForWhereItStands) {
  // Each stroke stands where the base lines 100 and 200 charge it nothing:
  // the brackets reach a little past them, the slash a third of the size
  // past them, the hyphen lies in the middle. A lone stroke's line has no
  // base lines (-1, -1); it must pay no more than on the line that has them
  // (a ramp between two unset lines would charge 1600, 2500 and 300).
  struct Case {
    const char* what;
    Points stroke;
    std::uint16_t code;
  };
  const Case cases[] = {
      {"an opening bracket", polyline({{30, 90}, {0, 150}, {30, 210}}, 5), 40},
      {"a closing bracket", polyline({{0, 90}, {30, 150}, {0, 210}}, 5), 41},
      {"a slash", polyline({{0, 233}, {60, 67}}, 5), 47},
      {"a hyphen", polyline({{0, 150}, {40, 150}}, 5), 45},
  };
  DynArray<FigureRecord> line_figures;
  for (const Case& c : cases) {
    RuleCase on_lines({c.stroke});
    on_lines.args().line.figures = &line_figures;
    on_lines.args().partner_distance = 50;
    const std::optional<std::int32_t> with_lines = on_lines.judge(c.code, 1, 1000, 38);
    ASSERT_TRUE(with_lines.has_value()) << c.what;

    RuleCase alone({c.stroke}, ReferenceBand{});
    alone.args().line.figures = &line_figures;
    alone.args().partner_distance = 50;
    EXPECT_EQ(alone.judge(c.code, 1, 1000, 38), with_lines) << c.what;
  }
}

TEST(SymbolRulesTest, HyphenAfterAStrokeHoldsTheTangentOfAnUprightTilt) {
  // The stroke before: down from (10, 0) and right to (30, 100); the
  // hyphen under it reaches past its right edge.
  std::vector<PointRecord> before_points =
      test::point_records(polyline({{10, 0}, {10, 100}, {30, 100}}, 5));
  DynArray<StrokeRecord> strokes;
  StrokeRecord* before = strokes.push_default();
  before->run = test::run_of(before_points);
  before->line_index = 0;
  ASSERT_EQ(figure_prepare_glyph(*before, true), kOk);
  strokes.push_default()->line_index = 0;
  DynArray<FigureRecord> line_figures;
  RuleCase rule({polyline({{0, 150}, {40, 150}}, 5)});
  rule.ink().figure(0).stroke_index = 1;
  rule.args().line.figures = &line_figures;
  rule.args().line.strokes = &strokes;
  rule.args().line.neighbour_strokes = true;
  rule.args().partner_distance = 50;
  // No pair table: the partner angle is 90, so the tilt g is 90; its
  // tangent is taken at 89 degrees. The overlap with the stroke's box
  // (10..30) is 20 of the hyphen's 41 columns.
  const std::int32_t tangent = scale_by_tangent(89, 1000) / 1000;
  const std::int32_t overlap_value = 100 * 20 * (1 + tangent) / 41;
  // Two strokes on the line: the partner 50 away (past W) earns 200.
  EXPECT_EQ(rule.judge(45, 1), -(4000 + 30 * overlap_value) + 200);
}

TEST(SymbolRulesTest, CyrillicRowsThatWalkTheFigures) {
  struct Case {
    const char* what;
    std::vector<Points> strokes;
    std::uint16_t code;
    std::uint16_t shape;
    std::uint16_t etalon;
    std::optional<std::int32_t> penalty;
  };
  const Points stem = polyline({{0, 100}, {0, 200}}, 5);
  const Case cases[] = {
      {"Е with a gap under its top bar",
       {stem, polyline({{0, 100}, {40, 100}}, 5), polyline({{0, 150}, {30, 150}}, 5)},
       1045,
       129,
       1000,
       0},
      {"Е of a stem and a bottom bar only",
       {stem, polyline({{0, 200}, {40, 200}}, 5)},
       1045,
       129,
       1000,
       kDropped},
      {"Е of etalon 86 in two figures",
       {stem, polyline({{0, 100}, {40, 100}}, 5)},
       1045,
       1,
       86,
       -200},
      {"З turning back left in its middle",
       {polyline({{0, 100}, {30, 100}, {10, 150}, {30, 175}, {0, 200}}, 5)},
       1047,
       1,
       116,
       0},
      {"З that never turns back",
       {polyline({{0, 100}, {30, 100}, {30, 200}}, 5)},
       1047,
       1,
       116,
       -430},
      {"з of another etalon", {polyline({{0, 100}, {30, 100}, {30, 200}}, 5)}, 1079, 1, 120, 0},
  };
  for (const Case& c : cases) {
    RuleCase rule(c.strokes);
    EXPECT_EQ(rule.judge(c.code, c.shape, c.etalon, 4), c.penalty) << c.what;
  }
}

TEST(SymbolRulesTest, SigmaTurnsBackHighEnough) {
  struct Case {
    const char* what;
    Points stroke;
    std::optional<std::int32_t> penalty;
  };
  // From the top left: right along the top, back left to its middle turn,
  // then right along the bottom. (T + 2B)/3 = 166.
  const Case cases[] = {
      {"the turn in the middle", polyline({{0, 100}, {40, 100}, {10, 150}, {40, 200}}, 5), 0},
      {"the turn low", polyline({{0, 100}, {40, 100}, {10, 180}, {40, 200}}, 5), -170},
      {"started at the bottom right", polyline({{40, 200}, {10, 180}, {40, 100}, {30, 100}}, 5), 0},
  };
  for (const Case& c : cases) {
    RuleCase rule({c.stroke});
    EXPECT_EQ(rule.judge(931, 1, 1000, 25), c.penalty) << c.what;
  }
}

// The line's strokes for a one-figure group drawn as stroke 1: stroke 0 is
// the stroke before it, drawn from the points given.
class StrokeBefore {
 public:
  explicit StrokeBefore(const Points& before) : points_(test::point_records(before)) {
    StrokeRecord* stroke = strokes_.push_default();
    stroke->run = test::run_of(points_);
    stroke->line_index = 0;
    EXPECT_EQ(figure_prepare_glyph(*stroke, true), kOk);
    strokes_.push_default()->line_index = 0;
  }
  void attach(RuleCase& rule) {
    rule.ink().figure(0).stroke_index = 1;
    rule.args().line.strokes = &strokes_;
    rule.args().line.neighbour_strokes = true;
  }

 private:
  std::vector<PointRecord> points_;
  DynArray<StrokeRecord> strokes_;
};

TEST(SymbolRulesTest, OneAsAStickAfterAStrokeBesideIt) {
  // The stick runs from 100 to 200 at x 50. The stroke before it: how many
  // of the stick's rows it shares (first count), how many of its own rows
  // the stick shares (second count), how far its end lies left of its box's
  // right edge and how far above the stick's bottom its bottom lies.
  const Points stick = polyline({{50, 100}, {50, 200}}, 5);
  struct Case {
    const char* what;
    Points before;
    std::uint16_t shape;
    std::optional<std::int32_t> penalty;
  };
  const Case cases[] = {
      {"a flag beside the top", polyline({{20, 130}, {45, 100}}, 5), 830, -1700},
      {"a stroke wholly above", polyline({{20, 0}, {45, 90}}, 5), 830, kDropped},
      {"a tall stroke ending at its right, high", polyline({{20, 0}, {45, 110}}, 5), 830,
       kDropped},
      {"the same ending at its left", polyline({{45, 110}, {20, 0}}, 5), 830, -1700},
      {"another shape", polyline({{20, 0}, {45, 90}}, 5), 831, 0},
  };
  for (const Case& c : cases) {
    RuleCase rule({stick});
    StrokeBefore before(c.before);
    before.attach(rule);
    EXPECT_EQ(rule.judge(49, c.shape), c.penalty) << c.what;
  }
  RuleCase alone({stick});
  EXPECT_EQ(alone.judge(49, 830), 0) << "no stroke before";
}

TEST(SymbolRulesTest, SmallDByItsStartAndItsFigures) {
  struct Case {
    const char* what;
    std::vector<Points> strokes;
    std::optional<std::int32_t> penalty;
  };
  // L = 100: the ink above a start flicked down to the right must lie a
  // quarter of L right of it, and the figure must keep a descent.
  const Case cases[] = {
      {"a bowl at the left edge",
       {polyline({{40, 140}, {10, 140}, {0, 170}, {10, 200}, {40, 200}, {40, 100}, {40, 200}},
                 5)},
       0},
      {"a flick into a stem well right", {polyline({{0, 140}, {20, 160}, {50, 100}, {50, 200}}, 5)},
       0},
      {"a flick into a stem close by", {polyline({{0, 140}, {10, 150}, {15, 100}, {15, 200}}, 5)},
       -500},
      {"a flick without a descent", {polyline({{0, 140}, {20, 160}, {60, 100}}, 5)}, -500},
      {"a start drawn flat", {polyline({{0, 140}, {20, 140}, {20, 200}}, 5)}, 0},
      {"a stem and a flat bar",
       {polyline({{40, 100}, {40, 200}}, 5), polyline({{0, 150}, {35, 150}}, 5)},
       -600},
  };
  for (const Case& c : cases) {
    RuleCase rule(c.strokes);
    EXPECT_EQ(rule.judge(100, 1), c.penalty) << c.what;
  }
}

TEST(SymbolRulesTest, HetByItsTwoFiguresAndTheStrokeAfterIt) {
  const Points short_left = polyline({{0, 150}, {0, 200}}, 5);
  const Points tall_left = polyline({{0, 100}, {0, 200}}, 5);
  const Points tall_right = polyline({{40, 100}, {40, 200}}, 5);
  const Points short_right = polyline({{40, 150}, {40, 200}}, 5);
  const Points high_right = polyline({{40, 20}, {40, 60}}, 5);
  struct Case {
    const char* what;
    std::vector<Points> strokes;
    std::uint16_t etalon;
    std::optional<std::int32_t> penalty;
  };
  const Case cases[] = {
      {"etalon 5464 of one figure", {tall_left}, 5464, kDropped},
      {"the first figure the shorter", {short_left, tall_right}, 5464, -150},
      {"both as tall", {tall_left, tall_right}, 5464, -150},
      {"the first figure the taller", {tall_left, short_right}, 5464, 0},
      {"figures apart in height", {tall_left, high_right}, 5464, 0},
      {"another etalon", {short_left, tall_right}, 5465, 0},
  };
  for (const Case& c : cases) {
    RuleCase rule(c.strokes);
    EXPECT_EQ(rule.judge(1495, 1, c.etalon, 26), c.penalty) << c.what;
  }
  // One figure with a stroke after it reaching past its right edge.
  StrokeRecord next;
  for (const std::int16_t right : {0, 1}) {
    RuleCase rule({tall_left});
    rule.args().next_stroke = &next;
    rule.args().next_box = Box16{-20, 100, right, 200};
    EXPECT_EQ(rule.judge(1495, 1, 1000, 26), right > 0 ? -2000 : 0) << right;
  }
}

TEST(SymbolRulesTest, ShapeFourSixtyWantsInkLeftOfItsStick) {
  const Points stick = polyline({{0, 100}, {0, 200}}, 5);
  const Points right_1 = polyline({{10, 120}, {30, 140}}, 5);
  const Points right_2 = polyline({{10, 160}, {30, 180}}, 5);
  const Points left_1 = polyline({{-30, 120}, {-10, 140}}, 5);
  const Points left_2 = polyline({{-30, 160}, {-10, 180}}, 5);
  struct Case {
    const char* what;
    std::vector<Points> strokes;
    std::uint16_t stick_shape;
    std::optional<std::int32_t> penalty;
  };
  const Case cases[] = {
      {"strokes right of a stick", {stick, right_1, right_2}, 830, -300},
      {"strokes left of a stick", {stick, left_1, left_2}, 830, 0},
      {"the tallest not read as a stick", {stick, right_1, right_2}, 831, 0},
      {"two figures", {stick, right_1}, 830, 0},
  };
  for (const Case& c : cases) {
    RuleCase rule(c.strokes);
    Answer reading;
    reading.source_word = c.stick_shape;
    ASSERT_EQ(rule.ink().figure(0).candidates[0].answers().push_back(reading), kOk);
    EXPECT_EQ(rule.judge(120, 460), c.penalty) << c.what;
  }
}

TEST(SymbolRulesTest, RowsChoosingTheirPenaltyByEtalonOrPlace) {
  // Base lines 100 and 200, L = 100.
  const Points wide_top =
      polyline({{0, 105}, {35, 100}, {5, 100}, {5, 200}, {40, 200}, {40, 160}, {5, 160}}, 5);
  const Points narrow_top = polyline({{5, 100}, {5, 200}, {40, 200}, {40, 160}, {5, 160}}, 5);
  const Points stem = polyline({{0, 100}, {0, 200}}, 5);
  struct Case {
    const char* what;
    std::vector<Points> strokes;
    std::uint16_t code;
    std::uint16_t etalon;
    std::optional<std::int32_t> penalty;
  };
  const Case cases[] = {
      // "Ь"/"ь": a top wider than 3W/7 costs what the etalon says.
      {"Ь 359 with a wide top", {wide_top}, 1068, 359, -255},
      {"Ь 360 with a wide top", {wide_top}, 1068, 360, -300},
      {"ь 365 with a wide top", {wide_top}, 1100, 365, -500},
      {"ь 361 with a wide top", {wide_top}, 1100, 361, -30},
      {"ь 359 is not an etalon of ь", {wide_top}, 1100, 359, 0},
      {"ь 365 with a narrow top", {narrow_top}, 1100, 365, 0},
      // "י": ramp(175 -> 0, 200 -> 800) at B and ramp(60 -> 0, 100 -> 1100)
      // at H.
      {"י small in the middle", {polyline({{0, 140}, {0, 170}}, 5)}, 1497, 1000, 0},
      {"י hanging below the line",
       {polyline({{0, 175}, {0, 215}}, 5)},
       1497,
       1000,
       -(800 * 40 / 25)},
      {"י as tall as the line",
       {stem},
       1497,
       1000,
       -(800 + 1100 * 41 / 40)},
      // "n" of two figures: a wide second figure starting low.
      {"n with a low arch", {stem, polyline({{0, 160}, {40, 160}}, 5)}, 110, 1000, -500},
      {"n with a high arch", {stem, polyline({{0, 110}, {40, 110}}, 5)}, 110, 1000, 0},
  };
  for (const Case& c : cases) {
    RuleCase rule(c.strokes);
    EXPECT_EQ(rule.judge(c.code, 1, c.etalon, 4), c.penalty) << c.what;
  }
  // "י" beside a tall stroke after it: bonus ramp(130 -> 700, 200 -> 0) at
  // B = 170.
  StrokeRecord next;
  RuleCase yod({polyline({{0, 140}, {0, 170}}, 5)});
  yod.args().next_stroke = &next;
  yod.args().next_box = Box16{10, 130, 40, 230};
  EXPECT_EQ(yod.judge(1497, 1, 1000, 26), 700 - 700 * 40 / 70);
}

TEST(SymbolRulesTest, TheHookRuleReadsThePiecesBeforeAndAfterTheCut) {
  // The piece before the cut is stroke 0's; its values are given per point
  // of that stroke, the upper halves falling (kept) or rising once.
  std::vector<PointRecord> before_points = test::point_records(polyline({{0, 100}, {0, 120}}, 10));
  FigureRecord before;
  before.run = test::run_of(before_points);
  before.stroke_index = 0;
  const std::vector<std::uint32_t> falling = {0x00050001, 0x00040009, 0x00040000};
  const std::vector<std::uint32_t> rising = {0x00050001, 0x00060000, 0x00040000};
  // Up the left side and flat along the top; the same turning down at the
  // right; up and then one long flat step before turning down.
  const Points up_and_flat = polyline({{0, 200}, {0, 100}, {40, 100}}, 5);
  const Points turning_down = polyline({{0, 100}, {40, 100}, {40, 200}}, 5);
  const Points long_step = {{0, 200}, {0, 150}, {0, 100}, {60, 100}, {60, 200}};
  struct Case {
    const char* what;
    Points figure;
    std::uint16_t piece;
    bool with_piece_before;
    const std::vector<std::uint32_t>* values;
    std::optional<std::int32_t> penalty;
  };
  const Case cases[] = {
      {"values never rising", up_and_flat, 1, true, &falling, -300},
      {"values rising once", up_and_flat, 1, true, &rising, 0},
      {"turning down outside a stretch", turning_down, 1, true, &falling, 0},
      {"a long step ends the walk in its stretch", long_step, 1, true, &falling, -300},
      {"the first piece of its stroke", up_and_flat, 0, true, &falling, 0},
      {"no piece before", up_and_flat, 1, false, &falling, 0},
  };
  for (const Case& c : cases) {
    RuleCase rule({c.figure});
    rule.ink().figure(0).piece = c.piece;
    if (c.with_piece_before) rule.args().preceding_piece = &before;
    PtrArray<DynArray<std::uint32_t>> table(16, true);
    auto values = std::make_unique<DynArray<std::uint32_t>>();
    for (const std::uint32_t v : *c.values) ASSERT_EQ(values->push_back(v), kOk);
    ASSERT_EQ(table.push_back(values.release()), kOk);
    rule.args().line.point_values = &table;
    EXPECT_EQ(rule.judge(9372, 1), c.penalty) << c.what;
  }
  // A stroke without values is a broken stroke number.
  RuleCase broken({up_and_flat});
  broken.ink().figure(0).piece = 1;
  broken.args().preceding_piece = &before;
  PtrArray<DynArray<std::uint32_t>> empty_table(16, true);
  broken.args().line.point_values = &empty_table;
  std::int32_t penalty = 0;
  bool drop = true;
  Variant symbol;
  symbol.menuc = 9378;
  broken.args().symbol = &symbol;
  broken.args().group = &broken.ink().group();
  broken.args().first_figure = &broken.ink().figure(0);
  broken.args().box = broken.ink().box();
  broken.args().size = kSize;
  EXPECT_EQ(apply_symbol_rules(broken.args(), penalty, &drop), kBadArgument);
  EXPECT_FALSE(drop);
}

TEST(SymbolRulesTest, EnclosedFWantsItsWidestFigureAcrossTheBox) {
  // W = 101: the widest figure 41 wide gives 40 percent, ramp(60 -> 300,
  // 80 -> 0) there is 600; 81 wide gives 80 percent and nothing.
  const Points stem = polyline({{0, 100}, {0, 200}}, 5);
  RuleCase narrow({stem, polyline({{60, 150}, {100, 150}}, 5)});
  EXPECT_EQ(narrow.judge(9377, 1), -600);
  RuleCase wide({stem, polyline({{20, 150}, {100, 150}}, 5)});
  EXPECT_EQ(wide.judge(9377, 1), 0);
}

}  // namespace
}  // namespace inkrec

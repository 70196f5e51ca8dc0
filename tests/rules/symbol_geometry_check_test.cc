#include "engine/rules/symbol_geometry_check.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "engine/foundation/status.h"
#include "tests/support/drawn_group.h"

namespace inkrec {
namespace {

using test::Points;

constexpr std::uint32_t bit(int i) { return std::uint32_t{1} << i; }

Variant symbol_of(std::uint32_t charset, std::uint32_t properties, std::uint16_t shape = 1000,
                  std::uint16_t etalon = 1000, std::uint8_t cursive = 0) {
  Variant v;
  v.idSet = charset;
  v.properties = properties;
  v.shape_id = shape;
  v.etalon_id = etalon;
  v.cursive_flag = cursive;
  return v;
}

// Bits 0 of both Russian and English allow any parts; a symbol with only
// them passes every stage on plain ink.
constexpr std::uint32_t kPlain = bit(0) | bit(4) | bit(5) | bit(11);

bool ruled_out(const SymbolGeometryFacts& facts, test::DrawnGroup& drawn, const Variant& symbol) {
  bool out = true;
  EXPECT_EQ(check_symbol_geometry(facts, drawn.group(), symbol, &out), kOk);
  return out;
}

SymbolGeometryFacts facts_of(test::DrawnGroup& drawn) {
  SymbolGeometryFacts facts;
  EXPECT_EQ(symbol_geometry_facts(drawn.group(), &facts), kOk);
  EXPECT_EQ(facts.box, drawn.box());
  return facts;
}

TEST(SymbolGeometryCheckTest, FactsComeFromTheGroupsRecords) {
  test::DrawnGroup drawn({test::polyline({{0, 0}, {30, 60}}, 2)});
  drawn.group().single = 0;
  drawn.group().flags = FigureGroup::kFirstLinkSet;
  drawn.figure(0).first_point = 7;
  const SymbolGeometryFacts facts = facts_of(drawn);
  EXPECT_EQ(facts.point_count, static_cast<std::int16_t>(drawn.figure(0).run.count));
  EXPECT_EQ(facts.element_flag, 0);
  EXPECT_EQ(facts.option_word, FigureGroup::kFirstLinkSet);
  EXPECT_EQ(facts.first_piece_start, 7);
  EXPECT_EQ(facts.loops_a + facts.loops_b, 0);
  FigureGroup without_geometry;
  SymbolGeometryFacts none;
  EXPECT_EQ(symbol_geometry_facts(without_geometry, &none), kBadArgument);
}

TEST(SymbolGeometryCheckTest, FewerThanTwentyPointsPassExceptTheSmallInkMarks) {
  test::DrawnGroup dash({test::polyline({{0, 0}, {30, 0}}, 10)});  // 4 points
  test::DrawnGroup line({test::polyline({{0, 0}, {60, 0}}, 2)});   // 31 points
  const SymbolGeometryFacts few = facts_of(dash);
  const SymbolGeometryFacts many = facts_of(line);
  ASSERT_LT(few.point_count, 20);
  ASSERT_GE(many.point_count, 20);
  // Property bit 6 rules a one-figure group out, once the count is checked.
  struct Case {
    std::uint16_t shape;
    bool few_out;
    bool many_out;
  };
  const Case cases[] = {
      {1000, false, true}, {827, false, true}, {828, true, true},
      {1665, true, true},  {1032, true, true}, {1033, false, true},
  };
  for (const Case& c : cases) {
    const Variant symbol = symbol_of(4, kPlain | bit(6), c.shape);
    EXPECT_EQ(ruled_out(few, dash, symbol), c.few_out) << c.shape;
    EXPECT_EQ(ruled_out(many, line, symbol), c.many_out) << c.shape;
  }
}

TEST(SymbolGeometryCheckTest, RuleOutsOfTheSecondStage) {
  test::DrawnGroup one({test::polyline({{0, 0}, {0, 60}}, 2)});
  test::DrawnGroup two(
      {test::polyline({{0, 0}, {0, 60}}, 2), test::polyline({{40, 0}, {40, 60}}, 2)});
  struct Case {
    const char* what;
    bool two_figures;
    std::function<void(SymbolGeometryFacts&)> set;
    Variant symbol;
    bool out;
  };
  const auto none = [](SymbolGeometryFacts&) {};
  const Case cases[] = {
      {"plain symbol", false, none, symbol_of(4, kPlain), false},
      {"parts: English without bits", false, none, symbol_of(5, bit(4) | bit(11)), true},
      {"parts: two loops are not tested", false,
       [](SymbolGeometryFacts& f) {
         f.loops_a = 1;
         f.loops_b = 1;
       },
       symbol_of(5, bit(4) | bit(11)), false},
      {"parts: never with two figures", true, none, symbol_of(5, bit(4) | bit(5) | bit(11)), false},
      {"second link, charset 2", false, [](SymbolGeometryFacts& f) { f.option_word = 1; },
       symbol_of(2, 0), true},
      {"second link, bit 4 set", false, [](SymbolGeometryFacts& f) { f.option_word = 1; },
       symbol_of(4, kPlain), false},
      {"first link without bit 5", false, [](SymbolGeometryFacts& f) { f.option_word = 2; },
       symbol_of(4, bit(0) | bit(4) | bit(11)), true},
      {"one figure with bit 6", false, none, symbol_of(4, kPlain | bit(6)), true},
      {"two figures with bit 6", true, none, symbol_of(4, kPlain | bit(6)), false},
      {"wide gap with bit 7", true,
       [](SymbolGeometryFacts& f) {
         f.segment_switch = true;
         f.stroke_gap = (41 + 61) / 5 + 1;
       },
       symbol_of(4, kPlain | bit(7)), true},
      {"gap of exactly (W + H) / 5", true,
       [](SymbolGeometryFacts& f) {
         f.segment_switch = true;
         f.stroke_gap = (41 + 61) / 5;
       },
       symbol_of(4, kPlain | bit(7)), false},
      {"wide gap, segment switch off", true, [](SymbolGeometryFacts& f) { f.stroke_gap = 500; },
       symbol_of(4, kPlain | bit(7)), false},
      {"stroke start tests bit 9", false, none, symbol_of(4, kPlain | bit(9)), true},
      {"stroke start ignores bit 8", false, none, symbol_of(4, kPlain | bit(8)), false},
      {"later piece tests bit 8", false, [](SymbolGeometryFacts& f) { f.first_piece_start = 1; },
       symbol_of(4, kPlain | bit(8)), true},
      {"later piece ignores bit 9", false, [](SymbolGeometryFacts& f) { f.first_piece_start = 3; },
       symbol_of(4, kPlain | bit(9)), false},
      {"unset piece start reads as a start", false,
       [](SymbolGeometryFacts& f) { f.first_piece_start = -1; }, symbol_of(4, kPlain | bit(9)),
       true},
      {"element flag clear with bit 10", false, [](SymbolGeometryFacts& f) { f.element_flag = 0; },
       symbol_of(4, kPlain | bit(10)), true},
      {"element flag set with bit 10", false, none, symbol_of(4, kPlain | bit(10)), false},
      {"bridge of 40 without bit 11", false, [](SymbolGeometryFacts& f) { f.bridge_percent = 40; },
       symbol_of(4, bit(0) | bit(4) | bit(5)), true},
      {"bridge of 39", false, [](SymbolGeometryFacts& f) { f.bridge_percent = 39; },
       symbol_of(4, bit(0) | bit(4) | bit(5)), false},
      {"zones, strict", false,
       [](SymbolGeometryFacts& f) {
         f.segment_switch = true;
         f.zones = {0x02, 0, 0, 0};
       },
       symbol_of(4, kPlain, 3), true},
      {"zones, lenient", false,
       [](SymbolGeometryFacts& f) {
         f.zones = {0x02, 0x02, 0, 0};
       },
       symbol_of(4, kPlain, 3), false},
  };
  for (const Case& c : cases) {
    test::DrawnGroup& drawn = c.two_figures ? two : one;
    SymbolGeometryFacts facts = facts_of(drawn);
    c.set(facts);
    EXPECT_EQ(ruled_out(facts, drawn, c.symbol), c.out) << c.what;
  }
}

TEST(SymbolGeometryCheckTest, AGroupAtOrBelowTheFollowingPieceKeepsOnlyShapesThatStandThere) {
  test::DrawnGroup drawn({test::polyline({{0, 100}, {0, 160}}, 2)});
  struct Case {
    std::int16_t piece_bottom;
    std::uint16_t shape;
    bool out;
  };
  const Case cases[] = {
      {100, 1000, true},   // the group's top on the piece's bottom row
      {90, 1000, true},    //
      {101, 1000, false},  // the piece reaches below the group's top
      {100, 41, false},   {100, 47, false},  {100, 48, true},  {100, 300, true},
      {100, 301, false},  {100, 808, false}, {100, 809, true},
  };
  for (const Case& c : cases) {
    SymbolGeometryFacts facts = facts_of(drawn);
    const Box16 piece{0, 0, 20, c.piece_bottom};
    facts.following_piece_box = &piece;
    EXPECT_EQ(ruled_out(facts, drawn, symbol_of(4, kPlain, c.shape)), c.out)
        << c.piece_bottom << " " << c.shape;
  }
}

TEST(SymbolGeometryCheckTest, ACursiveSymbolNeedsAPartNearlyAsTallAsTheGroup) {
  // Two stacked figures, each well short of the group's 101 rows; and a
  // pair whose first figure spans 91 of 101 rows (9/10 of 101 is 90).
  const std::vector<Points> stacked = {test::polyline({{0, 0}, {0, 50}}, 2),
                                       test::polyline({{0, 60}, {0, 100}}, 2)};
  const std::vector<Points> tall = {test::polyline({{0, 0}, {0, 90}}, 2),
                                    test::polyline({{20, 60}, {20, 100}}, 2)};
  struct Case {
    const std::vector<Points>* strokes;
    std::uint8_t cursive;
    std::uint16_t etalon;
    bool out;
  };
  const Case cases[] = {
      {&stacked, 2, 1000, true},   {&stacked, 3, 1000, true},  {&stacked, 1, 1000, false},
      {&stacked, 2, 5560, false},  {&stacked, 2, 5564, false}, {&stacked, 2, 5565, true},
      {&stacked, 2, 10598, false}, {&tall, 2, 1000, false},
  };
  for (const Case& c : cases) {
    test::DrawnGroup drawn(*c.strokes);
    const SymbolGeometryFacts facts = facts_of(drawn);
    EXPECT_EQ(ruled_out(facts, drawn, symbol_of(4, kPlain, 1000, c.etalon, c.cursive)), c.out)
        << (c.strokes == &tall ? "tall " : "stacked ") << int{c.cursive} << " " << c.etalon;
  }
  // One figure never meets the stage.
  test::DrawnGroup single({test::polyline({{0, 0}, {0, 50}}, 2)});
  EXPECT_FALSE(ruled_out(facts_of(single), single, symbol_of(4, kPlain, 1000, 1000, 2)));
}

TEST(SymbolGeometryCheckTest, ANullFigureInTheTallPartStageIsABadArgument) {
  test::DrawnGroup drawn(
      {test::polyline({{0, 0}, {0, 50}}, 2), test::polyline({{0, 60}, {0, 100}}, 2)});
  const SymbolGeometryFacts facts = facts_of(drawn);
  ASSERT_EQ(drawn.group().figures.push_back(nullptr), kOk);
  bool out = true;
  EXPECT_EQ(check_symbol_geometry(facts, drawn.group(), symbol_of(4, kPlain, 1000, 1000, 2), &out),
            kBadArgument);
  EXPECT_FALSE(out);
}

}  // namespace
}  // namespace inkrec

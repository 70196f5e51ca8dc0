#include "engine/rules/letter_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/foundation/status.h"
#include "tests/support/letter_rule_line.h"

namespace inkrec {
namespace {

using test::blot;
using test::polyline;
using test::RuleLine;

// What the rules charged the best answer (its penalty starts at -1).
std::int32_t charged(const LetterResult& r) {
  return r.answers->answers()[0].components[Answer::kPenaltyComponent] + 1;
}
std::uint16_t current(const LetterResult& r) { return r.answers->answers()[0].codes[0]; }
std::uint16_t previous(const LetterResult& r) { return r.answers->answers()[0].saved_codes[0]; }

TEST(LetterRulesTest, ALineWithoutElementsIsLeftAlone) {
  RuleLine line({polyline({{0, 100}, {0, 200}})});
  EXPECT_EQ(line.run(), kOk);
  EXPECT_EQ(line.line().letter_results.size(), 0u);
}

TEST(LetterRulesTest, TheFullStopRuleTakesSmallSquareBlotsOnly) {
  struct Case {
    const char* what;
    int width;
    int height;
    std::uint16_t code;
    bool full_stop;
  };
  const Case cases[] = {
      {"a k written as a blot", 39, 20, 107, true},
      {"as wide as twice its height", 40, 20, 107, false},
      {"as high as twice its width", 20, 40, 107, false},
      {"a code without a rule of its own", 30, 30, 1234, true},
      {"s has no rule of its own", 30, 30, 115, true},
      {"t has no rule of its own", 30, 30, 116, true},
      {"half the letter height across", 60, 60, 107, false},
  };
  for (const Case& c : cases) {
    RuleLine line({blot(0, 140, c.width, c.height)});
    LetterResult& r = line.element({0}, c.code);
    ASSERT_EQ(line.run(), kOk) << c.what;
    EXPECT_EQ(current(r), c.code) << c.what;
    EXPECT_EQ(previous(r), c.full_stop ? 46 : c.code) << c.what;
    EXPECT_EQ(charged(r), c.full_stop ? -1 : 0) << c.what;
  }
}

TEST(LetterRulesTest, ARewrittenAnswerNeverGetsTheFullStop) {
  // A backspace blot at the line's end, hanging below the upper line: the
  // comma alternative makes current and previous codes differ.
  RuleLine line({blot(0, 160, 30, 30)});
  line.admit(8, 44);
  line.read_figure(0);
  LetterResult& r = line.element({0}, 8);
  ASSERT_EQ(line.run(), kOk);
  EXPECT_EQ(previous(r), 44);
  EXPECT_EQ(charged(r), -1);
}

TEST(LetterRulesTest, BrokenElementsStopThePassAndEmptyOnesAreSkipped) {
  RuleLine line({blot(0, 140, 30, 30), blot(100, 140, 30, 30), blot(200, 140, 30, 30)});
  LetterResult& first = line.element({0}, 107);
  line.drawn().result({1}, 0);  // no answer: skipped
  LetterResult& third = line.element({2}, 107);
  ASSERT_EQ(line.run(), kOk);
  EXPECT_EQ(previous(first), 46);
  EXPECT_EQ(previous(third), 46);

  RuleLine broken({blot(0, 140, 30, 30), blot(100, 140, 30, 30)});
  LetterResult& kept = broken.element({0}, 107);
  LetterResult& empty = broken.element({1}, 107);
  empty.figures.clear();
  EXPECT_EQ(broken.run(), kBadArgument);
  EXPECT_EQ(previous(kept), 46);  // the element before keeps its rewrite

  RuleLine with_null({blot(0, 140, 30, 30)});
  ASSERT_EQ(with_null.line().letter_results.push_back(nullptr), kOk);
  EXPECT_EQ(with_null.run(), kBadArgument);
}

TEST(LetterRulesTest, AnEqualBaselinePairIsMeasuredWithoutFailing) {
  RuleLine line({blot(0, 140, 30, 30)});
  LetterResult& r = line.element({0}, 107, 0, 0, ReferenceBand{150, 150, 1});
  EXPECT_EQ(line.run(), kOk);
  EXPECT_EQ(previous(r), 46);
}

TEST(LetterRulesTest, TheBoxOfPointsStartsAtTheFirstPoint) {
  EXPECT_EQ(box_of_points(DynArray<PackedPoint>{}), (Box16{0, 0, 0, 0}));
  DynArray<PackedPoint> points;
  for (const PackedPoint p : {PackedPoint{50, 60}, PackedPoint{40, 90}, PackedPoint{70, 55}}) {
    ASSERT_EQ(points.push_back(p), kOk);
  }
  EXPECT_EQ(box_of_points(points), (Box16{40, 55, 70, 90}));
  DynArray<PackedPoint> one;
  ASSERT_EQ(one.push_back(PackedPoint{-5, 7}), kOk);
  EXPECT_EQ(box_of_points(one), (Box16{-5, 7, -5, 7}));
}

}  // namespace
}  // namespace inkrec

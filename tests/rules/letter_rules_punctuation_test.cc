#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/rules/letter_rules.h"
#include "tests/support/letter_rule_line.h"

namespace inkrec {
namespace {

using test::blot;
using test::expect_rule_case;
using test::Points;
using test::polyline;
using test::RuleCase;
using test::through;

constexpr std::uint32_t kDigits = 3;
constexpr std::uint32_t kRussian = 4;
constexpr std::uint32_t kHebrew = 26;

// A flat stroke in the middle of the band.
const Points kFlat = through({{0, 150}, {60, 150}});
// A stroke hanging from y 155 to 210 with a bend to the right.
const Points kHook = through({{0, 155}, {20, 180}, {0, 210}});
const Points kLater = through({{300, 120}, {300, 200}});

TEST(LetterRulesPunctuationTest, TheEdgeCasesOfThePunctuationRules) {
  const RuleCase cases[] = {
      {.what = "Hebrew: a hyphen gets the backspace at -10000",
       .strokes = {kFlat},
       .code = 45,
       .charsets = {kHebrew},
       .admitted = {{45, 8}},
       .previous = 8,
       .charged = -10000},
      {.what = "Hebrew: a backspace gets the hyphen at -10000",
       .strokes = {kFlat},
       .code = 8,
       .charsets = {kHebrew},
       .admitted = {{8, 45}},
       .previous = 45,
       .charged = -10000},
      {.what = "a hyphen without Hebrew keeps its reading",
       .strokes = {kFlat},
       .code = 45,
       .admitted = {{45, 8}}},
      {.what = "Hebrew: a hyphen the table does not admit keeps its reading",
       .strokes = {kFlat},
       .code = 45,
       .charsets = {kHebrew}},
      {.what = "a backspace hanging low at the line's end gets the comma",
       .strokes = {kHook},
       .code = 8,
       .charsets = {kHebrew},
       .admitted = {{8, 44}, {8, 45}},
       .previous = 44,
       .charged = -1},
      {.what = "a full stop before another element gets the comma without a test",
       .strokes = {blot(0, 185, 12, 12)},
       .code = 46,
       .key = 484,
       .after = {kLater},
       .previous = 44,
       .charged = -1},
      {.what = "a flat, low full stop ending the line gets the hyphen",
       .strokes = {blot(0, 150, 20, 10)},
       .code = 46,
       .key = 484,
       .admitted = {{46, 45}},
       .previous = 45,
       .charged = -10},
      {.what = "a flat full stop ending the line the table does not admit as a hyphen",
       .strokes = {blot(0, 150, 20, 10)},
       .code = 46,
       .key = 484,
       .previous = 46},
      {.what = "Hebrew: a narrow full stop gets the yod",
       .strokes = {blot(0, 185, 12, 12)},
       .code = 46,
       .key = 484,
       .after = {kLater},
       .charsets = {kHebrew},
       .admitted = {{46, 1497}},
       .previous = 1497,
       .charged = -1},
      {.what = "a full stop of another shape id is left to the full-stop rule",
       .strokes = {blot(0, 185, 12, 12)},
       .code = 46,
       .key = 483,
       .after = {kLater},
       .previous = 46,
       .charged = -1},
      {.what = "a closing brace ending the line: comma at +2",
       .strokes = {kHook},
       .code = 125,
       .admitted = {{125, 44}},
       .previous = 44,
       .charged = 2},
      {.what = "a closing brace before another element: comma at -2",
       .strokes = {kHook},
       .code = 125,
       .after = {kLater},
       .admitted = {{125, 44}},
       .previous = 44,
       .charged = -2},
      {.what = "a closing brace the letter evaluation did not read on its own",
       .strokes = {kHook},
       .code = 125,
       .admitted = {{125, 44}},
       .figure_read = false},
      {.what = "a comma: Hebrew yod",
       .strokes = {kHook},
       .code = 44,
       .key = 485,
       .charsets = {kHebrew},
       .admitted = {{44, 1497}, {44, 46}},
       .previous = 1497,
       .charged = -1},
      {.what = "a comma: full stop without Hebrew",
       .strokes = {kHook},
       .code = 44,
       .key = 485,
       .admitted = {{44, 1497}, {44, 46}},
       .previous = 46,
       .charged = -1},
      {.what = "an apostrophe more than twice as wide as high: hyphen",
       .strokes = {through({{0, 150}, {60, 160}})},
       .code = 39,
       .admitted = {{39, 45}},
       .previous = 45,
       .charged = -1},
      {.what = "a tilde: hyphen at +1",
       .strokes = {polyline({{0, 150}, {15, 140}, {30, 150}, {45, 140}}, 5)},
       .code = 126,
       .admitted = {{126, 45}},
       .previous = 45,
       .charged = 1},
      {.what = "Russian: an asterisk inside the band is a Ж",
       .strokes = {through({{0, 110}, {0, 190}})},
       .code = 42,
       .charsets = {kRussian},
       .admitted = {{42, 1078}},
       .current = 1046,
       .previous = 42,
       .charged = -200},
      {.what = "Russian: a tall asterisk is a ж",
       .strokes = {through({{0, 60}, {0, 220}})},
       .code = 42,
       .charsets = {kRussian},
       .admitted = {{42, 1078}},
       .current = 1078,
       .previous = 42,
       .charged = -200},
      {.what = "an asterisk without Russian",
       .strokes = {through({{0, 60}, {0, 220}})},
       .code = 42,
       .admitted = {{42, 1078}}},
  };
  for (const RuleCase& c : cases) expect_rule_case(c);
}

TEST(LetterRulesPunctuationTest, SlashAndDigitOneByTheHeightOfTallLetters) {
  // refh = 150: a stick under 165 high (110 %) is a one where digits are
  // written; a one of 165 or more leaning right of 109 degrees is a slash.
  const RuleCase cases[] = {
      {.what = "a slash stick 164 high with digits: one",
       .strokes = {through({{0, 50}, {0, 213}})},
       .code = 47,
       .charsets = {kDigits},
       .current = 49,
       .previous = 47},
      {.what = "a slash stick exactly 165 high stays a slash",
       .strokes = {through({{0, 50}, {0, 214}})},
       .code = 47,
       .charsets = {kDigits}},
      {.what = "a slash stick without digits stays a slash",
       .strokes = {through({{0, 50}, {0, 213}})},
       .code = 47},
      {.what = "a tall, leaning one: slash",
       .strokes = {through({{100, 40}, {30, 220}})},
       .code = 49,
       .current = 47,
       .previous = 49},
      {.what = "a tall upright one stays a one",
       .strokes = {through({{0, 40}, {0, 220}})},
       .code = 49},
      {.what = "a short leaning one stays a one",
       .strokes = {through({{60, 100}, {20, 200}})},
       .code = 49},
  };
  for (const RuleCase& c : cases) expect_rule_case(c);
}

TEST(LetterRulesPunctuationTest, AOneFarTallerThanTheStrokesBesideItIsASlash) {
  test::RuleLine line({through({{0, 150}, {0, 200}}), through({{100, 60}, {40, 200}}),
                       through({{200, 150}, {200, 200}})});
  LetterResult& one = line.element({1}, 49);
  ASSERT_EQ(line.run(), kOk);
  EXPECT_EQ(one.answers->answers()[0].codes[0], 47);
}

TEST(LetterRulesPunctuationTest, ColonAndSemicolonByTheirLowerMark) {
  const Points dot = blot(0, 120, 10, 10);
  const RuleCase cases[] = {
      {.what = "a colon with a tail below: semicolon without a test",
       .strokes = {dot, through({{5, 180}, {0, 215}})},
       .code = 58,
       .current = 59,
       .previous = 58},
      {.what = "a colon with a round dot below stays a colon",
       .strokes = {dot, blot(0, 180, 10, 10)},
       .code = 58},
      {.what = "a semicolon with a round dot below: the table has no pair for it",
       .strokes = {dot, blot(0, 180, 10, 10)},
       .code = 59,
       .admitted = {{59, 58}}},
      {.what = "a colon over a stem: the table has no pair for an i",
       .strokes = {dot, through({{5, 130}, {5, 215}})},
       .code = 58,
       .admitted = {{58, 105}, {58, 106}}},
  };
  for (const RuleCase& c : cases) expect_rule_case(c);
}

}  // namespace
}  // namespace inkrec

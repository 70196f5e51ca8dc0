#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/rules/letter_rules.h"
#include "tests/support/letter_rule_line.h"

namespace inkrec {
namespace {

using test::blot;
using test::circle;
using test::expect_rule_case;
using test::Points;
using test::RuleCase;
using test::through;

// The corners of a stroke drawn through them, every 5 units.
// A stem from y0 to y1 at x 5.
Points stem(int y0, int y1) {
  return through({{5, static_cast<std::int16_t>(y0)}, {5, static_cast<std::int16_t>(y1)}});
}

TEST(LetterRulesLatinTest, AJBecomesAnIByItsHeightAndItsStemBelowTheLine) {
  // ref 100, lower line 200; p = 100 * (stem bottom - 200) / height.
  const RuleCase cases[] = {
      {.what = "136 high, stem 5 below the line",
       .strokes = {stem(90, 205), blot(0, 70, 10, 10)},
       .code = 106,
       .admitted = {{106, 105}},
       .current = 105,
       .previous = 106},
      {.what = "140 high, p = 25: a j",
       .strokes = {stem(110, 235), blot(0, 96, 10, 10)},
       .code = 106,
       .admitted = {{106, 105}}},
      {.what = "138 high, p = 23: an i",
       .strokes = {stem(110, 233), blot(0, 96, 10, 10)},
       .code = 106,
       .admitted = {{106, 105}},
       .current = 105,
       .previous = 106},
      {.what = "exactly 125 high, p = 36: a j",
       .strokes = {stem(130, 245), blot(0, 121, 10, 10)},
       .code = 106,
       .admitted = {{106, 105}}},
      {.what = "124 high, p = 36: an i whatever its stem",
       .strokes = {stem(130, 244), blot(0, 121, 10, 10)},
       .code = 106,
       .admitted = {{106, 105}},
       .current = 105,
       .previous = 106},
      {.what = "156 high: a j",
       .strokes = {stem(75, 215), blot(0, 60, 10, 10)},
       .code = 106,
       .admitted = {{106, 105}}},
      {.what = "a short j of shape key 85 is left alone",
       .strokes = {stem(90, 205), blot(0, 70, 10, 10)},
       .code = 106,
       .key = 85,
       .admitted = {{106, 105}}},
      {.what = "a short j the table does not admit",
       .strokes = {stem(90, 205), blot(0, 70, 10, 10)},
       .code = 106},
  };
  for (const RuleCase& c : cases) expect_rule_case(c);
}

TEST(LetterRulesLatinTest, AnIWithALongStemBelowTheLineIsAJ) {
  const RuleCase cases[] = {
      {.what = "stem 100 below the line, 261 high",
       .strokes = {stem(55, 300), blot(0, 40, 10, 10)},
       .code = 105,
       .admitted = {{105, 106}},
       .current = 106,
       .previous = 105,
       .charged = -100},
      {.what = "stem only a quarter below the line",
       .strokes = {stem(55, 250), blot(0, 40, 10, 10)},
       .code = 105,
       .admitted = {{105, 106}}},
  };
  for (const RuleCase& c : cases) expect_rule_case(c);
}

TEST(LetterRulesLatinTest, AnHBecomesAnNOrAK) {
  const Points short_stem = through({{0, 100}, {0, 200}});
  const Points arch = through({{0, 150}, {0, 110}, {40, 110}, {40, 200}});
  const Points tall_stem_flicked = through({{0, 40}, {0, 200}, {30, 200}});
  const Points angle = through({{30, 130}, {5, 165}, {35, 200}});
  const RuleCase cases[] = {
      {.what = "two strokes no taller than the letters: n",
       .strokes = {short_stem, arch},
       .code = 104,
       .admitted = {{104, 110}, {104, 107}},
       .current = 110,
       .previous = 104,
       .charged = -200},
      {.what = "one stroke, short and wide, its shoulder low: n",
       .strokes = {through({{0, 100}, {0, 200}, {40, 130}, {80, 200}})},
       .code = 104,
       .admitted = {{104, 110}},
       .current = 110,
       .previous = 104,
       .charged = -200},
      {.what = "one stroke with a tall stem: h",
       .strokes = {through({{0, 40}, {0, 200}, {20, 130}, {40, 200}})},
       .code = 104,
       .admitted = {{104, 110}}},
      {.what = "a tall stem and an arch: h",
       .strokes = {through({{0, 40}, {0, 200}}), arch},
       .code = 104,
       .admitted = {{104, 110}, {104, 107}}},
      {.what = "a tall stem with a low angle beside it: k",
       .strokes = {tall_stem_flicked, angle},
       .code = 104,
       .admitted = {{104, 110}, {104, 107}},
       .current = 107,
       .previous = 104},
      {.what = "the same without the pair (104, 107)",
       .strokes = {tall_stem_flicked, angle},
       .code = 104,
       .admitted = {{104, 110}}},
  };
  for (const RuleCase& c : cases) expect_rule_case(c);
}

TEST(LetterRulesLatinTest, ANarrowAStartedLikeATIsAT) {
  const RuleCase cases[] = {
      {.what = "down from the top, then a flick",
       .strokes = {through({{10, 100}, {10, 200}, {20, 190}})},
       .code = 65,
       .shape = 3,
       .admitted = {{65, 116}},
       .current = 116,
       .previous = 65},
      {.what = "of another shape",
       .strokes = {through({{10, 100}, {10, 200}, {20, 190}})},
       .code = 65,
       .shape = 5,
       .admitted = {{65, 116}}},
      {.what = "up from the bottom and down again",
       .strokes = {through({{0, 200}, {10, 100}, {20, 200}})},
       .code = 65,
       .shape = 4,
       .admitted = {{65, 116}}},
  };
  for (const RuleCase& c : cases) expect_rule_case(c);
}

TEST(LetterRulesLatinTest, ATwoStrokeEBegunAsAStemIsAT) {
  const Points stem = through({{20, 100}, {20, 200}, {35, 195}});
  const Points bracket = through({{40, 100}, {0, 100}, {0, 200}, {40, 200}});
  const Points narrow_stem = through({{24, 100}, {20, 200}});
  const Points bar = through({{0, 130}, {45, 130}});
  const RuleCase cases[] = {
      {.what = "a stem begun in its left third, then a bar: t",
       .strokes = {stem, bar},
       .code = 69,
       .admitted = {{69, 116}},
       .current = 116,
       .previous = 69,
       .charged = -200},
      {.what = "a narrow stem begun at its right, then a bar: t",
       .strokes = {narrow_stem, bar},
       .code = 69,
       .admitted = {{69, 116}},
       .current = 116,
       .previous = 69,
       .charged = -200},
      {.what = "a bracket begun at its top arm's right end stays",
       .strokes = {bracket, bar},
       .code = 69,
       .admitted = {{69, 116}}},
      {.what = "a second stroke as tall as a third of the stem stays",
       .strokes = {stem, through({{0, 130}, {45, 165}})},
       .code = 69,
       .admitted = {{69, 116}}},
      {.what = "three strokes stay",
       .strokes = {stem, bar, through({{0, 200}, {45, 200}})},
       .code = 69,
       .admitted = {{69, 116}}},
      {.what = "a stem and a bar beside other ink stay",
       .strokes = {stem, bar},
       .code = 69,
       .after = {through({{200, 100}, {200, 200}})},
       .admitted = {{69, 116}}},
      {.what = "a stem and a bar stay while the table has no pair for a t",
       .strokes = {stem, bar},
       .code = 69},
  };
  for (const RuleCase& c : cases) expect_rule_case(c);
}

TEST(LetterRulesLatinTest, ATwoStrokeICrossedBelowItsTopIsAT) {
  const Points upright = stem(100, 220);  // 121 high: a twelfth is 10
  const RuleCase cases[] = {
      {.what = "a bar 20 below the top: t",
       .strokes = {upright, through({{0, 120}, {40, 120}})},
       .code = 73,
       .admitted = {{73, 116}},
       .current = 116,
       .previous = 73,
       .charged = -200},
      {.what = "the bar drawn first: t",
       .strokes = {through({{0, 120}, {40, 120}}), upright},
       .code = 73,
       .admitted = {{73, 116}},
       .current = 116,
       .previous = 73,
       .charged = -200},
      {.what = "a bar 10 below the top stays",
       .strokes = {upright, through({{0, 110}, {40, 110}})},
       .code = 73,
       .admitted = {{73, 116}}},
      {.what = "a bar across the stem's lower half stays (a q's descender)",
       .strokes = {upright, through({{0, 190}, {40, 190}})},
       .code = 73,
       .admitted = {{73, 116}}},
      {.what = "a stem and a bar beside other ink stay",
       .strokes = {upright, through({{0, 120}, {40, 120}})},
       .code = 73,
       .after = {through({{200, 100}, {200, 200}})},
       .admitted = {{73, 116}}},
      {.what = "a bar on the top stays",
       .strokes = {upright, through({{0, 100}, {40, 100}})},
       .code = 73,
       .admitted = {{73, 116}}},
      {.what = "a second stroke as tall as a third of the stem stays",
       .strokes = {upright, through({{0, 120}, {40, 160}})},
       .code = 73,
       .admitted = {{73, 116}}},
      {.what = "a bar below the top stays while the table has no pair for a t",
       .strokes = {upright, through({{0, 120}, {40, 120}})},
       .code = 73},
  };
  for (const RuleCase& c : cases) expect_rule_case(c);
}

TEST(LetterRulesLatinTest, MFAndTheRowsOfOneStroke) {
  const Points n_with_lead =
      through({{0, 150}, {10, 100}, {20, 200}, {40, 100}, {60, 200}, {70, 190}});
  const Points v_shape = through({{0, 100}, {30, 200}, {60, 100}});
  const Points r_shape = through({{0, 100}, {0, 200}, {0, 140}, {20, 110}, {50, 105}});
  const Points h_shape = through({{0, 40}, {0, 200}, {0, 150}, {20, 130}, {40, 150}, {40, 200}});
  const Points g_shape =
      through({{40, 110}, {0, 110}, {0, 150}, {40, 150}, {40, 110}, {40, 250}, {0, 240}});
  const Points cup = through({{0, 100}, {0, 200}, {40, 200}, {40, 100}, {40, 200}});
  const Points cup_with_tail = through({{0, 100}, {0, 200}, {40, 200}, {40, 100}, {40, 230}});
  const Points s_shape = through({{40, 110}, {0, 110}, {0, 150}, {40, 150}, {40, 200}, {0, 200}});
  const Points e_shape = through({{0, 150}, {40, 150}, {40, 110}, {0, 110}, {0, 200}, {40, 200}});
  const Points c_shape = through({{40, 100}, {0, 100}, {0, 200}, {40, 200}});
  const RuleCase cases[] = {
      {.what = "an m of three turns with a lead-in: n",
       .strokes = {n_with_lead},
       .code = 109,
       .shape = 257,
       .admitted = {{109, 110}},
       .current = 110,
       .previous = 109},
      {.what = "an f of shape key 4948: t as an alternative",
       .strokes = {through({{0, 40}, {0, 200}})},
       .code = 102,
       .key = 4948,
       .admitted = {{102, 116}},
       .previous = 116,
       .charged = -120},
      {.what = "an r whose lowest point lies in the middle: v",
       .strokes = {v_shape},
       .code = 114,
       .admitted = {{114, 118}},
       .current = 118,
       .previous = 114},
      {.what = "a v whose lowest point is its stem's: r",
       .strokes = {r_shape},
       .code = 118,
       .admitted = {{118, 114}},
       .current = 114,
       .previous = 118},
      {.what = "a V like a v stays", .strokes = {v_shape}, .code = 86, .admitted = {{86, 114}}},
      {.what = "a tall u started at the top: h, charged by its height",
       .strokes = {h_shape},
       .code = 117,
       .shape = 203,
       .admitted = {{117, 104}},
       .current = 104,
       .previous = 117,
       .charged = -223},
      {.what = "a y begun with a round body: g",
       .strokes = {g_shape},
       .code = 121,
       .admitted = {{121, 103}},
       .current = 103,
       .previous = 121,
       .charged = -200},
      {.what = "a у ending in a short tail at its right: ц",
       .strokes = {cup_with_tail},
       .code = 1091,
       .admitted = {{1091, 1094}},
       .current = 1094,
       .previous = 1091},
      {.what = "an a closing on itself: o",
       .strokes = {circle(20, 150, 20, false)},
       .code = 97,
       .admitted = {{97, 111}},
       .current = 111,
       .previous = 97},
      {.what = "an a drawn as a cup: u",
       .strokes = {cup},
       .code = 97,
       .admitted = {{97, 111}, {97, 117}},
       .current = 117,
       .previous = 97,
       .charged = -300},
      {.what = "a g of shape 116 staying on the line: s",
       .strokes = {s_shape},
       .code = 103,
       .shape = 116,
       .admitted = {{103, 115}},
       .current = 115,
       .previous = 103},
      {.what = "a g of another shape",
       .strokes = {s_shape},
       .code = 103,
       .shape = 117,
       .admitted = {{103, 115}}},
      {.what = "a c begun with a bar: e",
       .strokes = {e_shape},
       .code = 99,
       .admitted = {{99, 101}},
       .current = 101,
       .previous = 99,
       .charged = -200},
      {.what = "a c begun with a bar beside other ink stays",
       .strokes = {e_shape},
       .code = 99,
       .after = {stem(100, 200)},
       .admitted = {{99, 101}}},
      {.what = "a с begun with a bar: е",
       .strokes = {e_shape},
       .code = 1089,
       .admitted = {{1089, 1077}},
       .current = 1077,
       .previous = 1089,
       .charged = -200},
      {.what = "an е begun at the top right: с",
       .strokes = {c_shape},
       .code = 1077,
       .admitted = {{1077, 1089}},
       .current = 1089,
       .previous = 1077},
      {.what = "a tall e: l",
       .strokes = {through({{0, 30}, {0, 200}})},
       .code = 101,
       .admitted = {{101, 108}},
       .current = 108,
       .previous = 101,
       .charged = -200},
      {.what = "a short l of shape 142: e",
       .strokes = {e_shape},
       .code = 108,
       .shape = 142,
       .admitted = {{108, 101}},
       .current = 101,
       .previous = 108,
       .charged = -200},
      {.what = "an e begun at the top right: c",
       .strokes = {c_shape},
       .code = 101,
       .admitted = {{101, 99}},
       .current = 99,
       .previous = 101,
       .charged = -200},
  };
  for (const RuleCase& c : cases) expect_rule_case(c);
}

TEST(LetterRulesLatinTest, AnLWrittenAloneIsAnEWhenItsLoopIsWide) {
  // Alone, the line's letter height is the letter's own: only the loop's
  // proportions part an e from a looped l.
  const Points wide_loop =
      through({{0, 150}, {80, 150}, {80, 110}, {0, 110}, {0, 200}, {80, 200}});
  const Points tall_loop = through({{0, 200}, {30, 60}, {15, 30}, {0, 60}, {20, 200}});
  const Points stem = through({{200, 100}, {200, 200}});
  const RuleCase cases[] = {
      {.what = "a wide loop alone: e",
       .strokes = {wide_loop},
       .code = 108,
       .admitted = {{108, 101}},
       .current = 101,
       .previous = 108,
       .charged = -200},
      {.what = "a tall loop alone stays",
       .strokes = {tall_loop},
       .code = 108,
       .admitted = {{108, 101}}},
      {.what = "a wide loop beside other ink stays",
       .strokes = {wide_loop},
       .code = 108,
       .after = {stem},
       .admitted = {{108, 101}}},
      {.what = "a wide loop alone stays while the table has no pair for an e",
       .strokes = {wide_loop},
       .code = 108},
  };
  for (const RuleCase& c : cases) expect_rule_case(c);
}

}  // namespace
}  // namespace inkrec

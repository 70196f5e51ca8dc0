#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/rules/letter_rules.h"
#include "tests/support/letter_rule_line.h"

namespace inkrec {
namespace {

using test::circle;
using test::expect_rule_case;
using test::Points;
using test::RuleCase;
using test::through;

constexpr std::uint32_t kHebrew = 26;

TEST(LetterRulesHebrewTest, VavYodAndFinalNunByTheirPlaceInTheBand) {
  // Band 100..200 (B = 100). A stick from 120 to 270 reaches far below the
  // band (band offset -45, 151 high); a tick from 100 to 140 sits high in
  // it (+30, 41 across); a stick from 100 to 200 fills it (0, 101 across).
  const Points below = through({{0, 120}, {0, 270}});
  const Points high = through({{0, 100}, {0, 140}});
  const Points filling = through({{0, 100}, {0, 200}});
  struct Row {
    const char* what;
    Points ink;
    std::uint16_t code;
    std::uint16_t result;  // 0: left as read
  };
  const Row rows[] = {
      {"ו far below the band: ן", below, 1493, 1503},
      {"י far below the band: ן", below, 1497, 1503},
      {"ן far below the band", below, 1503, 0},
      {"ר far below the band", below, 1512, 0},
      {"ו high in the band: י", high, 1493, 1497},
      {"ן high in the band: י", high, 1503, 1497},
      {"ר high in the band: the table has no pair for it", high, 1512, 0},
      {"י high in the band", high, 1497, 0},
      {"י filling the band: ו", filling, 1497, 1493},
      {"ן filling the band: ו", filling, 1503, 1493},
      {"ר filling the band", filling, 1512, 0},
      {"ו filling the band", filling, 1493, 0},
  };
  const std::vector<std::pair<std::int32_t, std::int32_t>> every_pair = {
      {1493, 1497}, {1493, 1503}, {1497, 1493}, {1497, 1503},
      {1503, 1493}, {1503, 1497}, {1512, 1497}};
  for (const Row& row : rows) {
    expect_rule_case({.what = row.what,
                      .strokes = {row.ink},
                      .code = row.code,
                      .charsets = {kHebrew},
                      .admitted = every_pair,
                      .current = row.result});
  }
  expect_rule_case({.what = "without the pair in the table",
                    .strokes = {below},
                    .code = 1493,
                    .charsets = {kHebrew}});
  expect_rule_case({.what = "without baselines",
                    .strokes = {below},
                    .code = 1493,
                    .charsets = {kHebrew},
                    .admitted = every_pair,
                    .band = ReferenceBand{}});
}

TEST(LetterRulesGreekTest, IotaAndSigmaGivenInFull) {
  const Points bar = through({{0, 100}, {60, 100}});
  const Points stem = through({{30, 100}, {30, 200}});
  const RuleCase cases[] = {
      {.what = "ί of a bar over a stem: τ",
       .strokes = {bar, stem},
       .code = 943,
       .key = 1630,
       .admitted = {{943, 964}},
       .current = 964,
       .previous = 943},
      {.what = "ί whose bar covers only the left half",
       .strokes = {through({{0, 100}, {30, 100}}), through({{45, 100}, {45, 200}})},
       .code = 943,
       .key = 1630,
       .admitted = {{943, 964}}},
      {.what = "ί of another shape",
       .strokes = {bar, stem},
       .code = 943,
       .key = 1631,
       .admitted = {{943, 964}}},
      {.what = "σ (4852) closed at the top: ο",
       .strokes = {through({{10, 100}, {50, 100}, {50, 140}, {10, 140}, {10, 100}})},
       .code = 963,
       .key = 4852,
       .admitted = {{963, 959}, {963, 945}},
       .current = 959,
       .previous = 963},
      {.what = "σ (4852) ending low at the right: α",
       .strokes = {through({{50, 100}, {10, 100}, {10, 140}, {50, 140}, {50, 100}, {60, 150}})},
       .code = 963,
       .key = 4852,
       .admitted = {{963, 959}, {963, 945}},
       .current = 945,
       .previous = 963},
      {.what = "σ (4853) without narrow rows: ο",
       .strokes = {through({{10, 100}, {50, 100}, {50, 140}, {10, 140}, {10, 100}})},
       .code = 963,
       .key = 4853,
       .admitted = {{963, 959}},
       .current = 959,
       .previous = 963},
      {.what = "σ (4853) of a single stick is all narrow rows",
       .strokes = {through({{10, 100}, {10, 140}})},
       .code = 963,
       .key = 4853,
       .admitted = {{963, 959}}},
  };
  for (const RuleCase& c : cases) expect_rule_case(c);
}

TEST(LetterRulesGreekTest, TheRowsOfOwnTests) {
  const RuleCase cases[] = {
      {.what = "α of a long leg drawn down first: λ",
       .strokes = {through({{0, 100}, {40, 200}, {20, 150}, {0, 200}})},
       .code = 945,
       .key = 4599,
       .admitted = {{945, 955}},
       .current = 955,
       .previous = 945},
      {.what = "Α the same: λ",
       .strokes = {through({{0, 100}, {40, 200}, {20, 150}, {0, 200}})},
       .code = 913,
       .key = 4802,
       .admitted = {{913, 955}},
       .current = 955,
       .previous = 913},
      {.what = "α begun at its side",
       .strokes = {circle(20, 150, 20, false)},
       .code = 945,
       .key = 4599,
       .admitted = {{945, 955}}},
      {.what = "Λ with a bar on top: π",
       .strokes = {through({{0, 100}, {60, 105}}), through({{10, 105}, {10, 200}})},
       .code = 923,
       .admitted = {{923, 960}},
       .current = 960,
       .previous = 923},
      {.what = "ο with a short mark at the right: α",
       .strokes = {circle(20, 150, 20, false), through({{50, 145}, {55, 160}})},
       .code = 959,
       .admitted = {{959, 945}, {959, 965}, {959, 952}},
       .current = 945,
       .previous = 959},
      {.what = "ο of two strokes meeting at the bottom only: υ",
       .strokes = {through({{0, 100}, {20, 200}}), through({{40, 100}, {22, 200}})},
       .code = 959,
       .admitted = {{959, 945}, {959, 965}, {959, 952}},
       .current = 965,
       .previous = 959},
      {.what = "Ο with a bar across its middle: θ",
       .strokes = {circle(20, 150, 20, false), through({{0, 150}, {40, 151}})},
       .code = 927,
       .admitted = {{927, 945}, {927, 965}, {927, 952}},
       .current = 952,
       .previous = 927},
      {.what = "Υ with a long stem at the left: μ",
       .strokes = {through({{0, 100}, {0, 260}}), through({{0, 150}, {40, 100}})},
       .code = 933,
       .admitted = {{933, 956}},
       .current = 956,
       .previous = 933},
      {.what = "φ without an ascender: ρ",
       .strokes = {through({{20, 250}, {20, 100}, {40, 120}, {20, 150}})},
       .code = 966,
       .key = 4856,
       .admitted = {{966, 961}},
       .current = 961,
       .previous = 966},
      {.what = "φ with an ascender",
       .strokes = {through({{20, 250}, {20, 50}, {40, 120}, {20, 150}})},
       .code = 966,
       .key = 4856,
       .admitted = {{966, 961}}},
  };
  for (const RuleCase& c : cases) expect_rule_case(c);
}

TEST(LetterRulesGreekTest, TheEnclosedLettersHaveNoPairInTheTable) {
  // ⒩ and ⒲ ask the table for (9385, 72) and (9394, 72), which it lacks:
  // with the shape keys they test they stay as read.
  for (const auto& [code, key] :
       {std::pair<std::uint16_t, std::uint16_t>{9385, 5568}, {9385, 5570}, {9394, 5579}}) {
    expect_rule_case({.what = "an enclosed letter",
                      .strokes = {through({{0, 100}, {0, 200}, {40, 100}, {40, 200}})},
                      .code = code,
                      .key = key,
                      .admitted = {{code, 72}}});
  }
}

}  // namespace
}  // namespace inkrec

// The letter case of single letters by their height on their line.
#include "engine/segmentation/letter_case.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "tests/support/drawn_line.h"

namespace inkrec {
namespace {

using test::DrawnLine;
using test::polyline;

// A reading of 'x' whose upper case is 'X'.
Answer reading(std::uint8_t case_kind, std::uint32_t choice = 0) {
  Answer answer = Answer::from_code(u'x');
  answer.codes[2] = u'X';
  answer.case_kind = case_kind;
  answer.code_choice = choice;
  return answer;
}

struct Letter {
  int top;
  int bottom;
  std::uint8_t case_kind;
  std::uint32_t prior_choice = 0;
  bool box_flag = false;  // the reading reads the element's own box, 60..120
};

struct Outcome {
  std::uint32_t choice;
  char16_t code;
  friend bool operator==(const Outcome&, const Outcome&) = default;
};

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
  return out << "choice " << o.choice << " '" << static_cast<char>(o.code) << "'";
}

const Outcome kUpper{1, u'X'};
const Outcome kLower{2, u'x'};

struct Case {
  std::string name;
  Letter letter;
  Outcome outcome;
};

// The letter alone on a line whose baseline pair is 80 (upper line) and
// 100 (baseline), with a body height of `body` once measured (0: not
// measured; the line set's letter height is 20). With `word_start` the
// letter then starts a word the list holds in lower case only.
Outcome choose(const Letter& letter, std::int16_t body = 20, bool fixed_case = false,
               bool word_start = false) {
  const auto top = static_cast<std::int16_t>(letter.top);
  const auto bottom = static_cast<std::int16_t>(letter.bottom);
  DrawnLine drawn({polyline({{0, bottom}, {0, top}, {15, top}}, 5)}, 20);
  if (body > 0) {
    drawn.line().body_height = body;
    drawn.line().set_part_flag(1);
  }
  ReferenceBand band;
  band.top = 80;
  band.bottom = 100;
  band.is_set = 1;
  LetterResult& element = drawn.result({0}, 0, &band);
  element.box.top = 60;
  element.box.bottom = 120;
  Answer answer = reading(letter.case_kind, letter.prior_choice);
  answer.box_flag = letter.box_flag ? 1 : 0;
  EXPECT_EQ(element.answers->insert(answer), kOk);
  drawn.kernel().params_.strict_switch = fixed_case ? 1 : 0;
  EXPECT_EQ(choose_letter_case(drawn.context(), element), kOk);
  if (word_start) {
    EXPECT_EQ(lower_small_capital(drawn.context(), element, 0), kOk);
  }
  return {element.answers->answers()[0].code_choice, element.answers->best_code()};
}

// Body 20: small is at most 14 high (0.7), big at least 34 (1.7).
TEST(LetterCaseTest, SingleLettersTakeTheirCaseByHeight) {
  const std::vector<Case> cases = {
      {"kind 2 is always upper case", {87, 100, 2}, kUpper},
      {"kind 4 small", {87, 100, 4}, kLower},
      {"kind 4 not small", {86, 100, 4}, kUpper},
      {"kind 3 big", {67, 100, 3}, kUpper},
      {"kind 3 not big", {68, 100, 3}, kLower},
      {"kind 5 big", {67, 100, 5}, kUpper},
      {"kind 5 body high", {81, 100, 5}, kLower},
      {"kind 0 big", {40, 100, 0}, kLower},
      {"kind 1 big", {40, 100, 1}, kLower},
      {"kind 6 big", {40, 100, 6}, kLower},
      {"an unknown kind", {40, 100, 9}, kLower},
      // a letter reaching below the baseline is measured from the baseline
      {"a descender of body height", {80, 120, 3}, kLower},
      {"a tall descender", {60, 120, 3}, kUpper},
      {"a reading with a choice keeps it", {40, 100, 3, 2}, {2, u'x'}},
      // the element's own box reaches below the baseline where the
      // geometry's does not
      {"the reading's own box", {81, 100, 3, 0, true}, kUpper},
      {"the geometry's box", {81, 100, 3, 0, false}, kLower},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(choose(c.letter), c.outcome);
  }
}

// Body 20: a capital way of writing at a word's start below 30 high (1.5)
// is a small letter written in the shape of its capital.
TEST(LetterCaseTest, ACapitalWayOfWritingStartsAWordInLowerCaseUnlessItStandsTall) {
  const std::vector<Case> cases = {
      {"kind 2 of body height", {80, 100, 2}, kLower},
      {"kind 2 just under one and a half bodies", {72, 100, 2}, kLower},
      {"kind 2 one and a half bodies", {71, 100, 2}, kUpper},
      {"kind 2 tall", {60, 100, 2}, kUpper},
      {"a descender measured from the baseline", {80, 120, 2}, kLower},
      {"kind 3 big keeps its choice", {67, 100, 3}, kUpper},
      {"kind 4 not small keeps its choice", {80, 100, 4}, kUpper},
      {"kind 0 keeps its choice", {60, 100, 0}, kLower},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(choose(c.letter, 20, false, true), c.outcome);
  }
}

TEST(LetterCaseTest, ASmallCapitalAtAMissingReadingIsReported) {
  DrawnLine drawn({polyline({{0, 100}, {0, 80}})}, 20);
  LetterResult& element = drawn.result({0}, 0);
  ASSERT_EQ(element.answers->insert(reading(2)), kOk);
  EXPECT_EQ(lower_small_capital(drawn.context(), element, 1), kBadArgument);
}

// Before the body of the line is measured the letter is compared with the
// line set's letter height: a body-high letter of kind 3 stays lower case
// (compared with the unmeasured body height of 1 it would be big).
TEST(LetterCaseTest, AnUnmeasuredLineComparesWithTheLetterHeight) {
  EXPECT_EQ(choose({80, 100, 3}, 0), kLower);
  EXPECT_EQ(choose({60, 100, 3}, 0), kUpper);
}

TEST(LetterCaseTest, FixedCaseMakesEveryChoiceLowerCase) {
  EXPECT_EQ(choose({60, 100, 2, 1}, 20, true), kLower);
}

// The output and the letter results of every line all get their case.
TEST(LetterCaseTest, EveryCandidateGetsItsCase) {
  DrawnLine drawn({polyline({{0, 100}, {0, 80}}), polyline({{40, 100}, {40, 60}})}, 20, {0, 1});
  PtrArray<FigureGroup> output;
  LetterResult& first = drawn.result({0}, 0);
  LetterResult& second = drawn.result({1}, 0);
  for (LetterResult* result : {&first, &second}) {
    ASSERT_EQ(result->answers->insert(reading(2)), kOk);
  }
  ASSERT_EQ(output.push_back(&first), kOk);
  ASSERT_EQ(check_all_candidates(drawn.context(), output), kOk);
  EXPECT_EQ(first.answers->answers()[0].code_choice, 1u);
  EXPECT_EQ(second.answers->answers()[0].code_choice, 1u);
  ASSERT_EQ(output.push_back(nullptr), kOk);
  EXPECT_EQ(check_all_candidates(drawn.context(), output), kBadArgument);
}

}  // namespace
}  // namespace inkrec

#include "engine/rules/pair_scoring.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
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

constexpr std::int32_t kSize = 100;

Piece line_piece(const test::Points& corners, std::uint16_t stroke, std::uint16_t piece = 0) {
  return Piece{polyline(corners), stroke, piece};
}

Piece stem(std::int16_t x, std::int16_t top, std::int16_t bottom, std::uint16_t stroke) {
  return line_piece({{x, top}, {x, bottom}}, stroke);
}

// A small round mark (a full stop, a dot) about (x, y).
Piece dot(std::int16_t x, std::int16_t y, std::uint16_t stroke) {
  return Piece{test::circle(x, y, 4, true, 12), stroke, 0};
}

// An "x" of two crossing strokes over the box left..left+w, top..top+h.
std::vector<Piece> cross(std::int16_t left, std::int16_t top, std::int16_t w, std::int16_t h,
                         std::uint16_t first_stroke) {
  const auto right = static_cast<std::int16_t>(left + w);
  const auto bottom = static_cast<std::int16_t>(top + h);
  return {line_piece({{left, top}, {right, bottom}}, first_stroke),
          line_piece({{right, top}, {left, bottom}}, static_cast<std::uint16_t>(first_stroke + 1))};
}

// The score of the pair read through the first answers, with its
// breakdown record.
struct Scored {
  int status = kOk;
  std::int32_t total = 0;
  PairScoreRecord record;
};

Scored score(PairRuleCase& c, int flag = 0, int position = 0) {
  PairScoreBreakdown breakdown;
  Scored out;
  out.status = score_element_pair(c.a(), c.b(), 0, 0, kSize, 90, position, &out.total,
                                  c.context(), &breakdown, flag);
  EXPECT_EQ(breakdown.records.size(), 1u);
  if (!breakdown.records.empty()) out.record = breakdown.records[0];
  return out;
}

std::int32_t slot_sum(const PairScoreRecord& r) {
  std::int32_t sum = 0;
  for (std::int32_t v : r.slots) sum += v;
  return sum;
}

TEST(PairScoringTest, FullStopsAndQuotesAgainstTheirNeighbour) {
  struct Case {
    std::string name;
    Side a;
    Side b;
    std::int32_t punctuation;  // slot 2
  };
  const std::vector<Case> cases = {
      // A full stop written under the letter before it (straight up from
      // the stop to the letter) and one at the letter's foot to its right.
      {"stop below the letter", Side{{dot(100, 260, 1)}, u'.'}, Side{{stem(100, 100, 200, 0)}, u'l'},
       -1800},
      {"stop after the letter", Side{{dot(130, 196, 1)}, u'.'}, Side{{stem(100, 100, 200, 0)}, u'l'},
       0},
      // A letter written straight above an earlier full stop.
      {"letter over a stop", Side{{stem(100, 100, 200, 1)}, u'l'}, Side{{dot(100, 260, 0)}, u'.'},
       -1800},
      // Two apostrophes side by side: a double quote written in two.
      {"two apostrophes",
       Side{{line_piece({{130, 100}, {128, 120}}, 1)}, u'\''},
       Side{{line_piece({{110, 100}, {108, 120}}, 0)}, u'\''}, -1000},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    PairRuleCase c(k.a, k.b, kSize);
    const Scored s = score(c);
    ASSERT_EQ(s.status, kOk);
    EXPECT_EQ(s.record.slots[2], k.punctuation);
    // Full stops and apostrophes are inline marks: no placement terms.
    for (int slot = 3; slot < kPairScoreSlots; ++slot) EXPECT_EQ(s.record.slots[slot], 0) << slot;
    EXPECT_EQ(s.total, slot_sum(s.record));
  }
}

// A small letter written under a full-size one: stacked where a letter
// beside it belongs.
Side small_below() { return Side{cross(95, 220, 20, 30, 2), u'x'}; }
Side letter_above() { return Side{cross(90, 100, 30, 100, 0), u'x'}; }

TEST(PairScoringTest, WithHebrewActiveTheSlotsOfShapeAndSpacingAreSkipped) {
  PairRuleCase latin(small_below(), letter_above(), kSize);
  const Scored without = score(latin);
  ASSERT_EQ(without.status, kOk);
  EXPECT_LT(without.record.slots[3], 0);  // stacking
  EXPECT_LT(without.record.slots[4], 0);  // along the slant

  PairRuleCase hebrew(small_below(), letter_above(), kSize);
  hebrew.kernel().charsets = {26};
  const Scored with = score(hebrew);
  ASSERT_EQ(with.status, kOk);
  for (int slot = 4; slot <= 9; ++slot) EXPECT_EQ(with.record.slots[slot], 0) << slot;
  EXPECT_EQ(with.record.slots[3], without.record.slots[3]);
  // The earlier result's strokes (0, 1) come before the later's (2, 3) and
  // B lies left of A: no stroke-order penalty; the stacking terms stay.
  EXPECT_EQ(with.total, slot_sum(with.record));
}

TEST(PairScoringTest, HebrewStrokeOrderPenaltiesAreOutsideTheSlots) {
  // A later result left of the earlier one, written with strokes before
  // the earlier's: two penalties of 1000 outside every slot.
  PairRuleCase c(Side{cross(100, 100, 30, 100, 0), u'x'}, Side{cross(200, 100, 30, 100, 2), u'x'},
                 kSize);
  c.kernel().charsets = {26};
  const Scored s = score(c);
  ASSERT_EQ(s.status, kOk);
  EXPECT_EQ(s.total - slot_sum(s.record), -2000);
}

TEST(PairScoringTest, ReadingKindTermsNeedTheFlagAndTheSwitches) {
  PairRuleCase c(Side{{stem(200, 100, 200, 1)}, u'x'}, Side{{stem(100, 100, 200, 0)}, u'x'}, kSize);
  c.a().answers->answers()[0].case_kind = 2;
  c.b().answers->answers()[0].case_kind = 1;
  EXPECT_EQ(score(c, 0).record.slots[0], 0);
  EXPECT_EQ(score(c, 1).record.slots[0], 0);  // the kind switch is off
  c.kernel().request().word_pass = 1;
  EXPECT_EQ(score(c, 0).record.slots[0], 0);
  EXPECT_EQ(score(c, 1).record.slots[0], -150);
  c.kernel().request().strict_switch = 1;
  EXPECT_EQ(score(c, 1).record.slots[0], -250);  // kind 2 after kind 1 on no own lines
}

TEST(PairScoringTest, ResultsOnTwoLinesOrWithoutTheAnswerScoreZero) {
  PairRuleCase c(Side{{dot(100, 260, 1)}, u'.'}, Side{{stem(100, 100, 200, 0)}, u'l'}, kSize);
  std::int32_t total = 7;
  EXPECT_EQ(score_element_pair(c.a(), c.b(), 1, 0, kSize, 90, 0, &total, c.context(), nullptr),
            kOk);
  EXPECT_EQ(total, 0);
  total = 7;
  EXPECT_EQ(score_element_pair(c.a(), c.b(), 0, 3, kSize, 90, 0, &total, c.context(), nullptr),
            kOk);
  EXPECT_EQ(total, 0);
  c.a_figure(0).line_index = 1;
  EXPECT_EQ(score_element_pair(c.a(), c.b(), 0, 0, kSize, 90, 0, &total, c.context(), nullptr),
            kOk);
  EXPECT_EQ(total, 0);
}

TEST(PairScoringTest, TheCacheKeepsTheFirstScoreOfAKeyAndTheFlagIsPartOfTheKey) {
  PairRuleCase c(Side{{dot(100, 260, 1)}, u'.'}, Side{{stem(100, 100, 200, 0)}, u'l'}, kSize);
  c.a().index = 5;
  std::int32_t cost = 0;
  ASSERT_EQ(score_element_pair_cached(&c.a(), &c.b(), 0, 0, kSize, 90, 0, &cost, &c.context(), 0),
            kOk);
  EXPECT_EQ(cost, -1800);
  // The reading changes; the stored score of the key stands, while the
  // other flag and the other answer index are scored anew.
  Answer& reading = c.a().answers->answers()[0];
  reading.codes[1] = u',';
  for (std::uint16_t& code : reading.saved_codes) code = u'.';
  ASSERT_EQ(score_element_pair_cached(&c.a(), &c.b(), 0, 0, kSize, 90, 0, &cost, &c.context(), 0),
            kOk);
  EXPECT_EQ(cost, -1800);
  ASSERT_EQ(score_element_pair_cached(&c.a(), &c.b(), 0, 0, kSize, 90, 0, &cost, &c.context(), 1),
            kOk);
  EXPECT_EQ(cost, 0);
  ASSERT_EQ(score_element_pair_cached(&c.a(), &c.b(), -1, 0, kSize, 90, 0, &cost, &c.context(), 0),
            kOk);
  EXPECT_EQ(cost, -1800);  // the saved codes read a full stop
  // A reset result forgets its scores.
  c.b().reset();
  c.b().index = 0;
  ASSERT_EQ(score_element_pair_cached(&c.a(), &c.b(), 0, 0, kSize, 90, 0, &cost, &c.context(), 0),
            kOk);
  EXPECT_EQ(cost, 0);
}

TEST(PairScoringTest, TheCacheKeepsAScoreForEachPlaceInTheChainThatTheScoreTellsApart) {
  // A small letter under a full-size one: its stacking terms weigh a
  // quarter once the later result stands third or further along its chain,
  // so the pair asked at two places of the word search's chains has two
  // scores; the first asked must not stand for the other.
  {
    PairRuleCase c(small_below(), letter_above(), kSize);
    ASSERT_NE(score(c, 1, 0).total, score(c, 1, 3).total);
  }
  struct Case {
    int first;  // the place asked first
    int then;   // the place asked next
  };
  const std::vector<Case> cases = {{0, 3}, {3, 0}, {1, 4}, {2, 3}, {0, 1}, {3, 7}};
  for (const Case& k : cases) {
    SCOPED_TRACE(std::to_string(k.first) + " then " + std::to_string(k.then));
    PairRuleCase c(small_below(), letter_above(), kSize);
    c.a().index = 5;
    for (const int place : {k.first, k.then, k.first}) {
      std::int32_t cost = 0;
      ASSERT_EQ(score_element_pair_cached(&c.a(), &c.b(), 0, 0, kSize, 90, place, &cost,
                                          &c.context(), 1),
                kOk);
      EXPECT_EQ(cost, score(c, 1, place).total) << place;
    }
  }
}

TEST(PairScoringTest, TheKeptLayoutGivesEveryPairOfReadingsItsScoreWorkedOutAfresh) {
  struct Case {
    std::string name;
    Side a;
    Side b;
  };
  const std::vector<Case> cases = {
      {"stop below the letter", Side{{dot(100, 260, 1)}, u'.'}, Side{{stem(100, 100, 200, 0)}, u'l'}},
      {"small letter below", small_below(), letter_above()},
      // Two pieces of one stroke a link apart: the linked pair.
      {"linked pieces", Side{{line_piece({{160, 120}, {160, 200}}, 0, 2)}, u'n'},
       Side{{line_piece({{100, 120}, {100, 200}}, 0, 0)}, u'u'}},
  };
  const std::u16string more_readings = u"x.lg'";
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    PairRuleCase c(k.a, k.b, kSize);
    c.a().index = 5;
    for (const char16_t code : more_readings) {
      ASSERT_EQ(c.a().answers->answers().push_back(Answer::from_code(code)), kOk);
      ASSERT_EQ(c.b().answers->answers().push_back(Answer::from_code(code)), kOk);
    }
    const int n = static_cast<int>(c.a().answers->answers().size());
    std::vector<std::int32_t> scores;
    for (const int place : {0, 3}) {
      for (int i = -1; i < n; ++i) {
        for (int j = -1; j < n; ++j) {
          std::int32_t cached = 0;
          std::int32_t fresh = 0;
          ASSERT_EQ(score_element_pair_cached(&c.a(), &c.b(), i, j, kSize, 90, place, &cached,
                                              &c.context(), 0),
                    kOk);
          ASSERT_EQ(score_element_pair(c.a(), c.b(), i, j, kSize, 90, place, &fresh, c.context(),
                                       nullptr),
                    kOk);
          EXPECT_EQ(cached, fresh) << i << " after " << j << " at place " << place;
          scores.push_back(fresh);
        }
      }
    }
    EXPECT_EQ(c.b().layout_cache.size(), 1u);
    // The readings do tell the scores apart.
    EXPECT_NE(*std::min_element(scores.begin(), scores.end()),
              *std::max_element(scores.begin(), scores.end()));
  }
}

TEST(PairScoringTest, EachLaterNeighbourHasALayoutOfItsOwn) {
  PairRuleCase c(Side{{dot(100, 260, 1)}, u'.'}, Side{{stem(100, 100, 200, 0)}, u'l'}, kSize);
  c.a().index = 5;
  std::int32_t cost = 0;
  ASSERT_EQ(score_element_pair_cached(&c.a(), &c.b(), 0, 0, kSize, 90, 0, &cost, &c.context(), 0),
            kOk);
  EXPECT_EQ(cost, -1800);
  // Another neighbour, on another line: not judged, though the first
  // neighbour's layout judged its pair.
  c.a().index = 6;
  c.a_figure(0).line_index = 1;
  ASSERT_EQ(score_element_pair_cached(&c.a(), &c.b(), 0, 0, kSize, 90, 0, &cost, &c.context(), 0),
            kOk);
  EXPECT_EQ(cost, 0);
  EXPECT_EQ(c.b().layout_cache.size(), 2u);
}

TEST(PairScoringTest, AResultWithANullFigureIsRefusedAndNothingIsCached) {
  PairRuleCase c(Side{{dot(100, 260, 1)}, u'.'}, Side{{stem(100, 100, 200, 0)}, u'l'}, kSize);
  ASSERT_EQ(c.b().figures.push_back(nullptr), kOk);
  std::int32_t cost = 0;
  EXPECT_EQ(score_element_pair_cached(&c.a(), &c.b(), 0, 0, kSize, 90, 0, &cost, &c.context(), 0),
            kBadArgument);
  EXPECT_EQ(score_element_pair_cached(nullptr, &c.b(), 0, 0, kSize, 90, 0, &cost, &c.context(), 0),
            kBadArgument);
  ASSERT_EQ(c.b().pair_cache.size(), 1u);
  // The key of answers 0 and 0, flag 0, at place 0 (kept as place 1).
  const auto* entry = register_figure_key(c.b().pair_cache, c.a(), 0, 0, 1u << 1);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(c.b().pair_cache.size(), 1u);  // the entry the refused scoring left
  EXPECT_EQ((*entry)[0], 0u);              // not valid
}

}  // namespace
}  // namespace inkrec

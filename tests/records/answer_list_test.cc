#include "engine/records/answer_list.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <span>
#include <utility>
#include <vector>

#include "engine/database/active_tables.h"
#include "engine/database/data_records.h"
#include "engine/database/property_flags.h"
#include "engine/database/spec_pairs.h"
#include "engine/records/figure_group.h"
#include "engine/records/ranked_answer_index.h"

namespace inkrec {
namespace {

Answer answer_of(std::uint16_t key, std::int32_t total, std::uint8_t kind = 0) {
  Answer answer;
  answer.key = key;
  answer.kind = kind;
  answer.components[Answer::kLetterScore] = total;
  answer.codes[0] = answer.codes[1] = static_cast<std::uint16_t>('a' + key % 26);
  return answer;
}

// Fills a list with answers of keys 1, 2, ... and the given totals, best
// first, without pruning.
AnswerList list_of(std::initializer_list<std::int32_t> totals, bool unlimited = false) {
  AnswerList list(unlimited);
  std::uint16_t key = 1;
  for (const std::int32_t total : totals) {
    EXPECT_EQ(list.insert_at(list.answers().size(), answer_of(key++, total)), kOk);
  }
  return list;
}

std::vector<std::int32_t> totals_of(const AnswerList& list) {
  std::vector<std::int32_t> totals;
  for (const Answer& answer : list.answers()) totals.push_back(answer.total());
  return totals;
}

std::vector<std::uint16_t> keys_of(const AnswerList& list) {
  std::vector<std::uint16_t> keys;
  for (const Answer& answer : list.answers()) keys.push_back(answer.key);
  return keys;
}

std::vector<std::int32_t> eleven_down_to(std::int32_t last) {
  std::vector<std::int32_t> totals;
  for (int i = 0; i < 10; ++i) totals.push_back(9000 - i * 10);
  totals.push_back(last);
  return totals;
}

TEST(AnswerListTest, InsertionPrunesLongLists) {
  struct Case {
    const char* name;
    std::vector<std::int32_t> totals;
    std::int32_t inserted;
    bool taken;
  };
  const Case cases[] = {
      {"1200 below the best, not above the last", eleven_down_to(8000), 7800, false},
      {"900 below the best", eleven_down_to(8000), 8100, true},
      {"below 5000 but better than the last", eleven_down_to(4800), 4900, true},
      {"below 5000 and not better than the last", eleven_down_to(4900), 4900, false},
      {"ten answers are never pruned",
       {9000, 8990, 8980, 8970, 8960, 8950, 8940, 8930, 8920, 1000},
       500,
       true},
  };
  for (const Case& c : cases) {
    AnswerList list(true);
    std::uint16_t key = 1;
    for (const std::int32_t t : c.totals) ASSERT_EQ(list.insert(answer_of(key++, t)), kOk);
    const std::uint32_t before = list.answers().size();
    EXPECT_EQ(list.insert(answer_of(100, c.inserted)), kOk) << c.name;
    EXPECT_EQ(list.answers().size(), before + (c.taken ? 1 : 0)) << c.name;
    EXPECT_EQ(list.find(100, 0) >= 0, c.taken) << c.name;
  }
}

TEST(AnswerListTest, TheLimitBindsOnlyAppending) {
  AnswerList list;
  for (std::uint16_t k = 0; k < 20; ++k) ASSERT_EQ(list.insert(answer_of(k, 9000 - k)), kOk);
  ASSERT_EQ(list.answers().size(), 20u);
  EXPECT_EQ(list.insert(answer_of(50, 8000)), kOk);  // would go last: refused
  EXPECT_EQ(list.answers().size(), 20u);
  EXPECT_EQ(list.insert(answer_of(51, 8995)), kOk);  // goes before worse ones
  EXPECT_EQ(list.answers().size(), 21u);
  EXPECT_EQ(list.answers()[6].key, 51);
}

TEST(AnswerListTest, OneAnswerPerKeyAndTiesKeepTheOlderFirst) {
  AnswerList list = list_of({9000, 8000, 7000});
  ASSERT_EQ(list.insert(answer_of(2, 7500)), kOk);  // key 2 holds 8000 already
  EXPECT_EQ(keys_of(list), (std::vector<std::uint16_t>{1, 2, 3}));
  ASSERT_EQ(list.insert(answer_of(3, 8500)), kOk);  // better: replaces the 7000
  EXPECT_EQ(keys_of(list), (std::vector<std::uint16_t>{1, 3, 2}));
  EXPECT_EQ(totals_of(list), (std::vector<std::int32_t>{9000, 8500, 8000}));
  ASSERT_EQ(list.insert(answer_of(9, 8500)), kOk);
  EXPECT_EQ(keys_of(list), (std::vector<std::uint16_t>{1, 3, 9, 2}));
}

// The letter evaluation ranks its answers by halving, and through a light
// index written into the list at the end: on any run of answers (ties,
// repeated keys, weak ones, a limited list filling up) each must leave the
// list exactly as insert does.
TEST(AnswerListTest, InsertIntoSortedAndTheRankedIndexEndAsInsertDoes) {
  for (const bool unlimited : {false, true}) {
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
      AnswerList by_walk(unlimited);
      AnswerList by_halving(unlimited);
      RankedAnswerIndex index(by_walk.limit());
      std::vector<Answer> pool;
      std::uint32_t state = seed;
      for (int i = 0; i < 400; ++i) {
        state = state * 1103515245u + 12345u;
        const auto key = static_cast<std::uint16_t>((state >> 8) % 150);
        const auto total = static_cast<std::int32_t>(3000 + (state >> 16) % 70 * 100);
        ASSERT_EQ(by_walk.insert(answer_of(key, total)), kOk);
        ASSERT_EQ(by_halving.insert_into_sorted(answer_of(key, total)), kOk);
        pool.push_back(answer_of(key, total));
        ASSERT_EQ(index.insert(pool.back(), static_cast<std::uint32_t>(pool.size() - 1),
                               KeyCheck::kLook),
                  kOk);
        if (i == 150) {  // written midway, the index goes on ranking as before
          AnswerList midway(unlimited);
          ASSERT_EQ(index.write_to(pool, midway), kOk);
          EXPECT_EQ(keys_of(midway), keys_of(by_walk)) << "seed " << seed;
        }
      }
      AnswerList by_index(unlimited);
      ASSERT_EQ(index.write_to(pool, by_index), kOk);
      for (const AnswerList* list : {&by_halving, &by_index}) {
        EXPECT_EQ(keys_of(*list), keys_of(by_walk)) << "seed " << seed;
        EXPECT_EQ(totals_of(*list), totals_of(by_walk)) << "seed " << seed;
      }
      EXPECT_GT(by_walk.answers().size(), 20u);
    }
  }
}

// Keys never offered before need no search: with a fresh key each time the
// index ranks as the list does when it looks for them.
TEST(AnswerListTest, AKeyKnownAbsentIsRankedAsALookedForOne) {
  AnswerList looked;
  RankedAnswerIndex index(looked.limit());
  std::vector<Answer> pool;
  for (std::uint16_t key = 0; key < 60; ++key) {
    pool.push_back(answer_of(key, 5000 + (key * 37) % 41 * 100));
    ASSERT_EQ(looked.insert(pool.back()), kOk);
    ASSERT_EQ(index.insert(pool.back(), key, KeyCheck::kKnownAbsent), kOk);
  }
  AnswerList written;
  ASSERT_EQ(index.write_to(pool, written), kOk);
  EXPECT_EQ(keys_of(written), keys_of(looked));
  const std::vector<Answer> too_short(pool.begin(), pool.begin() + 3);
  EXPECT_EQ(index.write_to(too_short, written), kBadArgument);
  EXPECT_TRUE(written.answers().empty());
}

TEST(AnswerListTest, ThePenaltyNeverCounts) {
  Answer penalised = answer_of(4, 8800);
  penalised.components[Answer::kPenaltyComponent] = -5000;
  EXPECT_EQ(penalised.total(), 8800);
  AnswerList list = list_of({9000, 8600});
  ASSERT_EQ(list.insert(penalised), kOk);
  EXPECT_EQ(keys_of(list), (std::vector<std::uint16_t>{1, 4, 2}));
  ASSERT_EQ(list.rewrite_entry(1, 'x', 'z', 'y', 0xFFFFFFFF, -3000, 1, nullptr), kOk);
  list.classify(nullptr, nullptr, nullptr, 0);
  std::uint16_t codes[3];
  std::int32_t totals[3];
  ASSERT_EQ(list.export_entries(codes, nullptr, nullptr, totals, 3), 3);
  EXPECT_EQ(totals[1], 8800);
  EXPECT_EQ(codes[1], 'x');
}

TEST(AnswerListTest, AddCostWithoutFilterHoldsTotalsInRange) {
  AnswerList list = list_of({9000, 8000, 7000});
  ASSERT_EQ(list.add_cost_where(-20000, PropertyFlags()), kOk);
  EXPECT_EQ(totals_of(list), (std::vector<std::int32_t>{10, 9, 8}));
  ASSERT_EQ(list.add_cost_where(20000, PropertyFlags()), kOk);
  EXPECT_EQ(totals_of(list), (std::vector<std::int32_t>{10000, 9999, 9998}));
}

TEST(AnswerListTest, AddCostWithAFilterChangesEveryAnswerOnce) {
  AnswerList list = list_of({9000, 8000, 7000});
  list.answers()[0].mask = 0x4;
  list.answers()[1].mask = 0x6;
  // The first answer falls behind the second: walked in place, it would be
  // charged again and the second passed over.
  ASSERT_EQ(list.add_cost_where(-1500, PropertyFlags(0x4)), kOk);
  EXPECT_EQ(keys_of(list), (std::vector<std::uint16_t>{1, 3, 2}));
  EXPECT_EQ(totals_of(list), (std::vector<std::int32_t>{7500, 7000, 6500}));

  // An answer made from a letter candidate always matches.
  list.answers()[1].kind = 1;
  ASSERT_EQ(list.add_cost_where(2000, PropertyFlags(0x100)), kOk);
  EXPECT_EQ(keys_of(list), (std::vector<std::uint16_t>{3, 1, 2}));
  EXPECT_EQ(totals_of(list), (std::vector<std::int32_t>{9000, 7500, 6500}));
}

TEST(AnswerListTest, ReinsertPenalized) {
  AnswerList list = list_of({9000, 8000, 7000});
  EXPECT_EQ(list.reinsert_penalized(3, -10, 1), kBadArgument);
  ASSERT_EQ(list.reinsert_penalized(0, -1500, 77), kOk);
  EXPECT_EQ(keys_of(list), (std::vector<std::uint16_t>{2, 1, 3}));
  EXPECT_EQ(list.answers()[1].components[Answer::kReinsertAdjustment], -1500);
  EXPECT_EQ(list.answers()[1].rule_word, 77u);
}

TEST(AnswerListTest, ClassifyRejectsWeakAnswersAfterTheFirst) {
  DynArray<std::uint8_t> seen;
  ASSERT_EQ(seen.resize(0x10000, 1), kOk);  // cleared by classify
  AnswerList list = list_of({5000, 6000, 5900, 5700});
  list.set_seen_codes(&seen);
  list.answers()[2].codes[1] = list.answers()[1].codes[1];
  list.classify(nullptr, nullptr, nullptr, 0);
  std::vector<std::uint32_t> states;
  for (const Answer& answer : list.answers()) states.push_back(answer.state);
  EXPECT_EQ(states, (std::vector<std::uint32_t>{1, 1, 2, 3}));
  EXPECT_EQ(seen[list.answers()[1].codes[1]], 1);
  EXPECT_EQ(seen[list.answers()[3].codes[1]], 0);

  std::uint16_t codes[4];
  std::uint16_t keys[4];
  std::int32_t indices[4];
  ASSERT_EQ(list.export_entries(codes, keys, indices, nullptr, 4), 2);
  EXPECT_EQ(keys[1], 2);
  EXPECT_EQ(indices[1], 1);
  EXPECT_EQ(list.export_entries(codes, nullptr, nullptr, nullptr, 1), 1);
  EXPECT_EQ(list.export_entries(nullptr, keys, nullptr, nullptr, 4), kBadArgument);
}

TEST(AnswerListTest, ClassifyAgainstTheReference) {
  AnswerList list = list_of({9000, 6150, 8400, 8300, 8300, 8200, 8100, 8100, 6100});
  list.classify(nullptr, nullptr, nullptr, 6000);
  EXPECT_EQ(list.answers()[0].state, 1u);
  EXPECT_EQ(list.answers()[2].state, 3u);  // more than 500 below the first

  // Against a weaker reference everything passes, until more than seven
  // answers were accepted: then a total below 6200 is rejected.
  const Answer reference = answer_of(0, 6500);
  list.classify(nullptr, &reference, nullptr, 6000);
  std::vector<std::uint32_t> states;
  for (const Answer& answer : list.answers()) states.push_back(answer.state);
  EXPECT_EQ(states, (std::vector<std::uint32_t>{1, 1, 1, 1, 1, 1, 1, 1, 3}));
}

TEST(AnswerListTest, ClassifyRejectsWhatLiesFurtherBelowTheReferenceThanTheMargin) {
  struct Case {
    std::int32_t margin;
    std::vector<std::uint32_t> states;
  };
  // Totals 9000, 8500, 8400, 8000, 7900, 7700, 7600: 500, 1000 and 1300
  // below the first still stand.
  const std::vector<Case> cases = {
      {AnswerList::kReferenceMargin, {1, 1, 3, 3, 3, 3, 3}},
      {AnswerList::kWordLetterMargin, {1, 1, 1, 1, 3, 3, 3}},
      {AnswerList::kJoinedLetterMargin, {1, 1, 1, 1, 1, 1, 3}},
  };
  for (const Case& c : cases) {
    AnswerList list = list_of({9000, 8500, 8400, 8000, 7900, 7700, 7600});
    list.classify(nullptr, nullptr, nullptr, 0, c.margin);
    std::vector<std::uint32_t> states;
    for (const Answer& answer : list.answers()) states.push_back(answer.state);
    EXPECT_EQ(states, c.states) << "margin " << c.margin;
  }
}

// Special pairs for the keep test: the reference key 252 keeps key 11055
// under a margin and a threshold.
class KeepRulesTest : public ::testing::Test {
 protected:
  void add_rule(std::int16_t margin, std::int16_t threshold) {
    entry_.groups.clear();
    SpecPairGroup* group = entry_.groups.push_default();
    group->key = 252;
    ASSERT_EQ(group->pairs.push_back({11055, margin, threshold}), kOk);
  }

  void SetUp() override {
    ASSERT_EQ(rules_.ss.push_back(&entry_), kOk);
    ASSERT_EQ(rules_.cs.push_back(&entry_), kOk);
    figure_.piece = 1;
    ASSERT_EQ(group_.figures.push_back(&figure_), kOk);
  }

  std::uint32_t state_of_second(std::int32_t second_total, std::uint8_t second_kind = 0) {
    AnswerList list;
    EXPECT_EQ(list.insert_at(0, answer_of(252, 9000)), kOk);
    EXPECT_EQ(list.insert_at(1, answer_of(11055, second_total, second_kind)), kOk);
    list.classify(&rules_, nullptr, &group_, 0);
    return list.answers()[1].state;
  }

  SpecPairsEntry entry_;
  ActiveSpecPairs rules_;
  FigureRecord figure_;
  FigureGroup group_;
};

TEST_F(KeepRulesTest, MarginAndThreshold) {
  struct Case {
    std::int16_t margin;
    std::int16_t threshold;
    std::int32_t total;
    std::uint32_t state;
  };
  const Case cases[] = {
      {-1, -1, 3000, 1},    // no margin, no threshold: kept
      {5000, -1, 3000, 3},  // 6000 below the reference: the margin refuses
      {7000, -1, 3000, 1},  // within the margin
      {-1, 2000, 3000, 1},  // above the threshold
      {-1, 3000, 3000, 3},  // not above it
      {-1, 0, 3000, 3},     // a threshold of 0 keeps nothing
  };
  for (const Case& c : cases) {
    add_rule(c.margin, c.threshold);
    EXPECT_EQ(state_of_second(c.total), c.state)
        << "margin " << c.margin << " threshold " << c.threshold;
  }
}

TEST_F(KeepRulesTest, SegmentPairsAlsoNeedTheGroupsShape) {
  add_rule(-1, -1);
  EXPECT_EQ(state_of_second(3000), 1u);
  figure_.piece = 0;
  EXPECT_EQ(state_of_second(3000), 3u);
  figure_.piece = 0xFFFF;  // unset: -1
  EXPECT_EQ(state_of_second(3000), 3u);
  // A letter-candidate answer is looked up in the third selection and
  // needs no shape.
  EXPECT_EQ(state_of_second(3000, 1), 1u);
  group_.figures.remove_all();
  EXPECT_EQ(state_of_second(3000), 3u);
  // Without a rule for the pair nothing is kept.
  figure_.piece = 1;
  ASSERT_EQ(group_.figures.push_back(&figure_), kOk);
  rules_.ss.remove_all();
  EXPECT_EQ(state_of_second(3000), 3u);
}

TEST(AnswerTest, MadeFromACandidateOrASegment) {
  const CandidateMarks marks{1, {10, 20, 30, 40}};
  Symb symbol{};
  symbol.code = 'a';
  symbol.second_code = 'A';
  symbol.third_code = 0x0251;
  SegmentReading reading;
  reading.key = 77;
  reading.value = 5;
  reading.codes[0] = 'q';
  reading.codes[1] = 'Q';
  reading.codes[2] = 'g';
  reading.flag = 2;
  reading.code_count = 2;
  reading.mask = 0x40;
  reading.code_list[0] = 'c';
  reading.code_list[1] = 'h';

  const Answer letter(marks, symbol, reading, 12000, 35);
  EXPECT_EQ(letter.total(), 10035);
  EXPECT_EQ(letter.components[Answer::kPenaltyComponent], -1);
  EXPECT_EQ(letter.kind, 1);
  EXPECT_EQ(letter.codes[0], 'a');
  EXPECT_EQ(letter.codes[1], 0x0251);
  EXPECT_EQ(letter.codes[2], 'A');
  EXPECT_EQ(letter.key, 77);
  EXPECT_EQ(letter.mask, 0x40u);
  EXPECT_EQ(letter.source_box[3], 40);
  EXPECT_EQ(letter.state, Answer::kStateRejected);
  EXPECT_EQ(Answer(marks, symbol, reading, -3, 0).total(), 0);

  const std::int8_t source[4] = {-1, 2, -3, 4};
  const Answer segment = Answer::from_segment(reading, source);
  EXPECT_EQ(segment.kind, 0);
  EXPECT_EQ(segment.flag, 0);  // the reading's flag is not 1
  EXPECT_EQ(segment.codes[1], 'Q');
  EXPECT_EQ(segment.saved_codes[2], 'g');
  EXPECT_EQ(segment.source_word, 5);
  EXPECT_EQ(segment.source_box[0], 0xFFFF);
  EXPECT_EQ(segment.source_box[1], 2);

  const Answer coded = Answer::from_code('z');
  EXPECT_EQ(coded.codes[2], 'z');
  EXPECT_EQ(coded.total(), 0);
}

std::vector<std::uint16_t> codes_of(std::span<const std::uint16_t> span) {
  return {span.begin(), span.end()};
}

TEST(AnswerTest, RewritesAndOutputCodes) {
  AnswerList list;
  EXPECT_EQ(list.rewrite_entry(0, 'x', 'z', 'y', 1, 0, 1, nullptr), kOk);  // empty list
  Answer answer = answer_of(1, 8000);
  answer.codes[0] = 'a';
  answer.codes[1] = 'b';
  answer.codes[2] = 'c';
  answer.code_count = 1;
  ASSERT_EQ(list.insert(answer), kOk);
  EXPECT_EQ(list.rewrite_entry(1, 'x', 'z', 'y', 1, 0, 1, nullptr), kBadArgument);

  ASSERT_EQ(list.rewrite_entry(0, 'x', 'z', 'y', 0xFFFFFFFF, -200, 1, nullptr), kOk);
  const Answer& rewritten = list.answers()[0];
  EXPECT_EQ(codes_of(rewritten.output_codes(false)), (std::vector<std::uint16_t>{'x'}));
  EXPECT_EQ(codes_of(rewritten.output_codes(true)), (std::vector<std::uint16_t>{'a'}));
  EXPECT_EQ(codes_of(rewritten.output_codes_2(true)), (std::vector<std::uint16_t>{'b'}));
  EXPECT_EQ(codes_of(rewritten.output_codes_3(false)), (std::vector<std::uint16_t>{'z'}));
  EXPECT_EQ(rewritten.rule_word, 0u);
  EXPECT_EQ(rewritten.components[Answer::kPenaltyComponent], -201);
  EXPECT_EQ(rewritten.total(), 8000);

  // A reading of several codes; an over-long count stays within the list.
  const std::uint16_t pair[2] = {'c', 'h'};
  ASSERT_EQ(list.rewrite_entry_alt(0, 'k', 0, 'K', 9, 0, 200, pair), kOk);
  list.answers()[0].code_count = 2;
  list.answers()[0].code_list[0] = 's';
  list.answers()[0].code_list[1] = 't';
  const Answer& listed = list.answers()[0];
  EXPECT_EQ(listed.rule_word, 9u);
  EXPECT_EQ(codes_of(listed.output_codes(false)), (std::vector<std::uint16_t>{'s', 't'}));
  EXPECT_EQ(listed.output_codes(true).size(), 3u);
  EXPECT_EQ(codes_of(listed.output_codes_2(true)).front(), 'c');
  EXPECT_EQ(listed.output_codes_2(true).size(), 3u);
  EXPECT_EQ(codes_of(listed.output_codes_3(true)), (std::vector<std::uint16_t>{'s', 't'}));

  ASSERT_EQ(list.set_code_choice(0, 1), kOk);
  EXPECT_EQ(list.best_code(), 'z');
  ASSERT_EQ(list.set_code_choice(0, 2), kOk);
  EXPECT_EQ(list.best_code(), 'y');
  EXPECT_EQ(list.set_code_choice(4, 2), kBadArgument);
}

// A reading whose case forms are not given (codes 0) keeps its code
// whichever case is chosen; the choice is still stored.
TEST(AnswerListTest, ACaseChoiceWithoutThatFormKeepsTheCode) {
  AnswerList list;
  Answer digit = Answer::from_code(u'7');
  digit.codes[1] = 0;
  digit.codes[2] = 0;
  ASSERT_EQ(list.insert(digit), kOk);
  for (const std::uint32_t choice : {1u, 2u}) {
    ASSERT_EQ(list.set_code_choice(0, choice), kOk);
    EXPECT_EQ(list.best_code(), u'7');
    EXPECT_EQ(list.answers()[0].code_choice, choice);
  }
}

}  // namespace
}  // namespace inkrec

// The memo of the letter search: the states of a path, the continuations a
// stored path leaves from its fifth step on, and the states a refused path
// closes.
#include "engine/segmentation/continuation_memo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/segmentation/word_box_search.h"
#include "tests/support/word_bench.h"

namespace inkrec {
namespace {

using testing::WordBench;

// A path through the letters of a hand-built word, step k taken at the
// place of position k.
class MemoBench {
 public:
  explicit MemoBench(const std::u16string& word) {
    std::vector<int> xs;
    for (std::size_t k = 0; k < word.size(); ++k) xs.push_back(100 + 30 * static_cast<int>(k));
    const std::uint16_t line = bench.add_line(xs);
    letters = bench.add_word(line, word);
  }

  LetterPath path(std::uint32_t steps) {
    LetterPath path;
    for (std::uint32_t k = 0; k < steps; ++k) {
      LetterStep step;
      step.group = letters[k];
      step.first_value = 9000;
      step.code_count = 1;
      step.codes[0] = letters[k]->answers->best_code();
      step.search_place = k;
      step.search_covered = k == 0 ? 0 : 1;
      EXPECT_EQ(extend_path(path, step, 2, bench.context(), bench.classes()), kOk);
    }
    return path;
  }

  // The origin of a path that read the first four letters at 9000 each.
  SearchOrigin origin() const {
    return {.last_group = letters[3],
            .steps = 4,
            .weight = 1,
            .strokes = 4,
            .weighted_total = 4 * 9000,
            .extra = 20};
  }

  WordBench bench;
  std::vector<LetterResult*> letters;
};

template <typename Change>
SearchOrigin changed_origin(SearchOrigin origin, Change change) {
  change(origin);
  return origin;
}

TEST(ContinuationMemoTest, AStateIsThePlaceAndTheCodesReadBeforeAStep) {
  MemoBench memo_bench(u"houses");
  const LetterPath path = memo_bench.path(6);
  const SearchState state = state_before_step(path, 4);
  EXPECT_EQ(state.place, 4u);
  EXPECT_EQ(state.covered, 1u);
  EXPECT_EQ(std::u16string(state.codes.begin(), state.codes.end()), u"hous");

  ContinuationMemo memo;
  EXPECT_EQ(memo.find(state), nullptr);
  memo.add(state, 8000);
  ASSERT_NE(memo.find(state), nullptr);
  EXPECT_EQ(memo.find(state)->value, 8000);
  // Another place, or other codes, is another state.
  EXPECT_EQ(memo.find(state_before_step(path, 5)), nullptr);
  const std::uint16_t other_codes[4] = {u'h', u'o', u'u', u'x'};
  EXPECT_EQ(memo.find({state.place, state.covered, other_codes}), nullptr);

  memo.add_continuation(state, path, 4, -1);
  memo.add_continuation(state, path, 4, -1);  // held already
  memo.add_continuation(state, path, 4, 2);   // towards another record
  memo.add_continuation(state_before_step(path, 5), path, 5, -1);  // no entry: nothing
  ASSERT_EQ(memo.find(state)->continuations.size(), 2u);
  EXPECT_EQ(memo.find(state)->continuations[0].steps.size(), 2u);
  EXPECT_EQ(memo.find(state_before_step(path, 5)), nullptr);
  memo.close(state);
  EXPECT_TRUE(memo.find(state)->closed);
}

TEST(ContinuationMemoTest, StoredPathsLeaveContinuationsAndRefusedPathsCloseTheirStates) {
  MemoBench memo_bench(u"houses");
  WordSearchScope scope = memo_bench.bench.scope();
  const LetterPath five = memo_bench.path(5);
  const LetterPath four = memo_bench.path(4);
  for (std::uint32_t s = 0; s < 5; ++s) scope.memo.add(state_before_step(five, s), 0);
  SegmentLink link;
  ASSERT_EQ(insert_letter_path(scope, link, four, 4), kOk);
  for (std::uint32_t s = 0; s < 4; ++s) {
    EXPECT_TRUE(scope.memo.find(state_before_step(five, s))->continuations.empty()) << s;
  }
  ASSERT_EQ(insert_letter_path(scope, link, five, 5), kOk);
  EXPECT_EQ(scope.memo.find(state_before_step(five, 4))->continuations.size(), 1u);
  EXPECT_TRUE(scope.memo.find(state_before_step(five, 3))->continuations.empty());
  // Up to the step limit only.
  SegmentLink other;
  other.target = 3;
  ASSERT_EQ(insert_letter_path(scope, other, five, 4), kOk);
  EXPECT_EQ(scope.memo.find(state_before_step(five, 4))->continuations.size(), 1u);

  close_states(scope.memo, four);
  EXPECT_FALSE(scope.memo.find(state_before_step(five, 3))->closed);
  close_states(scope.memo, five);
  EXPECT_TRUE(scope.memo.find(state_before_step(five, 4))->closed);
  EXPECT_FALSE(scope.memo.find(state_before_step(five, 3))->closed);
}

TEST(ContinuationMemoTest, APathSearchesOnOnlyWhereNoPathOfItsOriginReadBetterBefore) {
  MemoBench memo_bench(u"houses");
  const SearchOrigin searched = memo_bench.origin();
  struct Case {
    const char* what;
    SearchOrigin origin;
    bool searches;
  };
  const auto changed = [&searched](auto change) { return changed_origin(searched, change); };
  const std::vector<Case> cases = {
      {"the same", searched, false},
      {"a lower total", changed([](SearchOrigin& o) { o.weighted_total -= 1; }), false},
      {"lower pair scores", changed([](SearchOrigin& o) { o.extra -= 1; }), false},
      {"a greater total", changed([](SearchOrigin& o) { o.weighted_total += 1; }), true},
      {"greater pair scores", changed([](SearchOrigin& o) { o.extra += 1; }), true},
      {"another last group",
       changed([&memo_bench](SearchOrigin& o) { o.last_group = memo_bench.letters[2]; }), true},
      {"another last answer", changed([](SearchOrigin& o) { o.last_answer = 1; }), true},
      {"in carry mode", changed([](SearchOrigin& o) { o.carry = true; }), true},
      {"another first group", changed([](SearchOrigin& o) { o.start = 7; }), true},
      {"another step count", changed([](SearchOrigin& o) { o.steps = 3; }), true},
      {"another weight", changed([](SearchOrigin& o) { o.weight = 2; }), true},
      {"other strokes", changed([](SearchOrigin& o) { o.strokes = 5; }), true},
  };
  for (const Case& c : cases) {
    ContinuationMemo memo;
    MemoEntry entry;
    ASSERT_TRUE(memo.claim_search(entry, searched));
    EXPECT_EQ(memo.claim_search(entry, c.origin), c.searches) << c.what;
    // Once searched, the same origin does not search again.
    EXPECT_FALSE(memo.claim_search(entry, c.origin)) << c.what;
  }

  // A better path of the origin takes the place of the one it beats; a
  // path better in one way only stands beside it.
  ContinuationMemo memo;
  MemoEntry entry;
  ASSERT_TRUE(memo.claim_search(entry, searched));
  ASSERT_TRUE(memo.claim_search(entry, cases[3].origin));
  ASSERT_TRUE(memo.claim_search(entry, cases[4].origin));
  EXPECT_EQ(entry.searched, 2u);

  // Paths too short for an entry keep their origins apart from the entries.
  const LetterPath four = memo_bench.path(4);
  const SearchState state = state_before_step(four, 3);
  EXPECT_TRUE(memo.claim_short_search(state, searched));
  EXPECT_FALSE(memo.claim_short_search(state, searched));
  EXPECT_EQ(memo.find(state), nullptr);
  memo.clear();
  EXPECT_TRUE(memo.claim_short_search(state, searched));
}

TEST(ContinuationMemoTest, APathThatReadWorseStopsOnlyAfterAReadingSearchedFromTheStateBefore) {
  // What follows a step (the groups that may come next, the pair score of
  // the next) depends on the step's reading; the rest of the origin does
  // not change what the continuations read.
  MemoBench memo_bench(u"houses");
  const SearchOrigin searched = memo_bench.origin();
  struct Case {
    const char* what;
    SearchOrigin origin;
    bool after_searched;
  };
  const auto changed = [&searched](auto change) { return changed_origin(searched, change); };
  const std::vector<Case> cases = {
      {"the same", searched, true},
      {"a lower total", changed([](SearchOrigin& o) { o.weighted_total -= 500; }), true},
      {"in carry mode", changed([](SearchOrigin& o) { o.carry = true; }), true},
      {"another step count", changed([](SearchOrigin& o) { o.steps = 3; }), true},
      {"another last group",
       changed([&memo_bench](SearchOrigin& o) { o.last_group = memo_bench.letters[2]; }), false},
      {"another last answer", changed([](SearchOrigin& o) { o.last_answer = 1; }), false},
      {"its saved codes", changed([](SearchOrigin& o) { o.last_answer = -1; }), false},
  };
  for (const Case& c : cases) {
    ContinuationMemo memo;
    MemoEntry entry;
    EXPECT_FALSE(memo.searched_after(entry, c.origin)) << c.what;
    ASSERT_TRUE(memo.claim_search(entry, searched));
    EXPECT_EQ(memo.searched_after(entry, c.origin), c.after_searched) << c.what;
  }
}

TEST(ContinuationMemoTest, ManyStatesEachKeepTheirEntryWhereItWasMade) {
  // States that differ in the place, the covered positions or the codes
  // alone, many enough that the table grows several times after the first
  // entry is taken: each is found with its own value, and an entry found
  // before the others were added is still the one found after.
  constexpr std::uint32_t kStates = 3000;
  std::vector<std::vector<std::uint16_t>> codes(kStates);
  const auto state = [&codes](std::uint32_t k) {
    codes[k] = {static_cast<std::uint16_t>(u'a' + k % 7), static_cast<std::uint16_t>(k / 21)};
    return SearchState{k % 5, (k / 5) % 3, codes[k]};
  };
  ContinuationMemo memo;
  MemoEntry* first = &memo.add(state(0), 7000);
  for (std::uint32_t k = 1; k < kStates; ++k) memo.add(state(k), 7000 + static_cast<int>(k));
  EXPECT_EQ(memo.find(state(0)), first);
  for (std::uint32_t k = 0; k < kStates; ++k) {
    const MemoEntry* entry = memo.find(state(k));
    ASSERT_NE(entry, nullptr) << k;
    EXPECT_EQ(entry->value, 7000 + static_cast<int>(k)) << k;
  }
  const std::uint16_t longer[3] = {u'a', 0, 0};
  EXPECT_EQ(memo.find({0, 0, longer}), nullptr);
  EXPECT_EQ(memo.find({0, 0, std::span<const std::uint16_t>(longer, 1)}), nullptr);
  memo.clear();
  EXPECT_EQ(memo.find(state(0)), nullptr);
}

TEST(ContinuationMemoTest, AnEntryMadeAfterClearingHoldsNothingOfTheStatesBefore) {
  // The memo keeps its entries' room from one record to the next: an entry
  // handed out again must not show the value, the closing, the
  // continuations or the origins of the state that held it before.
  MemoBench memo_bench(u"houses");
  const LetterPath path = memo_bench.path(6);
  const SearchState state = state_before_step(path, 4);
  ContinuationMemo memo;
  MemoEntry& before = memo.add(state, 8000);
  memo.add_continuation(state, path, 4, -1);
  memo.close(state);
  ASSERT_TRUE(memo.claim_search(before, memo_bench.origin()));
  ASSERT_TRUE(memo.claim_short_search(state, memo_bench.origin()));
  memo.clear();
  EXPECT_EQ(memo.find(state), nullptr);
  // Another state takes the room first, then the state itself comes back.
  const SearchState other = state_before_step(path, 5);
  for (const SearchState& again : {other, state}) {
    MemoEntry& entry = memo.add(again, 7000);
    EXPECT_EQ(entry.value, 7000);
    EXPECT_FALSE(entry.closed);
    EXPECT_TRUE(entry.continuations.empty());
    EXPECT_EQ(entry.searched, 0u);
  }
  EXPECT_TRUE(memo.claim_short_search(state, memo_bench.origin()));
}

}  // namespace
}  // namespace inkrec

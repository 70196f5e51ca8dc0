#include "engine/records/pair_rule_index.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "engine/foundation/status.h"

namespace inkrec {
namespace {

// A rule: the keys of the second element's reading, of the first element's
// reading, of the joined reading, its kind and its three flags.
Tuple rule(std::initializer_list<std::uint16_t> second, std::initializer_list<std::uint16_t> first,
           std::int16_t kind, std::uint8_t second_flag = 0, std::uint8_t first_flag = 0,
           std::uint8_t joined_flag = 0, std::initializer_list<std::uint16_t> joined = {900}) {
  Tuple t;
  for (const std::uint16_t key : second) EXPECT_EQ(t.lists[0].push_back(key), kOk);
  for (const std::uint16_t key : first) EXPECT_EQ(t.lists[1].push_back(key), kOk);
  for (const std::uint16_t key : joined) EXPECT_EQ(t.lists[2].push_back(key), kOk);
  t.rule = static_cast<std::uint16_t>(kind);
  t.complex[0] = first_flag;
  t.complex[1] = second_flag;
  t.complex[2] = joined_flag;
  return t;
}

template <typename... Rules>
TuplesEntry group(std::uint32_t charset, Rules... rules) {
  TuplesEntry entry;
  entry.charset_id = charset;
  const int statuses[] = {kOk, entry.tuples.push_back(std::move(rules))...};
  for (const int status : statuses) EXPECT_EQ(status, kOk);
  return entry;
}

class PairRuleIndexTest : public ::testing::Test {
 protected:
  template <typename... Groups>
  void select(Groups... groups) {
    groups_.clear();
    (groups_.push_back(std::move(groups)), ...);
    selection_.remove_all();
    for (const TuplesEntry& g : groups_) ASSERT_EQ(selection_.push_back(&g), kOk);
    ASSERT_EQ(index_.rebuild(selection_), kOk);
  }

  // The kinds of the hits, in order.
  std::vector<std::int32_t> kinds(std::uint16_t second, bool second_marked, std::uint16_t first,
                                  bool first_marked) {
    DynArray<PairRuleHit> hits;
    EXPECT_EQ(find_pair_rules(second, second_marked, first, first_marked, hits, index_), kOk);
    std::vector<std::int32_t> out;
    for (const PairRuleHit& hit : hits) out.push_back(hit.kind);
    return out;
  }

  std::vector<TuplesEntry> groups_;
  PtrArray<const TuplesEntry> selection_;
  PairRuleIndex index_;
};

using Kinds = std::vector<std::int32_t>;

TEST_F(PairRuleIndexTest, AnEmptySelectionOrEmptyGroupsGiveNoHit) {
  select();
  EXPECT_EQ(kinds(1, false, 2, false), Kinds{});
  select(group(5), group(6));
  EXPECT_EQ(index_.rule_count(), 0u);
  EXPECT_EQ(kinds(1, false, 2, false), Kinds{});
}

TEST_F(PairRuleIndexTest, BothKeysAndBothSideFlagsMustMatch) {
  select(group(5, rule({10}, {20}, 1), rule({10}, {20}, 2, 1, 0), rule({10}, {20}, 3, 0, 1),
               rule({10}, {20}, 4, 1, 1)));
  struct Case {
    std::uint16_t second;
    bool second_marked;
    std::uint16_t first;
    bool first_marked;
    Kinds expected;
  } cases[] = {
      {10, false, 20, false, {1}}, {10, true, 20, false, {2}}, {10, false, 20, true, {3}},
      {10, true, 20, true, {4}},   {20, false, 10, false, {}}, {10, false, 21, false, {}},
      {11, false, 20, false, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(kinds(c.second, c.second_marked, c.first, c.first_marked), c.expected)
        << c.second << " " << c.second_marked << " " << c.first << " " << c.first_marked;
  }
}

TEST_F(PairRuleIndexTest, HitsComeInTheOrderOfGroupsAndRules) {
  // Rules naming other keys stand between; a rule standing in two groups
  // hits twice; a key twice in one list counts once.
  const auto shared = [] { return rule({7, 30}, {40}, 84, 0, 0, 1, {5480, 5481}); };
  select(group(5, rule({30}, {40}, 12), rule({31}, {40}, 99), rule({30, 30}, {40, 40}, -3),
               rule({30}, {40}, 67)),
         group(6, rule({30}, {41}, 98)), group(7, rule({}, {}, 97), shared()),
         group(8, rule({30}, {40}, 5), shared()));
  EXPECT_EQ(kinds(30, false, 40, false), (Kinds{12, -3, 67, 84, 5, 84}));
  DynArray<PairRuleHit> hits;
  ASSERT_EQ(find_pair_rules(7, false, 40, false, hits, index_), kOk);
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_EQ(hits[0].joined_reading, 1);
  EXPECT_EQ(hits[0].joined_keys, &groups_[2].tuples[1].lists[2]);
  EXPECT_TRUE(has_answer_key(*hits[1].joined_keys, 5481));
}

TEST_F(PairRuleIndexTest, TheHitListIsAppendedTo) {
  select(group(5, rule({1}, {2}, 9)));
  DynArray<PairRuleHit> hits;
  ASSERT_EQ(hits.push_back(PairRuleHit{nullptr, 55, 0}), kOk);
  ASSERT_EQ(find_pair_rules(1, false, 2, false, hits, index_), kOk);
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_EQ(hits[0].kind, 55);
  EXPECT_EQ(hits[1].kind, 9);
}

TEST(AnswerKeyListTest, PositionOfTheFirstOccurrenceOrTheEnd) {
  DynArray<std::uint16_t> keys;
  EXPECT_FALSE(has_answer_key(keys, 0));
  EXPECT_EQ(answer_key_position(keys, 0), 0u);
  for (const std::uint16_t key : {4, 9, 4}) ASSERT_EQ(keys.push_back(key), kOk);
  EXPECT_EQ(answer_key_position(keys, 4), 0u);
  EXPECT_EQ(answer_key_position(keys, 9), 1u);
  EXPECT_EQ(answer_key_position(keys, 5), 3u);
  EXPECT_TRUE(has_answer_key(keys, 9));
  EXPECT_FALSE(has_answer_key(keys, 5));
}

}  // namespace
}  // namespace inkrec

#include "engine/records/figure_group.h"

#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <memory>
#include <vector>

#include "engine/foundation/allocation.h"
#include "tests/support/answered_groups.h"

namespace inkrec {
namespace {

TEST(FigureGroupTest, ResetLeavesWhatANewGroupSetsOnlyOnce) {
  AnswerList answers;
  GlyphGeometry geometry;
  FigureRecord figure;
  FigureGroup group(&answers, &geometry);
  EXPECT_EQ(group.index, -1);
  EXPECT_EQ(group.relation_low, 32767);
  EXPECT_EQ(group.relation_high, 0);
  EXPECT_EQ(group.single, 1);
  EXPECT_EQ(group.last, -1);
  EXPECT_EQ(group.figures.capacity(), 16u);
  EXPECT_FALSE(group.figures.owns());

  ASSERT_EQ(group.figures.push_back(&figure), kOk);
  ASSERT_EQ(group.relations.push_back(PairRelation{1, 4, 0, 32767}), kOk);
  ASSERT_EQ(group.second_values.push_back(2), kOk);
  ASSERT_EQ(group.fourth_values.push_back(4), kOk);
  ASSERT_EQ(group.members.set(3), kOk);
  ASSERT_EQ(group.coverage.set(5), kOk);
  ASSERT_NE(register_punctuation_key(group.punctuation_cache, group, 1, 2), nullptr);
  ASSERT_NE(group.layout_cache.find_or_add(2, 0), nullptr);
  group.box = Box16{1, 2, 3, 4};
  group.index = 8;
  group.relation_low = 10;
  group.single = 0;
  group.inked_ramp = 6;
  group.exclusion_flags = 7;
  group.break_after = FigureGroup::kSpaceAfter;
  group.one_figure_mark = 1;
  group.last = 9;

  group.reset();
  EXPECT_EQ(group.index, -1);
  EXPECT_TRUE(group.second_values.empty());
  EXPECT_TRUE(group.fourth_values.empty());
  EXPECT_TRUE(group.members.is_empty());
  EXPECT_TRUE(group.coverage.is_empty());
  EXPECT_EQ(group.single, 1);
  EXPECT_EQ(group.inked_ramp, 0);
  EXPECT_EQ(group.exclusion_flags, 0u);
  EXPECT_EQ(group.break_after, 0u);
  EXPECT_EQ(group.one_figure_mark, 0);
  EXPECT_EQ(group.last, -1);
  // Untouched by reset.
  EXPECT_EQ(group.figures.size(), 1u);
  EXPECT_EQ(group.relations.size(), 1u);
  EXPECT_EQ(group.relation_low, 10);
  EXPECT_EQ(group.box, (Box16{1, 2, 3, 4}));
  // The caches are keyed by the neighbours' ids: a reset group's are empty.
  EXPECT_TRUE(group.punctuation_cache.empty());
  EXPECT_TRUE(group.layout_cache.empty());
  EXPECT_EQ(group.answers, &answers);
  EXPECT_EQ(group.geometry, &geometry);

  group.destroy();
  EXPECT_TRUE(group.figures.empty());
  EXPECT_TRUE(group.punctuation_cache.empty());
  EXPECT_TRUE(group.relations.empty());
}

// A letter rule rewrites a reading as (letter, its capital, letter), the
// way the rules pass a triple: the capital lands in the slot the case
// choice of upper case reads, the lower-case form in the one lower case
// reads, and the rule's penalty stays outside the total.
TEST(FigureGroupTest, ARuleRewritingALetterPutsItsCapitalWhereTheCaseChoiceReadsIt) {
  AnswerList answers;
  GlyphGeometry geometry;
  FigureGroup group(&answers, &geometry);
  Answer read = Answer::from_code(u'f');
  read.set_component(Answer::kLetterScore, 8000);
  ASSERT_EQ(answers.insert(read), kOk);

  ASSERT_EQ(rewrite_answer_entry(group, 0, u't', u'T', u't', 1, -700, 1, nullptr), kOk);
  const Answer& rewritten = answers.answers()[0];
  EXPECT_EQ(rewritten.codes[0], u't');
  EXPECT_EQ(rewritten.saved_codes[0], u'f');
  EXPECT_EQ(rewritten.rule_word, 1u);
  EXPECT_EQ(rewritten.total(), 8000);
  EXPECT_EQ(rewritten.components[Answer::kPenaltyComponent], -701);

  ASSERT_EQ(answers.set_code_choice(0, 1), kOk);  // upper case
  EXPECT_EQ(answers.best_code(), u'T');
  EXPECT_EQ(answers.answers()[0].output_codes(false)[0], u'T');
  ASSERT_EQ(rewrite_answer_entry(group, 0, u't', u'T', u't', 1, 0, 1, nullptr), kOk);
  ASSERT_EQ(answers.set_code_choice(0, 2), kOk);  // lower case
  EXPECT_EQ(answers.best_code(), u't');
}

TEST(FigureGroupTest, CopiesDuplicateWhatTheGroupOwns) {
  FigureRecord figure;
  figure.stroke_index = 4;
  FigureGroup group;
  group.index = 3;
  ASSERT_EQ(group.figures.push_back(&figure), kOk);
  ASSERT_EQ(group.coverage.set(2), kOk);
  std::array<std::uint32_t, 2>* pair = register_figure_key(group.pair_cache, group, 1, 2, 1);
  ASSERT_NE(pair, nullptr);
  (*pair)[1] = 44;

  FigureGroup copy;
  ASSERT_EQ(copy.assign(group), kOk);
  EXPECT_EQ(copy.figures[0], &figure);
  EXPECT_TRUE(copy.coverage.test(2));
  EXPECT_EQ(copy.index, 3);
  EXPECT_EQ((*register_figure_key(copy.pair_cache, group, 1, 2, 1))[1], 44u);

  PtrArray<FigureRecord> owned(4, true);
  FigureRecord* own = owned.add_new();
  ASSERT_NE(own, nullptr);
  own->stroke_index = 9;
  group.figures.swap(owned);
  ASSERT_EQ(copy.assign(group), kOk);
  EXPECT_NE(copy.figures[0], own);
  EXPECT_EQ(copy.figures[0]->stroke_index, 9);

  FigureGroup unchanged;
  {
    AllocationFailureScope no_memory;
    EXPECT_EQ(unchanged.assign(group), kOutOfMemory);
  }
  EXPECT_TRUE(unchanged.figures.empty());
  EXPECT_EQ(unchanged.index, -1);
}

TEST(FigureGroupTest, CacheKeysPackBothIndicesAndTheFlag) {
  FigureGroup owner;
  FigureGroup neighbour;
  neighbour.index = 12;
  auto* plain = register_figure_key(owner.pair_cache, neighbour, 3, 4, 0);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ((*plain)[0], 0u);
  (*plain)[0] = 5;
  auto* flagged = register_figure_key(owner.pair_cache, neighbour, 3, 4, 1);
  EXPECT_EQ((*register_figure_key(owner.pair_cache, neighbour, 3, 4, 0))[0], 5u);
  EXPECT_EQ((*flagged)[0], 0u);
  ASSERT_EQ(owner.pair_cache.size(), 2u);
  EXPECT_EQ(owner.pair_cache.find(12, 3u | 4u << 14), plain);
  EXPECT_EQ(owner.pair_cache.find(12, 3u | 4u << 14 | 1u << 28), flagged);
  // Only 14 bits of each index count; the flag's three bits all do.
  EXPECT_EQ(register_figure_key(owner.pair_cache, neighbour, 3 + 0x4000, 4, 0),
            register_figure_key(owner.pair_cache, neighbour, 3, 4, 0));
  EXPECT_EQ(register_figure_key(owner.pair_cache, neighbour, 3, 4 + 0x4000, 0),
            register_figure_key(owner.pair_cache, neighbour, 3, 4, 0));
  for (const std::uint32_t flag : {2u, 4u, 7u}) {
    EXPECT_EQ((*register_figure_key(owner.pair_cache, neighbour, 3, 4, flag))[0], 0u) << flag;
  }
  EXPECT_EQ(owner.pair_cache.size(), 5u);

  std::uint32_t* value = register_punctuation_key(owner.punctuation_cache, neighbour, 1, 2);
  ASSERT_NE(value, nullptr);
  *value = 8;
  EXPECT_EQ(*register_punctuation_key(owner.punctuation_cache, neighbour, 1, 2), 8u);

  FigureGroup full;
  AllocationFailureScope no_memory;
  EXPECT_EQ(register_punctuation_key(full.punctuation_cache, neighbour, 1, 2), nullptr);
}

class GroupSortTest : public test::AnsweredGroupsTest {};

TEST_F(GroupSortTest, CoverageThenBestTotal) {
  FigureGroup* empty = add(-1, 9000);
  FigureGroup* late = add(4, 9500);
  FigureGroup* weak = add(1, 6000);
  FigureGroup* unanswered = add(1, -1);
  FigureGroup* strong = add(1, 8000);
  FigureGroup* first = add(0, 100);

  PtrArray<FigureGroup> pointers;
  for (const auto& group : groups_) ASSERT_EQ(pointers.push_back(group.get()), kOk);
  ASSERT_EQ(sort_group_pointers(pointers), kOk);
  const std::vector<FigureGroup*> expected = {first, strong, weak, unanswered, late, empty};
  EXPECT_EQ(std::vector<FigureGroup*>(pointers.begin(), pointers.end()), expected);

  DynArray<FigureGroup> values;
  for (const auto& group : groups_) ASSERT_EQ(values.push_default()->assign(*group), kOk);
  ASSERT_EQ(sort_records_208(values), kOk);
  for (std::uint32_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(values[i].index, expected[i]->index) << i;
  }

  ASSERT_EQ(pointers.push_back(nullptr), kOk);
  EXPECT_EQ(sort_group_pointers(pointers), kBadArgument);
}

TEST_F(GroupSortTest, LookUps) {
  add(3, 5000);
  FigureGroup* second = add(3, 6000);
  add(7, 5000);
  PtrArray<FigureGroup> pointers;
  for (const auto& group : groups_) ASSERT_EQ(pointers.push_back(group.get()), kOk);

  EXPECT_EQ(find_group_by_second_set(pointers, second->coverage), groups_[0].get());
  ASSERT_EQ(second->members.set(1), kOk);
  EXPECT_EQ(find_group_by_first_set(pointers, second->members), second);
  BitSet none;
  ASSERT_EQ(none.set(40), kOk);
  EXPECT_EQ(find_group_by_first_set(pointers, none), nullptr);

  EXPECT_EQ(find_last_by_word6(pointers, 1), second);
  EXPECT_EQ(find_last_by_word6(pointers, 9), nullptr);
  pointers.data()[2] = nullptr;  // the scan from the end stops here
  EXPECT_EQ(find_last_by_word6(pointers, 1), nullptr);

  DynArray<FigureGroup> values;
  for (const auto& group : groups_) ASSERT_EQ(values.push_default()->assign(*group), kOk);
  ASSERT_NE(find_group_by_second_set(values, groups_[2]->coverage), nullptr);
  EXPECT_EQ(find_group_by_second_set(values, groups_[2]->coverage)->index, 2);
}

// Four figures with a pair table: pair (i, j) has value 10 * (i + j),
// kind j % 2 and angle 90 * j, except as a test sets it.
class PairQueryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(table_.reserve(4), kOk);
    for (int high = 1; high < 4; ++high) {
      for (int low = 0; low < high; ++low) {
        PairMetrics* entry = table_.entries().push_default();
        ASSERT_NE(entry, nullptr);
        entry->measures[0] = static_cast<std::int16_t>(10 * (low + high));
        entry->kind = static_cast<std::int16_t>(high % 2);
        entry->angle = static_cast<std::int16_t>(90 * high);
      }
    }
  }

  PairMetrics& pair(int i, int j) { return *table_.at(i, j); }

  FigureGroup group_of(std::initializer_list<std::uint32_t> members) {
    FigureGroup group;
    for (const std::uint32_t m : members) {
      EXPECT_EQ(group.members.set(m), kOk);
      EXPECT_EQ(group.figures.push_back(&figure_), kOk);
    }
    return group;
  }

  PairTable table_;
  FigureRecord figure_;
};

TEST_F(PairQueryTest, BestPartners) {
  int index = -7;
  std::int16_t value = -7;
  ASSERT_EQ(table_.best_partner(2, -1, nullptr, &index, &value), kOk);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(value, 20);
  ASSERT_EQ(table_.best_partner(2, 1, nullptr, &index, &value),
            kOk);  // only (2, 3) is of kind 1
  EXPECT_EQ(index, 3);
  EXPECT_EQ(value, 50);
  BitSet allowed;
  ASSERT_EQ(allowed.set(1), kOk);
  ASSERT_EQ(allowed.set(3), kOk);
  ASSERT_EQ(table_.best_partner(2, -1, &allowed, &index, &value), kOk);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(value, 30);
  pair(2, 3).measures[0] = 30;  // ties with (1, 2): the first partner wins
  index = -7;
  ASSERT_EQ(table_.best_partner(2, -1, &allowed, &index, &value), kOk);
  EXPECT_EQ(index, 1);

  int second = -7;
  std::int16_t second_value = -7;
  ASSERT_EQ(table_.two_best_partners(0, -1, nullptr, &index, &value, &second, &second_value), kOk);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(second, 2);
  EXPECT_EQ(second_value, 20);

  // Nothing qualifies: the outs stay.
  index = -7;
  ASSERT_EQ(table_.best_partner(2, 5, nullptr, &index, &value), kOk);
  EXPECT_EQ(index, -7);
  ASSERT_EQ(table_.best_partner(9, -1, nullptr, &index, &value), kOk);
  EXPECT_EQ(index, -7);
}

TEST_F(PairQueryTest, NearestAngleAndBestEntry) {
  int index = -7;
  std::int16_t folded = -7;
  // Partners of 1: (0,1) at 90, (1,2) at 180, (1,3) at 270 folded to 90.
  ASSERT_EQ(table_.partner_nearest_angle(-1, 1, 100, &folded, &index), kOk);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(folded, 90);
  pair(0, 1).kind = 5;
  ASSERT_EQ(table_.partner_nearest_angle(1, 1, 100, &folded, &index), kOk);
  EXPECT_EQ(index, 3);
  EXPECT_EQ(folded, 90);

  PairMetrics record;
  pair(0, 1).measures[0] = PairMetrics::kNotMeasured;
  pair(0, 2).measures[0] = PairMetrics::kNotMeasured;
  pair(0, 3).measures[0] = PairMetrics::kNotMeasured;
  index = -7;
  ASSERT_EQ(table_.best_partner_entry(-1, 0, &record, &index), kOk);
  EXPECT_EQ(index, -7);  // never measured: no partner
  pair(0, 3).measures[0] = 100;
  ASSERT_EQ(table_.best_partner_entry(-1, 0, &record, &index), kOk);
  EXPECT_EQ(index, 3);
  EXPECT_EQ(record.angle, 270);
}

TEST_F(PairQueryTest, GroupMemberPairs) {
  const PairMetrics* first = nullptr;
  const PairMetrics* second = nullptr;
  EXPECT_EQ(group_of({2}).leading_pairs(table_, &first, &second), kBadArgument);
  ASSERT_EQ(group_of({3, 0, 2}).leading_pairs(table_, &first, &second), kOk);
  EXPECT_EQ(first, &pair(0, 2));
  EXPECT_EQ(second, &pair(2, 3));
  second = nullptr;
  ASSERT_EQ(group_of({3, 1}).leading_pairs(table_, &first, &second), kOk);
  EXPECT_EQ(first, &pair(1, 3));
  EXPECT_EQ(second, nullptr);
  EXPECT_EQ(group_of({1, 8}).leading_pairs(table_, &first, nullptr), kBadArgument);

  // Link distances 7, 3 and 32767 (not measured) between {0} and {1, 2, 3}.
  pair(0, 1).link_distance = 7;
  pair(0, 2).link_distance = 3;
  pair(0, 3).link_distance = 32767;
  std::int32_t least = 0;
  ASSERT_EQ(group_of({0}).scan_members(table_, group_of({1, 2, 3}), &least), kOk);
  EXPECT_EQ(least, 3);
  pair(0, 1).link_distance = 32767;
  pair(0, 2).link_distance = 32767;
  ASSERT_EQ(group_of({0}).scan_members(table_, group_of({1, 2, 3}), &least), kOk);
  EXPECT_EQ(least, 32767);
  ASSERT_EQ(group_of({0}).scan_members(table_, group_of({}), &least), kOk);
  EXPECT_EQ(least, INT_MAX);
  least = 5;
  EXPECT_EQ(group_of({0}).scan_members(table_, group_of({6}), &least), kBadArgument);
  EXPECT_EQ(least, 5);
}

}  // namespace
}  // namespace inkrec

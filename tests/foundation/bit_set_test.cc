#include "engine/foundation/bit_set.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

namespace inkrec {
namespace {

BitSet set_of(std::initializer_list<std::uint32_t> members) {
  BitSet set;
  for (std::uint32_t n : members) EXPECT_EQ(set.set(n), kOk);
  return set;
}

std::vector<std::uint32_t> members_of(const BitSet& set) {
  std::vector<std::uint32_t> members;
  for (BitSetIterator it(set); !it.at_end(); it.advance()) members.push_back(it.value());
  return members;
}

TEST(BitSetTest, WordsGrowAndAreTrimmed) {
  BitSet set;
  ASSERT_EQ(set.set(100), kOk);
  EXPECT_EQ(set.words().size(), 4u);
  ASSERT_EQ(set.reset(100), kOk);
  EXPECT_TRUE(set.is_empty());
  EXPECT_TRUE(set.words().empty());
  std::uint32_t lowest = 0;
  EXPECT_FALSE(set.lowest_bit(&lowest));
  EXPECT_EQ(set.reset(100), kBadArgument);
  EXPECT_EQ(set.set(BitSet::kMaxMember + 1u), kBadArgument);
}

TEST(BitSetTest, LowestBitNeverNamesARemovedMember) {
  BitSet set = set_of({5, 40});
  ASSERT_EQ(set.reset(5), kOk);
  ASSERT_EQ(set.words().size(), 2u);  // the first word is now 0 but stays
  EXPECT_EQ(set.words()[0], 0u);
  std::uint32_t lowest = 0;
  ASSERT_TRUE(set.lowest_bit(&lowest));
  EXPECT_EQ(lowest, 40u);
  ASSERT_EQ(set.set(7), kOk);
  ASSERT_TRUE(set.lowest_bit(&lowest));
  EXPECT_EQ(lowest, 7u);
}

TEST(BitSetTest, OrderIsWordCountThenFirstDifferingWord) {
  EXPECT_TRUE(set_of({1}).less(set_of({40})));
  EXPECT_TRUE(set_of({1, 2}).less(set_of({3})));  // word 6 before word 8
  EXPECT_FALSE(set_of({3}).less(set_of({1, 2})));
  EXPECT_TRUE(set_of({3}).greater(set_of({1, 2})));
  EXPECT_FALSE(set_of({1, 2}).less(set_of({1, 2})));
  EXPECT_TRUE(set_of({1, 2}).equals(set_of({2, 1})));
  // Words compare as unsigned: 0x80000000 is the greater word.
  EXPECT_TRUE(set_of({0, 33}).less(set_of({31, 33})));
  EXPECT_FALSE(set_of({31, 33}).less(set_of({0, 33})));
}

TEST(BitSetTest, QueriesAtTheEdges) {
  const BitSet set = set_of({31});
  std::uint32_t n = 32;
  EXPECT_FALSE(set.next_bit(&n));
  n = 0;
  ASSERT_TRUE(set.next_bit(&n));
  EXPECT_EQ(n, 31u);
  EXPECT_TRUE(set.contains(BitSet()));
  EXPECT_TRUE(BitSet().contains(BitSet()));
  EXPECT_FALSE(BitSet().contains(set));
  EXPECT_FALSE(set.intersects(BitSet()));
  std::uint32_t first = 0;
  std::uint32_t last = 0;
  EXPECT_FALSE(BitSet().first_last_words(&first, &last));
  const BitSet wide = set_of({1, 70});
  ASSERT_TRUE(wide.first_last_words(&first, &last));
  EXPECT_EQ(first, 2u);
  EXPECT_EQ(last, 64u);
  ASSERT_TRUE(wide.highest_bit(&n));
  EXPECT_EQ(n, 70u);
}

TEST(BitSetTest, RangesUnionsDifferencesAndCopies) {
  BitSet set;
  ASSERT_EQ(set.set_range(30, 34), kOk);
  EXPECT_EQ(members_of(set), (std::vector<std::uint32_t>{30, 31, 32, 33, 34}));
  ASSERT_EQ(set.set_range(9, 8), kOk);
  EXPECT_EQ(set.count(), 5u);

  BitSet both;
  ASSERT_EQ(make_union(set, set_of({2, 100}), &both), kOk);
  EXPECT_EQ(members_of(both), (std::vector<std::uint32_t>{2, 30, 31, 32, 33, 34, 100}));
  BitSet rest;
  ASSERT_EQ(make_difference(both, set_of({31, 100}), &rest), kOk);
  EXPECT_EQ(members_of(rest), (std::vector<std::uint32_t>{2, 30, 32, 33, 34}));
  EXPECT_EQ(rest.words().size(), 2u);

  BitSet copy;
  ASSERT_EQ(copy.assign(rest), kOk);
  EXPECT_TRUE(copy.equals(rest));
  BitSet moved = std::move(copy);
  EXPECT_TRUE(moved.equals(rest));
  EXPECT_TRUE(copy.is_empty());

  DynArray<std::uint32_t> list;
  ASSERT_EQ(rest.append_indices(list), kOk);
  EXPECT_EQ(list.size(), 5u);
  EXPECT_GE(list.capacity(), 64u);

  BitSetIterator it(rest);
  ASSERT_EQ(it.starting_at(rest, 31), kOk);
  EXPECT_EQ(it.value(), 32u);
  ASSERT_EQ(it.starting_at(rest, 35), kOk);
  EXPECT_TRUE(it.at_end());
}

TEST(BitSetTest, FailedGrowthLeavesTheSetAlone) {
  BitSet set = set_of({3});
  AllocationFailureScope fail;
  EXPECT_EQ(set.set(1000), kOutOfMemory);
  EXPECT_EQ(set.unite(BitSet()), kOk);
  BitSetIterator it(set);
  EXPECT_EQ(it.status(), kOutOfMemory);
  EXPECT_TRUE(it.at_end());
  EXPECT_EQ(set.count(), 1u);
  EXPECT_TRUE(set.test(3));
}

TEST(BitSetTest, BitsFromReadThirtyTwoMembersAcrossWords) {
  BitSet set;
  for (const std::uint32_t n : {0u, 5u, 31u, 32u, 40u, 63u, 70u}) ASSERT_EQ(set.set(n), kOk);
  struct Case {
    std::uint32_t from;
    std::uint32_t mask;
  };
  const Case cases[] = {
      {0, 1u | 1u << 5 | 1u << 31},   // one whole word
      {5, 1u | 1u << 26 | 1u << 27},  // 5, 31, 32: across the first two words
      {32, 1u | 1u << 8 | 1u << 31},  // 32, 40, 63
      {40, 1u | 1u << 23 | 1u << 30}, // 40, 63, 70: into the last word
      {70, 1u},                       // the last word alone
      {96, 0},                        // beyond the words
  };
  for (const Case& c : cases) {
    EXPECT_EQ(set.bits_from(c.from), c.mask) << c.from;
  }
  EXPECT_EQ(BitSet().bits_from(0), 0u);
}

TEST(BitSetTest, BitMasks) {
  EXPECT_EQ(bit_mask(0), 1u);
  EXPECT_EQ(bit_mask(33), 2u);
  EXPECT_EQ(bit_mask_checked(31), 0x80000000u);
  EXPECT_EQ(bit_mask_checked(32), 0u);
  EXPECT_EQ(bit_mask_checked(0x105), 0x20u);  // only the low byte counts
}

// Random operations against std::set, checking every query after each step.
TEST(BitSetTest, AgreesWithStdSet) {
  std::mt19937 random(1234);
  std::uniform_int_distribution<std::uint32_t> member(0, 200);
  std::uniform_int_distribution<int> operation(0, 9);
  BitSet set;
  std::set<std::uint32_t> expected;
  for (int step = 0; step < 5000; ++step) {
    const std::uint32_t n = member(random);
    switch (operation(random)) {
      case 0:
      case 1:
      case 2:
        ASSERT_EQ(set.set(n), kOk);
        expected.insert(n);
        break;
      case 3:
      case 4:
      case 5: {
        const bool within = !expected.empty() && n / 32 <= *expected.rbegin() / 32;
        ASSERT_EQ(set.reset(n), within ? kOk : kBadArgument);
        expected.erase(n);
        break;
      }
      case 6: {
        BitSet other = set_of({member(random), member(random), member(random)});
        for (std::uint32_t m : members_of(other)) expected.insert(m);
        ASSERT_EQ(set.unite(other), kOk);
        break;
      }
      case 7: {
        BitSet other;
        ASSERT_EQ(other.set_range(n, n + member(random) % 40), kOk);
        for (std::uint32_t m : members_of(other)) expected.erase(m);
        set.subtract(other);
        break;
      }
      case 8:
        if (step % 50 == 0) {
          set.clear();
          expected.clear();
        }
        break;
      default: {
        BitSet copy;
        ASSERT_EQ(copy.assign(set), kOk);
        ASSERT_TRUE(copy.equals(set));
        ASSERT_FALSE(copy.less(set));
        break;
      }
    }
    ASSERT_EQ(members_of(set), std::vector<std::uint32_t>(expected.begin(), expected.end()));
    ASSERT_EQ(set.count(), expected.size());
    ASSERT_EQ(set.test(n), expected.count(n) == 1);
    ASSERT_EQ(set.is_empty(), expected.empty());
    if (!set.is_empty()) {
      ASSERT_NE(set.words().back(), 0u);
    }
    std::uint32_t found = 0;
    ASSERT_EQ(set.lowest_bit(&found), !expected.empty());
    if (!expected.empty()) {
      ASSERT_EQ(found, *expected.begin());
      ASSERT_TRUE(set.highest_bit(&found));
      ASSERT_EQ(found, *expected.rbegin());
    }
    std::uint32_t next = n;
    const auto after = expected.lower_bound(n);
    ASSERT_EQ(set.next_bit(&next), after != expected.end());
    if (after != expected.end()) {
      ASSERT_EQ(next, *after);
    }
  }
}

}  // namespace
}  // namespace inkrec

// The table of the word search's memos: keys of a leading value and codes,
// values that stay where they were made, and a clearing that forgets every
// key while the values and the room are kept.
#include "engine/segmentation/code_sequence_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <vector>

namespace inkrec {
namespace {

struct Key {
  std::uint64_t lead;
  std::vector<std::uint16_t> codes;
};

// Keys that differ from the first in one part each: the leading value, a
// code, a code more, a code less, no codes.
std::vector<Key> neighbouring_keys() {
  return {{7, {u'h', u'o', u'u', u's'}},
          {8, {u'h', u'o', u'u', u's'}},
          {7ull << 32, {u'h', u'o', u'u', u's'}},
          {7, {u'h', u'o', u'u', u'x'}},
          {7, {u'h', u'o', u'u', u's', u'e'}},
          {7, {u'h', u'o', u'u'}},
          {7, {}},
          {0, {}}};
}

TEST(CodeSequenceTableTest, EachKeyKeepsItsOwnValue) {
  CodeSequenceTable<int> table;
  const std::vector<Key> keys = neighbouring_keys();
  for (std::size_t k = 0; k < keys.size(); ++k) {
    EXPECT_EQ(table.find(keys[k].lead, keys[k].codes), nullptr) << k;
    bool added = false;
    table.find_or_add(keys[k].lead, keys[k].codes, &added) = static_cast<int>(k);
    EXPECT_TRUE(added) << k;
  }
  for (std::size_t k = 0; k < keys.size(); ++k) {
    const int* value = table.find(keys[k].lead, keys[k].codes);
    ASSERT_NE(value, nullptr) << k;
    EXPECT_EQ(*value, static_cast<int>(k)) << k;
    bool added = true;
    EXPECT_EQ(&table.find_or_add(keys[k].lead, keys[k].codes, &added), value) << k;
    EXPECT_FALSE(added) << k;
  }
}

TEST(CodeSequenceTableTest, ValuesStayWhereTheyWereMadeAsTheTableGrows) {
  constexpr std::uint32_t kKeys = 5000;
  CodeSequenceTable<std::uint32_t> table;
  const auto codes_of = [](std::uint32_t k) {
    return std::vector<std::uint16_t>{static_cast<std::uint16_t>(k % 13),
                                      static_cast<std::uint16_t>(k / 13)};
  };
  bool added = false;
  std::vector<const std::uint32_t*> made;
  for (std::uint32_t k = 0; k < kKeys; ++k) {
    std::uint32_t& value = table.find_or_add(k % 3, codes_of(k), &added);
    value = k;
    made.push_back(&value);
  }
  for (std::uint32_t k = 0; k < kKeys; ++k) {
    const std::uint32_t* value = table.find(k % 3, codes_of(k));
    EXPECT_EQ(value, made[k]) << k;
    ASSERT_NE(value, nullptr) << k;
    EXPECT_EQ(*value, k) << k;
  }
}

TEST(CodeSequenceTableTest, AClearedTableForgetsItsKeysAndHandsTheirValuesOutAgain) {
  CodeSequenceTable<int> table;
  const std::vector<Key> keys = neighbouring_keys();
  bool added = false;
  for (std::size_t k = 0; k < keys.size(); ++k) {
    table.find_or_add(keys[k].lead, keys[k].codes, &added) = 100 + static_cast<int>(k);
  }
  for (int round = 0; round < 3; ++round) {
    table.clear();
    for (const Key& key : keys) EXPECT_EQ(table.find(key.lead, key.codes), nullptr) << round;
    // One key back: a new key, whose value is one kept from before (the
    // caller makes it new); the others stay forgotten.
    int& value = table.find_or_add(keys[3].lead, keys[3].codes, &added);
    EXPECT_TRUE(added) << round;
    value = round;
    for (std::size_t k = 0; k < keys.size(); ++k) {
      const int* found = table.find(keys[k].lead, keys[k].codes);
      if (k == 3) {
        ASSERT_NE(found, nullptr) << round;
        EXPECT_EQ(*found, round);
      } else {
        EXPECT_EQ(found, nullptr) << round << " " << k;
      }
    }
  }
}

}  // namespace
}  // namespace inkrec

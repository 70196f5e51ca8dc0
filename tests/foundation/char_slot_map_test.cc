#include "engine/foundation/char_slot_map.h"

#include <gtest/gtest.h>

namespace inkrec {
namespace {

class CharSlotMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // 'a' -> 0, 'b' -> 127, 'c' -> no slot, 'd' -> 128 (out of the map), 'e' -> 1.
    table_.resize('e' + 1, 0xFFFFFFFF);
    table_['a'] = 0;
    table_['b'] = 127;
    table_['d'] = 128;
    table_['e'] = 1;
    map_.init(&table_);
  }

  DynArray<std::uint32_t> table_;
  CharSlotMap map_;
};

TEST_F(CharSlotMapTest, CharactersWithoutASlotWriteOnlyTheSpare) {
  EXPECT_TRUE(map_.is_empty());
  for (char16_t c : {u'c', u'd', u'z', u'\xFFFF'}) {
    map_.slot_ref(c) = CharSlotMap::kWordEnds;
    EXPECT_EQ(map_.slot_value(c), CharSlotMap::kEmpty);
  }
  EXPECT_TRUE(map_.is_empty());
  EXPECT_EQ(map_.char_index(u'z'), -1);
  EXPECT_EQ(map_.char_index(u'd'), -1);
  // The spare slot is set to 255 every time it is handed out.
  EXPECT_EQ(map_.slot_ref(u'z'), CharSlotMap::kEmpty);

  map_.slot_ref(u'b') = CharSlotMap::kLetterContinues;
  EXPECT_EQ(map_.slot(127), CharSlotMap::kLetterContinues);
  EXPECT_EQ(map_.slot(128), CharSlotMap::kEmpty);
  EXPECT_FALSE(map_.is_empty());
}

TEST_F(CharSlotMapTest, AWordEndIsNeverLowered) {
  map_.mark(u'a', CharSlotMap::kWordEnds);
  map_.mark(u'a', CharSlotMap::kLetterContinues);
  EXPECT_EQ(map_.slot_value(u'a'), CharSlotMap::kWordEnds);
  map_.mark(u'e', CharSlotMap::kLetterContinues);
  map_.mark(u'e', CharSlotMap::kWordEnds);
  EXPECT_EQ(map_.slot_value(u'e'), CharSlotMap::kWordEnds);
}

TEST_F(CharSlotMapTest, MergeFillsOnlyUnknownSlots) {
  CharSlotMap other;
  other.init(&table_);
  other.mark(u'a', CharSlotMap::kLetterContinues);
  other.mark(u'e', CharSlotMap::kLetterContinues);
  map_.mark(u'a', CharSlotMap::kWordEnds);
  map_.merge_missing(other);
  EXPECT_EQ(map_.slot_value(u'a'), CharSlotMap::kWordEnds);
  EXPECT_EQ(map_.slot_value(u'e'), CharSlotMap::kLetterContinues);
  CharSlotMap copy;
  copy.copy_slots(map_);
  EXPECT_EQ(copy.slot(1), CharSlotMap::kLetterContinues);
  map_.init(&table_);
  EXPECT_TRUE(map_.is_empty());
}

}  // namespace
}  // namespace inkrec

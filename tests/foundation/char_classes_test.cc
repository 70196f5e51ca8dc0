#include "engine/foundation/char_classes.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace inkrec {
namespace {

// Codes 0..127 have the slot of their own number; later codes have none.
DynArray<std::uint32_t> identity_index() {
  DynArray<std::uint32_t> table;
  for (std::uint32_t c = 0; c < 128; ++c) EXPECT_EQ(table.push_back(c), kOk);
  return table;
}

TEST(CharClassesTest, PunctuationClassOfCodes) {
  const DynArray<std::uint32_t> index = identity_index();
  const CharClassTables ltr(&index, false);
  const CharClassTables rtl(&index, true);
  struct Case {
    std::uint32_t code;
    int left_to_right, right_to_left;
  };
  const Case cases[] = {
      {8, 7, 7},     {30, 7, 7},   {31, 7, 7},   {'-', 7, 7}, {'\t', 5, 5}, {'\r', 5, 5},
      {' ', 5, 5},   {'"', 5, 5},  {'\'', 5, 5}, {'*', 5, 5}, {'+', 5, 5},  {'/', 5, 5},
      {'=', 5, 5},   {'\\', 5, 5}, {'^', 5, 5},  {'_', 5, 5}, {'!', 4, 4},  {',', 4, 4},
      {'.', 4, 4},   {':', 4, 4},  {';', 4, 4},  {'?', 4, 4}, {'(', 1, 4},  {'[', 1, 4},
      {'{', 1, 4},   {')', 4, 1},  {']', 4, 1},  {'}', 4, 1}, {'a', 0, 0},  {'~', 0, 0},
      {0x5D0, 0, 0}, {0, 0, 0},     {127, 0, 0},  {128, 0, 0}, {0xFFFFFFFF, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ltr.punctuation_class(c.code), c.left_to_right) << c.code;
    EXPECT_EQ(rtl.punctuation_class(c.code), c.right_to_left) << c.code;
  }
}

TEST(CharClassesTest, PunctuationCodesAndInlineMarks) {
  std::set<std::uint32_t> punctuation = {123, 125, 126};
  for (std::uint32_t c = 29; c <= 34; ++c) punctuation.insert(c);
  for (std::uint32_t c = 39; c <= 47; ++c) punctuation.insert(c);
  for (std::uint32_t c = 58; c <= 63; ++c) punctuation.insert(c);
  for (std::uint32_t c = 91; c <= 95; ++c) punctuation.insert(c);
  const std::set<std::uint32_t> inline_marks = {32, 34, 39, 42, 43, 44,  45,  46,
                                                58, 59, 61, 94, 95, 126, 1497};
  for (std::uint32_t c = 0; c < 2000; ++c) {
    EXPECT_EQ(is_punctuation_code(c), punctuation.count(c) == 1) << c;
    EXPECT_EQ(is_inline_mark(c), inline_marks.count(c) == 1) << c;
  }
  EXPECT_TRUE(is_inline_mark(1497));
  EXPECT_FALSE(is_punctuation_code(1497));
  EXPECT_TRUE(is_inline_mark('~'));
  EXPECT_TRUE(is_punctuation_code('~'));
}

std::map<std::uint32_t, std::uint32_t> filled_slots(const CharSlotMap& map) {
  std::map<std::uint32_t, std::uint32_t> filled;
  for (std::uint32_t i = 0; i < CharSlotMap::kSlotCount; ++i) {
    if (map.slot(i) != CharSlotMap::kEmpty) filled[i] = map.slot(i);
  }
  return filled;
}

TEST(CharClassesTest, FiveTablesAndTheirBracketSwap) {
  using Slots = std::map<std::uint32_t, std::uint32_t>;
  const DynArray<std::uint32_t> index = identity_index();
  const CharClassTables ltr(&index, false);
  EXPECT_EQ(filled_slots(ltr.table(0)), (Slots{{8, 2}, {30, 2}, {31, 2}, {'-', 2}}));
  EXPECT_EQ(filled_slots(ltr.table(1)), (Slots{{8, 1}, {'-', 1}}));
  EXPECT_EQ(filled_slots(ltr.table(2)), (Slots{{'(', 1}, {'[', 1}, {'{', 1}}));
  EXPECT_EQ(filled_slots(ltr.table(3)), (Slots{{')', 2},
                                               {']', 2},
                                               {'}', 2},
                                               {'.', 2},
                                               {',', 2},
                                               {';', 2},
                                               {':', 2},
                                               {'?', 2},
                                               {'!', 2}}));
  EXPECT_EQ(filled_slots(ltr.table(4)), (Slots{{'\r', 2},
                                               {'\t', 2},
                                               {' ', 2},
                                               {'_', 2},
                                               {'^', 2},
                                               {'\\', 2},
                                               {'=', 2},
                                               {'/', 2},
                                               {'+', 2},
                                               {'*', 2},
                                               {'\'', 2},
                                               {'"', 2}}));
  const CharClassTables rtl(&index, true);
  EXPECT_TRUE(rtl.right_to_left());
  EXPECT_EQ(filled_slots(rtl.table(2)), (Slots{{')', 1}, {']', 1}, {'}', 1}}));
  EXPECT_EQ(rtl.table(3).slot_value('('), 2u);
  EXPECT_EQ(rtl.table(3).slot_value(')'), CharSlotMap::kEmpty);
}

TEST(CharClassesTest, CharSlotMapAnswersUnindexedCodesWithTheSpareSlot) {
  DynArray<std::uint32_t> index;
  for (std::uint32_t entry : {5u, 0xFFFFFFFFu, 200u, 0u}) ASSERT_EQ(index.push_back(entry), kOk);
  CharSlotMap map;
  EXPECT_TRUE(map.is_empty());
  map.init(&index);
  EXPECT_EQ(map.char_index(0), 5);
  EXPECT_EQ(map.char_index(1), -1);  // marked as having no index
  EXPECT_EQ(map.char_index(2), -1);  // an index past the 128 slots
  EXPECT_EQ(map.char_index(4), -1);  // past the table's end
  map.slot_ref(0) = 2;
  EXPECT_EQ(map.slot(5), 2u);
  EXPECT_EQ(map.slot_value(0), 2u);
  map.slot_ref(4) = 1;  // goes to the spare slot
  EXPECT_EQ(map.slot_ref(4), CharSlotMap::kEmpty);
  EXPECT_EQ(map.slot_value(4), CharSlotMap::kEmpty);
  EXPECT_EQ(map.slot(500), CharSlotMap::kEmpty);
  EXPECT_FALSE(map.is_empty());

  CharSlotMap other;
  other.init(&index);
  other.slot_ref(3) = 1;  // slot 0
  other.slot_ref(0) = 9;  // slot 5, already filled in map
  map.merge_missing(other);
  EXPECT_EQ(map.slot(0), 1u);
  EXPECT_EQ(map.slot(5), 2u);
  map.copy_slots(other);
  EXPECT_EQ(map.slot(5), 9u);
  map.init(nullptr);
  EXPECT_TRUE(map.is_empty());
  EXPECT_EQ(map.char_index(0), -1);
}

}  // namespace
}  // namespace inkrec

#include "engine/foundation/char_classes.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>
#include <vector>

#include "engine/foundation/letter_classes.h"
#include "engine/foundation/punctuation_rule.h"

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
      {0x5D0, 0, 0}, {0, 0, 0},
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

TEST(LetterClassesTest, FixedLettersThenPropertyBits) {
  const PropertyFlags none;
  const PropertyFlags all(0x1F0000);
  struct Case {
    char code;
    int count;
    bool c16_none, c16_all, c17_none, c17_all, c18_none, c18_all, c19_none, c19_all, c20_none,
        c20_all;
  };
  const Case cases[] = {
      {'L', 2, true, true, false, false, true, false, true, true, false, true},
      {'l', 2, true, true, false, false, true, false, true, true, false, true},
      {'S', 2, false, false, true, false, true, true, false, true, false, false},
      {'s', 2, false, false, true, false, true, true, false, true, false, false},
      {'e', 2, false, false, true, true, true, false, false, false, false, true},
      {'n', 2, false, false, true, true, true, false, false, false, false, true},
      {'n', 1, false, false, false, false, true, false, false, false, false, false},
      {'t', 2, false, true, true, false, true, true, false, true, false, true},
      {'g', 1, false, true, false, false, false, false, false, true, true, true},
      {'F', 2, false, true, false, false, false, false, false, true, false, true},
      {'h', 2, false, true, false, false, true, false, true, true, false, true},
      {'a', 2, false, true, true, false, true, false, false, true, false, true},
      {'a', 1, false, true, false, false, true, false, false, true, false, false},
  };
  for (const Case& c : cases) {
    const auto code = static_cast<std::uint32_t>(c.code);
    SCOPED_TRACE(testing::Message() << c.code << " count " << c.count);
    EXPECT_EQ(letter_class_16(code, none), c.c16_none);
    EXPECT_EQ(letter_class_16(code, all), c.c16_all);
    EXPECT_EQ(letter_class_17(code, none, c.count), c.c17_none);
    EXPECT_EQ(letter_class_17(code, all, c.count), c.c17_all);
    EXPECT_EQ(letter_class_18(code, none), c.c18_none);
    EXPECT_EQ(letter_class_18(code, all), c.c18_all);
    EXPECT_EQ(letter_class_19(code, none), c.c19_none);
    EXPECT_EQ(letter_class_19(code, all), c.c19_all);
    EXPECT_EQ(letter_class_20(code, none, c.count), c.c20_none);
    EXPECT_EQ(letter_class_20(code, all, c.count), c.c20_all);
  }
}

struct TestReading {
  std::uint16_t codes[3];
  std::uint16_t saved_codes[3];
  std::uint32_t mask;
};

TEST(LetterClassesTest, ReadingsUseTheSavedCodeForIndexMinusOne) {
  const TestReading reading{{'e', 0, 0}, {'h', 0, 0}, 0};
  EXPECT_TRUE(letter_class_17(reading, 0, 2));    // 'e'
  EXPECT_FALSE(letter_class_17(reading, -1, 2));  // 'h'
  EXPECT_TRUE(letter_class_19(reading, -1));
  EXPECT_FALSE(letter_class_19(reading, 3));
  EXPECT_FALSE(letter_class_16(reading));  // always the current code
  const TestReading flagged{{'a', 0, 0}, {'a', 0, 0}, 0x100000};
  EXPECT_TRUE(letter_class_20(flagged, 0, 2));
  EXPECT_TRUE(letter_class_18(flagged, 0));
  const TestReading bit18{{'a', 0, 0}, {'a', 0, 0}, 0x40000};
  EXPECT_FALSE(letter_class_18(bit18, 0));
}

// A figure group as the punctuation rule reads it.
struct TestGroup {
  std::vector<int> codes;
  Box16 box;
  std::uint32_t index = 0;
  std::uint16_t line = 0;
  PtrArray<TestGroup> figures;  // the group itself stands for its one figure
  std::map<std::pair<std::uint32_t, std::uint32_t>, std::uint32_t> cache;
  bool cache_full = false;
  mutable int judged = 0;  // glyph boxes read
};
int candidate_code(const TestGroup& g, int i) {
  return i >= 0 && i < static_cast<int>(g.codes.size()) ? g.codes[static_cast<std::size_t>(i)] : -1;
}
Box16 glyph_box(const TestGroup& g) {
  ++g.judged;
  return g.box;
}
std::uint32_t group_index(const TestGroup& g) { return g.index; }
const PtrArray<TestGroup>& figures_of(const TestGroup& g) { return g.figures; }
std::uint16_t line_index_of(const TestGroup& g) { return g.line; }
std::uint32_t* punctuation_cache_slot(TestGroup& g, std::uint32_t other, std::uint32_t key) {
  return g.cache_full ? nullptr : &g.cache[{other, key}];
}

class PunctuationRuleTest : public ::testing::Test {
 protected:
  TestGroup& group(std::vector<int> codes, Box16 box) {
    groups_.push_back(std::make_unique<TestGroup>());
    TestGroup& g = *groups_.back();
    g.codes = std::move(codes);
    g.box = box;
    g.index = static_cast<std::uint32_t>(groups_.size());
    EXPECT_EQ(g.figures.push_back(&g), kOk);
    return g;
  }
  int flag_of(const TestGroup& first, const TestGroup& second, int i = 0, int j = 0) {
    int flag = -1;
    EXPECT_EQ(apply_punctuation_rule(first, second, i, j, &flag), kOk);
    return flag;
  }

  std::vector<std::unique_ptr<TestGroup>> groups_;
};

TEST_F(PunctuationRuleTest, ApostropheAgainstTheMiddleOfTheNextBox) {
  const TestGroup& apostrophe = group({'\''}, {10, 0, 12, 5});
  // right - width / 2: 20 - 11 / 2 = 15 > 10.
  EXPECT_EQ(flag_of(apostrophe, group({'s'}, {10, 8, 20, 20})), 1);
  // 14 - 5 / 2 = 12 > 10.
  EXPECT_EQ(flag_of(apostrophe, group({'s'}, {10, 8, 14, 20})), 1);
  // 11 - 3 / 2 = 10, not beyond 10.
  EXPECT_EQ(flag_of(apostrophe, group({'s'}, {9, 8, 11, 20})), 0);
}

TEST_F(PunctuationRuleTest, HyphenAboveTheNextGroup) {
  const TestGroup& hyphen = group({'-'}, {0, 10, 8, 12});
  const TestGroup& tilde = group({'~'}, {0, 10, 8, 12});
  EXPECT_EQ(flag_of(hyphen, group({'a'}, {10, 12, 20, 20})), 1);
  EXPECT_EQ(flag_of(tilde, group({'a'}, {10, 12, 20, 20})), 1);
  EXPECT_EQ(flag_of(hyphen, group({'a'}, {10, 11, 20, 20})), 0);
  // A full stop or a comma never raises the flag.
  EXPECT_EQ(flag_of(hyphen, group({'.'}, {10, 30, 12, 32})), 0);
  EXPECT_EQ(flag_of(hyphen, group({','}, {10, 30, 12, 34})), 0);
  EXPECT_EQ(flag_of(group({'a'}, {0, 0, 1, 1}), group({'a'}, {10, 30, 12, 34})), 0);
}

TEST_F(PunctuationRuleTest, CandidatesAreChosenByIndex) {
  const TestGroup& first = group({'a', '-'}, {0, 10, 8, 12});
  const TestGroup& second = group({'.', 'b'}, {10, 30, 20, 40});
  EXPECT_EQ(flag_of(first, second, 1, 1), 1);
  EXPECT_EQ(flag_of(first, second, 1, -1), 0);  // -1 is candidate 0, the full stop
  EXPECT_EQ(flag_of(first, second, 1, 2), 0);   // no such candidate
  EXPECT_EQ(flag_of(first, second, 5, 0), 0);
}

TEST_F(PunctuationRuleTest, CachedRuleJudgesEachPairOnce) {
  TestGroup& first = group({'-'}, {0, 10, 8, 12});
  TestGroup& second = group({'a'}, {10, 12, 20, 20});
  int flag = -1;
  ASSERT_EQ(apply_punctuation_rule_cached(first, second, -1, 0, &flag), kOk);
  EXPECT_EQ(flag, 1);
  const int judged = second.judged;
  ASSERT_EQ(apply_punctuation_rule_cached(first, second, 0, -1, &flag), kOk);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(second.judged, judged);
  EXPECT_EQ(second.cache.size(), 1u);
  EXPECT_EQ((second.cache[{first.index, punctuation_cache_key(0, 0)}]), 2u);

  // A cache that cannot grow still gives the answer.
  second.cache_full = true;
  ASSERT_EQ(apply_punctuation_rule_cached(first, second, 0, 0, &flag), kOk);
  EXPECT_EQ(flag, 1);

  // Groups on different lines are not judged.
  second.line = 1;
  ASSERT_EQ(apply_punctuation_rule_cached(first, second, 0, 0, &flag), kOk);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(punctuation_cache_key(0x8001, 3), 1u | 3u << 15);
}

}  // namespace
}  // namespace inkrec

// The generated constants: the shapes of the lists, patterns and
// compositions that the tables and the matcher rely on.
#include <gtest/gtest.h>

#include <string>

#include "app/composition/code_pattern.h"
#include "app/composition/composition.h"
#include "app/composition/first_unit_patterns.h"
#include "app/composition/fourth_unit.h"
#include "app/composition/shared_code_lists.h"
#include "app/composition/third_unit.h"

namespace ductra {
namespace {

bool ends_with_wildcard(const PatternEntry& entry) {
  const CodePattern pattern(entry);
  return pattern.position_count() > 0 && pattern.positions().back().is_wildcard();
}

bool holds_wildcard(const PatternEntry& entry) {
  const CodePattern pattern(entry);
  for (const CodeList& list : pattern.positions()) {
    if (list.is_wildcard()) return true;
  }
  return false;
}

template <std::size_t N>
int count_if(const PatternEntry* const (&entries)[N], bool (*test)(const PatternEntry&)) {
  int count = 0;
  for (const PatternEntry* entry : entries) count += test(*entry) ? 1 : 0;
  return count;
}

TEST(ConstantDataTest, WildcardCounts) {
  const PatternEntry* const common[] = {
      &kCommonPattern01, &kCommonPattern02, &kCommonPattern03, &kCommonPattern04,
      &kCommonPattern05, &kCommonPattern06, &kCommonPattern07, &kCommonPattern08,
      &kCommonPattern09, &kCommonPattern10, &kCommonPattern11, &kCommonPattern12,
      &kCommonPattern13, &kCommonPattern14, &kCommonPattern15, &kCommonPattern16,
      &kCommonPattern17, &kCommonPattern18, &kCommonPattern19, &kCommonPattern20,
      &kCommonPattern21};
  const PatternEntry* const english[] = {
      &kEnglishPattern01, &kEnglishPattern02, &kEnglishPattern03, &kEnglishPattern04,
      &kEnglishPattern05, &kEnglishPattern06, &kEnglishPattern07, &kEnglishPattern08,
      &kEnglishPattern09, &kEnglishPattern10, &kEnglishPattern11, &kEnglishPattern12,
      &kEnglishPattern13, &kEnglishPattern14, &kEnglishPattern15, &kEnglishPattern16,
      &kEnglishPattern17, &kEnglishPattern18, &kEnglishPattern19};
  const PatternEntry* const russian_letters[] = {
      &kPatternU4_01, &kPatternU4_02, &kPatternU4_03, &kPatternU4_04, &kPatternU4_05,
      &kPatternU4_06, &kPatternU4_07, &kPatternU4_08, &kPatternU4_09, &kPatternU4_10,
      &kPatternU4_11, &kPatternU4_12, &kPatternU4_13, &kPatternU4_14, &kPatternU4_15,
      &kPatternU4_16, &kPatternU4_17, &kPatternU4_18, &kPatternU4_19, &kPatternU4_20,
      &kPatternU4_21, &kPatternU4_22, &kPatternU4_23, &kPatternU4_24, &kPatternU4_25,
      &kPatternU4_26, &kPatternU4_27, &kPatternU4_28, &kPatternU4_29, &kPatternU4_30,
      &kPatternU4_31, &kPatternU4_32, &kPatternU4_33, &kPatternU4_34, &kPatternU4_35,
      &kPatternU4_36, &kPatternU4_37, &kPatternU4_38, &kPatternU4_39};
  EXPECT_EQ(count_if(common, ends_with_wildcard), 12);
  EXPECT_EQ(count_if(english, ends_with_wildcard), 10);
  EXPECT_EQ(count_if(russian_letters, holds_wildcard), 23);
  EXPECT_EQ(count_if(russian_letters, ends_with_wildcard), 23);
}

TEST(ConstantDataTest, ListsKeepTheirCodes) {
  EXPECT_EQ(CodeList(kCodeList54).count(), 14u);
  EXPECT_EQ(CodeList(kCodeList56).count(), 14u);
  EXPECT_EQ(CodeList(kCodeList56).codes().back(), 0x02DA);
  const CodeList list18(kCodeList18);
  ASSERT_EQ(list18.count(), 6u);
  EXPECT_EQ(list18.codes()[1], 0x02B1);
  EXPECT_EQ(list18.codes()[5], 0x02B1);
}

TEST(ConstantDataTest, PatternsKeepTheirPositions) {
  const CodePattern digits(kPatternU3_03);
  ASSERT_EQ(digits.position_count(), 2u);
  EXPECT_TRUE(digits.positions()[0].equals(CodeList{0x382, 0x383, 0x384}));
  EXPECT_TRUE(digits.positions()[1].is_wildcard());
  EXPECT_EQ(CodePattern(kPatternU3_40).position_count(), 5u);
  EXPECT_EQ(CodePattern(kCommonPattern21).position_count(), 1u);
}

TEST(ConstantDataTest, OnlyOnePatternYieldsCharacters) {
  EXPECT_EQ(CodePattern(kPatternU4_40).characters(), u"\u0416\u0436*");
  EXPECT_TRUE(CodePattern(kPatternU4_41).characters().empty());
  EXPECT_TRUE(CodePattern(kCommonPattern01).characters().empty());
}

TEST(ConstantDataTest, CompositionsKeepTheirLetters) {
  struct Case {
    const CompositionEntry* entry;
    std::u16string letters;
    std::size_t marks;
  };
  const Case cases[] = {
      {&kCompositionU3_01, u"aou", 2},
      {&kCompositionU3_04, u"c", 1},
      {&kCompositionU3_24, u"acdnstuyzeorli", 1},
      {&kCompositionU3_45, u"aA", 1},
      {&kCompositionU3_48,
       u"\u0391\u03B1\u0395\u03B5\u0397\u03B7\u0399\u03B9\u039F\u03BF\u0395\u03B5\u03A9\u03C9", 1},
      {&kCompositionU3_59, u"\u0633", 3},
      {&kCompositionU4_01, u"\u0435", 2},
      {&kCompositionU4_02, u"\u0438", 1},
  };
  for (const Case& c : cases) {
    const Composition composition(*c.entry);
    EXPECT_EQ(composition.letters().letters(), c.letters);
    EXPECT_EQ(composition.pattern().position_count(), c.marks);
  }
}

}  // namespace
}  // namespace ductra

// The value types of the composition tables: construction rules, equality,
// the wildcard by content, shared codes and letters, insertion.
#include <gtest/gtest.h>

#include <vector>

#include "app/composition/code_list.h"
#include "app/composition/code_pattern.h"
#include "app/composition/composition.h"
#include "app/composition/letter_list.h"
#include "app/composition/shared_code_lists.h"
#include "app/composition/unique_set.h"

namespace ductra {
namespace {

std::vector<std::uint16_t> codes_of(const CodeList& list) {
  return {list.codes().begin(), list.codes().end()};
}

TEST(CodeListTest, ConstructionStopsAtTheFirstZeroAndAfterFourteenCodes) {
  EXPECT_EQ(codes_of(CodeList{0x033E, 0, 0x033F}), (std::vector<std::uint16_t>{0x033E}));
  EXPECT_EQ(CodeList{0}.count(), 0u);
  const std::vector<std::uint16_t> fifteen = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  const CodeList full{CodeSpan(fifteen)};
  EXPECT_EQ(full.count(), 14u);
  EXPECT_EQ(full.codes().back(), 14);
}

TEST(CodeListTest, EqualityAndTheWildcardAreByContent) {
  EXPECT_TRUE(CodeList().equals(CodeList()));
  EXPECT_TRUE((CodeList{1, 2}).equals(CodeList{1, 2}));
  EXPECT_FALSE((CodeList{1, 2}).equals(CodeList{2, 1}));
  EXPECT_FALSE((CodeList{1}).equals(CodeList{1, 1}));
  EXPECT_TRUE(CodeList{0xFFFF}.is_wildcard());
  EXPECT_TRUE(CodeList(kAnyCode).is_wildcard());
  EXPECT_FALSE((CodeList{0xFFFF, 0x0100}).is_wildcard());
  EXPECT_FALSE(CodeList().is_wildcard());
}

TEST(CodeListTest, SharesCodeWhenAnyCodeIsInTheSet) {
  const std::vector<std::uint16_t> figure = {0x0130, 0x033E};
  EXPECT_TRUE(CodeList(kCodeList03).shares_code(figure));
  EXPECT_FALSE(CodeList(kCodeList01).shares_code(figure));  // 0x130 lies between its codes
  EXPECT_FALSE(CodeList().shares_code(figure));
  EXPECT_FALSE(CodeList(kCodeList03).shares_code({}));
}

TEST(LetterListTest, StopsAtZeroKeepsFourteenAndComparesCaseExactly) {
  EXPECT_EQ(LetterList(std::u16string_view(u"ab\0c", 4)).letters(), u"ab");
  EXPECT_EQ(LetterList(u"abcdefghijklmnopq").count(), 14u);
  const std::vector<char16_t> answer = {u'A', u'x'};
  EXPECT_FALSE(LetterList(u"aou").shares_letter(answer));
  EXPECT_TRUE(LetterList(u"aA").shares_letter(answer));
  EXPECT_FALSE(LetterList().shares_letter(answer));
  EXPECT_TRUE(shares_letter(u"\u0416\u0436*", std::vector<char16_t>{u'*'}));
}

TEST(AddUniqueTest, KeepsFirstSeenOrder) {
  std::vector<std::uint16_t> set;
  for (std::uint16_t value : {5, 3, 5, 7, 3}) add_unique(set, value);
  EXPECT_EQ(set, (std::vector<std::uint16_t>{5, 3, 7}));
}

TEST(CodePatternTest, ConstructionStopsAtTheFirstEmptyList) {
  const CodePattern pattern{CodeList{1}, CodeList(), CodeList{2}};
  ASSERT_EQ(pattern.position_count(), 1u);
  EXPECT_TRUE(pattern.positions()[0].equals(CodeList{1}));
  EXPECT_TRUE(pattern.characters().empty());

  static constexpr std::uint16_t kEmpty[] = {0};
  static constexpr CodeSpan kPositions[] = {kCodeList31, CodeSpan(kEmpty), kCodeList32};
  EXPECT_EQ(CodePattern(PatternEntry{kPositions, u""}).position_count(), 1u);
}

TEST(CodePatternTest, InsertListAppendsAtTheCountAndRefusesBeyondIt) {
  CodePattern pattern{CodeList{1}, CodeList{2}};
  EXPECT_EQ(pattern.insert_list(2, CodeList{3}), 0);
  EXPECT_EQ(pattern.insert_list(4, CodeList{4}), -2);
  EXPECT_EQ(pattern.insert_list(0, CodeList{0x342}), 0);
  std::vector<std::uint16_t> firsts;
  for (const CodeList& list : pattern.positions()) firsts.push_back(list.codes()[0]);
  EXPECT_EQ(firsts, (std::vector<std::uint16_t>{0x342, 1, 2, 3}));
}

TEST(CodePatternTest, CopiesAreDeepAndClearKeepsTheCharacters) {
  static constexpr CodeSpan kPositions[] = {kCodeList10, kCodeList08, kCodeList05};
  const CodePattern original(PatternEntry{kPositions, u"\u0416\u0436*"});
  CodePattern copy = original;
  ASSERT_EQ(copy.insert_list(0, CodeList{0x342}), 0);
  EXPECT_EQ(original.position_count(), 3u);
  EXPECT_EQ(copy.position_count(), 4u);
  copy.clear();
  EXPECT_EQ(copy.position_count(), 0u);
  EXPECT_EQ(copy.characters(), u"\u0416\u0436*");
}

TEST(CompositionTest, TakesItsLettersAndAtMostThreeMarks) {
  static constexpr CodeSpan kFour[] = {kCodeList31, kCodeList31, kCodeList31, kCodeList32};
  const Composition composition(CompositionEntry{u"aou", kFour});
  EXPECT_EQ(composition.letters().letters(), u"aou");
  EXPECT_EQ(composition.pattern().position_count(), 3u);
  EXPECT_TRUE(composition.pattern().characters().empty());
}

}  // namespace
}  // namespace ductra

#include "engine/database/long_prefix_memo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/foundation/char_slot_map.h"

namespace inkrec {
namespace {

using Mark = LongPrefixMemo::Mark;

std::vector<Mark> marks_for(std::size_t n) {
  std::vector<Mark> marks;
  for (std::size_t i = 0; i < n; ++i) {
    marks.push_back(
        {static_cast<std::uint16_t>(u'a' + i), static_cast<std::uint16_t>(1 + i % 2)});
  }
  return marks;
}

void expect_holds(const LongPrefixMemo& memo, std::u16string_view prefix,
                  const std::vector<Mark>& wanted) {
  std::span<const Mark> found;
  ASSERT_TRUE(memo.find(prefix, &found)) << prefix.size();
  ASSERT_EQ(found.size(), wanted.size());
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    EXPECT_EQ(found[i].letter, wanted[i].letter);
    EXPECT_EQ(found[i].state, wanted[i].state);
  }
}

// Prefixes that differ in one unit, in length or in a zero unit are told
// apart, a prefix is held once, and the letters come back as given, also
// after the table grew several times and when moved to another memo.
TEST(LongPrefixMemoTest, HoldsEachPrefixWithItsLetters) {
  LongPrefixMemo memo;
  const std::u16string zero_ended(u"quick\0", 6);
  const std::vector<std::pair<std::u16string, std::size_t>> cases = {
      {u"quick", 3}, {u"quicker", 0},  {u"quicke", 5},
      {zero_ended, 1}, {std::u16string(40, u'q'), 2}};
  for (const auto& [prefix, count] : cases) {
    std::span<const Mark> found;
    EXPECT_FALSE(memo.find(prefix, &found));
    EXPECT_TRUE(memo.add(prefix, marks_for(count)));
  }
  EXPECT_FALSE(memo.add(u"quick", marks_for(4)));
  for (std::uint32_t i = 0; i < 3000; ++i) {
    const std::u16string prefix = {u'x', static_cast<char16_t>(i), u'y', u'z', u'w'};
    ASSERT_TRUE(memo.add(prefix, marks_for(i % 7)));
  }
  for (const auto& [prefix, count] : cases) expect_holds(memo, prefix, marks_for(count));
  for (std::uint32_t i = 0; i < 3000; i += 97) {
    expect_holds(memo, std::u16string{u'x', static_cast<char16_t>(i), u'y', u'z', u'w'},
                 marks_for(i % 7));
  }

  LongPrefixMemo other;
  other.swap(memo);
  std::span<const Mark> found;
  EXPECT_FALSE(memo.find(u"quick", &found));
  expect_holds(other, u"quick", marks_for(3));
  other.clear();
  EXPECT_FALSE(other.find(u"quick", &found));
}

TEST(LongPrefixMemoTest, RefusesPrefixesPastItsLimit) {
  LongPrefixMemo memo;
  for (std::uint32_t i = 0; i < LongPrefixMemo::kMaxPrefixes; ++i) {
    ASSERT_TRUE(memo.add(std::u16string{static_cast<char16_t>(i), u'q', u'q', u'q', u'q'},
                         marks_for(1)));
  }
  EXPECT_FALSE(memo.add(u"newer", marks_for(1)));
  std::span<const Mark> found;
  EXPECT_FALSE(memo.find(u"newer", &found));
  expect_holds(memo, std::u16string{char16_t{7}, u'q', u'q', u'q', u'q'}, marks_for(1));
}

// Each letter once, at its strongest state, in the order first seen; the
// letters marked so leave a map as the marks one by one leave it.
TEST(LongPrefixMemoTest, ALetterSetKeepsEachLetterAtItsStrongestState) {
  const std::vector<Mark> asked = {{u'b', 1}, {u'a', 2}, {u'b', 2}, {u'a', 1},
                                   {u'c', 1}, {u'c', 1}, {u'd', 1}, {u'e', 2}};
  LetterMarkSet set;
  for (const Mark& mark : asked) set.add(mark.letter, mark.state);
  EXPECT_FALSE(set.full());
  const std::vector<std::pair<char16_t, std::uint16_t>> wanted = {
      {u'b', 2}, {u'a', 2}, {u'c', 1}, {u'd', 1}, {u'e', 2}};
  ASSERT_EQ(set.marks().size(), wanted.size());
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    EXPECT_EQ(set.marks()[i].letter, wanted[i].first);
    EXPECT_EQ(set.marks()[i].state, wanted[i].second);
  }

  DynArray<std::uint32_t> identity;
  for (std::uint32_t c = 0; c < CharSlotMap::kSlotCount; ++c) ASSERT_EQ(identity.push_back(c), kOk);
  // Every starting state a slot may hold: empty, continuing, ending, other.
  for (const std::uint32_t start : {CharSlotMap::kEmpty, CharSlotMap::kLetterContinues,
                                    CharSlotMap::kWordEnds, std::uint32_t{7}}) {
    CharSlotMap one_by_one;
    CharSlotMap from_set;
    one_by_one.init(&identity);
    from_set.init(&identity);
    for (char16_t c = u'a'; c <= u'f' && start != CharSlotMap::kEmpty; ++c) {
      one_by_one.mark(c, start);
      from_set.mark(c, start);
    }
    for (const Mark& mark : asked) one_by_one.mark(mark.letter, mark.state);
    for (const Mark& mark : set.marks()) from_set.mark(mark.letter, mark.state);
    for (char16_t c = u'a'; c <= u'f'; ++c) {
      EXPECT_EQ(from_set.slot_value(c), one_by_one.slot_value(c)) << start << " " << char(c);
    }
  }

  LetterMarkSet many;
  for (std::size_t i = 0; i <= LetterMarkSet::kRoom; ++i) {
    many.add(static_cast<std::uint16_t>(0x100 + i), 1);
  }
  EXPECT_TRUE(many.full());
}

}  // namespace
}  // namespace inkrec

#include "engine/database/letter_mark_cache.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/foundation/char_slot_map.h"

namespace inkrec {
namespace {

using Mark = LetterMarkCache::Mark;

// n marks; past 26 the letters come round again, each time with another
// state, as the letter entries of a short prefix may give them.
std::vector<Mark> marks_for(std::size_t n) {
  std::vector<Mark> marks;
  for (std::size_t i = 0; i < n; ++i) {
    marks.push_back({static_cast<std::uint16_t>(u'a' + i % 26), static_cast<std::uint32_t>(i)});
  }
  return marks;
}

void expect_holds(const LetterMarkCache& cache, std::u16string_view prefix,
                  const std::vector<Mark>& wanted) {
  std::span<const Mark> found;
  ASSERT_TRUE(cache.find(prefix, &found)) << prefix.size();
  ASSERT_EQ(found.size(), wanted.size());
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    EXPECT_EQ(found[i].letter, wanted[i].letter);
    EXPECT_EQ(found[i].state, wanted[i].state);
  }
}

std::u16string numbered(char16_t first, std::uint32_t i, std::u16string_view rest) {
  std::u16string prefix = {first, static_cast<char16_t>(i)};
  prefix += rest;
  return prefix;
}

// Prefixes that differ in one unit, only in length or in a zero unit, short
// or long, are told apart; a prefix is held once; the marks come back as
// they were given, in order and with repeated letters, also after the
// table grew many times over and when moved to another cache.
TEST(LetterMarkCacheTest, HoldsEachPrefixWithItsMarksInOrder) {
  LetterMarkCache cache;
  const std::vector<std::pair<std::u16string, std::size_t>> cases = {
      {u"", 26},
      {u"a", 3},
      {std::u16string(u"a\0", 2), 1},
      {u"ab", 0},
      {u"abcd", 40},
      {u"\xffff\xffff", 2},
      {u"quick", 3},
      {u"quicke", 5},
      {u"quicker", 0},
      {std::u16string(u"quick\0", 6), 1},
      {std::u16string(40, u'q'), 2},
      {std::u16string(LetterMarkCache::kMaxPrefixUnits, u'q'), 1},
  };
  for (const auto& [prefix, count] : cases) {
    std::span<const Mark> found;
    EXPECT_FALSE(cache.find(prefix, &found));
    EXPECT_TRUE(cache.add(prefix, marks_for(count)));
  }
  EXPECT_FALSE(cache.add(u"a", marks_for(5)));
  EXPECT_FALSE(cache.add(u"quick", marks_for(4)));

  // Refused: a prefix or a set of marks too long to hold.
  const std::u16string too_long(LetterMarkCache::kMaxPrefixUnits + 1, u'q');
  EXPECT_FALSE(cache.add(too_long, marks_for(1)));
  EXPECT_FALSE(cache.add(u"many", marks_for(LetterMarkCache::kMaxMarks + 1)));
  std::span<const Mark> found;
  EXPECT_FALSE(cache.find(too_long, &found));
  EXPECT_FALSE(cache.find(u"many", &found));

  // Enough prefixes to grow the table past its first size several times.
  for (std::uint32_t i = 0; i < 3000; ++i) {
    ASSERT_TRUE(cache.add(numbered(u'x', i, u"yz"), marks_for(i % 7)));
    ASSERT_TRUE(cache.add(numbered(u'x', i, u"yzw"), marks_for(i % 5)));
  }
  for (const auto& [prefix, count] : cases) expect_holds(cache, prefix, marks_for(count));
  for (std::uint32_t i = 0; i < 3000; i += 97) {
    expect_holds(cache, numbered(u'x', i, u"yz"), marks_for(i % 7));
    expect_holds(cache, numbered(u'x', i, u"yzw"), marks_for(i % 5));
  }

  LetterMarkCache other;
  other.swap(cache);
  EXPECT_FALSE(cache.find(u"a", &found));
  expect_holds(other, u"a", marks_for(3));
  expect_holds(other, u"quick", marks_for(3));
  other.clear();
  EXPECT_FALSE(other.find(u"a", &found));
  EXPECT_FALSE(other.find(u"quick", &found));
}

TEST(LetterMarkCacheTest, RefusesPrefixesPastItsLimit) {
  LetterMarkCache cache;
  for (std::uint32_t i = 0; i < LetterMarkCache::kMaxPrefixes; ++i) {
    ASSERT_TRUE(cache.add(numbered(u'q', i, i % 2 == 0 ? u"" : u"qqq"), marks_for(1)));
  }
  for (const std::u16string_view prefix : {u"new", u"newer"}) {
    EXPECT_FALSE(cache.add(prefix, marks_for(1)));
    std::span<const Mark> found;
    EXPECT_FALSE(cache.find(prefix, &found));
  }
  expect_holds(cache, numbered(u'q', 8, u""), marks_for(1));
  expect_holds(cache, numbered(u'q', 7, u"qqq"), marks_for(1));
}

// Each letter once, at its strongest state, in the order first seen; the
// letters marked so leave a map as the marks one by one leave it.
TEST(LetterMarkCacheTest, ALetterSetKeepsEachLetterAtItsStrongestState) {
  const std::vector<Mark> asked = {{u'b', 1}, {u'a', 2}, {u'b', 2}, {u'a', 1},
                                   {u'c', 1}, {u'c', 1}, {u'd', 1}, {u'e', 2}};
  LetterMarkSet set;
  for (const Mark& mark : asked) set.add(mark.letter, mark.state);
  EXPECT_FALSE(set.full());
  const std::vector<std::pair<char16_t, std::uint32_t>> wanted = {
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

#include "engine/database/letter_entry_cache.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace inkrec {
namespace {

using Mark = LetterEntryCache::Mark;

std::vector<Mark> marks_for(std::size_t n) {
  std::vector<Mark> marks;
  for (std::size_t i = 0; i < n; ++i) {
    marks.push_back({static_cast<std::uint16_t>(u'a' + i % 26), static_cast<std::uint32_t>(i)});
  }
  return marks;
}

void expect_holds(const LetterEntryCache& cache, std::u16string_view prefix,
                  const std::vector<Mark>& wanted) {
  std::span<const Mark> found;
  ASSERT_TRUE(cache.find(prefix, &found)) << prefix.size();
  ASSERT_EQ(found.size(), wanted.size());
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    EXPECT_EQ(found[i].letter, wanted[i].letter);
    EXPECT_EQ(found[i].state, wanted[i].state);
  }
}

// Prefixes that differ only in length or in a zero unit are told apart, a
// prefix is held once, one too long is refused, and the marks come back as
// they were given, also after the table grew many times over.
TEST(LetterEntryCacheTest, HoldsEachShortPrefixWithItsMarksInOrder) {
  LetterEntryCache cache;
  const std::u16string zero_ended(u"a\0", 2);
  const std::vector<std::pair<std::u16string, std::size_t>> cases = {
      {u"", 26}, {u"a", 3}, {zero_ended, 1}, {u"ab", 0}, {u"abcd", 40}, {u"\xffff\xffff", 2}};
  for (const auto& [prefix, count] : cases) {
    std::span<const Mark> found;
    EXPECT_FALSE(cache.find(prefix, &found));
    EXPECT_TRUE(cache.add(prefix, marks_for(count)));
  }
  EXPECT_FALSE(cache.add(u"a", marks_for(5)));
  EXPECT_FALSE(cache.add(u"abcde", marks_for(1)));
  std::span<const Mark> found;
  EXPECT_FALSE(cache.find(u"abcde", &found));

  // Enough four-unit prefixes to grow the table past its first size.
  for (std::uint32_t i = 0; i < 3000; ++i) {
    const std::u16string prefix = {u'x', static_cast<char16_t>(i), u'y', u'z'};
    ASSERT_TRUE(cache.add(prefix, marks_for(i % 7)));
  }
  for (const auto& [prefix, count] : cases) expect_holds(cache, prefix, marks_for(count));
  for (std::uint32_t i = 0; i < 3000; i += 97) {
    expect_holds(cache, std::u16string{u'x', static_cast<char16_t>(i), u'y', u'z'}, marks_for(i % 7));
  }

  LetterEntryCache other;
  other.swap(cache);
  EXPECT_FALSE(cache.find(u"a", &found));
  expect_holds(other, u"a", marks_for(3));
  other.clear();
  EXPECT_FALSE(other.find(u"a", &found));
}

TEST(LetterEntryCacheTest, RefusesPrefixesPastItsLimit) {
  LetterEntryCache cache;
  for (std::uint32_t i = 0; i < LetterEntryCache::kMaxPrefixes; ++i) {
    ASSERT_TRUE(cache.add(std::u16string{static_cast<char16_t>(i), u'q'}, marks_for(1)));
  }
  EXPECT_FALSE(cache.add(u"new", marks_for(1)));
  std::span<const Mark> found;
  EXPECT_FALSE(cache.find(u"new", &found));
  expect_holds(cache, std::u16string{char16_t{7}, u'q'}, marks_for(1));
}

}  // namespace
}  // namespace inkrec

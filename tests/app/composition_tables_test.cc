// The tables object: what every slot holds after building, the prefixed
// copies, the one pattern with characters, selection of charsets, and a
// build that runs out of memory.
#include "app/composition/composition_tables.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "app/composition/fourth_unit.h"
#include "tests/app/failing_allocations.h"

namespace ductra {
namespace {

using testing::allocation_count;
using testing::FailingAllocations;

struct SlotCounts {
  int charset;
  std::size_t patterns;
  std::size_t compositions;
};

constexpr SlotCounts kSlotCounts[CompositionTables::kCharsetCount] = {
    {0, 0, 0},     {1, 0, 0},     {2, 7, 0},     {3, 16, 0},    {4, 168, 2},   {5, 102, 0},
    {6, 102, 1},   {7, 120, 5},   {8, 110, 4},   {9, 106, 1},   {10, 110, 4},  {11, 102, 4},
    {12, 110, 3},  {13, 102, 1},  {14, 110, 3},  {15, 112, 5},  {16, 104, 3},  {17, 0, 0},
    {18, 102, 2},  {19, 102, 2},  {20, 126, 4},  {21, 102, 1},  {22, 102, 2},  {23, 110, 7},
    {24, 102, 2},  {25, 136, 2},  {26, 4, 0},    {27, 110, 3},  {28, 102, 1},  {29, 114, 2},
    {30, 118, 6},  {31, 0, 0},    {32, 0, 0},    {33, 168, 1},  {34, 0, 0},    {35, 0, 0},
    {36, 0, 0},    {37, 5, 0},    {38, 13, 0},   {39, 5, 4},    {40, 0, 0},    {41, 0, 0},
    {42, 106, 1}};

// The slots filled before the prefixed copies are added.
constexpr int kPrefixedSlots[] = {4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 18,
                                  19, 20, 21, 22, 23, 24, 25, 27, 28, 29, 30, 33, 42};
constexpr int kUnprefixedSlots[] = {2, 3, 26, 37, 38, 39};

bool same_pattern(const CodePattern& a, const CodePattern& b) {
  if (a.position_count() != b.position_count() || a.characters() != b.characters()) return false;
  for (std::size_t i = 0; i < a.position_count(); ++i) {
    if (!a.positions()[i].equals(b.positions()[i])) return false;
  }
  return true;
}

bool starts_with_prefix(const CodePattern& pattern) {
  return pattern.position_count() > 0 &&
         pattern.positions()[0].equals(CodeList{CompositionTables::kPrefixCode});
}

// The 1-based places of `wanted` in a slot.
std::vector<std::size_t> places_of(std::span<const CodePattern> slot, const CodePattern& wanted) {
  std::vector<std::size_t> places;
  for (std::size_t i = 0; i < slot.size(); ++i) {
    if (same_pattern(slot[i], wanted)) places.push_back(i + 1);
  }
  return places;
}

class CompositionTablesTest : public ::testing::Test {
 protected:
  CompositionTables tables_;
};

TEST_F(CompositionTablesTest, EverySlotHoldsItsCounts) {
  ASSERT_TRUE(tables_.ok());
  std::size_t patterns = 0;
  std::size_t compositions = 0;
  for (const SlotCounts& counts : kSlotCounts) {
    SCOPED_TRACE(counts.charset);
    EXPECT_EQ(tables_.patterns(counts.charset).size(), counts.patterns);
    EXPECT_EQ(tables_.compositions(counts.charset).size(), counts.compositions);
    patterns += tables_.patterns(counts.charset).size();
    compositions += tables_.compositions(counts.charset).size();
  }
  EXPECT_EQ(patterns, 3108u);
  EXPECT_EQ(compositions, 76u);
  EXPECT_TRUE(tables_.patterns(43).empty());
  EXPECT_TRUE(tables_.compositions(-1).empty());
}

TEST_F(CompositionTablesTest, SlotsFilledFirstEndWithTheirPrefixedCopies) {
  for (int charset : kPrefixedSlots) {
    SCOPED_TRACE(charset);
    const std::span<const CodePattern> slot = tables_.patterns(charset);
    const std::size_t n = slot.size() / 2;
    for (std::size_t j = 0; j < n; ++j) {
      CodePattern expected = slot[j];
      ASSERT_EQ(expected.insert_list(0, CodeList{CompositionTables::kPrefixCode}), 0);
      EXPECT_TRUE(same_pattern(slot[n + j], expected)) << "place " << n + j + 1;
    }
  }
  for (int charset : kUnprefixedSlots) {
    for (const CodePattern& pattern : tables_.patterns(charset)) {
      EXPECT_FALSE(starts_with_prefix(pattern)) << "slot " << charset;
    }
  }
}

TEST_F(CompositionTablesTest, CopiedSlotsStartWithTheirSource) {
  struct Copy {
    int charset;
    int source;
    std::size_t count;
  };
  const Copy copies[] = {{6, 5, 51}, {7, 5, 51}, {25, 5, 51}, {42, 5, 51}, {33, 4, 84}};
  for (const Copy& copy : copies) {
    const std::span<const CodePattern> slot = tables_.patterns(copy.charset);
    const std::span<const CodePattern> source = tables_.patterns(copy.source);
    for (std::size_t i = 0; i < copy.count; ++i) {
      EXPECT_TRUE(same_pattern(slot[i], source[i])) << copy.charset << " place " << i + 1;
    }
  }
  // Russian and English share the 30 patterns of the common set.
  for (std::size_t i = 0; i < 30; ++i) {
    EXPECT_TRUE(same_pattern(tables_.patterns(4)[i], tables_.patterns(5)[i]));
  }
  // Greek holds the English slot's copy of kPatternU4_52 and its own.
  EXPECT_EQ(places_of(tables_.patterns(25), CodePattern(kPatternU4_52)),
            (std::vector<std::size_t>{47, 68}));
}

TEST_F(CompositionTablesTest, ThePatternWithCharactersStandsInThreeSlots) {
  const CodePattern zhe(kPatternU4_40);
  CodePattern prefixed = zhe;
  ASSERT_EQ(prefixed.insert_list(0, CodeList{CompositionTables::kPrefixCode}), 0);
  for (int charset = 0; charset < CompositionTables::kCharsetCount; ++charset) {
    SCOPED_TRACE(charset);
    std::vector<std::size_t> places = places_of(tables_.patterns(charset), zhe);
    for (std::size_t place : places_of(tables_.patterns(charset), prefixed)) places.push_back(place);
    const std::vector<std::size_t> expected = charset == 4 || charset == 33 ? std::vector<std::size_t>{50, 134}
                                              : charset == 2               ? std::vector<std::size_t>{7}
                                                                           : std::vector<std::size_t>{};
    EXPECT_EQ(places, expected);
    for (const CodePattern& pattern : tables_.patterns(charset)) {
      if (!pattern.characters().empty()) {
        EXPECT_EQ(pattern.characters(), u"\u0416\u0436*");
      }
    }
  }
  // Building again gives the same characters; the constant never grows.
  CompositionTables again;
  EXPECT_EQ(again.patterns(4)[49].characters(), u"\u0416\u0436*");
  EXPECT_EQ(kPatternU4_40.characters, u"\u0416\u0436*");
}

TEST_F(CompositionTablesTest, CompositionsGoToTheirSlotsInOrder) {
  const auto letters = [&](int charset, std::size_t place) {
    return std::u16string(tables_.compositions(charset)[place].letters().letters());
  };
  EXPECT_EQ(letters(6, 0), u"aou");    // German
  EXPECT_EQ(letters(18, 0), u"sz");    // Estonian: kCompositionU3_34, then kCompositionU3_01
  EXPECT_EQ(letters(18, 1), u"aou");
  EXPECT_EQ(letters(7, 2), u"c");      // French
  EXPECT_EQ(letters(4, 0), u"\u0435");  // Russian
  EXPECT_EQ(letters(33, 0), u"\u0438");  // Bulgarian
  EXPECT_EQ(tables_.compositions(39)[2].pattern().position_count(), 3u);  // Arabic
}

TEST_F(CompositionTablesTest, SelectingCharsetsMakesTheirPatternsCandidates) {
  struct Case {
    std::vector<int> charsets;
    std::size_t active;
    std::size_t candidates;
  };
  const Case cases[] = {
      {{3}, 1, 16},
      {{3, 38}, 2, 29},
      {{3, 3}, 2, 32},
      {{0, 17}, 2, 0},
      {{43, 3, 100, -1}, 1, 16},
      {{}, 0, 0},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(tables_.select_charsets(c.charsets));
    EXPECT_EQ(tables_.active_pattern_slots().size(), c.active);
    EXPECT_EQ(tables_.active_composition_slots().size(), c.active);
    EXPECT_EQ(tables_.pattern_candidates().size(), c.candidates);
    EXPECT_EQ(tables_.position(), 0u);
  }
  const int digits_then_punctuation[] = {3, 38};
  ASSERT_TRUE(tables_.select_charsets(digits_then_punctuation));
  EXPECT_EQ(tables_.pattern_candidates()[0], &tables_.patterns(3)[0]);
  EXPECT_EQ(tables_.pattern_candidates()[16], &tables_.patterns(38)[0]);
}

TEST(CompositionTablesBuildTest, RunningOutOfMemoryLeavesEverySlotEmpty) {
  const std::size_t before = allocation_count();
  { CompositionTables whole; }
  const std::size_t needed = allocation_count() - before;
  ASSERT_GT(needed, 3108u);
  for (std::size_t successes : {std::size_t{0}, std::size_t{1}, needed / 3, needed - 1}) {
    SCOPED_TRACE(successes);
    std::optional<CompositionTables> tables;
    {
      FailingAllocations failing(successes);
      tables.emplace();
    }
    EXPECT_FALSE(tables->ok());
    for (int charset = 0; charset < CompositionTables::kCharsetCount; ++charset) {
      EXPECT_TRUE(tables->patterns(charset).empty());
      EXPECT_TRUE(tables->compositions(charset).empty());
    }
  }
  FailingAllocations enough(needed);
  CompositionTables tables;
  EXPECT_TRUE(tables.ok());
}

}  // namespace
}  // namespace ductra

// The matching steps of the composition tables: the decisions for runs of
// figures against the constant tables, how a figure's codes and an answer's
// characters are read, and steps that run out of memory.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "app/composition/composition_tables.h"
#include "tests/app/failing_allocations.h"

namespace ductra {
namespace {

// One stroke of a run: the codes of its figure and the characters of its
// group's answers, best first.
struct Stroke {
  std::vector<std::uint16_t> codes;
  std::u16string answers;
};

OutputFigure figure_of(const Stroke& stroke) {
  OutputFigure figure;
  for (std::uint16_t code : stroke.codes) figure.readings.push_back({u'?', code, 0});
  return figure;
}

OutputGroup group_of(const Stroke& stroke) {
  OutputGroup group;
  for (char16_t character : stroke.answers) group.answers.push_back({character, 0x0C, 0});
  return group;
}

std::vector<MatchResult> run(CompositionTables& tables, std::initializer_list<int> charsets,
                             const std::vector<Stroke>& strokes) {
  const std::vector<int> ids(charsets);
  EXPECT_TRUE(tables.select_charsets(ids));
  std::vector<MatchResult> results;
  for (const Stroke& stroke : strokes) {
    results.push_back(tables.match(figure_of(stroke), group_of(stroke)));
  }
  return results;
}

class MatcherTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(tables_.ok()); }
  CompositionTables tables_;
};

TEST_F(MatcherTest, DecisionsForRunsOfFigures) {
  struct Case {
    const char* what;
    std::initializer_list<int> charsets;
    std::vector<Stroke> strokes;
    std::vector<MatchResult> results;
  };
  const Case cases[] = {
      {"digits: 0x382 completes one pattern and continues another, which takes any figure",
       {3}, {{{0x382}, u"1"}, {{}, u""}}, {kMatchAmbiguous, kMatchComplete}},
      {"the pattern with characters, its character in the answer",
       {2}, {{{0x33D}, u""}, {{0x33F}, u""}, {{0x33E}, u"\u0416"}},
       {kMatchContinuing, kMatchContinuing, kMatchComplete}},
      {"the pattern with characters, none of them in the answer",
       {2}, {{{0x33D}, u""}, {{0x33F}, u""}, {{0x33E}, u"x"}},
       {kMatchContinuing, kMatchContinuing, kMatchRejected}},
      {"German: 'a' starts the two dots, which then complete",
       {6}, {{{}, u"a"}, {{0x37D}, u""}, {{0x37D}, u""}},
       {kMatchStarted, kMatchContinuing, kMatchComplete}},
      {"punctuation: 0x2F4, 0x33E, 0x33E",
       {38}, {{{0x2F4}, u""}, {{0x33E}, u""}, {{0x33E}, u""}},
       {kMatchContinuing, kMatchAmbiguous, kMatchComplete}},
      {"no charset selected: nothing was ever pending", {}, {{{0x382}, u"a"}}, {kMatchIdle}},
      {"digits: every pattern fails, then nothing is pending any more",
       {3}, {{{0x0C}, u"1"}, {{0x382}, u"1"}}, {kMatchRejected, kMatchIdle}},
      {"patterns longer than one figure only start after a reset",
       {3}, {{{0x0C}, u""}, {{0x382}, u""}, {{}, u""}},
       {kMatchRejected, kMatchIdle, kMatchIdle}},
      {"German: a start while patterns continue, with nothing pending",
       {6, 3}, {{{0x382}, u"a"}}, {kMatchAmbiguous}},
      {"German: a start after all patterns are gone",
       {6}, {{{0x0C}, u"x"}, {{}, u"a"}}, {kMatchRejected, kMatchStarted}},
      {"German: the letter is compared exactly, 'A' starts nothing",
       {6}, {{{0x0C}, u"x"}, {{}, u"A"}}, {kMatchRejected, kMatchIdle}},
      {"German: a second 'a' starts the composition again beside the first",
       {6}, {{{0x0C}, u"x"}, {{}, u"a"}, {{0x37D}, u"a"}, {{0x37D}, u""}, {{0x37D}, u""}},
       {kMatchRejected, kMatchStarted, kMatchAmbiguous, kMatchAmbiguous, kMatchComplete}},
      {"German: a mark that fails drops the composition",
       {6}, {{{0x0C}, u"x"}, {{}, u"a"}, {{0x382}, u""}}, {kMatchRejected, kMatchStarted,
                                                          kMatchIdle}},
      {"a composition position is no wildcard: an empty figure does not continue it",
       {6}, {{{0x0C}, u"x"}, {{}, u"a"}, {{}, u""}}, {kMatchRejected, kMatchStarted, kMatchIdle}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(run(tables_, c.charsets, c.strokes), c.results);
  }
}

TEST_F(MatcherTest, TheFiguresCodesAndTheAnswersCharactersAreDistinctAndSkipRejections) {
  OutputFigure figure;
  figure.readings = {{u'a', 0x37D, 0}, {u'b', 0x382, kRejectedReading}, {u'a', 0x33E, 1},
                     {u'c', 0x37D, 2}, {u'd', 0x2F4, 0}};
  OutputGroup group;
  group.answers = {{u'x', 0x0C, 0}, {u'a', 0x0D, kRejectedReading}, {u'y', 0x0E, 0},
                   {u'x', 0x0F, 0}};
  std::vector<std::uint16_t> codes{0x999};
  std::vector<char16_t> characters{u'z'};
  ASSERT_TRUE(tables_.select_charsets({}));
  EXPECT_EQ(tables_.match_step(figure, group, codes, characters), kMatchIdle);
  EXPECT_EQ(codes, (std::vector<std::uint16_t>{0x37D, 0x33E, 0x2F4}));
  EXPECT_EQ(characters, (std::vector<char16_t>{u'x', u'y'}));
  EXPECT_EQ(tables_.position(), 1u);

  // The rejected 0x382 continues no digit pattern, and the rejected 'a'
  // starts no composition.
  figure.readings = {{u'1', 0x382, kRejectedReading}};
  group.answers = {{u'a', 0x382, kRejectedReading}};
  for (int charsets : {3, 6}) {
    ASSERT_TRUE(tables_.select_charsets(std::vector<int>{charsets}));
    EXPECT_EQ(tables_.match_step(figure, group, codes, characters), kMatchRejected);
    EXPECT_TRUE(codes.empty());
    EXPECT_TRUE(characters.empty());
  }
}

TEST_F(MatcherTest, AResetStartsEveryPatternAgain) {
  const Stroke first{{0x382}, u""};
  ASSERT_TRUE(tables_.select_charsets(std::vector<int>{3}));
  EXPECT_EQ(tables_.match(figure_of({{0x0C}, u""}), group_of({})), kMatchRejected);
  EXPECT_EQ(tables_.match(figure_of(first), group_of(first)), kMatchIdle);
  ASSERT_TRUE(tables_.reset_candidates());
  EXPECT_EQ(tables_.match(figure_of(first), group_of(first)), kMatchAmbiguous);
}

TEST_F(MatcherTest, AStartThatFindsNoMemoryStillCountsButIsLost) {
  ASSERT_TRUE(tables_.select_charsets(std::vector<int>{6}));
  EXPECT_EQ(tables_.match(figure_of({{0x0C}, u""}), group_of({})), kMatchRejected);
  const OutputFigure no_codes;
  const OutputGroup letter_a = group_of({{}, u"a"});
  std::vector<std::uint16_t> codes;
  std::vector<char16_t> characters;
  characters.reserve(4);
  {
    testing::FailingAllocations failing(0);
    EXPECT_EQ(tables_.match_step(no_codes, letter_a, codes, characters), kMatchStarted);
  }
  EXPECT_EQ(characters, std::vector<char16_t>{u'a'});
  EXPECT_EQ(tables_.match(figure_of({{0x37D}, u""}), group_of({})), kMatchIdle);
}

}  // namespace
}  // namespace ductra

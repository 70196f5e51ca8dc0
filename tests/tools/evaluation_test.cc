// The measures of inkrec eval on fixed answers: accuracy at first and among
// five, the time percentile, the character error rate and the confusions.
#include "tools/inkrec/evaluation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace inkrec::tool {
namespace {

TEST(Evaluation, PercentileTakesTheNearestRank) {
  const std::vector<double> twenty = {20, 1, 2,  3,  4,  5,  6,  7,  8,  9,
                                      10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
  EXPECT_EQ(percentile(twenty, 0.95), 19);
  EXPECT_EQ(percentile(twenty, 1.0), 20);
  EXPECT_EQ(percentile(twenty, 0.5), 10);
  EXPECT_EQ(percentile(std::vector<double>{7}, 0.95), 7);
  EXPECT_EQ(percentile(std::vector<double>{}, 0.95), 0);
}

TEST(Evaluation, EditDistanceCountsInsertionsDeletionsAndSubstitutions) {
  struct Case {
    std::u32string a, b;
    std::size_t distance;
  };
  const Case cases[] = {{U"", U"", 0},          {U"the", U"the", 0}, {U"", U"abc", 3},
                        {U"the", U"", 3},       {U"the", U"tho", 1}, {U"tne", U"the", 1},
                        {U"not he", U"nothe", 1}, {U"kitten", U"sitting", 3}};
  for (const Case& c : cases) {
    EXPECT_EQ(edit_distance(c.a, c.b), c.distance);
    EXPECT_EQ(edit_distance(c.b, c.a), c.distance);
  }
}

TEST(Evaluation, CharactersAreJudgedByTheirFirstCharacterWordsByTheWholeText) {
  Evaluation evaluation;
  using Answers = std::vector<std::u16string>;
  evaluation.add(U"7", Answers{u"7"}, 100);
  evaluation.add(U"a", Answers{u"ab"}, 200);                               // first character right
  evaluation.add(U"0", Answers{u"O", u"D", u"Q", u"o", u"0"}, 300);          // fifth
  evaluation.add(U"1", Answers{u"l", u"I", u"i", u"|", u"/", u"1"}, 400);    // sixth: not in five
  evaluation.add(U"0", Answers{u"O"}, 500);
  evaluation.add(U"the", Answers{u"tho", u"the"}, 1000);
  evaluation.add(U"not he", Answers{u"nothe"}, 2000);
  evaluation.add(U"e", Answers{}, 600);  // recognition failed
  const EvaluationReport report = evaluation.report(20);
  EXPECT_EQ(report.samples, 8u);
  EXPECT_EQ(report.first_right, 2u);
  EXPECT_EQ(report.top_five_right, 4u);
  EXPECT_DOUBLE_EQ(report.mean_microseconds, 5100.0 / 8);
  EXPECT_EQ(report.p95_microseconds, 2000);
  EXPECT_EQ(report.text_samples, 2u);
  EXPECT_EQ(report.label_characters, 9u);
  EXPECT_EQ(report.character_edits, 2u);
  // Most frequent first; equal counts in the order they first came.
  ASSERT_EQ(report.confusions.size(), 5u);
  EXPECT_EQ(report.confusions[0].expected, U"0");
  EXPECT_EQ(report.confusions[0].read, U"O");
  EXPECT_EQ(report.confusions[0].count, 2u);
  const std::vector<std::pair<std::u32string, std::u32string>> rest = {
      {U"1", U"l"}, {U"the", U"tho"}, {U"not he", U"nothe"}, {U"e", U""}};
  for (std::size_t i = 0; i < rest.size(); ++i) {
    EXPECT_EQ(report.confusions[i + 1].expected, rest[i].first);
    EXPECT_EQ(report.confusions[i + 1].read, rest[i].second);
    EXPECT_EQ(report.confusions[i + 1].count, 1u);
  }
}

TEST(Evaluation, CharactersAreAlsoCountedWithTheirCaseIgnored) {
  Evaluation evaluation;
  using Answers = std::vector<std::u16string>;
  evaluation.add(U"U", Answers{u"u", u"v"}, 1);                     // first, either case
  evaluation.add(U"o", Answers{u"0", u"D", u"O"}, 1);                 // third, either case
  evaluation.add(U"\u0416", Answers{u"\u0436"}, 1);                  // Cyrillic zhe
  evaluation.add(U"\u00C9", Answers{u"\u00E9t"}, 1);                 // first character judged
  evaluation.add(U"l", Answers{u"1", u"I", u"i", u"|", u"/", u"L"}, 1);  // sixth: not in five
  evaluation.add(U"k", Answers{}, 1);                               // recognition failed
  evaluation.add(U"s", Answers{u"S", u"s"}, 1);
  evaluation.add(U"Is", Answers{u"is"}, 1);  // a word: judged as written only
  const EvaluationReport report = evaluation.report(20);
  EXPECT_EQ(report.samples, 8u);
  EXPECT_EQ(report.character_samples, 7u);
  EXPECT_EQ(report.first_right, 0u);
  EXPECT_EQ(report.top_five_right, 1u);
  EXPECT_EQ(report.first_right_any_case, 4u);
  EXPECT_EQ(report.top_five_right_any_case, 5u);
}

TEST(Evaluation, KeepsTheMostFrequentConfusionsOnly) {
  Evaluation evaluation;
  for (char32_t c = U'a'; c < U'a' + 25; ++c) {
    const std::u16string wrong(1, static_cast<char16_t>(c - U'a' + U'A'));
    for (char32_t n = U'a'; n <= c; ++n) evaluation.add(std::u32string(1, c), {&wrong, 1}, 1);
  }
  const EvaluationReport report = evaluation.report(20);
  ASSERT_EQ(report.confusions.size(), 20u);
  EXPECT_EQ(report.confusions.front().expected, U"y");
  EXPECT_EQ(report.confusions.front().count, 25u);
  EXPECT_EQ(report.confusions.back().expected, U"f");
  EXPECT_EQ(report.first_right, 0u);
}

TEST(Evaluation, TextsKeepCharactersOutsideTheBasicPlane) {
  const std::u16string pair = u"a\U0001D49Cb";
  EXPECT_EQ(to_utf32(pair), U"a\U0001D49Cb");
  EXPECT_EQ(utf8_to_utf32("\xC3\xA9t\xC3\xA9"), U"\u00E9t\u00E9");
  EXPECT_EQ(utf32_to_utf8(U"a\U0001D49C"), "a\xF0\x9D\x92\x9C");
}

}  // namespace
}  // namespace inkrec::tool

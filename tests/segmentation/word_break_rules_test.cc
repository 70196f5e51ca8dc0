// The rules that tell a word's gap from a letter's gap, on the measures of
// pairs of real writing (training writers of UNIPEN category 7 and 8).
#include "engine/segmentation/word_break_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace inkrec {
namespace {

struct Case {
  std::string name;
  BreakMeasures m;  // D0, lg, pg, x_gap, M, lh, ld, pgm, word_gap
  bool full_break;
};

TEST(WordBreakRulesTest, AWordsGapBreaksAndALettersGapDoesNot) {
  const std::vector<Case> cases = {
      // lines of several words, whose word gaps raise the mean advance
      {"a word gap far beyond every mean", {175, 132, 181, 183, 54, 42, 34, 49, 60}, true},
      {"a word gap of wide advance only", {151, 101, 42, 164, 64, 42, 37, 50, 76}, true},
      {"a letter gap between words", {52, 32, 62, 52, 54, 42, 34, 49, 60}, false},
      // words written alone, whose mean advance counts letter gaps only:
      // the gaps here pass it by about a sixth
      {"a pen lift inside lunchroom", {54, 31, 42, 44, 36, 33, 25, 33, 40}, false},
      {"a pen lift inside copywriter", {63, 31, 38, 53, 41, 37, 25, 37, 45}, false},
      // the same gaps beside a mean advance of a line with word gaps in it
      {"the lunchroom gap a fifth beyond the mean", {54, 31, 42, 44, 35, 33, 25, 33, 40}, true},
      {"a gap beyond the mean but not a letter high", {54, 31, 42, 44, 35, 43, 25, 33, 40}, false},
      // the profile gap: far beyond the line's, with a wide link distance
      {"a profile gap twice the line's", {49, 32, 66, 52, 37, 40, 21, 31, 39}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(full_word_break(c.m), c.full_break);
  }
}

TEST(WordBreakRulesTest, TheSimpleRuleWantsBothGapsBeyondTheLines) {
  //                      D0  lg  pg  x_gap M  lh  ld  pgm word_gap
  const BreakMeasures apart = {0, 40, 0, 60, 0, 40, 25, 0, 50};
  EXPECT_TRUE(simple_word_break(apart));
  BreakMeasures near_x = apart;
  near_x.x_gap = 53;  // not above 107% of the word gap
  EXPECT_FALSE(simple_word_break(near_x));
  BreakMeasures near_link = apart;
  near_link.least = 30;  // at 120% of the letter distance
  EXPECT_FALSE(simple_word_break(near_link));
}

}  // namespace
}  // namespace inkrec

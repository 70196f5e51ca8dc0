// The case of a written word's first letter when the word list holds the
// word in lower case only: a small letter written in the shape of its
// capital, no taller than the small letters, starts the word in lower
// case; a capital written tall stays one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/english_words_session.h"

namespace inkrec::tool {
namespace {

TEST(FirstLetterCaseTest, ACapitalWayOfWritingNoTallerThanASmallLetterStartsTheWordInLowerCase) {
  // The i, m, n and p were read by capital ways of writing and the words
  // output as "Impeccable", "Muscle", "Nephew" and "Philosophy".
  testing::expect_words_read_as_labelled(
      "first_letter_case.txt",
      {"impeccable", "muscle", "nephew", "philosophy", "Number", "Equal"});
}

TEST(FirstLetterCaseTest, AFirstLetterOfSharedShapeTakesItsCaseFromTheWordsOwnSmallLetters) {
  // The c, s and v stand taller than the line's letters but less than 1.7
  // of the word's own small letters' height above its base line; they were
  // output "Cheer", "Chooses", "Standard", "Case", "Vacuum", "Science". The
  // S of "Summer" and the W of "Worse" rise higher and stay capitals.
  testing::expect_words_read_as_labelled(
      "first_letter_height.txt",
      {"cheer", "chooses", "standard", "case", "vacuum", "science", "Summer", "Were"});
}

TEST(FirstLetterCaseTest, AFirstLetterOfSharedShapeIsACapitalWhenAsHighAsTheWordsTallLetters) {
  // The S of "Software" and "Start" rises as high as the word's tall
  // letters but stood less than 1.7 line heights tall, and was output in
  // lower case. The w of "who" rises well above the word's small letters
  // but stays below its h, and was output as a capital; so were "white",
  // "west" and "cross" against a list that holds them both ways.
  testing::expect_words_read_as_labelled("first_letter_tall_letters.txt",
                                         {"Software", "Start", "white", "who", "west", "cross"});
}

TEST(FirstLetterCaseTest, AFirstSmallLetterInItsCapitalsShapeNoHigherThanTheSmallLettersIsSmall) {
  // The a of "are" rises less than 1.2 of the word's small letters' height
  // above its base line; the a of "at", with no small letter after it to
  // measure by, stands well below the t. All three were output with "A".
  testing::expect_words_read_as_labelled("first_letter_small_capital.txt", {"are", "at", "at"});
}

TEST(FirstLetterCaseTest, AShortWordsFirstLetterOfSharedShapeTakesItsCaseFromItsSize) {
  // Against a list that holds "Will" and "will", "Oil" and "oil", "Old" and
  // "old", "City" and "city", words with no small letter after the first to
  // measure it by: the w of each "will" stands no taller than the line's
  // letters but took the list's capital ("Will"); the O and C stand tall and
  // stay capitals.
  testing::expect_words_read_as_labelled("first_letter_listed_both_ways.txt",
                                         {"will", "will", "Oil", "Old", "City"},
                                         {"Will 20", "Oil 20", "Old 20", "City 20"});
}

}  // namespace
}  // namespace inkrec::tool

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

}  // namespace
}  // namespace inkrec::tool

// Written words of training writers in which a letter reads well below
// the best reading of its ink: the word search still reaches the word.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/english_words_session.h"

namespace inkrec::tool {
namespace {

TEST(WordsReadBelowBestTest, ALetterFarBelowTheBestReadingOfItsInkStillMakesTheWord) {
  // Once read "dvy" and "tale": the r of "dry" and the b of "table" read
  // more than 500 below their ink's best reading and never reached the
  // word search.
  testing::expect_words_read_as_labelled("words_read_below_best.txt", {"dry", "table"});
}

}  // namespace
}  // namespace inkrec::tool

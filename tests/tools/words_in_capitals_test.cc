// The case of a written word's letters after the first: a word written in
// capitals keeps its capitals, though the word list holds it in lower case;
// a capital followed by small letters whose two forms share one shape
// keeps its small letters.
#include <gtest/gtest.h>

#include "tests/support/english_words_session.h"

namespace inkrec::tool {
namespace {

TEST(WordsInCapitalsTest, AWordWrittenInCapitalsKeepsThemAndACapitalBeforeSmallLettersStaysAlone) {
  // The first four were output with their first capital only ("To",
  // "Too", "Say", "Office"); the o of "To" stands half as tall as its T.
  testing::expect_words_read_as_labelled("words_in_capitals.txt",
                                         {"TO", "TOO", "SAY", "OFFICE", "To"});
}

}  // namespace
}  // namespace inkrec::tool

// The case of a written word's letters after the first: a word written in
// capitals keeps its capitals, though the word list holds it in lower case;
// a capital followed by small letters whose two forms share one shape
// keeps its small letters. A capital the word list led the word search to
// read by its small letter's way of writing is still one of the word's
// capitals.
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

TEST(WordsInCapitalsTest, ACapitalReadByItsSmallLettersWayOfWritingStaysACapital) {
  // The P of "UP" and the L of "OLD" were taken by the small letter's way of
  // writing, though their groups read the capital at least as well, and the
  // words came out "up" and "Old". The S of "saw" stands nearly twice as
  // tall as its a and w: a big first letter before small ones, not a word in
  // capitals.
  testing::expect_words_read_as_labelled("capitals_read_small.txt", {"UP", "OLD", "saw"});
}

}  // namespace
}  // namespace inkrec::tool

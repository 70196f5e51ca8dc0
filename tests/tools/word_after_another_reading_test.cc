// A written word whose right chain of letters the word search reaches only
// through a path that read its first letters worse than another cut of
// the same strokes: the letters that may follow depend on the last one
// read, so the memo of the search must not stop it.
#include <gtest/gtest.h>

#include "tests/support/english_words_session.h"

namespace inkrec::tool {
namespace {

TEST(WordAfterAnotherReadingTest, APathThatReadWorseGoesOnAfterAReadingNoneSearchedFrom) {
  // Read "mtskvaes" while the memo stopped every path that reached a state
  // with a lower value than the first one there.
  testing::expect_words_read_as_labelled("word_after_another_reading.txt", {"mysteries"});
}

}  // namespace
}  // namespace inkrec::tool

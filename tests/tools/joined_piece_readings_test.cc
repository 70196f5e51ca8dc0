// Written words of training writers in which a letter cut out of a joined
// stroke reads far below the best reading of its ink.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/english_words_session.h"

namespace inkrec::tool {
namespace {

TEST(JoinedPieceReadingsTest, ALetterCutOutOfAJoinedStrokeBelowTheUsualLimitStillMakesTheWord) {
  // Once read "cempuin", "editable" and "umiustcinoi": a letter of each,
  // cut out of a joined stroke, read more than 1000 below the best reading
  // of its ink or under 5800, and never reached the word search.
  testing::expect_words_read_as_labelled("joined_letters_below_limit.txt",
                                         {"computer", "available", "understand"});
}

}  // namespace
}  // namespace inkrec::tool

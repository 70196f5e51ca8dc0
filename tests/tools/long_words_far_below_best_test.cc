// Long written words of training writers in which two letters read far
// below the best reading of their ink.
#include <gtest/gtest.h>

#include "tests/support/english_words_session.h"

namespace inkrec::tool {
namespace {

TEST(LongWordsFarBelowBestTest, TwoLettersFarBelowTheirBestStillMakeALongWord) {
  // Once read "Sailtlteul", "infuprekti" and "pcrtabee": the search let a
  // path take one such reading, however long the word.
  testing::expect_words_read_as_labelled("long_words_far_below_best.txt",
                                         {"seventeen", "interpreted", "portable"});
}

}  // namespace
}  // namespace inkrec::tool

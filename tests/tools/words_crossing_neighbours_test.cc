// Written words of training writers in which a letter's ink crosses a
// little into its neighbour's, as joined writing does: the join of an e, an
// h or an o into the letter after it, or a t's bar put on once the word was
// written. The word search still reads the word.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/english_words_session.h"

namespace inkrec::tool {
namespace {

TEST(WordsCrossingNeighboursTest, ALetterWhoseInkCrossesItsNeighbourStillMakesTheWord) {
  // Each was read as another word while the pair test refused e -> k,
  // h -> a, e -> a and o -> l: inks that cross by more than a seventh of
  // the narrower letter's width.
  testing::expect_words_read_as_labelled("words_crossing_neighbours.txt",
                                         {"week", "that", "heard", "older"});
}

TEST(WordsCrossingNeighboursTest, ABarPutOnOnceTheWordWasWrittenMayCrossTheLetterAfterIt) {
  // The t's bar, drawn after the h, reaches 15 into the h (49 wide): more
  // than a quarter of the narrower letter, so the pair test refused t -> h
  // and the word was read "lulls".
  testing::expect_words_read_as_labelled("late_bar.txt", {"this"});
}

}  // namespace
}  // namespace inkrec::tool

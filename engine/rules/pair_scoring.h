// The cached front end of the pair rules: the cost of reading two
// neighbouring figure groups side by side.
//
// Chains of groups (alternative readings of a word) are compared by the sum
// of these costs over their consecutive pairs, the later group first.
#pragma once

#include <cstdint>

namespace inkrec {

class FigureGroup;
class RecognitionContext;

// Scores the pair (earlier, later) with the pair rules, reading answer
// later_answer of the later group and earlier_answer of the earlier one; size
// and slant come from the context's line measures and position is the later
// group's place in its chain. The result is looked up first in the earlier
// group's pair cache (keyed by the later group's index and the packed pair
// key) and a newly computed one is stored there: the results of a pair live
// in the earlier group of the pair and go with it. Writes the cost (to be added
// to the chain's pair cost) through `cost` and returns 0, or returns the
// scorer's non-zero status.
int score_element_pair_cached(FigureGroup* later, FigureGroup* earlier, int later_answer,
                              int earlier_answer, std::int16_t size, std::int16_t slant,
                              int position, std::int32_t* cost, RecognitionContext* context,
                              int flag);

}  // namespace inkrec

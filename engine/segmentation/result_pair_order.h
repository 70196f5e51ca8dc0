// Small judgements of a pair of letter results that the partner join of the
// hypothesis graph and the pair relations share: the letter size blended
// from two heights, and whether two results stand in writing order.
//
// The results are read, never changed. A and B are taken as the pair
// relations take them: A the later result, B the earlier.
#pragma once

#include <cstdint>

#include "engine/records/figure_group.h"
#include "engine/records/recognition_context.h"

namespace inkrec {

// The size of a letter of a line from two heights a and b, a the usual one:
// a itself while b is at most 1.8a, else pulled towards b less and less the
// further b lies above a (past 2.5a b counts only by b/52).
std::int32_t blend_height(std::int32_t a, std::int32_t b);

// Whether some member (body index) of A lies after the least member of B;
// false when either member set is empty.
bool members_interleave(const FigureGroup& a, const FigureGroup& b);

// Clears *flag when the pair cannot stand in this order: with the stroke
// order switch, when the members interleave; otherwise when B's box reaches
// lower than half A's height above A's bottom. Else *flag is left as it is.
void check_pair_order(RecognitionContext& context, const FigureGroup& a, const FigureGroup& b,
                      std::uint8_t* flag);

}  // namespace inkrec

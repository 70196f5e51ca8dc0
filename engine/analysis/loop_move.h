// The loop move shared by the loop rules of the bodies-and-links split.
#pragma once

#include "engine/records/figure_records.h"

namespace inkrec {

class RecognitionContext;

// Puts the link onto the crossing point of a loop that B1 (`before`)
// closes in B2 (`after`): B1 keeps its ink up to its last point that
// crosses into B2, the link becomes that point alone, and B2 takes the rest
// of B1, the old link and its own ink. The move needs the loop to start at
// a crossing, at a top point of the stroke or at its start, and (away from
// the stroke's ends) a step going right at the crossing, the loop's ink
// lying right of it, no loop of a letter written on, and no tiny first
// body. *made tells whether it was made. 0; -2 for a missing stroke; a
// geometry error (the move then counts as not made).
int try_loop_move(RecognitionContext& context, FigureRecord& before, FigureRecord& link,
                  FigureRecord& after, bool* made);

}  // namespace inkrec

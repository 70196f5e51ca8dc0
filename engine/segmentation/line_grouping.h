// The line analysis: the strokes of a run grouped into text lines.
//
// Every stroke is measured (its extrema, the height statistics and the
// letter heights), every pair of strokes scored for lying on one line, and
// the strokes are then taken in writing order and each put on the line of
// the stroke it links to best, a new line being opened where none takes
// it. The merging passes (line_merging.h) then join the small lines this
// leaves (dots, accents, strokes written into another line) and every line
// is fitted. Afterwards each stroke names its line and every pair of
// strokes on one line names it too.
#pragma once

#include "engine/records/recognition_context.h"

namespace inkrec {

// Resets the line pass, prepares every stroke's geometry, measures the
// height statistics and builds the lines. `fresh` measures the pair
// distances anew (the first analysis of a run); without it they are kept
// (the ink was only turned). 0 or the first failing step's status.
int analyse_line_set(RecognitionContext& context, bool fresh);

// The strokes' extrema, the letter heights, the stroke pairs and their link
// scores, then the grouping.
int build_text_lines(RecognitionContext& context, bool fresh);

// Gives every stroke a line: one line for ink no taller than 1.5 letter
// heights or a request for one line (modes 1 and 2), otherwise by the link
// scores and the merging passes; no line for no strokes. 5001 when a
// stroke finds no partner; -2 for a missing pair entry; -1.
int group_figures_by_distance(RecognitionContext& context);

}  // namespace inkrec

// The three fits of each text line: the first follows the tops of the
// letter bodies, the middle one their centres and the third their bottoms
// (y grows downward).
//
// With the caller's base lines they go through each stroke's band.
// Otherwise they are fitted to the vertical extrema of the line's strokes:
// the midpoints between neighbouring turning points give the middle fit
// and, kept when their height is near twice the letter height's half,
// a working centre line; the extrema well above and below that line give
// the first and third fit, which are then made parallel when they diverge.
// A line with too little ink gets fits a letter height apart around the
// first point of its last stroke.
#pragma once

#include "engine/records/recognition_context.h"

namespace inkrec {

// Refits every line from the strokes' extremum lists: 0, -1, or -2 for a
// stroke the lists do not cover.
int fit_text_lines(RecognitionContext& context);

}  // namespace inkrec

// The straightening of the text lines: the skew of each line is measured
// from the directions between its strokes' turning points, compared with
// the directions of its fits; the ink is turned against the mean skew and
// analysed again, at most three times, and the result kept when the lines
// came out level or undone when they did not.
//
// The turns apply to the run's copies of the stroke points, always from
// the points as they were taken in, so turns never compound. A kept turn
// joins the run's skew correction (the angle the result boxes are turned
// back by); turns below 5 degrees are not kept.
#pragma once

#include <span>

#include "engine/foundation/point.h"
#include "engine/records/recognition_context.h"

namespace inkrec {

// The mean direction of the steps between points of the list (each point
// with those up to four sample steps either side; steps of no x extent
// left out), taken over the directions within 27 degrees of each of the
// three reference angles; *weight rises to n times the best agreement
// score. Nothing for fewer than two points.
void measure_direction_agreement(std::span<const PackedPoint> points, int* angle, int* weight,
                                 int r1, int r2, int r3);

// Turns the run's point runs so that they stand turned by the line
// rotation plus `degrees` from the points as taken in. 0; -2 for a missing
// run.
int rotate_line_points(RecognitionContext& context, int degrees);

// Analyses the lines (analyse_line_set, fresh); with `correct`, then
// straightens them. 0 or the first failing step's status.
int estimate_line_slant(RecognitionContext& context, bool correct);

}  // namespace inkrec

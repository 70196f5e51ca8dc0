// The height statistics of a run's strokes and the mean slant of its
// writing: the measures every later line stage sizes its tests by.
#pragma once

#include "engine/records/recognition_context.h"

namespace inkrec {

// Fills the statistics from the heights h of the strokes' boxes (bottom -
// top + 1): the united box; the mean height M (at least 11); the small
// height, the mean of the heights between M/5 and M (at least 33); the
// tall height, the mean of the heights above the mean T of those above M
// (T when none; at least 1.6 times the small height). Without strokes the
// small and tall heights are 0. Always 0.
int measure_height_statistics(RecognitionContext& context);

// The settings' slant: the mean of the strokes' slant measures weighted by
// their weights, strokes measuring 0 left out; 0 when no stroke counts or
// the counted weights sum to nothing. Always 0.
int line_mean_metric(RecognitionContext& context);

}  // namespace inkrec

// The spacing of the recognised text and the breaks it gives: how far apart
// the neighbouring elements of the figure output lie (one gap record per
// pair, in the context's gaps) and the line set's spacing statistics, then
// where a word break (a space) or a line break follows an element.
//
// Both read the elements in output order; the elements need geometries.
// The statistics are written to the settings' word_gap, letter_distance,
// profile_gap, raise_mean and mean_advance, which the breaks read.
#pragma once

#include "engine/foundation/ptr_array.h"
#include "engine/records/figure_group.h"
#include "engine/records/recognition_context.h"

namespace inkrec {

// Replaces the context's gap records with those of the elements and sets
// the statistics from the pairs on one line (284 for each mean without
// one). 0; -2 at a null element or one without a geometry; -1 when a record
// cannot be stored.
int estimate_spacing(RecognitionContext& context, const PtrArray<FigureGroup>& elements);

// With the kernel's word breaks on: a line break after each element whose
// follower lies on another line, and a space after each element whose
// follower on its line lies far enough on (also marked on the line's
// letter results that end where the element ends). A pair with a space in
// it gets no break. 0, also for fewer than two elements; -2 at a null
// element, one without a geometry, or without gap records for the pairs.
int estimate_gaps(RecognitionContext& context, const PtrArray<FigureGroup>& elements);

}  // namespace inkrec

// The reference heights of a text line, measured on the letters of its
// chosen reading: the body height (from the upper line to the baseline of
// each letter) and the height of the tall letters (from the baseline to the
// top of each letter that rises well above the body).
//
// What a caller may rely on: both heights are 1 and the line's part flag
// clear until a body height could be measured; then the flag is set, and the
// tall-letter height is at least the body height.
#pragma once

#include "engine/foundation/ptr_array.h"
#include "engine/records/figure_group.h"
#include "engine/records/text_line.h"

namespace inkrec {

// Measures the line's heights over the results that have readings: the
// body height is the mean of the body spans that reach a fifth of their
// mean; the tall-letter height the mean of the rises above the baseline
// that reach 1.2 body heights (the body height when none does). 0; -2 at a
// null result.
int compute_reference_heights(const PtrArray<FigureGroup>& chosen_results, TextLine& line);

}  // namespace inkrec

// The reference lines of a text line (its upper line and baseline), fitted
// from the letters of the line's chosen reading.
//
// Each reading carries where the upper line and the baseline lie relative
// to its letter's box. The pass turns the confident readings' offsets into
// a baseline pair per letter, fits one weighted line through the upper
// lines and one through the baselines, and gives every chosen letter and
// each of its figures the pair of the two lines at the letter's centre.
//
// What a caller may rely on: a baseline pair that came with the ink (its
// flag set) is never replaced; when no letter gives a fit point the line's
// fits stay as they were and the letters keep the pairs of their own
// offsets; the fits become the line's first (upper) and third (base) fit.
#pragma once

#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/records/fragment_state.h"

namespace inkrec {

// The reference lines a letter box gives with the offsets: upper = top -
// upper_offset * H / 100, lower = bottom - lower_offset * H / 100, with H
// the box height but at least 20 (each quotient truncated toward zero).
void reference_lines_from_offsets(std::int32_t upper_offset, std::int32_t lower_offset,
                                  const Box16& box, std::int32_t* upper, std::int32_t* lower);

// The pass over the state's chosen results. 0; -2 at a null result or a
// member figure missing from the line's candidates; -1 when a fit cannot
// take a point.
int estimate_reference_lines(FragmentState& state);

}  // namespace inkrec

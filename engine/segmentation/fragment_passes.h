// The letter search of one text line in one sweep of the line loop: the
// passes that turn the line's candidate figures into letter results, the
// cover of its word groups, its reference lines and its reference heights.
//
// The first sweep (build) measures and orders the line's candidates, builds
// the hypothesis graph (every figure set worth reading, each evaluated
// once), sorts the line's results and applies the letter rules to them;
// both sweeps then choose the cover of every word group (the state's chosen
// results), fit the reference lines from them (unless the request skips
// it) and measure the line's reference heights. The second sweep works on
// the results the first left in the line.
//
// What a caller may rely on: a line without candidates changes nothing and
// gives 0; the stop flag is looked at before the first pass, after the
// build and after each later pass, and a set flag gives 4034 even when the
// pass before it succeeded; a pass's own failure is returned unchanged and
// the passes after it do not run.
#pragma once

#include "engine/records/fragment_state.h"

namespace inkrec {

int run_fragment_passes(FragmentState& state, bool build);

}  // namespace inkrec

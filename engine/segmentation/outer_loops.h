// Loops that reach far beyond a figure's reference lines: a loop that rises
// well above its upper line (the top of an "l" or "b" written with a loop)
// or hangs well below its baseline (the tail of a "g" or "y").
//
// A turning point of a figure is the tip of such a loop when the ink runs
// away from it on both sides far enough (more than 2h/3) and the ink at
// the far end of the two arms is less than half as wide as the widest row
// between the tip and that end: the arms narrow towards the point where
// the loop closes. h is the letter height of the line. The figure's own
// baseline pair gives its reference lines; a figure without one has none
// to pass, so nothing counts. Nothing is cached: the test is cheap and
// runs once per figure set.
#pragma once

#include <cstdint>

#include "engine/records/figure_group.h"
#include "engine/records/figure_records.h"

namespace inkrec {

// Bits of find_outer_loops.
inline constexpr std::int32_t kLoopAboveUpperLine = 1;
inline constexpr std::int32_t kLoopBelowBaseline = 2;

// The loop bits over the group's figures: bit kLoopAboveUpperLine when a
// figure has a loop above its upper line, kLoopBelowBaseline when one has
// a loop below its baseline; 0 for a group without figures; -2 for a null
// figure; -1 when the extrema cannot be listed.
std::int32_t find_outer_loops(const FigureGroup& group, int h);

// Whether the point `k` of the figure's run is the tip of a loop beyond
// the upper line (upper) or below the baseline (!upper): 0 or 1. The last
// and the first point are never one.
int is_loop_extremum(const StrokeRecord& figure, std::uint32_t k, int h, bool upper);

}  // namespace inkrec

// The RAF extractors, one per feature code, called by compute_raf after the
// grid of the Raf (when it has one) is set. Each adds only to the counters
// of its own block and returns 0 or an error; counters already added stay.
#pragma once

#include "engine/analysis/raf_context.h"
#include "engine/analysis/raf_features.h"

namespace inkrec {

// Directions and crossings.
int count_directions4(const RafDescriptor& descriptor, RafContext& context);             // 1
int count_crossed_vertical_lines(const RafDescriptor& descriptor, RafContext& context);  // 4
int count_crossing_codes(const RafDescriptor& descriptor, RafContext& context);          // 5
int count_downward_crossings(const RafDescriptor& descriptor, RafContext& context);      // 17
int count_directions8(const RafDescriptor& descriptor, RafContext& context);             // 19

// Chords, turning and ends.
int count_chord_bends(const RafDescriptor& descriptor, RafContext& context);        // 6
int count_turning_sum(const RafDescriptor& descriptor, RafContext& context);        // 7
int count_stroke_ends(const RafDescriptor& descriptor, RafContext& context);        // 8
int count_chord_turning_sum(const RafDescriptor& descriptor, RafContext& context);  // 18

// Topology, counts and cosines.
int count_cosine_coefficients(const RafDescriptor& descriptor, RafContext& context);  // 0
int count_vertical_run_total(const RafDescriptor& descriptor, RafContext& context);   // 10
int count_branches(const RafDescriptor& descriptor, RafContext& context);             // 11
int count_occupied_neighbours(const RafDescriptor& descriptor, RafContext& context);  // 12
int count_touching_groups(const RafDescriptor& descriptor, RafContext& context);      // 13
int count_stroke_arrangement(const RafDescriptor& descriptor, RafContext& context);   // 14

}  // namespace inkrec

// Self-crossings of one stroke: the places where the pen crosses its own
// earlier path, as trajectory records at the four end points of every pair
// of crossing segments.
#pragma once

#include <cstdint>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/point.h"
#include "engine/records/trajectory_record.h"

namespace inkrec {

// Finds every pair of segments i < j - 1 (segment k joins points k and k + 1)
// that cross, whose arc length between them (the segments strictly between
// i and j) exceeds `step`, where neither segment merely ends on the other
// (point j + 1 on segment i, or point i + 1 on segment j). For each pair,
// point i gets flag 1 and point i + 1 flag 16, both with first partner j;
// point j gets flag 2 and point j + 1 flag 32, both with second partner i.
// `out` receives the records sorted by point number, with the records of
// one point merged into one (TrajectoryRecord::merge_extra_codes). 0; -1
// when memory runs out; -2 for a null stroke with points or more than 65535
// points.
int find_self_crossings(const PackedPoint* points, std::int32_t count,
                        DynArray<TrajectoryRecord>& out, int step);

}  // namespace inkrec

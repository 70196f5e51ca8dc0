// The stroke feature pass: derives the trajectory step from the size of the
// writing and turns every stroke into its trajectory (trajectory.h).
//
// With refinement the step is derived again with looping strokes counted as
// smaller, then halved while the vertices lie too far apart for the writing;
// the trajectories left in the list are those of the last step tried.
#pragma once

#include <cstdint>

#include "engine/analysis/trajectory.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/stroke.h"

namespace inkrec {

// The step statistics of one pass: the step first derived, the step derived
// with the loop marks, the final step; -1 where the pass did not set one.
struct StepStatistics {
  std::int32_t first = -1;
  std::int32_t with_loops = -1;
  std::int32_t final = -1;
};

// The step for these strokes: one tenth of the mean bounding-box height of
// the strokes that are not tiny (a twentieth for a stroke marked as looping,
// whose height also counts half in the mean). 0 for no strokes; -3 when the
// marks do not match the strokes one for one; -2 for a null stroke.
int compute_step_size(const StrokeList& strokes, const DynArray<std::uint8_t>& loop_marks,
                      std::int32_t* out_step);

// Empties the list, then analyses every stroke with this step. 0, or the
// first failing status (-1 out of memory, -2 a null stroke).
int build_trajectories(const StrokeList& strokes, TrajectoryList& out, int step);

// The loop mark of every trajectory: 1 where two or more vertices carry the
// second-crossing flag.
int loop_marks_of(const TrajectoryList& trajectories, DynArray<std::uint8_t>& marks);

// Builds one trajectory per stroke into `out` (an owning list). statistics
// may be null. 0 or the first failing status (-2 null stroke, -3 mark count
// mismatch, -1 out of memory).
int stroke_feature_pass(const StrokeList& strokes, TrajectoryList& out, StepStatistics* statistics,
                        bool refine);

}  // namespace inkrec

// The shape analysis of a glyph: the passes that fill a GlyphGeometry's
// direction statistics, reversal counts, shape class and feature masks when
// it is prepared, and its descent block on first read.
//
// Each pass reads the geometry's box, extreme points and ink length, which
// GlyphGeometry::prepare computes before calling them.
#pragma once

#include "engine/records/glyph_geometry.h"
#include "engine/records/point_run.h"

namespace inkrec {

// Fills geometry.direction and geometry.reversals from the segments of the
// runs (with the trajectory mode, their weights and directions come from the
// point records' steps), and classes the figure's shape. 0; -2 for a missing
// run; -1 when memory runs out; 1001 when the list is empty or no segment
// can be counted, in which case the caller gives the figure the
// no-direction statistics. The geometry is left as it was on failure.
int compute_direction_statistics(GlyphGeometry& geometry, RunList runs, bool trajectory_mode);

// Fills geometry.feature_masks from the crossing descriptions of the runs'
// point records: 0, or -2 for a missing run.
int compute_feature_masks(GlyphGeometry& geometry, RunList runs);

// One descending run of a figure's ink: from where the stroke turns down to
// where it turns up again.
using DirectionRun = DescentEntry;

// Appends the descending runs of one run that are taller than a third of
// the reference size, joined across gaps of at most a sixth of it, in run
// order; every descending run met, tall or not, adds 1 to *runs_met when it
// is given. 0; -1 for a run of fewer than 2 points or when the list cannot
// grow (what was found stays).
int analyse_glyph_directions(const PointRun& run, int reference_size, DynArray<DirectionRun>& runs,
                             std::int32_t* runs_met);

// The same with limits of the caller's own: a run's initial direction is
// taken until its steps weigh initial_length, a run is kept when it descends
// more than least_height, and kept runs no further apart than half of it
// are joined. The form above uses a sixth and a third of the size.
struct DescentLimits {
  int initial_length;
  int least_height;
};
DescentLimits descent_limits(int reference_size);
int analyse_glyph_directions(const PointRun& run, DescentLimits limits,
                             DynArray<DirectionRun>& runs, std::int32_t* runs_met);

// Fills the descent block of the figure made of the runs: its descending
// runs taller than a third of the reference size, joined across gaps of at
// most a sixth of it, and their classification (neighbours closer than
// `closeness` count as close), which reads the figure's combined vertical
// direction. The block is reset first; runs of fewer than 2 points are
// passed over, and when memory runs out the block keeps what was found.
void compute_descent_block(const GlyphGeometry& geometry, RunList runs, int reference_size,
                           int closeness, DescentBlock& block);

}  // namespace inkrec

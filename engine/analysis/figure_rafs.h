// The RAF features of a figure group: its runs turned into strokes,
// deslanted, normalised to the 48-unit frame and computed in two passes; and
// training from a written sample, which turns a sample's strokes into the
// feature cells it falls into.
//
// Every pass works on copies of the points; the figure's own runs are never
// changed. All coordinates stay 16-bit: shearing is done in 64-bit
// arithmetic, and an angle below 1 (the direction a flat figure such as a
// hyphen reports) is taken as upright, so no shear runs away.
#pragma once

#include <cstdint>
#include <span>

#include "engine/analysis/raf_context.h"
#include "engine/database/data_records.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/tagged_records.h"
#include "engine/records/point_run.h"

namespace inkrec {

// The normalised frame: the box of the strokes runs from 0 to below this.
inline constexpr int kFigureFrameSize = 48;

struct FigureRafOptions {
  // Whole degrees; the strokes are sheared upright by angle - 90 (an angle
  // below 1 counts as 90). The first pass uses the slant, the second the
  // angle.
  int slant = 90;
  int angle = 90;
  RunList more_runs;  // a second run list of the figure, converted too
  // The piece's ends, for a piece cut out of a longer stroke; null for
  // whole strokes.
  const RafEndSwitches* end_switches = nullptr;
  // Feature indices (code - 1) to compute; null or empty for all.
  const DynArray<std::uint16_t>* enabled = nullptr;
  RafVector* copy_to = nullptr;  // receives the finished vector when given
};

// Shears the strokes upright from the angle (below 1 counts as 90) about
// their box's top, then moves the box's corner to the origin and scales
// them into the frame: keeping their aspect in the first pass (a figure
// under 24 units is only moved), each axis on its own in the second (a
// figure at least eight times wider than high, or higher than wide, keeps
// its thin side at a sixth of the frame). 0, or -2 for a null stroke.
int normalise_figure_strokes(StrokeList& strokes, int angle, bool second_pass);

// Computes the Raf records over the runs into the context's vector, adding
// to what it holds, in two passes over the runs' points normalised as
// above: the first by the slant, the second by the angle and computed in
// the second mode. A run of
// one point (or of one point repeated) is drawn as a small square; runs
// without points are passed over. 0, or the first error: -2 for a null
// run, -8 when no run has points, -1 out of memory, else the feature
// computation's.
int compute_figure_rafs(RafContext& context, const DynArray<Raf>& rafs, RunList runs,
                        const FigureRafOptions& options);
// The same on a vector first reset to zeros for `total_cells` counters.
int compute_figure_rafs_afresh(RafContext& context, std::uint32_t total_cells,
                               const DynArray<Raf>& rafs, RunList runs,
                               const FigureRafOptions& options);

// What training from a sample works with: the feature context sized to the
// database's cell count, the Raf records to compute, and the results, one
// hit list (the ascending indices of the non-zero cells) per computed
// vector.
struct SampleFeatureWork {
  RafContext context;
  const DynArray<Raf>* rafs = nullptr;
  DynArray<DynArray<std::uint16_t>> hit_lists;
};

// Appends to work.hit_lists the cells the sample's strokes fall into, once
// for each angle offset d: the figure is computed at its own vertical
// direction + d. The strokes are first reduced to their trajectories with
// the step *step_size, or, when that is below 1, with a step derived from
// the strokes, which is written back. With a stroke index of 0 or more only
// the piece of that stroke from the point numbered first_point to the one
// numbered last_point is computed, with its ends told to the features. 0;
// -5 when the piece's points are not among the trajectory's (or the last
// comes before the first); -2 for a
// stroke index past the strokes or work without Raf records; -1 out of
// memory; else the first error of the trajectory, geometry or features.
int train_on_sample(SampleFeatureWork& work, const StrokeArray& strokes,
                    std::span<const int> angle_offsets, std::int32_t* step_size,
                    std::int32_t stroke_index, std::int32_t first_point, std::int32_t last_point,
                    const DynArray<std::uint16_t>* enabled);

}  // namespace inkrec

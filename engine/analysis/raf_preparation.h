// The preparation every RAF extractor shares: from the figure's strokes in
// the work area, the vertical runs, segment records, raster with its
// segment records, occupancy grid and crossing codes, centroids and stroke
// pairs, and the raster's box and mean.
#pragma once

#include "engine/analysis/raf_context.h"
#include "engine/foundation/box16.h"

namespace inkrec {

// Fills the work area from `strokes` and `scaled_strokes` against the
// figure box of the normalised frame, and forgets the grids of the figure
// before. 0; -1 out of memory; -2 for a stroke
// view without points or with fewer than two; -3 for a raster point outside
// the figure box (or an empty figure box); 7003 / 7004 when the raster is
// 50 or more wide / high; 7007 when the raster has more points than its
// 16-bit indices reach.
int prepare_raf_work_area(RafWorkArea& work, const Box16& figure_box);

}  // namespace inkrec

// Tracing of strokes into runs of unit steps (an integer line walk).
//
// Every traced point is written relative to an origin, saturated to 16 bits.
// A segment emits its start point and each step after it, but not its end
// point; the end of a polyline is appended once at the end unless the run
// already ends with it. Growth failures return -1 and stop the trace.
#pragma once

#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/point.h"
#include "engine/foundation/point_span.h"
#include "engine/foundation/stroke.h"

namespace inkrec {

// Walks from p0 towards p1 along the longer axis and appends each point
// before its step, relative to origin; nothing for a segment of length 0.
int trace_segment(PackedPoint p0, PackedPoint p1, DynArray<PackedPoint>& run, PackedPoint origin);

// Traces every segment, then appends the last point unless the run ends with
// it; a single point is appended as it is (relative to origin). -2 for an
// empty run.
int trace_polyline(PointSpan points, DynArray<PackedPoint>& run, PackedPoint origin);

// Traces every stroke relative to the left and top of `origin_box`, or of the
// box of all strokes when none is given. -2 at a stroke without points.
int rasterize_strokes(const DynArray<StrokeView>& strokes, DynArray<PackedPoint>& run,
                      const Box16* origin_box = nullptr);

// The same, and also appends to `marks` (without emptying it) where each
// stroke point's raster starts: for every point but the last, the run's count
// before the walk from it; after the last point, the run's count. So a stroke
// of n >= 2 points adds n marks and a stroke of one point adds two. A mark is
// the count truncated to 16 bits.
int rasterize_strokes_marked(const DynArray<StrokeView>& strokes, DynArray<PackedPoint>& run,
                             DynArray<std::uint16_t>& marks, const Box16* origin_box = nullptr);

}  // namespace inkrec

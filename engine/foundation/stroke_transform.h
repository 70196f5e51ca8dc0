// In-place changes to the points of strokes: integer scaling about an origin,
// horizontal shearing, and the removal of repeated points.
//
// Coordinates saturate to 16 bits. The list forms return -2 at a null stroke
// (the strokes before it are already changed) and 0 for an empty list.
#pragma once

#include <cstdint>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/point.h"
#include "engine/foundation/stroke.h"

namespace inkrec {

// x = (x - ox) * mx / dx, y = (y - oy) * my / dy. 2001 when dx is 0, 2002
// when dy is 0; the point is then unchanged.
struct PointScale {
  int mx = 1;
  int dx = 1;
  int my = 1;
  int dy = 1;
  int ox = 0;
  int oy = 0;
};
int scale_point(const PointScale& scale, PackedPoint* p);
// Scales every point of every stroke; stops at the first error.
int scale_strokes(StrokeList& strokes, const PointScale& scale);

// x += ((y - y0) * k) >> 8, with k in 1/256 units.
void shear_point(PackedPoint* p, int k, int y0);
int shear_strokes(StrokeList& strokes, int k, int y0);

// In each stroke (views[i] looks at *strokes[i]) erases every run of points
// equal to the point before it when a different point follows the run; a run
// of repeats at the very end stays. Each view's count follows the erasures.
// -2 when there are fewer strokes than views or a stroke is null.
int remove_repeated_points(DynArray<StrokeView>& views, StrokeList& strokes);

}  // namespace inkrec

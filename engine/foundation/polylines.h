// Measures of whole point runs: the four distances between two polylines,
// the length-weighted mean point, and bounding boxes.
//
// Runs are PointSpans, so the same code serves plain strokes and runs of point
// records. Distances are octagonal, 32767 when there is none.
#pragma once

#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/point.h"
#include "engine/foundation/point_span.h"
#include "engine/foundation/segments.h"
#include "engine/foundation/stroke.h"

namespace inkrec {

// The distances between two runs a and b:
//   overall       the least distance between the two polylines,
//   end_a_to_b    from a's last point to b,
//   start_a_to_b  from a's first point to b,
//   start_b_to_a  from b's first point to a.
// A run of one point is that point. Every field is 32767 when a run is empty.
struct PolylineDistances {
  std::int16_t overall = kNoDistance;
  std::int16_t end_a_to_b = kNoDistance;
  std::int16_t start_a_to_b = kNoDistance;
  std::int16_t start_b_to_a = kNoDistance;
};
PolylineDistances polyline_distances(PointSpan a, PointSpan b);

// The same, but two runs whose boxes lie further apart than the larger side
// of either box get the octagonal gap between the boxes for all four.
PolylineDistances polyline_distances_boxed(PointSpan a, const Box16& box_a, PointSpan b,
                                           const Box16& box_b);

// polyline_distances_boxed of two figures over their glyph boxes. A figure
// type provides, found by argument-dependent lookup:
//   PointSpan figure_points(const F&);  Box16 figure_box(const F&);
template <typename F>
PolylineDistances element_distances(const F& a, const F& b) {
  return polyline_distances_boxed(figure_points(a), figure_box(a), figure_points(b), figure_box(b));
}

// The length-weighted mean of the segment midpoints (a zero-length segment
// counts its first point with weight 1); a run of one point is its own mean.
// -2 for an empty run.
int polyline_mean_point(PointSpan points, PackedPoint* out);

// The box of a run, grown from `start` when given, else from the first point.
// A cleared box for an empty run without a start box.
Box16 points_bounding_box(PointSpan points, const Box16* start = nullptr);
// The box of every point of every view; a cleared box when there are none.
Box16 strokes_bounding_box(const DynArray<StrokeView>& strokes);

}  // namespace inkrec

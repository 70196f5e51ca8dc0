// Polyline distances, mean points and run boxes.

#include "engine/foundation/polylines.h"

#include <algorithm>
#include <cstdint>

#include "engine/foundation/status.h"
#include "engine/foundation/values.h"

namespace inkrec {
namespace {

// The least distance from p to a segment of the polyline; stops at 0.
std::int16_t point_to_polyline(PackedPoint p, PointSpan run) {
  std::int16_t least = kNoDistance;
  for (std::int32_t i = 0; i + 1 < run.size() && least > 0; ++i) {
    lower_to(least, point_to_segment(p, run[i], run[i + 1]));
  }
  return least;
}

std::int32_t octagonal_combination(std::int32_t x_gap, std::int32_t y_gap) {
  return 2 * (x_gap + y_gap) / 3;
}

// Whether the segments' boxes could hold a pair of points nearer than `bound`:
// the four signed gaps between their extents and the four octagonal
// combinations of an x gap with a y gap must all lie below it.
bool may_come_nearer(const Box16& s, const Box16& t, std::int32_t bound) {
  const std::int32_t x_gaps[2] = {std::int32_t{s.left} - t.right, std::int32_t{t.left} - s.right};
  const std::int32_t y_gaps[2] = {std::int32_t{s.top} - t.bottom, std::int32_t{t.top} - s.bottom};
  for (std::int32_t g : x_gaps) {
    if (g >= bound) return false;
  }
  for (std::int32_t g : y_gaps) {
    if (g >= bound) return false;
  }
  for (std::int32_t gx : x_gaps) {
    for (std::int32_t gy : y_gaps) {
      if (octagonal_combination(gx, gy) >= bound) return false;
    }
  }
  return true;
}

// The segments are taken in blocks of kBlock; a block whose box cannot
// come nearer than the least distance so far to the other polyline (or to
// the other block) holds no segment that can.
constexpr std::int32_t kBlock = 8;

// The box of the points first .. first + kBlock (the segments of a block).
Box16 block_box(PointSpan run, std::int32_t first) {
  const std::int32_t last = std::min(first + kBlock, run.size() - 1);
  Box16 box;
  box.set_from_points(run[first], run[first]);
  for (std::int32_t i = first + 1; i <= last; ++i) box.include_point(run[i]);
  return box;
}

// The least distance between segment i of a and the segments of b's block
// starting at first, lowering `least`.
void segment_to_block(PointSpan a, std::int32_t i, PointSpan b, std::int32_t first,
                      std::int16_t& least) {
  Box16 box_a;
  box_a.set_from_points(a[i], a[i + 1]);
  const std::int32_t end = std::min(first + kBlock, b.size() - 1);
  for (std::int32_t j = first; j < end && least > 0; ++j) {
    Box16 box_b;
    box_b.set_from_points(b[j], b[j + 1]);
    if (may_come_nearer(box_a, box_b, least)) {
      lower_to(least, segment_segment_distance(a[i], a[i + 1], b[j], b[j + 1]));
    }
  }
}

std::int16_t polyline_to_polyline(PointSpan a, PointSpan b) {
  std::int16_t least = kNoDistance;
  Box16 whole_b;
  whole_b.set_from_points(b[0], b[0]);
  for (std::int32_t j = 1; j < b.size(); ++j) whole_b.include_point(b[j]);
  for (std::int32_t ia = 0; ia + 1 < a.size() && least > 0; ia += kBlock) {
    const Box16 block_a = block_box(a, ia);
    if (!may_come_nearer(block_a, whole_b, least)) continue;
    for (std::int32_t jb = 0; jb + 1 < b.size() && least > 0; jb += kBlock) {
      const Box16 block_b = block_box(b, jb);
      if (!may_come_nearer(block_a, block_b, least)) continue;
      const std::int32_t end = std::min(ia + kBlock, a.size() - 1);
      for (std::int32_t i = ia; i < end && least > 0; ++i) segment_to_block(a, i, b, jb, least);
    }
  }
  return least;
}

}  // namespace

PolylineDistances polyline_distances(PointSpan a, PointSpan b) {
  PolylineDistances d;
  if (a.empty() || b.empty()) return d;
  const bool a_single = a.size() == 1;
  const bool b_single = b.size() == 1;
  if (a_single && b_single) {
    const std::int16_t v = point_distance(a.front(), b.front());
    d = {v, v, v, v};
  } else if (a_single) {
    const std::int16_t v = point_to_polyline(a.front(), b);
    d = {v, v, v, point_distance(a.front(), b.front())};
  } else if (b_single) {
    const std::int16_t v = point_to_polyline(b.front(), a);
    d = {v, point_distance(b.front(), a.back()), point_distance(b.front(), a.front()), v};
  } else {
    d.start_b_to_a = point_to_polyline(b.front(), a);
    d.start_a_to_b = point_to_polyline(a.front(), b);
    d.end_a_to_b = point_to_polyline(a.back(), b);
    d.overall = polyline_to_polyline(a, b);
  }
  return d;
}

PolylineDistances polyline_distances_boxed(PointSpan a, const Box16& box_a, PointSpan b,
                                           const Box16& box_b) {
  if (a.empty() || b.empty()) return {};
  const std::int32_t x_gap =
      std::max({std::int32_t{box_b.left} - box_a.right, std::int32_t{box_a.left} - box_b.right, 0});
  const std::int32_t y_gap =
      std::max({std::int32_t{box_b.top} - box_a.bottom, std::int32_t{box_a.top} - box_b.bottom, 0});
  const std::int16_t gap = octagonal_length(x_gap, y_gap);
  const std::int32_t larger_side =
      std::max({box_a.width(), box_a.height(), box_b.width(), box_b.height()});
  if (gap > larger_side) return {gap, gap, gap, gap};
  return polyline_distances(a, b);
}

int polyline_mean_point(PointSpan points, PackedPoint* out) {
  if (points.empty() || out == nullptr) return kBadArgument;
  if (points.size() == 1) {
    *out = points.front();
    return kOk;
  }
  std::int64_t sum_x = 0;
  std::int64_t sum_y = 0;
  std::int64_t weight = 0;
  for (std::int32_t i = 0; i + 1 < points.size(); ++i) {
    const PackedPoint p = points[i];
    const PackedPoint q = points[i + 1];
    const std::int64_t length = point_distance(p, q);
    if (length > 0) {
      sum_x += (std::int64_t{p.x} + q.x) * length / 2;
      sum_y += (std::int64_t{p.y} + q.y) * length / 2;
      weight += length;
    } else {
      sum_x += p.x;
      sum_y += p.y;
      weight += 1;
    }
  }
  *out = PackedPoint{saturate_int16(sum_x / weight), saturate_int16(sum_y / weight)};
  return kOk;
}

Box16 points_bounding_box(PointSpan points, const Box16* start) {
  Box16 box;
  std::int32_t first = 0;
  if (start != nullptr) {
    box = *start;
  } else if (!points.empty()) {
    box.set_from_points(points.front(), points.front());
    first = 1;
  }
  for (std::int32_t i = first; i < points.size(); ++i) box.include_point(points[i]);
  return box;
}

Box16 strokes_bounding_box(const DynArray<StrokeView>& strokes) {
  Box16 box;
  bool started = false;
  for (const StrokeView& view : strokes) {
    const PointSpan points(view);
    if (points.empty()) continue;
    box = points_bounding_box(points, started ? &box : nullptr);
    started = true;
  }
  return box;
}

}  // namespace inkrec

// The integer line walk and the stroke rasterisers built on it.

#include "engine/foundation/rasterize.h"

#include <cstdint>
#include <cstdlib>
#include <utility>

#include "engine/foundation/polylines.h"
#include "engine/foundation/status.h"
#include "engine/foundation/values.h"

namespace inkrec {
namespace {

PackedPoint relative(std::int32_t x, std::int32_t y, PackedPoint origin) {
  return PackedPoint{saturate_int16(std::int64_t{x} - origin.x),
                     saturate_int16(std::int64_t{y} - origin.y)};
}

PackedPoint origin_of(const DynArray<StrokeView>& strokes, const Box16* origin_box) {
  const Box16 box = origin_box != nullptr ? *origin_box : strokes_bounding_box(strokes);
  return PackedPoint{box.left, box.top};
}

std::uint16_t mark_of(const DynArray<PackedPoint>& run) {
  return static_cast<std::uint16_t>(run.size());
}

}  // namespace

int trace_segment(PackedPoint p0, PackedPoint p1, DynArray<PackedPoint>& run, PackedPoint origin) {
  const std::int32_t dx = p1.x - p0.x;
  const std::int32_t dy = p1.y - p0.y;
  const bool along_x = std::abs(dy) <= std::abs(dx);
  // Coordinates along the major and the minor axis.
  std::int32_t major_pos = along_x ? p0.x : p0.y;
  std::int32_t minor_pos = along_x ? p0.y : p0.x;
  const std::int32_t major_step = (along_x ? dx : dy) < 0 ? -1 : 1;
  const std::int32_t minor_step = (along_x ? dy : dx) < 0 ? -1 : 1;
  const std::int32_t major = std::abs(along_x ? dx : dy);
  const std::int32_t minor = std::abs(along_x ? dy : dx);
  std::int32_t error = 2 * minor - major;
  for (std::int32_t round = 0; round < major; ++round) {
    const PackedPoint p =
        along_x ? relative(major_pos, minor_pos, origin) : relative(minor_pos, major_pos, origin);
    if (run.push_back(p) != kOk) return kOutOfMemory;
    if (error >= 0) {
      minor_pos += minor_step;
      error -= 2 * major;
    }
    major_pos += major_step;
    error += 2 * minor;
  }
  return kOk;
}

int trace_polyline(PointSpan points, DynArray<PackedPoint>& run, PackedPoint origin) {
  if (points.empty()) return kBadArgument;
  if (points.size() == 1) return run.push_back(relative(points[0].x, points[0].y, origin));
  for (std::int32_t i = 0; i + 1 < points.size(); ++i) {
    if (const int status = trace_segment(points[i], points[i + 1], run, origin); status != kOk) {
      return status;
    }
  }
  return append_point_if_new(run, relative(points.back().x, points.back().y, origin));
}

int rasterize_strokes(const DynArray<StrokeView>& strokes, DynArray<PackedPoint>& run,
                      const Box16* origin_box) {
  if (strokes.empty()) return kOk;
  const PackedPoint origin = origin_of(strokes, origin_box);
  for (const StrokeView& view : strokes) {
    if (const int status = trace_polyline(PointSpan(view), run, origin); status != kOk) {
      return status;
    }
  }
  return kOk;
}

int rasterize_strokes_marked(const DynArray<StrokeView>& strokes, DynArray<PackedPoint>& run,
                             DynArray<std::uint16_t>& marks, const Box16* origin_box) {
  if (strokes.empty()) return kOk;
  const PackedPoint origin = origin_of(strokes, origin_box);
  for (const StrokeView& view : strokes) {
    const PointSpan points(view);
    if (points.empty()) return kBadArgument;
    if (static_cast<std::uint32_t>(points.size()) > marks.capacity() &&
        marks.reserve_total(static_cast<std::uint32_t>(points.size())) != kOk) {
      return kOutOfMemory;
    }
    if (points.size() == 1) {
      if (marks.push_back(mark_of(run)) != kOk) return kOutOfMemory;
      if (run.push_back(relative(points[0].x, points[0].y, origin)) != kOk) return kOutOfMemory;
      if (marks.push_back(mark_of(run)) != kOk) return kOutOfMemory;
      continue;
    }
    for (std::int32_t i = 0; i + 1 < points.size(); ++i) {
      if (marks.push_back(mark_of(run)) != kOk) return kOutOfMemory;
      if (const int status = trace_segment(points[i], points[i + 1], run, origin); status != kOk) {
        return status;
      }
    }
    const PackedPoint last = relative(points.back().x, points.back().y, origin);
    if (append_point_if_new(run, last) != kOk) return kOutOfMemory;
    if (marks.push_back(mark_of(run)) != kOk) return kOutOfMemory;
  }
  return kOk;
}

}  // namespace inkrec

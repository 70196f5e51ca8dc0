// The one-figure shape tests.

#include "engine/rules/figure_shape_tests.h"

#include <algorithm>
#include <cstdlib>

#include "engine/foundation/trigonometry.h"
#include "engine/records/clamped_ramp.h"

namespace inkrec {
namespace {

constexpr std::int32_t kSideLimit = 199;

std::int32_t count_of(PointRecords points) { return static_cast<std::int32_t>(points.size()); }

// Point i, an index past either end read as the nearest end (the run is
// not empty).
PackedPoint at(PointRecords points, std::int64_t i) {
  const std::int64_t last = count_of(points) - 1;
  return points[static_cast<std::size_t>(std::clamp<std::int64_t>(i, 0, last))].point;
}
std::int32_t stored_direction(PointRecords points, std::int32_t i) {
  return points[static_cast<std::size_t>(i)].trajectory.step_direction;
}

// The first and the last index of a point at p; -1 for none.
std::int32_t first_index_of(PointRecords points, PackedPoint p) {
  for (std::int32_t i = 0; i < count_of(points); ++i) {
    if (at(points, i) == p) return i;
  }
  return -1;
}
std::int32_t last_index_of(PointRecords points, PackedPoint p) {
  for (std::int32_t i = count_of(points) - 1; i >= 0; --i) {
    if (at(points, i) == p) return i;
  }
  return -1;
}

// The last point of the run's leading stretch of points at one height.
std::int32_t end_of_flat_start(PointRecords points) {
  std::int32_t s = 0;
  while (s + 1 < count_of(points) && at(points, s + 1).y == at(points, 0).y) ++s;
  return s;
}

// The first maximum and minimum of the record, the last points of the run
// at them (a point at both counts for the maximum; 0 for none) and the
// run's first point.
struct SideTerms {
  PackedPoint maximum;
  PackedPoint minimum;
  std::int32_t k_maximum;
  std::int32_t k_minimum;
  PackedPoint first;
};
SideTerms side_terms(const FigureInfo& info, PointRecords points) {
  SideTerms t{figure_maxima(info)[0].point, figure_minima(info)[0].point, 0, 0, at(points, 0)};
  t.k_maximum = std::max(0, last_index_of(points, t.maximum));
  if (!(t.minimum == t.maximum)) t.k_minimum = std::max(0, last_index_of(points, t.minimum));
  return t;
}

bool has_side_extrema(const FigureInfo& info, PointRecords points) {
  return !points.empty() && !figure_maxima(info).empty() && !figure_minima(info).empty();
}

// Whether direction d lies in the open window (e - 75, e + 180).
bool in_curl_window(std::int32_t d, std::int32_t e) {
  const std::int32_t turn = ((d - e) % 360 + 360) % 360;
  return turn < 180 || turn > 285;
}

}  // namespace

Box16 box_of_points(PointRecords points) {
  Box16 box{32767, 32767, -32768, -32768};
  for (const PointRecord& record : points) {
    box.left = std::min(box.left, record.point.x);
    box.top = std::min(box.top, record.point.y);
    box.right = std::max(box.right, record.point.x);
    box.bottom = std::max(box.bottom, record.point.y);
  }
  return box;
}

PackedPoint weighted_centre(PointRecords points) {
  if (points.empty()) return {};
  std::int64_t weight = 0;
  std::int64_t x2 = 0;  // the sums of weight * (x(a) + x(b))
  std::int64_t y2 = 0;
  for (std::int32_t s = 0; s + 1 < count_of(points); ++s) {
    const PackedPoint a = at(points, s);
    const PackedPoint b = at(points, s + 1);
    std::int64_t w = octagonal_length(b.x - a.x, b.y - a.y);
    if (w == 0) {
      if (s != 0) continue;
      w = 1;
    }
    weight += w;
    x2 += w * (a.x + b.x);
    y2 += w * (a.y + b.y);
  }
  if (weight == 0) return at(points, 0);
  return {static_cast<std::int16_t>(x2 / (2 * weight)),
          static_cast<std::int16_t>(y2 / (2 * weight))};
}

bool chord_holds(PointRecords points, std::int32_t i, std::int32_t j, std::int32_t size,
                 ChordSide side) {
  if (points.empty()) return true;
  const std::int32_t last = count_of(points) - 1;
  i = std::clamp(i, 0, last);
  j = std::clamp(j, 0, last);
  const PackedPoint a = at(points, i);
  const PackedPoint b = at(points, j);
  if (j <= i + 1 || a.x > b.x) return true;
  const ClampedRamp chord(a.x, a.y, false, b.x, b.y, false);
  const std::int32_t tolerance = size / 10;
  for (std::int32_t k = i + 1; k < j; ++k) {
    const PackedPoint p = at(points, k);
    if (p.x < a.x || p.x > b.x) continue;
    const std::int32_t r = chord.value_at(p.x);
    if (side == ChordSide::kUpper ? p.y < r - tolerance : p.y > r + tolerance) return false;
  }
  return true;
}

std::int32_t end_drop_penalty(const FigureInfo& info, PointRecords points, const Box16& box) {
  if (points.empty() || figure_maxima(info).empty()) return 0;
  const Extremum& maximum = figure_maxima(info)[0];
  std::int64_t start = 0;
  if (!figure_minima(info).empty() && figure_minima(info)[0].index < maximum.index)
    start = figure_minima(info)[0].index;
  for (std::int64_t k = start; k < maximum.index && k + 1 < count_of(points); ++k) {
    if (at(points, k + 1).y <= at(points, k).y) return 0;
  }
  return maximum.point.y - at(points, 0).y > 2 * box.height() / 3 ? 399 : 0;
}

std::int32_t end_curl_penalty(PointRecords points, std::int32_t end_direction, std::int32_t size) {
  if (count_of(points) < 2) return 0;
  const std::int32_t last_index = count_of(points) - 1;
  const PackedPoint last = at(points, last_index);
  const std::int32_t reach = size / 4;
  bool inside = false;
  for (std::int32_t k = last_index - 1; k >= 0; --k) {
    const PackedPoint p = at(points, k);
    inside = in_curl_window(step_direction(p, last), end_direction);
    if (!inside || std::abs(p.x - last.x) > reach || std::abs(p.y - last.y) > reach) break;
  }
  return inside ? 499 : 0;
}

std::int32_t upper_side_penalty(const FigureInfo& info, PointRecords points, std::int32_t size) {
  if (!has_side_extrema(info, points)) return 0;
  const SideTerms t = side_terms(info, points);
  if (t.first == t.maximum && t.maximum.y - t.minimum.y > size / 2) return 0;
  const bool from_start =
      t.first == t.minimum || (t.k_minimum > t.k_maximum && t.first.y < t.maximum.y);
  const std::int32_t i = from_start ? end_of_flat_start(points) : t.k_minimum;
  return chord_holds(points, i, t.k_maximum + 1, size, ChordSide::kUpper) ? 0 : kSideLimit;
}

std::int32_t lower_side_penalty(const FigureInfo& info, PointRecords points, std::int32_t size) {
  if (!has_side_extrema(info, points)) return 0;
  const SideTerms t = side_terms(info, points);
  if (t.first == t.minimum && t.maximum.y - t.minimum.y > size / 2) return 0;
  std::int32_t i = t.k_maximum;
  if (t.first == t.maximum || (t.k_maximum > t.k_minimum && t.first.y > t.minimum.y)) {
    i = end_of_flat_start(points);
  } else if (t.k_maximum > t.k_minimum && t.maximum.x > t.minimum.x) {
    return kSideLimit;
  }
  return chord_holds(points, i, t.k_minimum + 1, size, ChordSide::kLower) ? 0 : kSideLimit;
}

std::int32_t last_side_penalty(const FigureInfo& info, PointRecords points, const Box16& box,
                               std::int32_t size) {
  if (!has_side_extrema(info, points)) return 0;
  const DynArray<Extremum>& maxima = figure_maxima(info);
  const std::int32_t n = count_of(points);
  const PackedPoint last = at(points, n - 1);
  PackedPoint r = maxima.back().point;
  if (r == last) {
    if (figure_minima(info).back().point.y < r.y - box.height() / 3) return 0;
    if (maxima.size() < 2) return 0;
    r = maxima[maxima.size() - 2].point;
  }
  std::int32_t k = first_index_of(points, r);
  if (k < 0) k = n;
  if ((r.x > last.x && last.y < r.y) || n - k - 1 <= 2) return 0;
  return chord_holds(points, k, n - 1, size, ChordSide::kUpper) ? 0 : 349;
}

std::int32_t tail_penalty(const FigureInfo& info, PointRecords points, std::int32_t size) {
  const DynArray<Extremum>& maxima = figure_maxima(info);
  const std::int32_t n = count_of(points);
  if (maxima.size() < 2 || figure_minima(info).size() < 2 || n < 2) return 0;
  const Extremum* peak = &maxima.back();
  if (peak->point == at(points, n - 1)) {
    if (at(points, n - 2).x <= at(points, n - 1).x) return 0;
    peak = &maxima[maxima.size() - 2];
  }
  const std::int32_t k = static_cast<std::int32_t>(std::min<std::uint32_t>(peak->index, n - 1));
  if (2 * k < n) return 0;
  std::int32_t end = k;
  while (end + 1 < n && at(points, end + 1).x >= at(points, end).x) ++end;
  if (end - k < 2 || end >= n - 1) return 0;
  const PackedPoint r = peak->point;
  if (at(points, n - 1).x > at(points, end).x || at(points, end - 1).y > r.y) return 0;
  if (end == n - 2 && at(points, end).x - at(points, n - 1).x > size / 6) {
    const std::int32_t opposite = (stored_direction(points, n - 1) + 180) % 360;
    return stored_direction(points, end) > opposite ? 499 : 0;
  }
  const Box16 box = box_of_points(points.subspan(static_cast<std::size_t>(k)));
  const bool boxed = box.height() < 3 * box.width() && box.left < r.x &&
                     box.top < r.y - size / 10 && box.right > r.x && box.bottom < r.y + size / 8;
  return boxed ? 1000 : 0;
}

std::int32_t end_ramp_penalty(const FigureInfo& info, PointRecords points, std::int32_t size) {
  const DynArray<Extremum>& minima = figure_minima(info);
  const std::int32_t n = count_of(points);
  if (figure_maxima(info).size() < 2 || minima.size() < 2 || n < 5) return 0;
  PackedPoint r = minima.back().point;
  if (r == at(points, n - 1)) r = minima[minima.size() - 2].point;
  const std::int32_t k = first_index_of(points, r);
  if (k < 2 || k > n - 3 || figure_maxima(info).back().index < static_cast<std::uint32_t>(k))
    return 0;
  const std::int32_t a = stored_direction(points, k - 1);
  const std::int32_t b = stored_direction(points, k);
  if (a < 270 || std::abs(a - b) < 200 || b > 350) return 0;
  const PointRecords head = points.first(static_cast<std::size_t>(k));
  const PointRecords end = points.subspan(static_cast<std::size_t>(k));
  const Box16 b1 = box_of_points(head);
  const Box16 b2 = box_of_points(end);
  if (b2.left <= b1.right - size / 5 || b2.height() >= b1.height() / 4) return 0;
  if (weighted_centre(end).y < weighted_centre(head).y - size / 4) return 0;
  return ClampedRamp(0, 1500, true, b1.width(), 0, true).value_at(b2.width());
}

}  // namespace inkrec

// Line crossings, band extents, mean widths and the winding of runs.

#include "engine/records/figure_measures.h"

#include <algorithm>
#include <cmath>

#include "engine/foundation/polylines.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/foundation/values.h"
#include "engine/records/clamped_ramp.h"
#include "engine/records/figure_records.h"
#include "engine/records/point_runs.h"
#include "engine/records/profile_raster.h"

namespace inkrec {
namespace {

void widen(CrossingRange& range, std::int32_t v) {
  range.least = std::min(range.least, v);
  range.greatest = std::max(range.greatest, v);
}

// Crossings of the line at `at` along one axis: `along` reads the crossed
// coordinate of a point and `where` interpolates the other one.
template <typename Along, typename Where>
int count_crossings(PointSpan run, int at, CrossingRange& range, bool reset, Along along,
                    Where where) {
  if (reset) range = CrossingRange{};
  int count = 0;
  for (std::int32_t i = 0; i + 1 < run.size(); ++i) {
    const PackedPoint p = run[i];
    const PackedPoint q = run[i + 1];
    if ((along(p) < at) == (along(q) < at)) continue;
    ++count;
    widen(range, where(p, q, at));
  }
  return count;
}

}  // namespace

int count_vertical_line_crossings(PointSpan run, int x, CrossingRange& range, bool reset) {
  return count_crossings(
      run, x, range, reset, [](PackedPoint p) { return p.x; },
      [](PackedPoint p, PackedPoint q, int at) { return interpolate_y_at_x(p, q, at); });
}

int count_horizontal_line_crossings(PointSpan run, int y, CrossingRange& range, bool reset) {
  return count_crossings(
      run, y, range, reset, [](PackedPoint p) { return p.y; },
      [](PackedPoint p, PackedPoint q, int at) { return interpolate_x_at_y(p, q, at); });
}

int figures_extent_x(RunList figures, int x, CrossingRange& range) {
  range = CrossingRange{};
  int count = 0;
  for (const PointRun* run : figures) {
    if (run != nullptr) count += count_vertical_line_crossings(run->span(), x, range, false);
  }
  return count;
}

int figures_extent_y(RunList figures, int y, CrossingRange& range, bool count_figures) {
  range = CrossingRange{};
  int count = 0;
  for (const PointRun* run : figures) {
    if (run == nullptr) continue;
    const int crossings = count_horizontal_line_crossings(run->span(), y, range, false);
    count += count_figures ? (crossings > 0 ? 1 : 0) : crossings;
  }
  return count;
}

int figures_extent_x_default(RunList figures, int x) {
  CrossingRange range;
  return figures_extent_x(figures, x, range);
}

int figures_extent_y_default(RunList figures, int y) {
  CrossingRange range;
  return figures_extent_y(figures, y, range, false);
}

int runs_downward_crossings(RunList runs, int level) {
  int count = 0;
  for (const PointRun* run : runs) {
    if (run != nullptr) count += run_downward_crossings(run->span(), level).count;
  }
  return count;
}

int runs_upward_crossings(RunList runs, int level) {
  int count = 0;
  for (const PointRun* run : runs) {
    if (run != nullptr) count += run_upward_crossings(run->span(), level).count;
  }
  return count;
}

int figure_band_extent(const StrokeRecord& figure, int top, int height, int slant,
                       BandExtent& out) {
  const Box16 box = figure.geometry.bounding_box();
  const int bottom = top + height;
  if (height < 0 || top < box.top || bottom > box.bottom) return kUndocumented;
  const int tangent = scale_by_tangent(slant - 90, 1000);
  const auto upright = [&](PackedPoint p) {
    return PackedPoint{saturate_int16(p.x - (std::int64_t{bottom} - p.y) * tangent / 1000), p.y};
  };
  // -1 above the band, 0 inside, 1 below.
  const auto side = [&](PackedPoint p) { return p.y < top ? -1 : p.y > bottom ? 1 : 0; };
  const auto x_at = [](PackedPoint p, PackedPoint q, int y) {
    return ClampedRamp(p.y, p.x, true, q.y, q.x, true).value_at(y);
  };

  std::int32_t least = kUnsetLeast;
  std::int32_t greatest = kUnsetGreatest;
  const auto take = [&](std::int32_t x) {
    least = std::min(least, x);
    greatest = std::max(greatest, x);
  };
  std::int64_t amount = 0;
  // The run begins in the band and has not moved inside it yet.
  bool begins_alone = false;
  const PointSpan points = figure.run.span();
  PackedPoint previous{};
  int previous_side = 0;
  for (std::int32_t i = 0; i < points.size(); ++i) {
    const PackedPoint p = upright(points[i]);
    const int s = side(p);
    if (i == 0) {
      if (s == 0) take(p.x);
      begins_alone = s == 0;
    } else if (previous_side == 0 && s == 0) {
      const int step = octagonal_length(p.x - previous.x, p.y - previous.y);
      amount += step == 0 && i == 1 ? 1 : step;
      take(p.x);
      begins_alone = false;
    } else if (previous_side == 0) {
      take(x_at(previous, p, s < 0 ? top : bottom));
    } else if (s == 0) {
      take(x_at(previous, p, previous_side < 0 ? top : bottom));
      take(p.x);
      ++amount;
    } else if (s != previous_side) {
      take(x_at(previous, p, top));
      take(x_at(previous, p, bottom));
      ++amount;
    }
    previous = p;
    previous_side = s;
  }
  if (begins_alone) ++amount;
  if (least == kUnsetLeast) return kOk;
  out.box = Box16{saturate_int16(least), saturate_int16(top), saturate_int16(greatest),
                  saturate_int16(bottom)};
  out.centre = {saturate_int16((std::int64_t{least} + greatest) / 2),
                saturate_int16(top + height / 2)};
  out.amount = static_cast<std::int32_t>(std::min<std::int64_t>(amount, INT32_MAX));
  return 1;
}

namespace {

// The mean of `extent` over the lines a .. b of first .. last, the bounds
// replaced as element_mean_width says.
template <typename Extent>
int mean_extent(int first, int last, int a, int b, Extent extent) {
  if (last < first) return 1;
  const int from = first < a && a < last ? a : first;
  const int to = from < b && b < last ? b : last;
  std::int64_t sum = 0;
  for (int line = from; line <= to; ++line) sum += extent(line);
  const std::int64_t mean = sum / (std::int64_t{to} - from + 1);
  return mean == 0 ? 1 : static_cast<int>(mean);
}

}  // namespace

int element_mean_width(GlyphGeometry& geometry, RunList runs, int a, int b) {
  const ProfileRaster& raster = geometry.ensure_block_a(runs);
  if (raster.empty()) return 1;
  return mean_extent(raster.top(), raster.bottom(), a, b,
                     [&raster](int y) { return raster.row_extent(y); });
}

int element_mean_height(GlyphGeometry& geometry, RunList runs, int a, int b) {
  const ProfileRaster& raster = geometry.ensure_block_a(runs);
  if (raster.empty()) return 1;
  return mean_extent(raster.left(), raster.right(), a, b,
                     [&raster](int x) { return raster.column_extent(x); });
}

double octagonal_length_double(double a, double b) {
  const double abs_a = std::fabs(a);
  const double abs_b = std::fabs(b);
  return (2 * std::max(abs_a, abs_b) + abs_a + abs_b) * 0.3333333333333333;
}

int run_winding(PointSpan run, Winding& out) {
  out = Winding{};
  if (run.size() < 3) return 0;
  const Box16 box = points_bounding_box(run);
  const double cx = 4.0 * box.center_x();
  const double cy = 4.0 * box.center_y();
  double total = 0;
  double signed_total = 0;
  for (std::int32_t i = 1; i + 1 < run.size(); ++i) {
    const PackedPoint before = run[i - 1];
    const PackedPoint here = run[i];
    const PackedPoint after = run[i + 1];
    const double dx = here.x - before.x;
    const double dy = here.y - before.y;
    const double sx = before.x + 2.0 * here.x + after.x - cx;
    const double sy = before.y + 2.0 * here.y + after.y - cy;
    const double cross = sy * dx - sx * dy;
    const double length = octagonal_length_double(dx, dy);
    total += length;
    signed_total += cross > 0 ? length : cross < 0 ? -length : 0;
  }
  if (total > 0) out.ratio = signed_total / total;
  out.length = static_cast<std::int32_t>(std::min(total, double{INT32_MAX}));
  return 1;
}

}  // namespace inkrec

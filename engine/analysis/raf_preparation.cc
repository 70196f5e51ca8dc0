// RAF preparation: runs, segments, rasters, occupancy, stroke pairs.

#include "engine/analysis/raf_preparation.h"

#include <algorithm>
#include <cstdlib>

#include "engine/foundation/point_span.h"
#include "engine/foundation/polylines.h"
#include "engine/foundation/rasterize.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/records/pair_table.h"

namespace inkrec {
namespace {

constexpr int kRasterLimit = 50;
constexpr int kMaxRasterPoints = 0xFFFF;
constexpr int kMaxCrossingRuns = 3;

int check_strokes(const DynArray<StrokeView>& strokes) {
  for (const StrokeView& view : strokes) {
    if (view.points == nullptr || view.count < 2) return kBadArgument;
  }
  return kOk;
}

// The number of vertical runs longer than the hysteresis along each stroke.
int count_vertical_runs(RafWorkArea& work, const Box16& figure_box) {
  const int hysteresis = std::max(4, (figure_box.width() + figure_box.height()) / 2 / 9);
  for (const StrokeView& view : work.strokes) {
    RunCounter* counter = work.stroke_runs.add_new();
    if (counter == nullptr) return kBadArgument;
    enum class Movement { kNeutral, kRising, kFalling } state = Movement::kNeutral;
    int highest = view.points[0].y;  // the greatest y
    int lowest = view.points[0].y;   // the least y
    for (std::int32_t k = 0; k < view.count; ++k) {
      const int y = view.points[k].y;
      highest = std::max(highest, y);
      lowest = std::min(lowest, y);
      if (highest - y > hysteresis && state != Movement::kRising) {
        state = Movement::kRising;
        lowest = y;
        counter->enter_one();
      } else if (y - lowest > hysteresis && state != Movement::kFalling) {
        state = Movement::kFalling;
        highest = y;
        counter->enter_zero();
      }
    }
  }
  return kOk;
}

int build_segments(RafWorkArea& work) {
  work.segments.clear();
  for (const StrokeView& view : work.strokes) {
    for (std::int32_t k = 0; k + 1 < view.count; ++k) {
      const PackedPoint p = view.points[k];
      const PackedPoint q = view.points[k + 1];
      SegmentRecord record;
      if (!(p == q)) {
        record.direction = static_cast<std::int16_t>(step_direction(p, q));
        record.length = octagonal_length(q.x - p.x, q.y - p.y);
      }
      if (k > 0) {
        record.turn = static_cast<std::int16_t>(
            angle_difference(work.segments.back().direction, record.direction));
      }
      if (work.segments.push_back(record) != kOk) return kOutOfMemory;
    }
    if (work.segments.push_default() == nullptr) return kOutOfMemory;
  }
  return kOk;
}

int build_rasters(RafWorkArea& work) {
  work.points.clear();
  work.raster_start.clear();
  work.scaled_points.clear();
  if (const int status = rasterize_strokes_marked(work.strokes, work.points, work.raster_start);
      status != kOk) {
    return status;
  }
  if (work.points.size() > kMaxRasterPoints || work.raster_start.size() != work.segments.size()) {
    return kRafChordBounds;
  }
  return rasterize_strokes(work.scaled_strokes, work.scaled_points);
}

// One record per raster point: the segment's direction and length at the
// first raster point of every segment, and the turn between segments.
int build_raster_segments(RafWorkArea& work) {
  work.raster_segments.clear();
  if (work.raster_segments.resize(work.points.size() + 1) != kOk) return kOutOfMemory;
  const std::uint32_t total = work.segments.size();
  for (std::uint32_t k = 0; k + 1 < total; ++k) {
    const SegmentRecord& segment = work.segments[k];
    if (segment.length == 0 || work.raster_start[k] == work.raster_start[k + 1]) continue;
    SegmentRecord& record = work.raster_segments[work.raster_start[k]];
    record.direction = segment.direction;
    record.length = segment.length;
  }
  std::uint32_t first = 0;
  for (const StrokeView& view : work.strokes) {
    const auto n = static_cast<std::uint32_t>(view.count);
    for (std::uint32_t k = first + 1; k + 1 < first + n; ++k) {
      const int before = work.raster_segments[work.raster_start[k - 1]].direction;
      SegmentRecord& record = work.raster_segments[work.raster_start[k]];
      record.turn = static_cast<std::int16_t>(angle_difference(before, record.direction));
    }
    first += n;
  }
  return kOk;
}

struct Cell {
  int column;
  int row;
};

bool cell_of(PackedPoint p, const Box16& box, Cell* cell) {
  cell->column = (p.x - box.left) * kOccupancyCells / box.width();
  cell->row = (p.y - box.top) * kOccupancyCells / box.height();
  return cell->column >= 0 && cell->column < kOccupancyCells && cell->row >= 0 &&
         cell->row < kOccupancyCells;
}

// min(L, 3) + min(R, 3): the runs of marked cells of the row wholly left and
// wholly right of the run that holds `column`.
std::uint8_t crossing_code(const std::array<std::uint8_t, kOccupancyCells>& row, int column) {
  int left = 0;
  int right = 0;
  int k = 0;
  while (k < kOccupancyCells) {
    if (row[static_cast<std::size_t>(k)] == 0) {
      ++k;
      continue;
    }
    const int run_start = k;
    while (k < kOccupancyCells && row[static_cast<std::size_t>(k)] != 0) ++k;
    if (k <= column) ++left;
    if (run_start > column) ++right;
  }
  return static_cast<std::uint8_t>(std::min(left, kMaxCrossingRuns) +
                                   std::min(right, kMaxCrossingRuns));
}

int build_occupancy(RafWorkArea& work, const Box16& figure_box) {
  for (auto& row : work.occupancy) row.fill(0);
  if (figure_box.width() < 1 || figure_box.height() < 1) return kUndocumented;
  for (const PackedPoint p : work.points) {
    Cell cell;
    if (!cell_of(p, figure_box, &cell)) return kUndocumented;
    work.occupancy[static_cast<std::size_t>(cell.row)][static_cast<std::size_t>(cell.column)] = 1;
  }
  work.crossing_codes.clear();
  std::array<int, kOccupancyCells> row_codes;
  row_codes.fill(-1);
  for (const PackedPoint p : work.points) {
    Cell cell;
    cell_of(p, figure_box, &cell);
    int& code = row_codes[static_cast<std::size_t>(cell.row)];
    if (code < 0)
      code = crossing_code(work.occupancy[static_cast<std::size_t>(cell.row)], cell.column);
    if (work.crossing_codes.push_back(static_cast<std::uint8_t>(code)) != kOk) return kOutOfMemory;
  }
  return kOk;
}

int build_stroke_measures(RafWorkArea& work) {
  work.centroids.clear();
  for (const StrokeView& view : work.strokes) {
    PackedPoint centroid;
    if (const int status = polyline_mean_point(PointSpan(view), &centroid); status != kOk) {
      return status;
    }
    if (work.centroids.push_back(centroid) != kOk) return kOutOfMemory;
  }
  const std::int64_t n = work.strokes.size();
  work.stroke_pairs.clear();
  if (work.stroke_pairs.resize(static_cast<std::uint32_t>(n * (n - 1) / 2)) != kOk) {
    return kOutOfMemory;
  }
  for (std::int64_t i = 1; i < n; ++i) {
    for (std::int64_t j = 0; j < i; ++j) {
      const auto a = static_cast<std::uint32_t>(i);
      const auto b = static_cast<std::uint32_t>(j);
      const PolylineDistances d =
          polyline_distances(PointSpan(work.strokes[a]), PointSpan(work.strokes[b]));
      StrokePairEntry& entry = work.stroke_pairs[static_cast<std::uint32_t>(pair_index(n, i, j))];
      entry.distances[0] = d.overall;
      entry.distances[1] = d.end_a_to_b;
      entry.distances[2] = d.start_a_to_b;
      entry.distances[3] = d.start_b_to_a;
      entry.direction = static_cast<std::int16_t>(direction_degrees(
          work.centroids[a].y - work.centroids[b].y, work.centroids[a].x - work.centroids[b].x));
    }
  }
  return kOk;
}

void measure_raster(RafWorkArea& work) {
  work.raster_box = points_bounding_box(
      PointSpan(work.points.data(), static_cast<std::int32_t>(work.points.size())));
  work.raster_mean = PackedPoint{};
  if (work.points.empty()) return;
  std::int64_t sum_x = 0;
  std::int64_t sum_y = 0;
  for (const PackedPoint p : work.points) {
    sum_x += p.x;
    sum_y += p.y;
  }
  const std::int64_t n = work.points.size();
  work.raster_mean = {static_cast<std::int16_t>(sum_x / n), static_cast<std::int16_t>(sum_y / n)};
}

}  // namespace

int prepare_raf_work_area(RafWorkArea& work, const Box16& figure_box) {
  work.grids.clear();
  if (const int status = check_strokes(work.strokes); status != kOk) return status;
  int status = count_vertical_runs(work, figure_box);
  if (status == kOk) status = build_segments(work);
  if (status == kOk) status = build_rasters(work);
  if (status == kOk) status = build_raster_segments(work);
  if (status == kOk) status = build_occupancy(work, figure_box);
  if (status == kOk) status = build_stroke_measures(work);
  if (status != kOk) return status;
  measure_raster(work);
  if (work.raster_box.width() >= kRasterLimit) return kRafNotNormalizedX;
  if (work.raster_box.height() >= kRasterLimit) return kRafNotNormalizedY;
  return kOk;
}

}  // namespace inkrec

// RafVector, RafWorkArea and RafContext: sizing, emptying, stroke intake.

#include "engine/analysis/raf_context.h"

#include "engine/foundation/status.h"

namespace inkrec {
namespace {

constexpr int kScaleNumerator = 65;
constexpr int kScaleDenominator = 48;

PackedPoint scaled_for_cosines(PackedPoint p) {
  return {static_cast<std::int16_t>(p.x * kScaleNumerator / kScaleDenominator),
          static_cast<std::int16_t>(p.y * kScaleNumerator / kScaleDenominator)};
}

// Views over consecutive runs of `points` with the lengths of `strokes`.
int make_views(const StrokeList& strokes, const DynArray<PackedPoint>& points,
               DynArray<StrokeView>& views) {
  views.clear();
  std::uint32_t first = 0;
  for (std::uint32_t i = 0; i < strokes.size(); ++i) {
    const std::uint32_t n = strokes[i]->size();
    const StrokeView view{points.item(first), static_cast<std::int32_t>(n)};
    if (views.push_back(view) != kOk) return kOutOfMemory;
    first += n;
  }
  return kOk;
}

}  // namespace

int RafVector::resize(std::uint32_t n) {
  values.clear();
  nonzero.clear();
  if (values.resize(n, 0) != kOk || nonzero.resize(n, 0) != kOk) return kOutOfMemory;
  return kOk;
}

int RafVector::reset(std::uint32_t n) {
  nonzero.clear();
  values.clear();
  if (nonzero.reserve_total(n) != kOk || values.resize(n, 0) != kOk) return kOutOfMemory;
  return kOk;
}

const RafGrid* RafGridCache::find(int columns, int rows) const {
  for (int i = 0; i < count; ++i) {
    const RafGrid& grid = grids[static_cast<std::size_t>(i)];
    if (grid.columns == columns && grid.rows == rows) return &grid;
  }
  return nullptr;
}

void RafGridCache::keep(const RafGrid& grid) {
  if (count < kShapes) grids[static_cast<std::size_t>(count++)] = grid;
}

void RafWorkArea::empty() {
  column_band.fill(0);
  column_neighbour.fill(-1);
  row_band.fill(0);
  row_neighbour.fill(-1);
  columns = 0;
  rows = 0;
  grids.clear();
  strokes.clear();
  scaled_strokes.clear();
  points.clear();
  raster_start.clear();
  scaled_points.clear();
  raster_box.clear();
  raster_mean = PackedPoint{};
  segments.clear();
  raster_segments.clear();
  for (auto& row : occupancy) row.fill(0);
  crossing_codes.clear();
  centroids.clear();
  stroke_pairs.clear();
  stroke_runs.clear();
  stroke_points.clear();
  scaled_stroke_points.clear();
}

void RafWorkArea::release() {
  empty();
  strokes.release();
  scaled_strokes.release();
  points.release();
  raster_start.release();
  scaled_points.release();
  segments.release();
  raster_segments.release();
  crossing_codes.release();
  centroids.release();
  stroke_pairs.release();
  stroke_points.release();
  scaled_stroke_points.release();
}

void RafContext::clear() {
  vector.values.release();
  vector.nonzero.release();
  work.release();
}

int RafContext::reset(std::uint32_t n) {
  const int status = vector.reset(n);
  work.empty();
  return status;
}

int RafContext::load_strokes(const StrokeList& normalised) {
  work.strokes.clear();
  work.scaled_strokes.clear();
  work.stroke_points.clear();
  work.scaled_stroke_points.clear();
  for (std::uint32_t i = 0; i < normalised.size(); ++i) {
    const Stroke* stroke = normalised[i];
    if (stroke == nullptr || stroke->size() < 2) return kBadArgument;
    if (work.stroke_points.append(stroke->span()) != kOk) return kOutOfMemory;
    for (const PackedPoint p : *stroke) {
      if (work.scaled_stroke_points.push_back(scaled_for_cosines(p)) != kOk) return kOutOfMemory;
    }
  }
  if (const int status = make_views(normalised, work.stroke_points, work.strokes); status != kOk) {
    return status;
  }
  return make_views(normalised, work.scaled_stroke_points, work.scaled_strokes);
}

}  // namespace inkrec

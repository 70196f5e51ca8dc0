// GlyphGeometry preparation, copying and the lazily computed blocks.

#include "engine/records/glyph_geometry.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/foundation/values.h"
#include "engine/records/glyph_direction.h"
#include "engine/records/trajectory_record.h"

namespace inkrec {

DirectionStatistics DirectionStatistics::no_direction() {
  DirectionStatistics none;
  none.horizontal_direction = -100;
  none.vertical_direction = 90;
  none.steepness_weight = 1;
  return none;
}

int DescentBlock::copy(const DescentBlock& other) {
  if (this == &other) return kOk;
  DescentBlock copy;
  if (copy.entries.assign(other.entries) != kOk ||
      copy.close_entries.assign(other.close_entries) != kOk ||
      copy.turned_entries.assign(other.turned_entries) != kOk ||
      copy.short_entries.assign(other.short_entries) != kOk ||
      copy.high_last_entries.assign(other.high_last_entries) != kOk) {
    return kOutOfMemory;
  }
  copy.ordinary_count = other.ordinary_count;
  copy.descending_runs = other.descending_runs;
  copy.upper_mask = other.upper_mask;
  copy.lower_mask = other.lower_mask;
  *this = std::move(copy);
  return kOk;
}

void DescentBlock::reset() {
  entries.clear();
  ordinary_count = -1;
  descending_runs = -1;
  upper_mask = 0;
  lower_mask = 0;
  close_entries.clear();
  turned_entries.clear();
  short_entries.clear();
  high_last_entries.clear();
}

bool DescentBlock::is_classified(std::uint32_t i) const {
  return close_entries.contains(i) || turned_entries.contains(i) || short_entries.contains(i) ||
         high_last_entries.contains(i);
}

int GlyphGeometry::copy(const GlyphGeometry& other) {
  if (this == &other) return kOk;
  ProfileRaster raster;
  DescentBlock descent;
  if (raster.copy(other.raster_) != kOk || descent.copy(other.descent_) != kOk) {
    return kOutOfMemory;
  }
  std::copy(std::begin(other.extremes), std::end(other.extremes), extremes);
  centroid = other.centroid;
  band_centroid = other.band_centroid;
  ink_length = other.ink_length;
  direction = other.direction;
  reversals = other.reversals;
  feature_masks = other.feature_masks;
  band_ = other.band_;
  raster_ready_ = other.raster_ready_;
  raster_ = std::move(raster);
  widths_ready_ = other.widths_ready_;
  widths_ = other.widths_;
  gaps_ready_ = other.gaps_ready_;
  gaps_ = other.gaps_;
  descent_ready_ = other.descent_ready_;
  descent_ = std::move(descent);
  mark_ready_ = other.mark_ready_;
  mark_ = other.mark_;
  return kOk;
}

int GlyphGeometry::prepare(RunList runs, bool trajectory_mode) {
  if (has_missing_run(runs)) return kBadArgument;
  if (const int status = find_extreme_points(runs); status != kOk) return status;
  compute_centroids(runs);
  int status = compute_direction_statistics(*this, runs, trajectory_mode);
  if (status == kPaneEmptySegment) {
    direction = DirectionStatistics::no_direction();
    reversals = ReversalCounts{};
    status = kOk;
  }
  if (status == kOk) status = compute_feature_masks(*this, runs);
  if (status != kOk) return status;
  reset();
  return kOk;
}

int GlyphGeometry::prepare_run(PointRun run) {
  PointRun* const one[] = {&run};
  if (has_missing_run(one)) return kBadArgument;
  if (const int status = find_extreme_points(one); status != kOk) return status;
  compute_centroids(one);
  reset();
  return kOk;
}

void GlyphGeometry::reset() {
  raster_ready_ = false;
  widths_ready_ = false;
  gaps_ready_ = false;
  descent_ready_ = false;
  mark_ready_ = false;
  raster_.reset();
  descent_.reset();
}

Box16 GlyphGeometry::bounding_box() const {
  const PointRecord* least_x = extremes[kLeastX];
  const PointRecord* least_y = extremes[kLeastY];
  const PointRecord* greatest_x = extremes[kGreatestX];
  const PointRecord* greatest_y = extremes[kGreatestY];
  if (least_x == nullptr || least_y == nullptr || greatest_x == nullptr || greatest_y == nullptr) {
    return Box16{};
  }
  return Box16{least_x->point.x, least_y->point.y, greatest_x->point.x, greatest_y->point.y};
}

void GlyphGeometry::set_baseline_pair(const ReferenceBand& band) {
  if (band_.is_set == 0) band_ = band;
}

int GlyphGeometry::find_extreme_points(RunList runs) {
  const PointRecord* found[kExtremeCount] = {};
  int greatest[4] = {};
  int least[4] = {};
  bool started = false;
  for (const PointRun* run : runs) {
    for (std::int32_t i = 0; i < run->count; ++i) {
      const PointRecord* record = run->points + i;
      const PackedPoint p = record->point;
      const int measures[4] = {p.x, p.x + p.y, p.y, p.y - p.x};
      if (!started) {
        std::fill(std::begin(found), std::end(found), record);
        std::copy(std::begin(measures), std::end(measures), greatest);
        std::copy(std::begin(measures), std::end(measures), least);
        started = true;
        continue;
      }
      for (int k = 0; k < 4; ++k) {
        if (measures[k] > greatest[k]) {
          greatest[k] = measures[k];
          found[k] = record;
        }
        if (measures[k] < least[k]) {
          least[k] = measures[k];
          found[4 + k] = record;
        }
      }
    }
  }
  if (!started) return kFigureWithoutPoints;
  std::copy(std::begin(found), std::end(found), extremes);
  return kOk;
}

namespace {

// Weighted sums of points: w times the midpoint of each counted segment, or
// a lone point with weight 1.
struct WeightedSum {
  void add(std::int64_t weighted_x, std::int64_t weighted_y, std::int64_t w) {
    x += weighted_x;
    y += weighted_y;
    weight += w;
  }
  PackedPoint mean() const { return {saturate_int16(x / weight), saturate_int16(y / weight)}; }

  std::int64_t x = 0;
  std::int64_t y = 0;
  std::int64_t weight = 0;
};

}  // namespace

void GlyphGeometry::compute_centroids(RunList runs) {
  const bool banded = band_.has_bounds();
  WeightedSum all;
  WeightedSum in_band;
  const auto count = [&](std::int64_t weighted_x, std::int64_t weighted_y, std::int64_t w, int y) {
    all.add(weighted_x, weighted_y, w);
    if (banded && band_.top <= y && y <= band_.bottom) in_band.add(weighted_x, weighted_y, w);
  };
  for (const PointRun* run : runs) {
    const PointSpan points = run->span();
    if (points.size() == 1) {
      const PackedPoint p = points.front();
      count(p.x, p.y, 1, p.y);
      continue;
    }
    for (std::int32_t i = 0; i + 1 < points.size(); ++i) {
      const PackedPoint p = points[i];
      const PackedPoint q = points[i + 1];
      const std::int64_t w = octagonal_length(q.x - p.x, q.y - p.y);
      if (w == 0) {
        if (all.weight == 0) count(p.x, p.y, 1, p.y);
        continue;
      }
      const std::int64_t sum_x = std::int64_t{p.x} + q.x;
      const std::int64_t sum_y = std::int64_t{p.y} + q.y;
      count(w * sum_x / 2, w * sum_y / 2, w, static_cast<int>(sum_y / 2));
    }
  }
  if (all.weight == 0) return;
  centroid = all.mean();
  ink_length = static_cast<std::uint32_t>(all.weight);
  band_centroid = in_band.weight == 0 ? centroid : in_band.mean();
}

const ProfileRaster& GlyphGeometry::ensure_block_a(RunList runs) {
  if (!raster_ready_) {
    raster_.build(runs, bounding_box());
    raster_ready_ = true;
  }
  return raster_;
}

const RasterGaps& GlyphGeometry::ensure_block_b(RunList runs) {
  if (!gaps_ready_) {
    gaps_ = measure_raster_gaps(ensure_block_a(runs));
    gaps_ready_ = true;
  }
  return gaps_;
}

namespace {

// 100 * sum / d / d, saturated; 0 for d below 1.
std::int16_t percent_of_square(std::int64_t sum, std::int64_t d) {
  return d < 1 ? 0 : saturate_int16(100 * sum / d / d);
}

}  // namespace

const WidthBlock& GlyphGeometry::ensure_block_c(RunList runs) {
  if (widths_ready_) return widths_;
  const ProfileRaster& raster = ensure_block_a(runs);
  const std::int64_t h = raster.height();
  const std::int64_t w = raster.width();
  const std::int64_t band = std::max<std::int64_t>(h / 3, 1);
  std::int64_t bands[3] = {0, 0, 0};
  for (std::int64_t row = 0; row < h; ++row) {
    const int y = raster.top() + static_cast<int>(row);
    std::int64_t width = raster.row_extent(y);
    // Rows of a pen's width hardly count.
    if (width <= 5) width /= h;
    bands[std::min<std::int64_t>(row / band, 2)] += width;
  }
  std::int64_t columns = 0;
  for (int x = raster.left(); x <= raster.right(); ++x) {
    columns += raster.column_extent(x);
  }
  widths_.rows = percent_of_square(bands[0] + bands[1] + bands[2], h);
  widths_.columns = percent_of_square(columns, w);
  widths_.upper_rows = percent_of_square(bands[0], band);
  widths_.middle_rows = percent_of_square(bands[1], band);
  widths_.lower_rows = percent_of_square(bands[2], band);
  widths_ready_ = true;
  return widths_;
}

const DescentBlock& GlyphGeometry::ensure_block_d(RunList runs, int reference_size, int closeness) {
  if (!descent_ready_) {
    compute_descent_block(*this, runs, reference_size, closeness, descent_);
    descent_ready_ = true;
  }
  return descent_;
}

// A geometry whose runs hold no point keeps the block as constructed.
const MarkBlock& GlyphGeometry::ensure_block_m(RunList runs) {
  if (!mark_ready_) {
    mark_ = MarkBlock();
    compute_mark_block(runs, bounding_box(), direction.overall_direction, mark_);
    mark_ready_ = true;
  }
  return mark_;
}

int GlyphGeometry::unclassified_entries(DynArray<DescentEntry>& out) const {
  if (!descent_ready_) return kBadArgument;
  for (std::uint32_t i = 0; i < descent_.entries.size(); ++i) {
    if (descent_.is_classified(i)) continue;
    if (out.push_back(descent_.entries[i]) != kOk) return kOutOfMemory;
  }
  return kOk;
}

const DescentEntry* GlyphGeometry::first_unclassified_entry() const {
  if (!descent_ready_) return nullptr;
  for (std::uint32_t i = 0; i < descent_.entries.size(); ++i) {
    if (!descent_.is_classified(i)) return &descent_.entries[i];
  }
  return nullptr;
}

}  // namespace inkrec

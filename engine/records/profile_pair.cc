// Profile comparison of two figures: measure_profile_pair and
// measure_profile_gaps share one scan over the common rows.

#include "engine/records/profile_pair.h"

#include <algorithm>
#include <optional>

#include "engine/foundation/interval_relation.h"
#include "engine/foundation/status.h"
#include "engine/foundation/values.h"
#include "engine/records/figure_group.h"
#include "engine/records/figure_records.h"

namespace inkrec {

void FigureView::init(StrokeRecord& figure) {
  raster = &figure.glyph_block_a();
  box = figure.geometry.bounding_box();
  centroid = &figure.geometry.centroid;
}

int FigureView::init_from_element(FigureGroup& group) {
  if (group.geometry == nullptr) return kBadArgument;
  DynArray<PointRun*> runs;
  if (const int status = group_run_list(group, runs); status != kOk) return status;
  raster = &group.geometry->ensure_block_a(runs.span());
  box = group.geometry->bounding_box();
  centroid = &group.geometry->centroid;
  return kOk;
}

namespace {

const ProfileRaster& raster_of(const FigureView& view) {
  static const ProfileRaster kNoRaster;
  return view.raster != nullptr ? *view.raster : kNoRaster;
}

bool row_is_empty(std::int16_t least, std::int16_t greatest) {
  return least == kEmptyMin || greatest == kEmptyMax;
}

// n * 100 / the raster's height; 0 for an empty raster.
std::int16_t rows_share(std::int64_t n, const ProfileRaster& raster) {
  return raster.height() == 0 ? 0 : saturate_int16(n * 100 / raster.height());
}

// The mean of the row centres over the non-empty rows first..last; none when
// every row is empty.
std::optional<std::int64_t> mean_row_centre(const ProfileRaster& raster, int first, int last) {
  std::int64_t sum = 0;
  std::int64_t rows = 0;
  for (int y = first; y <= last; ++y) {
    const std::int16_t least = raster.row_min(y);
    const std::int16_t greatest = raster.row_max(y);
    if (row_is_empty(least, greatest)) continue;
    sum += (std::int64_t{least} + greatest) / 2;
    ++rows;
  }
  if (rows == 0) return std::nullopt;
  return sum / rows;
}

struct RowDistances {
  bool counted = false;  // both figures have ink in the row
  std::int64_t gap = 0;
  std::int64_t left = 0;
  std::int64_t right = 0;
  std::int64_t outer = 0;
};

// Reads the distances of one row; with facing centres, a's right edge is
// taken at least at a's centre and b's left edge at most at b's.
class RowReader {
 public:
  RowReader(const ProfileRaster& a, const ProfileRaster& b) : a_(a), b_(b) {}
  void face(std::int64_t centre_a, std::int64_t centre_b) {
    centre_a_ = centre_a;
    centre_b_ = centre_b;
  }

  RowDistances at(int y) const {
    RowDistances row;
    const std::int16_t a_left = a_.row_min(y);
    std::int64_t a_right = a_.row_max(y);
    std::int64_t b_left = b_.row_min(y);
    const std::int16_t b_right = b_.row_max(y);
    if (row_is_empty(a_left, static_cast<std::int16_t>(a_right)) ||
        row_is_empty(static_cast<std::int16_t>(b_left), b_right)) {
      return row;
    }
    if (centre_a_) a_right = std::max(*centre_a_, a_right);
    if (centre_b_) b_left = std::min(*centre_b_, b_left);
    row.counted = true;
    row.gap = b_left - a_right;
    row.left = b_left - a_left;
    row.right = b_right - a_right;
    row.outer = std::int64_t{b_right} - a_left;
    return row;
  }

 private:
  const ProfileRaster& a_;
  const ProfileRaster& b_;
  std::optional<std::int64_t> centre_a_;
  std::optional<std::int64_t> centre_b_;
};

struct Least {
  std::int64_t gap = ProfilePairMetrics::kUnmeasured;
  std::int64_t left = ProfilePairMetrics::kUnmeasured;
  std::int64_t right = ProfilePairMetrics::kUnmeasured;
  std::int64_t outer = ProfilePairMetrics::kUnmeasured;
};

// Fills every field from the common rows first..last. The means of the
// distances are taken over all common rows, or over the rows where both
// figures have ink (left as they were when there is none).
void measure_rows(const FigureView& a, const FigureView& b, const RowReader& reader, int first,
                  int last, bool means_over_counted_rows, ProfilePairMetrics& out) {
  const std::int64_t n = std::int64_t{last} - first + 1;
  Least least;
  RowDistances sum;
  std::int64_t counted = 0;
  std::int64_t closed = 0;
  std::int64_t wide_sum = 0;
  std::int64_t wide_count = 0;
  for (int y = first; y <= last; ++y) {
    const RowDistances row = reader.at(y);
    if (!row.counted) continue;
    ++counted;
    if (row.gap < 1) ++closed;
    lower_to(least.gap, row.gap);
    lower_to(least.left, row.left);
    lower_to(least.right, row.right);
    lower_to(least.outer, row.outer);
    sum.gap += row.gap;
    sum.left += row.left;
    sum.right += row.right;
    sum.outer += row.outer;
    if (row.gap > 4) {
      wide_sum += row.gap;
      ++wide_count;
    }
  }
  out.closed_rows = saturate_int16(closed);
  const std::int64_t mean_rows = means_over_counted_rows ? counted : n;
  if (mean_rows > 0) {
    out.mean_left_distance = saturate_int16(sum.left / mean_rows);
    out.mean_right_distance = saturate_int16(sum.right / mean_rows);
    out.mean_outer_distance = saturate_int16(sum.outer / mean_rows);
    out.mean_gap = saturate_int16(sum.gap / mean_rows);
  }
  out.least_gap = saturate_int16(least.gap);
  out.least_left_distance = saturate_int16(least.left);
  out.least_right_distance = saturate_int16(least.right);
  out.least_outer_distance = saturate_int16(least.outer);

  const std::int64_t g = least.gap;
  const std::int64_t a_width = raster_of(a).width();
  const std::int64_t wider = std::max<std::int64_t>(a_width, raster_of(b).width());
  if (g < ProfilePairMetrics::kUnmeasured) {
    if (a_width > 0) out.gap_per_left_width = saturate_int16(100 * g / a_width);
    if (wider > 0) out.gap_per_wider_width = saturate_int16(100 * g / wider);
  }

  // The per-row gaps clipped at a cap that grows with the least gap.
  const std::int64_t least_open = g < 1 ? 0 : g;
  const std::int64_t wide_mean = wide_count == 0 ? 0 : wide_sum / wide_count;
  const std::int64_t cap = least_open < 4 ? wide_mean / 4 : least_open + wide_mean / 6;
  std::int64_t negatives = 0;
  std::int64_t clipped_sum = 0;
  std::int64_t total = 0;
  for (int y = first; y <= last; ++y) {
    const RowDistances row = reader.at(y);
    std::int64_t gap = row.counted ? row.gap : 0;
    if (gap < 0) {
      ++negatives;
      gap = 0;
    }
    clipped_sum += std::min(gap, cap);
    total += gap;
  }
  std::int64_t k = n - negatives / 2;
  if (k == 0) k = 1;
  const std::int64_t clipped_mean = std::min<std::int64_t>((clipped_sum + k / 2) / k, 1000);
  out.clipped_mean_gap = saturate_int16(clipped_mean);
  out.mean_gap_at_least_0 = saturate_int16(total / n);

  std::int64_t representative = clipped_mean;
  if (g > 0 && g < ProfilePairMetrics::kUnmeasured && g < representative) {
    representative = (representative + g) / 2;
  }
  if (a.centroid != nullptr && b.centroid != nullptr) {
    const std::int64_t dy = std::int64_t{b.centroid->y} - a.centroid->y;
    if (dy > 0 && dy < representative) representative = (dy + representative) / 2;
  }
  out.representative_gap = saturate_int16(representative);
  out.touching = g < 2 ? 1 : 0;
}

// Fields 0 to 3 and the two shares; the common rows, or none.
struct CommonRows {
  int first = 0;
  int last = -1;
  bool any() const { return first <= last; }
};
CommonRows start_measure(const FigureView& a, const FigureView& b, ProfilePairMetrics& out) {
  out.least_gap = ProfilePairMetrics::kUnmeasured;
  out.least_left_distance = ProfilePairMetrics::kUnmeasured;
  out.least_right_distance = ProfilePairMetrics::kUnmeasured;
  out.least_outer_distance = ProfilePairMetrics::kUnmeasured;
  IntervalRelation rows;
  rows.compute(a.box.top, a.box.bottom, b.box.top, b.box.bottom);
  const std::int64_t n = std::int64_t{rows.overlap()} + 1;
  out.common_rows_per_left_height = rows_share(n, raster_of(a));
  out.common_rows_per_right_height = rows_share(n, raster_of(b));
  if (n < 1) return CommonRows{};
  return CommonRows{rows.inner_start(), rows.inner_end()};
}

}  // namespace

void measure_profile_pair(const FigureView& a, const FigureView& b, ProfilePairMetrics& out) {
  const CommonRows rows = start_measure(a, b, out);
  if (!rows.any()) return;
  const RowReader reader(raster_of(a), raster_of(b));
  measure_rows(a, b, reader, rows.first, rows.last, false, out);
}

bool measure_profile_gaps(const FigureView& a, const FigureView& b, ProfilePairMetrics& out) {
  const CommonRows rows = start_measure(a, b, out);
  if (!rows.any()) return false;
  const std::optional<std::int64_t> centre_a = mean_row_centre(raster_of(a), rows.first, rows.last);
  const std::optional<std::int64_t> centre_b = mean_row_centre(raster_of(b), rows.first, rows.last);
  if (!centre_a || !centre_b) return false;
  RowReader reader(raster_of(a), raster_of(b));
  reader.face(*centre_a, *centre_b);
  measure_rows(a, b, reader, rows.first, rows.last, true, out);
  return true;
}

}  // namespace inkrec

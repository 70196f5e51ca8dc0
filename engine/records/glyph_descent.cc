// The descent pass of the shape analysis: the downward strokes of a figure
// taller than a third of the letter size, joined across short gaps, and
// their classification into close neighbours, strokes turned against the
// figure's vertical direction, short strokes and a last stroke standing
// high; the rest are ordinary, and the first eight of them are marked as
// sitting in the upper or lower part of the figure.

#include <algorithm>
#include <cstdint>

#include "engine/foundation/polylines.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/foundation/values.h"
#include "engine/records/glyph_direction.h"
#include "engine/records/profile_raster.h"
#include "engine/records/trajectory_record.h"

namespace inkrec {
namespace {

PackedPoint start_point(const DescentEntry& e) { return e.points[e.start].point; }
PackedPoint end_point(const DescentEntry& e) { return e.points[e.end].point; }
int vertical_extent(const DescentEntry& e) { return end_point(e).y - start_point(e).y; }

// The entry of the descending steps start..end - 1 of a run.
DescentEntry make_entry(const PointRecord* points, std::int32_t start, std::int32_t end,
                        int initial_length) {
  DescentEntry entry;
  entry.points = points;
  entry.start = saturate_int16(start);
  entry.end = saturate_int16(end);
  std::int64_t weight = 0;
  std::int64_t weighted = 0;
  int least = 32767;
  int greatest = -32768;
  int initial = -1;
  for (std::int32_t k = start; k < end; ++k) {
    const TrajectoryRecord& step = points[k].trajectory;
    // The direction the entry sets out in, until its steps weigh the
    // initial length.
    if (initial < 0 || weight < initial_length) {
      initial = step_direction(points[start].point, points[k + 1].point);
    }
    weight += step.step_length;
    weighted += std::int64_t{step.step_length} * step.step_direction;
    least = std::min<int>(least, step.step_direction);
    greatest = std::max<int>(greatest, step.step_direction);
  }
  const std::int64_t mean = weight > 0 ? weighted / weight : 0;
  std::int64_t deviation = 0;
  for (std::int32_t k = start; k < end && weight > 0; ++k) {
    const TrajectoryRecord& step = points[k].trajectory;
    const std::int64_t d = step.step_direction - mean;
    deviation += step.step_length * d * d;
  }
  entry.initial_direction = saturate_int16(initial);
  entry.least_direction = saturate_int16(least);
  entry.greatest_direction = saturate_int16(greatest);
  entry.mean_direction = saturate_int16(mean);
  entry.weight = saturate_int16(weight);
  entry.spread =
      saturate_int16(weight > 0 ? int_sqrt(static_cast<std::int32_t>(
                                      std::min<std::int64_t>(deviation / weight, INT32_MAX)))
                                : 0);
  return entry;
}

// Joins `next` (of the same run) onto `into` across the gap between them.
void merge_entry(DescentEntry& into, const DescentEntry& next, int gap) {
  const std::int64_t weights = std::int64_t{into.weight} + next.weight;
  if (weights > 0) {
    into.mean_direction = saturate_int16((std::int64_t{into.mean_direction} * into.weight +
                                          std::int64_t{next.mean_direction} * next.weight) /
                                         weights);
  }
  into.weight = saturate_int16(weights + gap);
  into.end = next.end;
  into.least_direction = std::min(into.least_direction, next.least_direction);
  into.greatest_direction = std::max(into.greatest_direction, next.greatest_direction);
  const std::int64_t squares =
      std::int64_t{into.spread} * into.spread + std::int64_t{next.spread} * next.spread;
  into.spread = saturate_int16(
      int_sqrt(static_cast<std::int32_t>(std::min<std::int64_t>(squares, INT32_MAX))));
}

// Adds the descending runs of one run to the entries: every one counts in
// runs_met, those taller than the least height become entries, and entries
// of the run no further apart than half the least height are joined. -1
// when the entries cannot grow.
int find_descents(const PointRun& run, DescentLimits limits, DynArray<DescentEntry>& entries,
                  std::int32_t& runs_met) {
  const PointRecord* points = run.points;
  const auto y = [points](std::int32_t i) { return points[i].point.y; };
  // Entries keep 16-bit point indices.
  const std::int32_t count = std::min<std::int32_t>(run.count, INT16_MAX + 1);
  const std::uint32_t first_of_run = entries.size();
  std::int32_t i = 0;
  while (i + 1 < count) {
    if (y(i + 1) <= y(i)) {
      ++i;
      continue;
    }
    const std::int32_t start = i;
    while (i + 1 < count && y(i + 1) >= y(i)) ++i;
    ++runs_met;
    if (y(i) - y(start) <= limits.least_height) continue;
    const DescentEntry entry = make_entry(points, start, i, limits.initial_length);
    if (entries.size() > first_of_run) {
      DescentEntry& previous = entries.back();
      const int gap = octagonal_length(start_point(entry).x - end_point(previous).x,
                                       start_point(entry).y - end_point(previous).y);
      if (gap <= limits.least_height / 2) {
        merge_entry(previous, entry, gap);
        continue;
      }
    }
    if (entries.push_back(entry) != kOk) return kOutOfMemory;
  }
  return kOk;
}

// An entry's box and its raster.
struct EntryShape {
  int build(const DescentEntry& e) {
    const PointSpan points = PointSpan::of_records(e.points + e.start, e.end - e.start + 1);
    box = points_bounding_box(points);
    return raster.build_from_points(points, box);
  }

  Box16 box;
  ProfileRaster raster;
};

// How the left edges of two entries compare over their common rows, the
// later entry's edge minus the earlier one's.
struct RowComparison {
  int span = -1;  // bottom - top of the common rows
  int least = 32767;
  int greatest = 0;
  int close_rows = 0;  // rows closer than half the closeness distance
  bool any_negative = false;
  std::int64_t mean = 0;
};

RowComparison compare_rows(const EntryShape& earlier, const EntryShape& later, int closeness) {
  RowComparison rows;
  const int top = std::max(earlier.box.top, later.box.top);
  const int bottom = std::min(earlier.box.bottom, later.box.bottom);
  rows.span = bottom - top;
  std::int64_t sum = 0;
  for (int y = top; y <= bottom; ++y) {
    const int a = earlier.raster.row_min(y);
    const int b = later.raster.row_min(y);
    if (a == kEmptyMin || b == kEmptyMin) continue;
    const int d = b - a;
    rows.least = std::min(rows.least, d);
    rows.greatest = std::max(rows.greatest, d);
    if (d < closeness / 2) ++rows.close_rows;
    if (d < 0) rows.any_negative = true;
    sum += d;
  }
  rows.mean = rows.span > 0 ? sum / (rows.span + 1) : sum;
  return rows;
}

int add_index(DynArray<std::uint32_t>& list, std::uint32_t i) {
  return list.contains(i) ? kOk : list.push_back(i);
}

// The classification of the entries of a block.
class DescentClassifier {
 public:
  DescentClassifier(const GlyphGeometry& geometry, int reference_size, int closeness,
                    DescentBlock& block)
      : box_(geometry.bounding_box()),
        v_(geometry.direction.vertical_direction),
        r_(reference_size),
        s_(closeness),
        block_(block),
        entries_(block.entries) {}

  int run();

 private:
  int mark_turned_and_short();
  int compare_neighbours();
  int mark_high_last();
  void mark_upper_and_lower();

  // Entry i's shape, built when `build` (the window keeps three).
  EntryShape& shape(std::uint32_t i) { return window_[i % 3]; }

  // Compares entry i + 1 with entry `earlier` (i, or i - 1 when skipping
  // over entry i) and lists one of entries i and i + 1 as close when they are.
  int compare_pair(std::uint32_t earlier, std::uint32_t i);
  int list_close(std::uint32_t i);

  Box16 box_;
  int v_;
  int r_;
  int s_;
  DescentBlock& block_;
  const DynArray<DescentEntry>& entries_;
  EntryShape window_[3];
};

int DescentClassifier::run() {
  int status = mark_turned_and_short();
  if (status == kOk) status = compare_neighbours();
  if (status == kOk) status = mark_high_last();
  mark_upper_and_lower();
  return status;
}

int DescentClassifier::mark_turned_and_short() {
  for (std::uint32_t i = 0; i < entries_.size(); ++i) {
    const DescentEntry& e = entries_[i];
    if (e.mean_direction < v_ - 60 || e.mean_direction > v_ + 60) {
      if (add_index(block_.turned_entries, i) != kOk) return kOutOfMemory;
    }
    if (vertical_extent(e) < r_ / 3 && box_.height() > 2 * r_ / 3) {
      if (add_index(block_.short_entries, i) != kOk) return kOutOfMemory;
    }
  }
  return kOk;
}

int DescentClassifier::list_close(std::uint32_t i) {
  DynArray<std::uint32_t>& close = block_.close_entries;
  if (close.contains(i) || close.contains(i + 1)) return kOk;
  const int h_current = shape(i).box.height();
  const int h_next = shape(i + 1).box.height();
  return close.push_back(h_next > 3 * h_current / 2 ? i : i + 1);
}

int DescentClassifier::compare_pair(std::uint32_t earlier, std::uint32_t i) {
  const bool skipping = earlier != i;
  const DescentEntry& a = entries_[earlier];
  const DescentEntry& n = entries_[i + 1];
  const EntryShape& shape_a = shape(earlier);
  const EntryShape& shape_n = shape(i + 1);
  const int h_a = shape_a.box.height();
  const int h_n = shape_n.box.height();
  const RowComparison rows = compare_rows(shape_a, shape_n, s_);

  const std::int64_t small_mean = std::min<std::int64_t>(box_.width() / 5, 3 * s_ / 2);
  const bool near = rows.greatest < r_ / 2 &&
                    (rows.mean < s_ || (rows.least < s_ / 2 && rows.mean < 3 * s_ / 2) ||
                     ((skipping || rows.least < s_) && rows.mean < small_mean));
  if (rows.span >= 2 && (near || rows.close_rows > 2 * rows.span / 5)) return list_close(i);

  if (!skipping && rows.least < s_ / 2 && n.mean_direction < v_ - 30 && h_n < 2 * h_a / 3) {
    return add_index(block_.turned_entries, i + 1);
  }

  const PackedPoint a_end = end_point(a);
  const PackedPoint n_start = start_point(n);
  const int l1 =
      octagonal_length(end_point(n).x - start_point(a).x, end_point(n).y - start_point(a).y);
  const int l2 = octagonal_length(n_start.x - a_end.x, n_start.y - a_end.y);
  const int g1 = n_start.x - shape(i).raster.row_max(n_start.y);
  const int g2 = shape_n.raster.row_min(a_end.y) - a_end.x;
  const bool turns =
      skipping || a_end.x < a.points[a.end - 1].point.x || a_end.y - n_start.y < r_ / 6;
  const bool overlapping = shape_a.box.bottom - shape_n.box.top < std::min(h_a, h_n) / 2 &&
                           std::min(g1, g2) < s_ && turns;
  if (l1 < s_ || l2 < s_ || rows.any_negative || overlapping) return list_close(i);
  return kOk;
}

int DescentClassifier::compare_neighbours() {
  const std::uint32_t n = entries_.size();
  if (n == 0) return kOk;
  if (shape(0).build(entries_[0]) == kOutOfMemory) return kOutOfMemory;
  for (std::uint32_t i = 0; i + 1 < n; ++i) {
    if (shape(i + 1).build(entries_[i + 1]) == kOutOfMemory) return kOutOfMemory;
    const auto set_aside = [this](std::uint32_t k) {
      return block_.turned_entries.contains(k) || block_.short_entries.contains(k);
    };
    if (set_aside(i) || set_aside(i + 1)) continue;
    if (const int status = compare_pair(i, i); status != kOk) return status;
    if (i >= 1 && !block_.close_entries.contains(i + 1)) {
      if (const int status = compare_pair(i - 1, i); status != kOk) return status;
    }
  }
  if (n < 2) return kOk;
  // A small last entry high beside its predecessor.
  const Box16& last = shape(n - 1).box;
  const Box16& previous = shape(n - 2).box;
  const int h_last = last.height();
  const int h_previous = previous.height();
  if (h_previous < 3 * r_ / 2 && last.bottom < previous.top + 3 * h_previous / 5 &&
      h_last < std::min(r_, h_previous) / 2) {
    return add_index(block_.short_entries, n - 1);
  }
  return kOk;
}

int DescentClassifier::mark_high_last() {
  const std::uint32_t n = entries_.size();
  if (n < 2 || block_.is_classified(n - 1)) return kOk;
  const DescentEntry& last = entries_[n - 1];
  const int end_y = end_point(last).y;
  for (std::uint32_t k = 0; k + 1 < n; ++k) {
    if (end_y >= start_point(entries_[k]).y) return kOk;
  }
  const DescentEntry& first = entries_[0];
  const int h = box_.height();
  if (box_.bottom - end_y > r_ / 2 && end_y - start_point(first).y < r_ / 3 &&
      box_.bottom - end_point(first).y < h / 5) {
    return block_.high_last_entries.push_back(n - 1);
  }
  return kOk;
}

void DescentClassifier::mark_upper_and_lower() {
  const int h = box_.height();
  std::int32_t k = 0;
  for (std::uint32_t i = 0; i < entries_.size(); ++i) {
    if (block_.is_classified(i)) continue;
    if (k < 8) {
      const DescentEntry& e = entries_[i];
      const int y1 = start_point(e).y;
      const int y2 = end_point(e).y;
      const int above = y1 - box_.top;
      const int below = box_.bottom - y2;
      const auto bit = static_cast<std::uint8_t>(1u << k);
      const int extent = y2 - y1;
      if (extent <= 3 * h / 5 || (extent <= 3 * h / 4 && std::max(above, below) >= h / 4)) {
        if (below > 2 * above) block_.upper_mask |= bit;
        if (above > 2 * below) block_.lower_mask |= bit;
      } else {
        block_.upper_mask |= bit;
        block_.lower_mask |= bit;
      }
    }
    ++k;
  }
  block_.ordinary_count = k;
}

}  // namespace

DescentLimits descent_limits(int reference_size) {
  return DescentLimits{reference_size / 6, reference_size / 3};
}

int analyse_glyph_directions(const PointRun& run, int reference_size, DynArray<DirectionRun>& runs,
                             std::int32_t* runs_met) {
  return analyse_glyph_directions(run, descent_limits(reference_size), runs, runs_met);
}

int analyse_glyph_directions(const PointRun& run, DescentLimits limits,
                             DynArray<DirectionRun>& runs, std::int32_t* runs_met) {
  if (run.empty() || run.count < 2) return kOutOfMemory;
  std::int32_t met = 0;
  const int status = find_descents(run, limits, runs, met);
  if (runs_met != nullptr) *runs_met += met;
  return status;
}

void compute_descent_block(const GlyphGeometry& geometry, RunList runs, int reference_size,
                           int closeness, DescentBlock& block) {
  block.reset();
  block.descending_runs = 0;
  for (const PointRun* run : runs) {
    if (run == nullptr || run->empty() || run->count < 2) continue;
    const DescentLimits limits = descent_limits(reference_size);
    if (find_descents(*run, limits, block.entries, block.descending_runs) != kOk) break;
  }
  DescentClassifier(geometry, reference_size, closeness, block).run();
}

}  // namespace inkrec

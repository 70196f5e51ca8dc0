// Helpers over runs of point records: a run addresses consecutive records of
// one stroke, each carrying its point and the point's number along the
// stroke, the numbers increasing along the run.
//
// A record type R has a first member `point` (PackedPoint) and provides
//   int point_number_of(const R&);
// found by argument-dependent lookup. Runs are (records, count); a null run
// or a count below 1 is empty.
#pragma once

#include <concepts>
#include <cstdint>

#include "engine/foundation/point.h"
#include "engine/foundation/point_span.h"
#include "engine/foundation/trigonometry.h"

namespace inkrec {

template <typename R>
concept NumberedPointRecord = requires(const R& r) {
  { r.point } -> std::convertible_to<PackedPoint>;
  { point_number_of(r) } -> std::convertible_to<int>;
};

// The first or last record; null for an empty run.
template <typename R>
const R* run_first_entry(const R* run, std::int32_t count) {
  return run == nullptr || count < 1 ? nullptr : run;
}
template <typename R>
const R* run_last_entry(const R* run, std::int32_t count) {
  return run == nullptr || count < 1 ? nullptr : run + (count - 1);
}

// The index of the record whose point number is k. When none has it: -1 when
// k lies at or before the first number or at or after the last (or the run is
// empty), -2 when k falls in a gap inside the run.
template <NumberedPointRecord R>
int run_index_of_point_number(const R* run, std::int32_t count, int k) {
  if (run == nullptr || count < 1) return -1;
  for (std::int32_t i = 0; i < count; ++i) {
    if (point_number_of(run[i]) == k) return i;
  }
  if (k <= point_number_of(run[0]) || k >= point_number_of(run[count - 1])) return -1;
  return -2;
}

// Steps of a run across a horizontal level (y grows downward).
struct LevelCrossings {
  int count = 0;
  // The run's last point has y <= level.
  bool ends_at_or_above = false;
};
// Steps from y <= level to y > level.
LevelCrossings run_upward_crossings(PointSpan run, int level);
// Steps from y > level to y < level.
LevelCrossings run_downward_crossings(PointSpan run, int level);

// The length along the stroke from point `from` to point `to` (from <= to,
// both valid indices): the sum of the octagonal lengths of the steps.
std::int64_t path_length(PointSpan stroke, int from, int to);

// The index of the run record nearest to stroke point i, measured along the
// stroke; the later record wins a tie. -1 when i is not a point of the
// stroke or no record of the run lies on it.
template <NumberedPointRecord R>
int nearest_entry_along_run(PointSpan stroke, int i, const R* run, std::int32_t count) {
  if (i < 0 || i >= stroke.size() || run == nullptr || count < 1) return -1;
  int before = -1;
  int after = -1;
  for (std::int32_t k = 0; k < count; ++k) {
    const int number = point_number_of(run[k]);
    if (number < 0 || number >= stroke.size()) continue;
    if (number <= i) before = k;
    if (number >= i && after < 0) after = k;
  }
  if (before < 0 || after < 0) return before < 0 ? after : before;
  const std::int64_t behind = path_length(stroke, point_number_of(run[before]), i);
  const std::int64_t ahead = path_length(stroke, i, point_number_of(run[after]));
  return ahead <= behind ? after : before;
}

}  // namespace inkrec

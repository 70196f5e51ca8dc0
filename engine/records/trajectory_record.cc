// TrajectoryRecord copying and flags; the step and crossing fill of a run.

#include "engine/records/trajectory_record.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <utility>

#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"

namespace inkrec {

int CrossingDescription::copy(const CrossingDescription& other) {
  if (this == &other) return kOk;
  if (const int status = raster.copy(other.raster); status != kOk) return status;
  turn_marker = other.turn_marker;
  local_box = other.local_box;
  mean_point = other.mean_point;
  loop_kind = other.loop_kind;
  span = other.span;
  loop_width = other.loop_width;
  mean_row_width = other.mean_row_width;
  loop_height = other.loop_height;
  mean_column_height = other.mean_column_height;
  return kOk;
}

int TrajectoryRecord::copy(const TrajectoryRecord& other) {
  if (this == &other) return kOk;
  if (const int status = crossing.copy(other.crossing); status != kOk) return status;
  ratio = other.ratio;
  std::copy(std::begin(other.analysis_bytes), std::end(other.analysis_bytes), analysis_bytes);
  point_number = other.point_number;
  first_partner = other.first_partner;
  second_partner = other.second_partner;
  flags = other.flags;
  score = other.score;
  step_length = other.step_length;
  step_direction = other.step_direction;
  return kOk;
}

void TrajectoryRecord::set_score(double value) {
  const double scaled = value * 10000.0;
  if (std::isnan(scaled)) {
    score = 0;
  } else {
    constexpr double kLeast = std::numeric_limits<std::int32_t>::min();
    constexpr double kGreatest = std::numeric_limits<std::int32_t>::max();
    score = static_cast<std::int32_t>(std::clamp(scaled, kLeast, kGreatest));
  }
}

void TrajectoryRecord::merge_extra_codes(const TrajectoryRecord& other) {
  if (other.has_any_flag(kFirstCrossing)) first_partner = other.first_partner;
  if (other.has_any_flag(kSecondCrossing)) second_partner = other.second_partner;
  flags |= other.flags;
}

int make_trajectory_entry(PackedPoint point, const TrajectoryRecord& record, PointRecord& out) {
  PointRecord entry{point, TrajectoryRecord()};
  if (const int status = entry.trajectory.copy(record); status != kOk) return status;
  out = std::move(entry);
  return kOk;
}

namespace {

// The sector of a direction: 0 for 340..19 degrees, 1 for 20..69, 2 for
// 70..109, and so on around.
std::uint32_t direction_sector(int degrees) {
  constexpr int kSectorEnds[] = {20, 70, 110, 160, 200, 250, 290, 340};
  for (std::uint32_t k = 0; k < 8; ++k) {
    if (degrees < kSectorEnds[k]) return k;
  }
  return 0;
}

// The greatest and the mean extent of the lines first..last of a raster.
template <typename Least, typename Greatest>
void measure_extents(int first, int last, Least least, Greatest greatest, std::int16_t* widest,
                     std::int16_t* mean) {
  std::int64_t sum = 0;
  for (int i = first; i <= last; ++i) {
    const std::int16_t lo = least(i);
    const std::int16_t hi = greatest(i);
    if (lo == kEmptyMin || hi == kEmptyMax) continue;
    const std::int16_t extent = saturate_int16(std::int64_t{hi} - lo);
    raise_to(*widest, extent);
    sum += extent;
  }
  *mean = saturate_int16(sum / (std::int64_t{last} - first + 1));
}

// The description of the loop from point u of the run to its first partner.
int describe_loop(PointRecord* points, std::int32_t count, std::int32_t u) {
  TrajectoryRecord& start = points[u].trajectory;
  CrossingDescription& loop = start.crossing;
  loop.local_box.set_from_points(points[u].point, points[u].point);
  std::int64_t sum_x = 0;
  std::int64_t sum_y = 0;
  std::int64_t turning = 0;
  int previous = start.step_direction;
  std::int32_t v = u;
  for (;; ++v) {
    if (v == count) return kOk;
    const PackedPoint p = points[v].point;
    loop.local_box.include_point(p);
    sum_x += p.x;
    sum_y += p.y;
    if (v > u) {
      const int direction = points[v - 1].trajectory.step_direction;
      turning += angle_difference(previous, direction);
      previous = direction;
    }
    if (points[v].trajectory.point_number >= start.first_partner) break;
  }
  const std::int32_t span = v - u + 1;
  const PackedPoint origin = points[u].point;
  loop.mean_point = {saturate_int16(sum_x / span), saturate_int16(sum_y / span)};
  loop.span = saturate_int16(span);
  loop.loop_kind = direction_sector(
      direction_degrees(loop.mean_point.y - origin.y, loop.mean_point.x - origin.x));
  if (turning > 0) loop.turn_marker = 1;
  ProfileRaster& raster = loop.raster;
  if (const int status =
          raster.build_from_points(PointSpan::of_records(points + u, span), loop.local_box);
      status != kOk) {
    return status;
  }
  const Box16& box = loop.local_box;
  measure_extents(
      box.top, box.bottom, [&](int y) { return raster.row_min(y); },
      [&](int y) { return raster.row_max(y); }, &loop.loop_width, &loop.mean_row_width);
  measure_extents(
      box.left, box.right, [&](int x) { return raster.column_min(x); },
      [&](int x) { return raster.column_max(x); }, &loop.loop_height, &loop.mean_column_height);
  return kOk;
}

}  // namespace

int fill_steps_and_crossings(const PointRun& run) {
  if (run.points == nullptr && run.count > 0) return kBadArgument;
  if (run.count < 2) return kOk;
  PointRecord* points = run.points;
  for (std::int32_t u = 0; u + 1 < run.count; ++u) {
    const PackedPoint p = points[u].point;
    const PackedPoint q = points[u + 1].point;
    points[u].trajectory.step_length = octagonal_length(q.x - p.x, q.y - p.y);
    points[u].trajectory.step_direction = static_cast<std::int16_t>(step_direction(p, q));
  }
  for (std::int32_t u = 0; u + 1 < run.count; ++u) {
    if (!points[u].trajectory.has_any_flag(TrajectoryRecord::kFirstCrossing)) continue;
    if (const int status = describe_loop(points, run.count, u); status != kOk) return status;
  }
  return kOk;
}

}  // namespace inkrec

#include "engine/records/mark_block.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/foundation/values.h"
#include "engine/records/trajectory_record.h"

namespace inkrec {
namespace {

// The least and greatest projection of the points on one direction, in
// thousandths of a unit.
struct Projection {
  void add(std::int64_t value) {
    least = std::min(least, value);
    greatest = std::max(greatest, value);
  }
  std::int16_t extent() const { return saturate_int16((greatest - least) / 1000); }

  std::int64_t least = std::numeric_limits<std::int64_t>::max();
  std::int64_t greatest = std::numeric_limits<std::int64_t>::min();
};

// What one walk over the runs collects.
struct InkWalk {
  const PointRecord* first = nullptr;
  const PointRecord* last = nullptr;
  const PointRun* last_run = nullptr;
  std::int64_t path = 0;
  std::int64_t turning = 0;
  std::int64_t sides[4] = {0, 0, 0, 0};
  std::int32_t points = 0;
  std::int32_t positive_loops = 0;
  std::int32_t negative_loops = 0;
};

void count_loop(const PointRecord& record, InkWalk& walk) {
  if (!record.trajectory.has_any_flag(TrajectoryRecord::kFirstCrossing)) return;
  if (record.trajectory.crossing.turn_marker != 0) {
    ++walk.positive_loops;
  } else {
    ++walk.negative_loops;
  }
}

// Path length, turning and loops of one run; the turning restarts with
// each run, since the pen's move between runs is no segment.
void walk_run(const PointRun& run, InkWalk& walk, Projection& along, Projection& across, int sine,
              int cosine) {
  int previous_direction = -1;
  for (std::int32_t i = 0; i < run.count; ++i) {
    const PointRecord& record = run.points[i];
    const PackedPoint p = record.point;
    along.add(std::int64_t{p.x} * cosine + std::int64_t{p.y} * sine);
    across.add(std::int64_t{p.y} * cosine - std::int64_t{p.x} * sine);
    count_loop(record, walk);
    if (i == 0) continue;
    const PackedPoint q = run.points[i - 1].point;
    if (p.x == q.x && p.y == q.y) continue;
    const int length = octagonal_length(p.x - q.x, p.y - q.y);
    const int direction = step_direction(q, p);
    walk.path += length;
    walk.sides[((direction + 45) % 360) / 90] += length;
    if (previous_direction >= 0) {
      walk.turning += std::abs(angle_difference(previous_direction, direction));
    }
    previous_direction = direction;
  }
  if (walk.first == nullptr) walk.first = &run.points[0];
  walk.last = &run.points[run.count - 1];
  walk.last_run = &run;
  walk.points += run.count;
}

std::int16_t percent_of(std::int64_t part, std::int64_t whole) {
  return saturate_int16(part * 100 / std::max<std::int64_t>(whole, 1));
}

}  // namespace

int compute_mark_block(RunList runs, const Box16& box, std::int16_t mark_angle, MarkBlock& out) {
  const int sine = int_sin(mark_angle);
  const int cosine = int_cos(mark_angle);
  InkWalk walk;
  Projection along;
  Projection across;
  for (const PointRun* run : runs) {
    if (run == nullptr) return kBadArgument;
    if (!run->empty()) walk_run(*run, walk, along, across, sine, cosine);
  }
  if (walk.first == nullptr) return kFigureWithoutPoints;

  const PackedPoint first = walk.first->point;
  const PackedPoint last = walk.last->point;
  const PointRun& tail = *walk.last_run;
  const PackedPoint quarter = tail.points[tail.count - 1 - tail.count / 4].point;
  const int chord = octagonal_length(last.x - first.x, last.y - first.y);

  out.rise = percent_of(first.y - last.y, box.height());
  out.extent_along = along.extent();
  out.extent_across = across.extent();
  out.winding = percent_of(walk.path, chord);
  if (walk.path == 0) out.winding = 100;
  out.bend = saturate_int16(walk.turning);
  out.length = octagonal_length(box.width() - 1, box.height() - 1);
  out.chord_direction = static_cast<std::int16_t>(chord == 0 ? 0 : step_direction(first, last));
  out.end_direction = (quarter.x == last.x && quarter.y == last.y)
                          ? out.chord_direction
                          : static_cast<std::int16_t>(step_direction(quarter, last));
  out.positive_loops = saturate_int16(walk.positive_loops);
  out.negative_loops = saturate_int16(walk.negative_loops);
  out.point_count = saturate_int16(walk.points);
  for (int side = 0; side < 4; ++side) out.sides[side] = saturate_int16(walk.sides[side]);
  return kOk;
}

}  // namespace inkrec

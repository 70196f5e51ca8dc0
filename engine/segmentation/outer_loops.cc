#include "engine/segmentation/outer_loops.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "engine/foundation/status.h"
#include "engine/records/glyph_geometry.h"
#include "engine/records/trajectory_record.h"
#include "engine/records/vertical_extrema.h"

namespace inkrec {
namespace {

// The points k - m .. k + m of a run, read as plain points.
struct Arms {
  const PointRecord* points;
  std::int32_t k;
  std::int32_t m;

  PackedPoint at(std::int32_t i) const { return points[i].point; }
  PackedPoint tip() const { return at(k); }
};

// The ink's width in row y over the segments between the arms' ends: the
// greatest less the least x where a segment meets the row; -1 when none
// does.
int row_width(const Arms& arms, int y) {
  int least = std::numeric_limits<int>::max();
  int greatest = std::numeric_limits<int>::min();
  for (std::int32_t i = arms.k - arms.m; i < arms.k + arms.m; ++i) {
    const PackedPoint a = arms.at(i);
    const PackedPoint b = arms.at(i + 1);
    if (y < std::min(a.y, b.y) || y > std::max(a.y, b.y)) continue;
    const int x = a.y == b.y ? a.x : a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y);
    least = std::min({least, x, a.y == b.y ? static_cast<int>(b.x) : x});
    greatest = std::max({greatest, x, a.y == b.y ? static_cast<int>(b.x) : x});
  }
  return least > greatest ? -1 : greatest - least;
}

// Whether the arms still run away from the tip after step m: downwards
// (y growing) from an upper tip, upwards from a lower one.
bool arms_move_away(const PointRecord* p, std::int32_t k, std::int32_t m, bool upper) {
  const int before = p[k - m].point.y - p[k - m + 1].point.y;
  const int after = p[k + m].point.y - p[k + m - 1].point.y;
  return upper ? before > 0 && after > 0 : before < 0 && after < 0;
}

// Whether both arm ends have passed the reference line: below the upper
// line for an upper tip, above the baseline for a lower one.
bool arms_passed_line(const PointRecord* p, std::int32_t k, std::int32_t m, bool upper,
                      const ReferenceBand& band) {
  const int a = p[k - m].point.y;
  const int b = p[k + m].point.y;
  return upper ? a > band.top && b > band.top : a < band.bottom && b < band.bottom;
}

// The number of steps the two arms run away from the tip together.
std::int32_t arm_steps(const StrokeRecord& figure, std::int32_t k, bool upper) {
  const PointRecord* p = figure.run.points;
  const std::int32_t n = figure.run.count;
  const int direction = p[k + 1].point.x - p[k - 1].point.x;
  std::int32_t steps = 0;
  for (std::int32_t m = 1; k - m >= 0 && k + m < n; ++m) {
    if (!arms_move_away(p, k, m, upper)) break;
    steps = m;
    if ((p[k + m].point.x - p[k - m].point.x) * direction < 0) break;
    if (arms_passed_line(p, k, m, upper, figure.geometry.reference_band())) break;
  }
  return std::max(steps, 1);
}

// The loop test of Arms: the widest row between the tip and the nearer arm
// end, against the width at that end.
bool narrows_to_arm_end(const Arms& arms, int h, bool upper) {
  const int tip_y = arms.tip().y;
  const int end_a = arms.at(arms.k - arms.m).y;
  const int end_b = arms.at(arms.k + arms.m).y;
  const int near_end = upper ? std::min(end_a, end_b) : std::max(end_a, end_b);
  if (std::abs(near_end - tip_y) <= 2 * h / 3) return false;
  const int step = upper ? 1 : -1;
  int widest = 0;
  for (int y = tip_y; y != near_end; y += step) widest = std::max(widest, row_width(arms, y));
  const int end_width = row_width(arms, near_end);
  return end_width < widest / 2 && widest >= h / 4;
}

bool has_outer_loop(const StrokeRecord& figure, const ExtremumList& extrema, int h, bool upper) {
  const ReferenceBand& band = figure.geometry.reference_band();
  for (const Extremum& e : extrema.entries) {
    if (upper ? !e.is_minimum() : !e.is_maximum()) continue;
    const bool beyond = upper ? e.point.y <= band.top - h / 2 : e.point.y >= band.bottom + h / 2;
    if (beyond && is_loop_extremum(figure, e.point_index(), h, upper) != 0) return true;
  }
  return false;
}

}  // namespace

int is_loop_extremum(const StrokeRecord& figure, std::uint32_t k, int h, bool upper) {
  const std::int32_t n = figure.run.count;
  if (figure.run.points == nullptr || k < 1 || static_cast<std::int64_t>(k) + 1 >= n) return 0;
  const auto tip = static_cast<std::int32_t>(k);
  const Arms arms{figure.run.points, tip, arm_steps(figure, tip, upper)};
  return narrows_to_arm_end(arms, h, upper) ? 1 : 0;
}

std::int32_t find_outer_loops(const FigureGroup& group, int h) {
  std::int32_t bits = 0;
  ExtremumList extrema;
  for (const FigureRecord* figure : group.figures) {
    if (figure == nullptr) return kBadArgument;
    if (!figure->geometry.reference_band().has_bounds()) continue;
    const int status =
        find_vertical_extrema(extrema, figure->run.points, figure->run.count, h / 4);
    if (status != kOk) return status;
    if (has_outer_loop(*figure, extrema, h, false)) bits |= kLoopBelowBaseline;
    if (has_outer_loop(*figure, extrema, h, true)) bits |= kLoopAboveUpperLine;
    if (bits == (kLoopAboveUpperLine | kLoopBelowBaseline)) break;
  }
  return bits;
}

}  // namespace inkrec

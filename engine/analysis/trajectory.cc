// Trajectory building: piece cutting, crossing vertices, vertex measures.

#include "engine/analysis/trajectory.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/analysis/self_crossings.h"
#include "engine/analysis/stroke_spline.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"

namespace inkrec {
namespace {

constexpr std::int64_t kFixedOne = 1024;

// A vector between two points, wide enough for any pair of 16-bit points.
struct Offset {
  std::int64_t x;
  std::int64_t y;
};

Offset difference(PackedPoint a, PackedPoint b) {
  return {std::int64_t{a.x} - b.x, std::int64_t{a.y} - b.y};
}

std::int64_t dot(Offset a, Offset b) { return a.x * b.x + a.y * b.y; }

int octagonal(Offset v) { return octagonal_length(static_cast<int>(v.x), static_cast<int>(v.y)); }

// 1024 x the signed distance of p from the chord through p0 along k of
// octagonal length l.
std::int64_t offset_from_chord(PackedPoint p, PackedPoint p0, Offset k, int l) {
  const Offset d = difference(p, p0);
  return kFixedOne * (d.y * k.x - d.x * k.y) / l;
}

// Adds vertices in stroke order, each written in place at the end of the
// trajectory, merging a vertex into the last one when both have the same
// coordinates.
class VertexWriter {
 public:
  VertexWriter(const PackedPoint* points, const DynArray<CrossingMark>& crossings, Trajectory& out)
      : points_(points), crossings_(crossings), out_(out) {}

  int add_first() {
    PointRecord* first = append(0);
    if (first == nullptr) return kOutOfMemory;
    first->trajectory.add_flags(TrajectoryRecord::kStrokeStart);
    if (!crossings_.empty() && crossings_[0].point_number == 0) {
      merge_crossing_mark(first->trajectory, crossings_[0]);
    }
    return kOk;
  }

  bool has_crossing_at(std::int32_t point) const {
    const std::uint32_t k = crossing_at_or_after(point);
    return k < crossings_.size() && crossings_[k].point_number == point;
  }

  // The crossings of [start, end] in order, then a plain vertex at end
  // unless a crossing stands there.
  int add_piece_end(std::int32_t start, std::int32_t end) {
    bool end_covered = false;
    for (std::uint32_t k = crossing_at_or_after(start);
         k < crossings_.size() && crossings_[k].point_number <= end; ++k) {
      if (const int status = add_crossing(crossings_[k]); status != kOk) return status;
      end_covered = crossings_[k].point_number == end;
    }
    if (end_covered || same_as_last(end)) return kOk;
    return append(end) == nullptr ? kOutOfMemory : kOk;
  }

  std::int32_t last_vertex_point() const { return out_.back().trajectory.point_number; }

 private:
  std::uint32_t crossing_at_or_after(std::int32_t point) const {
    const auto* found =
        std::lower_bound(crossings_.begin(), crossings_.end(), point,
                         [](const CrossingMark& m, std::int32_t p) { return m.point_number < p; });
    return static_cast<std::uint32_t>(found - crossings_.begin());
  }

  bool same_as_last(std::int32_t point) const {
    return !out_.empty() && out_.back().point == points_[point];
  }

  // A vertex carrying the mark, or the mark merged into the last vertex
  // when that one has the same coordinates.
  int add_crossing(const CrossingMark& mark) {
    if (same_as_last(mark.point_number)) {
      merge_crossing_mark(out_.back().trajectory, mark);
      return kOk;
    }
    PointRecord* vertex = append(mark.point_number);
    if (vertex == nullptr) return kOutOfMemory;
    vertex->trajectory.first_partner = mark.first_partner;
    vertex->trajectory.second_partner = mark.second_partner;
    vertex->trajectory.flags = mark.flags;
    return kOk;
  }

  PointRecord* append(std::int32_t point) {
    PointRecord* vertex = out_.push_default();
    if (vertex == nullptr) return nullptr;
    vertex->point = points_[point];
    vertex->trajectory.point_number = static_cast<std::uint16_t>(point);
    return vertex;
  }

  const PackedPoint* points_;
  const DynArray<CrossingMark>& crossings_;
  Trajectory& out_;
};

// The end of the piece that starts at `start`, or -1 when the rest of the
// stroke holds no cut.
std::int32_t find_piece_end(const PackedPoint* points, std::int32_t count, std::int32_t start,
                            std::int64_t tolerance, const VertexWriter& writer) {
  const std::int32_t remaining = count - start;
  const PackedPoint* run = points + start;
  for (std::int32_t e = 2; e < remaining; ++e) {
    if (writer.has_crossing_at(start + e - 1)) return start + e - 1;
    if (const unsigned flags = piece_deviation_flags(run, e + 1, tolerance); flags != 0) {
      return start + choose_cut(run, e + 1, flags);
    }
    if (octagonal(difference(run[e], run[0])) * kFixedOne > 2 * tolerance) return start + e;
  }
  return -1;
}

}  // namespace

unsigned piece_deviation_flags(const PackedPoint* run, std::int32_t n, std::int64_t tolerance) {
  if (n < 2) return 0;
  const PackedPoint first = run[0];
  const PackedPoint last = run[n - 1];
  const Offset chord = difference(last, first);
  const int length = octagonal(chord);
  if (length == 0) return 0;
  const std::int64_t margin = tolerance / kFixedOne;
  const std::int64_t left = std::min(first.x, last.x) - margin;
  const std::int64_t right = std::max(first.x, last.x) + margin;
  const std::int64_t top = std::min(first.y, last.y) - margin;
  const std::int64_t bottom = std::max(first.y, last.y) + margin;
  unsigned flags = 0;
  std::int64_t sum = 0;
  for (std::int32_t k = 1; k + 1 < n; ++k) {
    const PackedPoint p = run[k];
    if (p.x < left || p.x > right || p.y < top || p.y > bottom) flags |= kDeviationOutside;
    const std::int64_t d = offset_from_chord(p, first, chord, length);
    if (std::llabs(d) >= tolerance) flags |= kDeviationAcross;
    sum += d;
    if (std::llabs(sum) >= tolerance) flags |= kDeviationSummed;
  }
  return flags;
}

std::int32_t choose_cut(const PackedPoint* run, std::int32_t n, unsigned flags) {
  std::int32_t cut = 1;
  if (n - 1 < 2) return cut;
  const PackedPoint first = run[0];
  const PackedPoint last = run[n - 1];
  const Offset chord = difference(last, first);
  const int length = octagonal(chord);
  if (length == 0) return cut;
  std::int64_t best = 0;
  const bool only_overshoots = flags == kDeviationOutside;
  for (std::int32_t k = 1; k <= n - 2; ++k) {
    const PackedPoint p = run[k];
    if (only_overshoots) {
      const std::int64_t behind = std::llabs(kFixedOne * dot(difference(p, first), chord) / length);
      if (behind > best) {
        best = behind;
        cut = k;
      }
      const std::int64_t ahead = std::llabs(kFixedOne * dot(difference(p, last), chord) / length);
      if (ahead > best) {
        best = ahead;
        cut = k;
      }
    } else {
      const std::int64_t across = std::llabs(offset_from_chord(p, first, chord, length));
      if (across > best) {
        best = across;
        cut = k;
      }
    }
  }
  return cut;
}

int build_trajectory(const PackedPoint* points, std::int32_t count, Trajectory& out, int step) {
  out.clear();
  DynArray<CrossingMark> crossings;
  if (const int status = find_self_crossings(points, count, crossings, step); status != kOk) {
    return status;
  }
  return build_trajectory_through(points, count, crossings, out, step);
}

int build_trajectory_through(const PackedPoint* points, std::int32_t count,
                             const DynArray<CrossingMark>& crossings, Trajectory& out, int step) {
  out.clear();
  if (count > 65535 || (points == nullptr && count > 0)) return kBadArgument;
  if (count < 1) return kOk;
  const std::int64_t tolerance = std::llabs(std::int64_t{step}) * kFixedOne;
  VertexWriter writer(points, crossings, out);
  if (const int status = writer.add_first(); status != kOk) return status;
  std::int32_t start = 0;
  while (count - start >= 3) {
    const std::int32_t end = find_piece_end(points, count, start, tolerance, writer);
    if (end < 0) break;
    if (const int status = writer.add_piece_end(start, end); status != kOk) return status;
    start = end;
  }
  if (writer.last_vertex_point() != count - 1) return writer.add_piece_end(start, count - 1);
  return kOk;
}

void vertex_statistics(Trajectory& trajectory) {
  const auto n = static_cast<std::int32_t>(trajectory.size());
  for (std::int32_t i = 1; i + 1 < n; ++i) {
    const Offset a = difference(trajectory[i].point, trajectory[i - 1].point);
    const Offset b = difference(trajectory[i + 1].point, trajectory[i].point);
    const double lengths =
        math_sqrt(static_cast<double>(dot(a, a)) * static_cast<double>(dot(b, b)));
    if (lengths == 0.0) continue;
    const int cosine = static_cast<int>(1000.0 * static_cast<double>(dot(a, b)) / lengths);
    trajectory[i].trajectory.ratio = cosine;
  }
  if (n < 2) {
    if (n == 1) trajectory[0].trajectory.score = 0;
    return;
  }
  StrokeSpline spline(&trajectory);
  for (std::int32_t i = 0; i < n; ++i) {
    const std::int32_t segment = i == 0 ? 0 : std::min(i, n - 2);
    const double t = i == 0 || i == n - 1 ? 0.5 : 0.0;
    const double curvature = spline.curvature_at(segment, t);
    TrajectoryRecord& record = trajectory[i].trajectory;
    if (curvature >= kNoSplineValue) {
      record.score = 0;
    } else {
      record.set_score(curvature);
    }
  }
}

int analyse_trajectory(const Stroke& stroke, Trajectory& out, int step) {
  const int status = build_trajectory(stroke.data(), static_cast<std::int32_t>(stroke.size()), out,
                                      std::max(step, kLeastAnalysisStep));
  if (status != kOk) return status;
  vertex_statistics(out);
  return kOk;
}

int analyse_trajectory(const Stroke& stroke, SelfCrossings& crossings,
                       DynArray<CrossingMark>& marks, Trajectory& out, int step) {
  step = std::max(step, kLeastAnalysisStep);
  if (const int status = crossings.marks_for(step, marks); status != kOk) return status;
  const int status = build_trajectory_through(
      stroke.data(), static_cast<std::int32_t>(stroke.size()), marks, out, step);
  if (status != kOk) return status;
  vertex_statistics(out);
  return kOk;
}

}  // namespace inkrec

// The stroke feature pass: step derivation, refinement and the trajectory list.

#include "engine/analysis/stroke_feature_pass.h"

#include <memory>

#include "engine/foundation/allocation.h"
#include "engine/foundation/point_span.h"
#include "engine/foundation/polylines.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/foundation/values.h"

namespace inkrec {
namespace {

// The vertices of dense enough trajectories lie at most limit / 6 apart.
constexpr std::int64_t kDensityRatio = 6;

std::int32_t stroke_height(const Stroke& stroke) {
  return points_bounding_box(PointSpan(stroke)).height();
}

// The mean octagonal length of the vectors between consecutive vertices of
// all trajectories; 0 when there is none.
std::int64_t mean_vertex_spacing(const TrajectoryList& trajectories) {
  std::int64_t sum = 0;
  std::int64_t vectors = 0;
  for (std::uint32_t t = 0; t < trajectories.size(); ++t) {
    const Trajectory& trajectory = *trajectories[t];
    for (std::uint32_t k = 1; k < trajectory.size(); ++k) {
      sum += octagonal_length(trajectory[k].point.x - trajectory[k - 1].point.x,
                              trajectory[k].point.y - trajectory[k - 1].point.y);
      ++vectors;
    }
  }
  return vectors == 0 ? 0 : sum / vectors;
}

// Builds the trajectories of one list of strokes again and again with
// other steps. The self-crossings of each stroke are searched once, for
// every step the analysis uses, and from the second build on the
// trajectories of the list are rebuilt in place.
class TrajectoryBuilds {
 public:
  explicit TrajectoryBuilds(const StrokeList& strokes) : strokes_(strokes) {}

  int build(TrajectoryList& out, int step) {
    const std::uint32_t n = strokes_.size();
    if (!found_) {
      if (const int status = find_crossings(); status != kOk) return status;
      out.clear();
      for (std::uint32_t i = 0; i < n; ++i) {
        if (out.add_new() == nullptr) return kOutOfMemory;
      }
    }
    for (std::uint32_t i = 0; i < n; ++i) {
      const int status = analyse_trajectory(*strokes_[i], crossings_[i], marks_, *out[i], step);
      if (status != kOk) return status;
    }
    return kOk;
  }

 private:
  int find_crossings() {
    for (std::uint32_t i = 0; i < strokes_.size(); ++i) {
      if (strokes_[i] == nullptr) return kBadArgument;
      SelfCrossings* crossings = crossings_.push_default();
      if (crossings == nullptr) return kOutOfMemory;
      const Stroke& stroke = *strokes_[i];
      const int status = crossings->find(stroke.data(), static_cast<std::int32_t>(stroke.size()),
                                         kLeastAnalysisStep);
      if (status != kOk) return status;
    }
    found_ = true;
    return kOk;
  }

  const StrokeList& strokes_;
  bool found_ = false;
  DynArray<SelfCrossings> crossings_;
  DynArray<CrossingMark> marks_;
};

}  // namespace

int compute_step_size(const StrokeList& strokes, const DynArray<std::uint8_t>& loop_marks,
                      std::int32_t* out_step) {
  const std::uint32_t n = strokes.size();
  if (n == 0) {
    *out_step = 0;
    return kOk;
  }
  if (loop_marks.size() != n) return kUndocumented;
  std::int64_t height_sum = 0;
  for (std::uint32_t i = 0; i < n; ++i) {
    if (strokes[i] == nullptr) return kBadArgument;
    const std::int32_t height = stroke_height(*strokes[i]);
    height_sum += loop_marks[i] != 0 ? height / 2 : height;
  }
  const std::int32_t cutoff = saturate_int16(height_sum / n) / 15;
  std::int64_t step_sum = 0;
  std::int64_t counted = 0;
  for (std::uint32_t i = 0; i < n; ++i) {
    const std::int32_t height = stroke_height(*strokes[i]);
    if (height < cutoff) continue;
    step_sum += loop_marks[i] != 0 ? height / 20 : height / 10;
    ++counted;
  }
  *out_step = counted == 0 ? 0 : saturate_int16(step_sum / counted);
  return kOk;
}

int build_trajectories(const StrokeList& strokes, TrajectoryList& out, int step) {
  out.clear();
  for (std::uint32_t i = 0; i < strokes.size(); ++i) {
    if (strokes[i] == nullptr) return kBadArgument;
    Trajectory* trajectory = out.add_new();
    if (trajectory == nullptr) return kOutOfMemory;
    if (const int status = analyse_trajectory(*strokes[i], *trajectory, step); status != kOk) {
      return status;
    }
  }
  return kOk;
}

int loop_marks_of(const TrajectoryList& trajectories, DynArray<std::uint8_t>& marks) {
  marks.clear();
  for (std::uint32_t t = 0; t < trajectories.size(); ++t) {
    int second_crossings = 0;
    for (const PointRecord& vertex : *trajectories[t]) {
      if (vertex.trajectory.has_any_flag(TrajectoryRecord::kSecondCrossing)) ++second_crossings;
    }
    if (marks.push_back(second_crossings >= 2 ? 1 : 0) != kOk) return kOutOfMemory;
  }
  return kOk;
}

int stroke_feature_pass(const StrokeList& strokes, TrajectoryList& out, StepStatistics* statistics,
                        bool refine) {
  StepStatistics local;
  StepStatistics& stats = statistics != nullptr ? *statistics : local;
  stats = StepStatistics{};
  DynArray<std::uint8_t> marks;
  if (marks.resize(strokes.size(), 0) != kOk) return kOutOfMemory;
  std::int32_t step = 0;
  if (const int status = compute_step_size(strokes, marks, &step); status != kOk) return status;
  stats.first = step;
  TrajectoryBuilds builds(strokes);
  if (const int status = builds.build(out, step); status != kOk) return status;
  if (!refine) return kOk;

  if (const int status = loop_marks_of(out, marks); status != kOk) return status;
  const std::int32_t first_step = step;
  if (const int status = compute_step_size(strokes, marks, &step); status != kOk) return status;
  // The same step builds the same trajectories.
  if (step != first_step) {
    if (const int status = builds.build(out, step); status != kOk) return status;
  }
  stats.with_loops = step;

  const std::int64_t limit = std::int64_t{strokes.size() < 8 ? 10 : 15} * step;
  // The list already holds the trajectories of the first step tried.
  bool built = true;
  while (step >= 3) {
    if (!built) {
      if (const int status = builds.build(out, step); status != kOk) return status;
    }
    built = false;
    const std::int64_t mean = mean_vertex_spacing(out);
    if (mean == 0 || limit / mean >= kDensityRatio) break;
    step /= 2;
  }
  stats.final = step;
  return kOk;
}

}  // namespace inkrec

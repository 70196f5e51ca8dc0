// The RAF features of figure groups and training from a sample.

#include "engine/analysis/figure_rafs.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "engine/analysis/raf_features.h"
#include "engine/analysis/stroke_feature_pass.h"
#include "engine/foundation/allocation.h"
#include "engine/foundation/point_ops.h"
#include "engine/foundation/polylines.h"
#include "engine/foundation/status.h"
#include "engine/foundation/stroke_transform.h"
#include "engine/foundation/trigonometry.h"
#include "engine/foundation/values.h"
#include "engine/records/figure_group.h"
#include "engine/records/figure_records.h"
#include "engine/records/glyph_geometry.h"

namespace inkrec {

namespace {

constexpr int kUpright = 90;
constexpr int kShearUnit = 256;     // shear factors are in 1/256
constexpr int kDotSquareSide = 3;   // a lone point is drawn as a square this wide
constexpr int kUnscaledBelow = 24;  // the first pass leaves smaller figures as they are
constexpr int kThinSide = 6;        // the thin side of a very long figure, in the frame
constexpr int kLongRatio = 8;
constexpr Box16 kTabletBox{0, 0, 32767, 32767};

// Appends the run as a stroke without consecutive repeated points; a run of
// one point (or one point repeated) becomes a small closed square.
int append_run_stroke(const PointRun& run, StrokeList& strokes) {
  std::unique_ptr<Stroke> stroke = make_nothrow<Stroke>();
  if (!stroke) return kOutOfMemory;
  const PointSpan points = run.span();
  for (std::int32_t i = 0; i < points.size(); ++i) {
    if (append_point_if_new(*stroke, points[i]) != kOk) return kOutOfMemory;
  }
  if (stroke->size() == 1) {
    const auto square = square_at_point((*stroke)[0], kDotSquareSide, kTabletBox);
    stroke->clear();
    if (stroke->append_n(square.data(), static_cast<std::uint32_t>(square.size())) != kOk) {
      return kOutOfMemory;
    }
  }
  return strokes.push_back_owned(std::move(stroke));
}

// One stroke per run of both lists; runs without points are passed over.
int strokes_of_runs(RunList runs, RunList more_runs, StrokeList& strokes) {
  for (const RunList list : {runs, more_runs}) {
    for (const PointRun* run : list) {
      if (run == nullptr) return kBadArgument;
      if (run->empty()) continue;
      if (const int status = append_run_stroke(*run, strokes); status != kOk) return status;
    }
  }
  return strokes.empty() ? kFigureWithoutPoints : kOk;
}

Box16 box_of(const StrokeList& strokes) {
  Box16 box;
  bool first = true;
  for (const Stroke* stroke : strokes) {
    if (stroke == nullptr || stroke->empty()) continue;
    box = points_bounding_box(PointSpan(*stroke), first ? nullptr : &box);
    first = false;
  }
  return box;
}

}  // namespace

int normalise_figure_strokes(StrokeList& strokes, int angle, bool second_pass) {
  if (angle < 1) angle = kUpright;
  Box16 box = box_of(strokes);
  if (angle != kUpright) {
    const int shear = scale_by_tangent(angle - kUpright, kShearUnit);
    if (const int status = shear_strokes(strokes, shear, box.top); status != kOk) return status;
    box = box_of(strokes);
  }
  const std::int64_t w = box.width();
  const std::int64_t h = box.height();
  PointScale scale;
  scale.ox = box.left;
  scale.oy = box.top;
  if (!second_pass) {
    const std::int64_t m = std::max(w, h);
    if (m >= kUnscaledBelow) {
      scale.mx = scale.my = kFigureFrameSize;
      scale.dx = scale.dy = static_cast<int>(m);
    }
  } else {
    scale.mx = scale.my = kFigureFrameSize;
    scale.dx = static_cast<int>(w);
    scale.dy = static_cast<int>(h);
    if (w >= kLongRatio * h) {
      scale.my = kThinSide;
    } else if (h >= kLongRatio * w) {
      scale.mx = kThinSide;
    }
  }
  return scale_strokes(strokes, scale);
}

namespace {

int run_pass(RafContext& context, const DynArray<Raf>& rafs, RunList runs,
             const FigureRafOptions& options, bool second_pass) {
  context.release_work_area();
  StrokeList strokes(static_cast<std::uint32_t>(runs.size() + options.more_runs.size()), true);
  if (const int status = strokes_of_runs(runs, options.more_runs, strokes); status != kOk) {
    return status;
  }
  const int angle = second_pass ? options.angle : options.slant;
  if (const int status = normalise_figure_strokes(strokes, angle, second_pass); status != kOk) {
    return status;
  }
  if (const int status = context.load_strokes(strokes); status != kOk) return status;
  return compute_rafs(context, rafs, box_of(strokes), options.end_switches, options.enabled,
                      second_pass);
}

}  // namespace

int compute_figure_rafs(RafContext& context, const DynArray<Raf>& rafs, RunList runs,
                        const FigureRafOptions& options) {
  for (const bool second_pass : {false, true}) {
    if (const int status = run_pass(context, rafs, runs, options, second_pass); status != kOk) {
      return status;
    }
  }
  if (options.copy_to != nullptr) {
    if (options.copy_to->values.assign(context.vector.values) != kOk ||
        options.copy_to->nonzero.assign(context.vector.nonzero) != kOk) {
      return kOutOfMemory;
    }
  }
  return kOk;
}

int compute_figure_rafs_afresh(RafContext& context, std::uint32_t total_cells,
                               const DynArray<Raf>& rafs, RunList runs,
                               const FigureRafOptions& options) {
  if (const int status = context.reset(total_cells); status != kOk) return status;
  return compute_figure_rafs(context, rafs, runs, options);
}

namespace {

int copy_strokes(const StrokeArray& strokes, StrokeList& out) {
  for (const Stroke& stroke : strokes) {
    std::unique_ptr<Stroke> copy = make_nothrow<Stroke>();
    if (!copy || copy->assign(stroke) != kOk || out.push_back_owned(std::move(copy)) != kOk) {
      return kOutOfMemory;
    }
  }
  return kOk;
}

// The trajectories of the strokes with the given step, or with one derived
// from the strokes (written back) when it is below 1.
int build_sample_trajectories(const StrokeList& strokes, TrajectoryList& trajectories,
                              std::int32_t* step_size) {
  if (*step_size >= 1) return build_trajectories(strokes, trajectories, saturate_int16(*step_size));
  StepStatistics steps;
  if (const int status = stroke_feature_pass(strokes, trajectories, &steps, true); status != kOk) {
    return status;
  }
  *step_size = steps.final >= 1        ? steps.final
               : steps.with_loops >= 1 ? steps.with_loops
                                       : steps.first;
  return kOk;
}

// The index of the vertex with that point number; -1 when none has it.
std::int32_t vertex_numbered(const Trajectory& trajectory, std::int32_t number) {
  for (std::uint32_t i = 0; i < trajectory.size(); ++i) {
    if (point_number_of(trajectory[i]) == number) return static_cast<std::int32_t>(i);
  }
  return -1;
}

// Computes the runs at every offset from the direction and appends the hit
// lists.
int append_hit_lists(SampleFeatureWork& work, RunList runs, GlyphGeometry& geometry,
                     std::span<const int> angle_offsets, FigureRafOptions options) {
  const int direction = geometry.direction.vertical_direction;
  const std::uint32_t total_cells = work.context.vector.values.size();
  for (const int offset : angle_offsets) {
    const int angle = direction + offset;
    geometry.direction.vertical_direction = saturate_int16(angle);
    options.slant = angle;
    options.angle = angle;
    if (const int status =
            compute_figure_rafs_afresh(work.context, total_cells, *work.rafs, runs, options);
        status != kOk) {
      return status;
    }
    DynArray<std::uint16_t>* hits = work.hit_lists.push_default();
    if (hits == nullptr || hits->assign(work.context.vector.nonzero) != kOk) return kOutOfMemory;
  }
  return kOk;
}

}  // namespace

int train_on_sample(SampleFeatureWork& work, const StrokeArray& strokes,
                    std::span<const int> angle_offsets, std::int32_t* step_size,
                    std::int32_t stroke_index, std::int32_t first_point, std::int32_t last_point,
                    const DynArray<std::uint16_t>* enabled) {
  if (work.rafs == nullptr || step_size == nullptr) return kBadArgument;
  StrokeList sample(strokes.size(), true);
  if (const int status = copy_strokes(strokes, sample); status != kOk) return status;
  TrajectoryList trajectories(sample.size(), true);
  if (const int status = build_sample_trajectories(sample, trajectories, step_size);
      status != kOk) {
    return status;
  }
  if (stroke_index >= 0 && static_cast<std::uint32_t>(stroke_index) >= trajectories.size()) {
    return kBadArgument;
  }

  // Group A: every stroke whole. The records live in a buffer that never
  // grows, so the group's pointers stay valid.
  DynArray<FigureRecord> records;
  if (records.reserve_total(trajectories.size() + 1) != kOk) return kOutOfMemory;
  GlyphGeometry geometry;
  FigureGroup whole(nullptr, &geometry);
  for (Trajectory* trajectory : trajectories) {
    if (trajectory == nullptr) return kBadArgument;
    FigureRecord* figure = records.push_default();
    figure->run.set(trajectory->data(), static_cast<std::int32_t>(trajectory->size()));
    if (whole.figures.push_back(figure) != kOk) return kOutOfMemory;
  }
  DynArray<PointRun*> whole_runs;
  if (const int status = group_run_list(whole, whole_runs); status != kOk) return status;
  if (const int status = group_prepare_glyph(whole, false); status != kOk) return status;

  FigureRafOptions options;
  options.enabled = enabled;
  if (stroke_index < 0) {
    return append_hit_lists(work, whole_runs.span(), geometry, angle_offsets, options);
  }

  // Group B: the piece of one stroke between the two numbered points.
  Trajectory& trajectory = *trajectories[static_cast<std::uint32_t>(stroke_index)];
  const std::int32_t first = vertex_numbered(trajectory, first_point);
  const std::int32_t last = vertex_numbered(trajectory, last_point);
  if (first < 0 || last < first) return kPieceNotFound;
  FigureRecord* piece = records.push_default();
  piece->run.set(trajectory.data() + first, last - first + 1);
  PointRun* const piece_runs[] = {&piece->run};
  const RafEndSwitches ends{
      static_cast<std::uint8_t>(first_point == 0 ? 1 : 0),
      static_cast<std::uint8_t>(
          last_point + 1 == static_cast<std::int32_t>(strokes[stroke_index].size()) ? 1 : 0)};
  options.end_switches = &ends;
  return append_hit_lists(work, piece_runs, geometry, angle_offsets, options);
}

}  // namespace inkrec

#include "engine/segmentation/stroke_intake.h"

#include <memory>

#include "engine/foundation/allocation.h"
#include "engine/foundation/status.h"
#include "engine/foundation/values.h"
#include "engine/records/request_switches.h"

namespace inkrec {

int reserve_stroke_pairs(RecognitionContext& context, std::uint32_t n) {
  return context.pair_table().reserve(n);
}

namespace {

// The run's copy of the points: null when it cannot be made or kept.
DynArray<PointRecord>* keep_copy(RecognitionContext& context,
                                 std::span<const PointRecord> points) {
  std::unique_ptr<DynArray<PointRecord>> copy = make_nothrow<DynArray<PointRecord>>();
  if (!copy || copy->reserve_total(static_cast<std::uint32_t>(points.size())) != kOk) {
    return nullptr;
  }
  for (const PointRecord& point : points) {
    PointRecord* kept = copy->push_default();
    if (kept == nullptr || make_trajectory_entry(point.point, point.trajectory, *kept) != kOk) {
      return nullptr;
    }
  }
  DynArray<PointRecord>* kept = copy.get();
  return context.point_runs().push_back_owned(std::move(copy)) == kOk ? kept : nullptr;
}

}  // namespace

int add_figure_to_pane(RecognitionContext& context, std::span<const PointRecord> points,
                       const ReferenceBand& band) {
  DynArray<StrokeRecord>& strokes = context.strokes();
  if (strokes.size() >= kNoKey16) return kAddPaneFigure;
  DynArray<PointRecord>* copy = keep_copy(context, points);
  if (copy == nullptr) return kOutOfMemory;
  StrokeRecord* record = strokes.push_default();
  if (record == nullptr) return kAddPaneFigure;
  record->run.set(copy->data(), static_cast<std::int32_t>(copy->size()));
  if (const int status = figure_prepare_glyph(*record, false); status != kOk) return status;
  if (RequestSwitches(context.kernel().params()).baselines_given()) {
    if (!band.has_bounds()) return kNoBaselines;
    record->geometry.set_baseline_pair({band.top, band.bottom, 1});
  }
  record->number = static_cast<std::uint16_t>(strokes.size() - 1);
  return kOk;
}

void reset_line_pass(RecognitionContext& context, bool fresh) {
  context.stroke_extrema().clear();
  context.settings() = LineMetrics();
  if (fresh) context.pair_table().entries().clear();
  context.text_lines().clear();
  context.statistics() = LineMetrics();
  for (StrokeRecord& stroke : context.strokes()) stroke.line_index = kNoKey16;
  context.bodies().clear();
  context.links().clear();
}

}  // namespace inkrec

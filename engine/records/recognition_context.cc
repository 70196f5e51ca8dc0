// The line work of a run and the members of its context.

#include "engine/records/recognition_context.h"

namespace inkrec {

void LineWork::clear() {
  strokes.clear();
  bodies.clear();
  links.clear();
  text_lines.clear();
  settings = LineMetrics();
  statistics = LineMetrics();
  point_runs.remove_all();
  unturned_points.remove_all();
  point_values.clear();
  line_rotation = 0;
  lines_done = 0;
  stroke_extrema.clear();
  stroke_pairs.reserve(0);
  figure_pairs.reserve(0);
  mean_gap = 0;
  gaps.clear();
  skew_correction = 0;
  skipped_candidates = 0;
}

std::int16_t RecognitionContext::line_slant_angle() const {
  return work_->settings.slant_angle < 1 ? 90 : work_->settings.slant_angle;
}

std::int32_t RecognitionContext::mean_gap() const { return work_->mean_gap; }

void RecognitionContext::set_mean_gap(std::int32_t gap) { work_->mean_gap = gap; }

void RecognitionContext::release_line_objects() { inkrec::release_line_objects(work_->text_lines); }

}  // namespace inkrec

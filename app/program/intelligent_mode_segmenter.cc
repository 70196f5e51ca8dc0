#include "app/program/intelligent_mode_segmenter.h"

#include <new>

namespace ductra {

IntelligentModeSegmenter::IntelligentModeSegmenter(Engine& engine, ErrorReports& reports)
    : engine_(engine), reports_(reports), reader_(engine.exports()) {}

void IntelligentModeSegmenter::create_or_limit_segmenter(int time_out_ms) {
  if (segmenter_ != nullptr) {
    segmenter_->set_time_limit(time_out_ms);
    return;
  }
  segmenter_ = Segmenter::create(engine_, reader_, time_out_ms, reports_);
  if (segmenter_ != nullptr && !charsets_.empty()) segmenter_->set_charsets(charsets_);
}

void IntelligentModeSegmenter::destroy_segmenter() { segmenter_.reset(); }

// A list that cannot be remembered is still given to the segmenter there is.
void IntelligentModeSegmenter::set_segmenter_charsets(std::span<const std::uint32_t> ids) {
  try {
    charsets_.assign(ids.begin(), ids.end());
  } catch (const std::bad_alloc&) {
    charsets_.clear();
  }
  if (segmenter_ != nullptr) segmenter_->set_charsets(ids);
}

SegmenterResult IntelligentModeSegmenter::add_stroke(std::span<const crPoint> points,
                                                     std::uint32_t start, std::uint32_t end) {
  if (segmenter_ == nullptr) return {};
  return segmenter_->add_stroke(points, start, end);
}

}  // namespace ductra

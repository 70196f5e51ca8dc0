#include "engine/segmentation/line_set.h"

#include <algorithm>

#include "engine/foundation/status.h"
#include "engine/foundation/values.h"
#include "engine/records/letter_fields.h"
#include "engine/records/request_switches.h"
#include "engine/segmentation/line_fitting.h"

namespace inkrec {

LineSet::LineSet(RecognitionContext& context)
    : context_(context),
      height_(context.letter_height()),
      writing_order_(RequestSwitches(context.kernel().params()).writing_order()),
      right_to_left_(context.kernel().right_to_left()) {}

int LineSet::line_of(int s) {
  const std::uint16_t k = stroke(s).line_index;
  return k == kNoKey16 ? -1 : k;
}

const PairMetrics* LineSet::pair(int i, int j) { return context_.pair_table().at(i, j); }

int LineSet::score(int i, int j) {
  const PairMetrics* entry = pair(i, j);
  return entry == nullptr ? -1 : entry->link_cost;
}

int LineSet::open_line(int i) {
  if (add_text_line(context_.text_lines()) == nullptr) return kOutOfMemory;
  return add_stroke_to_line(line_count() - 1, i, false);
}

namespace {

// A short stroke of few turns: one that may belong to the letters around it.
bool simple_stroke(StrokeRecord& s, int h) {
  const GlyphGeometry& g = s.geometry;
  const std::int64_t length = path_length(g);
  if (turn_count_1(g) >= 10 || turn_count_2(g) >= 10 || length >= 10LL * h) return false;
  return turn_count_1(g) < 3 || turn_count_2(g) < 3 || length < 6LL * h;
}

}  // namespace

int LineSet::add_stroke_to_line(int k, int i, bool check) {
  if (k < 0 || k >= line_count() || !exists(i)) return kBadArgument;
  if (check && writing_order_ && i >= 2 && line_of(i - 2) == k) {
    const Box16 before = stroke_box(i - 1);
    if (before.right <= stroke_box(i).right && before.right >= stroke_box(i - 2).left) {
      const int middle_line = line_of(i - 1);
      if (middle_line < 0) {
        if (const int status = add_stroke_to_line(k, i - 1, false); status != kOk) return status;
      } else if (middle_line != k && line_stroke_count(middle_line) == 1 &&
                 simple_stroke(stroke(i - 1), height_)) {
        if (const int status = merge_lines(middle_line, k); status != kOk) return status;
        if (middle_line < k) --k;
      }
    }
  }
  TextLine& target = line(k);
  const Box16 box = stroke_box(i);
  if (target.strokes.empty()) {
    target.box = box;
  } else {
    target.box.unite(box);
  }
  if (const int status = target.add_stroke(static_cast<std::uint16_t>(i)); status != kOk) {
    return status;
  }
  stroke(i).line_index = static_cast<std::uint16_t>(k);
  return kOk;
}

void LineSet::close_gap_after(int removed) {
  for (StrokeRecord& s : context_.strokes()) {
    if (s.line_index != kNoKey16 && s.line_index > removed) --s.line_index;
  }
  for (int k = removed; k < line_count(); ++k) --line(k).id;
}

int LineSet::merge_lines(int source, int target) {
  if (source < 0 || target < 0 || source >= line_count() || target >= line_count()) {
    return kBadArgument;
  }
  if (source == target) return kOk;
  DynArray<std::uint16_t> moving;
  if (moving.assign(line(source).strokes) != kOk) return kOutOfMemory;
  for (const std::uint16_t s : moving) {
    if (const int status = add_stroke_to_line(target, s, false); status != kOk) return status;
  }
  line(source).strokes.clear();
  if (const int status = remove_empty_line(source); status != kOk) return status;
  return fit();
}

int LineSet::remove_empty_line(int k) {
  if (k < 0 || k >= line_count() || !line(k).strokes.empty()) return kBadArgument;
  if (const int status = context_.text_lines().erase(static_cast<std::uint32_t>(k), 1);
      status != kOk) {
    return status;
  }
  close_gap_after(k);
  return kOk;
}

int LineSet::fit() { return fit_text_lines(context_); }

}  // namespace inkrec

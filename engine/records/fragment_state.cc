#include "engine/records/fragment_state.h"

#include <algorithm>
#include <cstdlib>

#include "engine/foundation/status.h"
#include "engine/records/letter_fields.h"
#include "engine/records/reading_order.h"

namespace inkrec {
namespace {

bool reads_as_blank(const FigureRecord& figure) {
  const std::uint16_t code = figure.candidates[0].best_code();
  return code == u' ' || code == u'-';
}

// The mean of the values summed, or `fallback` when none was counted.
std::int32_t mean_or(std::int64_t sum, std::int64_t count, std::int32_t fallback) {
  return count == 0 ? fallback : static_cast<std::int32_t>(sum / count);
}

}  // namespace

int estimate_fragment_sizes(FragmentState& state) {
  const std::int32_t h = state.context.settings().letter_height;
  const PtrArray<FigureRecord>& candidates = state.line.candidates;
  if (candidates.empty()) return kOk;
  std::int64_t width_sum = 0;
  std::int64_t widths = 0;
  std::int64_t height_sum = 0;
  std::int64_t heights = 0;
  for (const FigureRecord* figure : candidates) {
    if (figure == nullptr) return kBadArgument;
    const Box16 box = figure->geometry.bounding_box();
    if (box.width() >= h / 3) {
      width_sum += box.width();
      ++widths;
    }
    if (!reads_as_blank(*figure)) {
      height_sum += box.height();
      ++heights;
    }
  }
  state.mean_width = mean_or(width_sum, widths, h * 6 / 8);
  state.mean_height = mean_or(height_sum, heights, h);
  return kOk;
}

namespace {

// The window of the tolerance is the same either way, so that two
// items exactly the tolerance apart are ordered by height whichever comes
// first in the list. `point_of` gives an item's sort-key point.
template <typename T, typename PointOf>
int sort_in_writing_order(const FragmentState& state, PtrArray<T>& items, PointOf point_of) {
  if (items.empty()) return kOk;
  const auto count = static_cast<std::int32_t>(items.size());
  if (reading_order_detail::check(items.data(), count) != kOk) return kBadArgument;
  const std::int64_t tolerance = std::max(state.mean_height / 15, 2);
  const bool right_to_left = state.context.kernel().right_to_left();
  sort_pointer_array(items.data(), count, [&](const T* p, const T* q) {
    const PackedPoint a = point_of(*p);
    const PackedPoint b = point_of(*q);
    const std::int64_t dx = std::int64_t{a.x} - b.x;
    if (std::llabs(dx) <= tolerance) return a.y > b.y;
    return right_to_left ? dx < 0 : dx > 0;
  });
  return kOk;
}

}  // namespace

int order_fragment_candidates(FragmentState& state) {
  PtrArray<FigureRecord>& candidates = state.line.candidates;
  const int status = sort_in_writing_order(
      state, candidates, [](const FigureRecord& f) { return sort_key_point(f.geometry); });
  if (status != kOk) return status;
  for (std::uint32_t i = 0; i < candidates.size(); ++i) {
    candidates[i]->position = static_cast<std::uint16_t>(i);
  }
  return kOk;
}

int sort_results_in_writing_order(FragmentState& state, PtrArray<FigureGroup>& results) {
  for (const FigureGroup* result : results) {
    if (result == nullptr || result->geometry == nullptr) return kBadArgument;
  }
  return sort_in_writing_order(
      state, results, [](const FigureGroup& g) { return sort_key_point(*g.geometry); });
}

}  // namespace inkrec

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

// The window of the tolerance is the same either way, so that two
// candidates exactly the tolerance apart are ordered by height whichever
// comes first in the list.
int order_fragment_candidates(FragmentState& state) {
  PtrArray<FigureRecord>& candidates = state.line.candidates;
  if (candidates.empty()) return kOk;
  if (reading_order_detail::check(candidates.data(), static_cast<std::int32_t>(candidates.size())) !=
      kOk) {
    return kBadArgument;
  }
  const std::int64_t tolerance = std::max(state.mean_height / 15, 2);
  const bool right_to_left = state.context.kernel().right_to_left();
  sort_pointer_array(candidates.data(), static_cast<std::int32_t>(candidates.size()),
                     [&](const FigureRecord* p, const FigureRecord* q) {
                       const PackedPoint a = sort_key_point(p->geometry);
                       const PackedPoint b = sort_key_point(q->geometry);
                       const std::int64_t dx = std::int64_t{a.x} - b.x;
                       if (std::llabs(dx) <= tolerance) return a.y > b.y;
                       return right_to_left ? dx < 0 : dx > 0;
                     });
  for (std::uint32_t i = 0; i < candidates.size(); ++i) {
    candidates[i]->position = static_cast<std::uint16_t>(i);
  }
  return kOk;
}

}  // namespace inkrec

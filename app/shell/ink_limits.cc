#include "app/shell/ink_limits.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace ductra {
namespace {

std::uint64_t step_length(const InkPoint& from, const InkPoint& to) {
  const std::uint64_t dx = static_cast<std::uint64_t>(std::llabs(std::int64_t{to.x} - from.x));
  const std::uint64_t dy = static_cast<std::uint64_t>(std::llabs(std::int64_t{to.y} - from.y));
  return (2 * std::max(dx, dy) + dx + dy) / 3;
}

}  // namespace

std::uint32_t stroke_length_pixels(InkStrokeView stroke) {
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
  std::uint64_t touch_units = 0;
  for (std::size_t i = 1; i < stroke.size() && touch_units < kMax; ++i) {
    touch_units += step_length(stroke[i - 1], stroke[i]);
  }
  return static_cast<std::uint32_t>(std::min(touch_units, kMax) / 4);
}

InkVerdict check_ink(std::span<const InkStrokeView> strokes, int display_scale) {
  if (strokes.empty()) return InkVerdict::empty;
  if (strokes.size() > kMaxInkStrokes) return InkVerdict::too_many_strokes;
  const std::uint64_t longest = std::uint64_t{kMaxStrokePixelsPerScale} * std::max(display_scale, 1);
  std::size_t points = 0;
  std::uint64_t pixels = 0;
  for (const InkStrokeView stroke : strokes) {
    if (stroke.size() > kMaxStrokePoints) return InkVerdict::stroke_with_too_many_points;
    const std::uint32_t length = stroke_length_pixels(stroke);
    if (length > longest) return InkVerdict::stroke_too_long;
    points += stroke.size();
    pixels += length;
  }
  if (points > kMaxInkPoints) return InkVerdict::too_many_points;
  if (pixels > kMaxInkPixels) return InkVerdict::too_long;
  return InkVerdict::accepted;
}

}  // namespace ductra

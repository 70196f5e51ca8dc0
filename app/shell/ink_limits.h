// The limits of the ink the application hands to the engine.
//
// Ink beyond them would take too long to recognise (or is no writing at all)
// and is refused whole: more than 50 strokes, a stroke of more than 1500
// points or longer than 3000 pixels at the display scale, more than 10000
// points in all, or more than 20000 pixels of length in all. Lengths
// approximate each step by (2 max(|dx|, |dy|) + |dx| + |dy|) / 3 touch units
// and count four touch units to a pixel; they saturate instead of wrapping.
#pragma once

#include <cstdint>
#include <span>

#include "app/shell/ink_point.h"

namespace ductra {

inline constexpr std::size_t kMaxInkStrokes = 50;
inline constexpr std::size_t kMaxStrokePoints = 1500;
inline constexpr std::uint32_t kMaxStrokePixelsPerScale = 3000;
inline constexpr std::size_t kMaxInkPoints = 10000;
inline constexpr std::uint64_t kMaxInkPixels = 20000;

enum class InkVerdict {
  accepted,
  empty,
  too_many_strokes,
  stroke_with_too_many_points,
  stroke_too_long,
  too_many_points,
  too_long,
};

// The stroke's length in pixels.
std::uint32_t stroke_length_pixels(InkStrokeView stroke);

// Whether the ink may go to the engine; display_scale is dots per inch / 96
// (below 1 counts as 1).
InkVerdict check_ink(std::span<const InkStrokeView> strokes, int display_scale);

}  // namespace ductra

// Walks over the prepared strokes of a RAF work area: the segments of each
// stroke (by their index among all stroke points) with the raster points
// each one covers. Every index is checked against the arrays, so a work
// area that was not prepared yields -2 instead of a read past its end.
#pragma once

#include <cstdint>

#include "engine/analysis/raf_context.h"
#include "engine/foundation/status.h"

namespace inkrec {

// Raster points begin..end - 1.
struct RasterRange {
  std::uint32_t begin = 0;
  std::uint32_t end = 0;
};

// The raster points of the segment that starts at stroke point k (all
// strokes concatenated); false when an index is missing.
inline bool raster_range_of(const RafWorkArea& work, std::uint32_t k, RasterRange* range) {
  if (k + 1 >= work.raster_start.size()) return false;
  range->begin = work.raster_start[k];
  range->end = work.raster_start[k + 1];
  return range->begin <= range->end && range->end <= work.points.size();
}

// The raster points of a whole stroke whose first point has index `first`
// among all stroke points: from its first point's mark up to its last's.
inline bool stroke_raster_of(const RafWorkArea& work, std::uint32_t first, std::uint32_t count,
                             RasterRange* range) {
  if (count < 1 || first + count > work.raster_start.size()) return false;
  range->begin = work.raster_start[first];
  range->end = work.raster_start[first + count - 1];
  return range->begin <= range->end && range->end <= work.points.size();
}

// Calls f(stroke index, index of its first point, point count) for every
// stroke; stops at the first non-zero status.
template <typename F>
int for_each_stroke(const RafWorkArea& work, F f) {
  std::uint32_t first = 0;
  for (std::uint32_t s = 0; s < work.strokes.size(); ++s) {
    const auto count = static_cast<std::uint32_t>(work.strokes[s].count);
    if (const int status = f(s, first, count); status != kOk) return status;
    first += count;
  }
  return kOk;
}

// Calls f(segment record, raster range) for every segment of every stroke
// (not the closing records); stops at the first non-zero status.
template <typename F>
int for_each_segment(const RafWorkArea& work, F f) {
  return for_each_stroke(work, [&](std::uint32_t, std::uint32_t first, std::uint32_t count) {
    for (std::uint32_t k = first; k + 1 < first + count; ++k) {
      RasterRange range;
      if (k >= work.segments.size() || !raster_range_of(work, k, &range)) return kBadArgument;
      if (const int status = f(work.segments[k], range); status != kOk) return status;
    }
    return kOk;
  });
}

}  // namespace inkrec

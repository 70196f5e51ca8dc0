// Direction features: "01-Dir4" and "19-TranfCos" count raster points by the
// direction of the segment they lie on (short segments vote together), and
// "05-CrossLocLineHV" counts them by their row's crossing code.

#include <algorithm>
#include <cstdlib>

#include "engine/analysis/raf_extractors.h"
#include "engine/analysis/raf_grid.h"
#include "engine/analysis/raf_walk.h"

namespace inkrec {
namespace {

constexpr int kIgnoredLength = 30000;  // longer segments do not vote
constexpr int kShortLength = 3;        // shorter ones vote with a neighbour
constexpr int kLeastPairLength = 4;
constexpr int kGreatestPairTurn = 45;

// The mean of two directions taken the short way round 0: only values
// above 360 are reduced.
int mean_direction(int p, int d) {
  if ((p < 45 && d >= 90) || (d < 45 && p >= 90)) {
    const int mean = (p + d + 360) / 2;
    return mean > 360 ? mean - 360 : mean;
  }
  return (p + d) / 2;
}

// Up to two planes of "01-Dir4": an axis class (0 level, 2 upright) and a
// diagonal class (1 and 3); the ranges overlap near the class limits.
int dir4_planes(int d, int planes[2]) {
  int n = 0;
  if (d >= 337 || d < 25 || (d >= 157 && d < 205)) planes[n++] = 0;
  if ((d >= 67 && d < 115) || (d >= 247 && d < 295)) planes[n++] = 2;
  if ((d >= 22 && d < 66) || (d >= 202 && d < 250)) planes[n++] = 1;
  if ((d >= 112 && d < 156) || (d >= 292 && d <= 339)) planes[n++] = 3;
  return n;
}

// One directed class of "19-TranfCos" in eight sectors of 45 degrees.
int dir8_planes(int d, int planes[2]) {
  planes[0] = d < 24 || d >= 339 ? 0 : (d - 24) / 45 + 1;
  return 1;
}

// Walks each stroke's segments and lets every vote count the raster points
// of the segment that casts it into the vote direction's planes.
template <typename Planes>
int count_direction_votes(RafContext& context, RafBlock& block, Planes planes_of) {
  const RafWorkArea& work = context.work;
  return for_each_stroke(work, [&](std::uint32_t, std::uint32_t first, std::uint32_t count) {
    bool pending = false;
    int pending_direction = 0;
    int accumulated = 0;
    for (std::uint32_t k = first; k + 1 < first + count; ++k) {
      RasterRange range;
      if (k >= work.segments.size() || !raster_range_of(work, k, &range)) return kBadArgument;
      const SegmentRecord& segment = work.segments[k];
      if (segment.length > kIgnoredLength) continue;
      int vote = segment.direction;
      if (segment.length < kShortLength) {
        if (!pending) {
          pending = true;
          pending_direction = segment.direction;
          accumulated += segment.length;
          continue;
        }
        if (std::abs(segment.turn) > kGreatestPairTurn ||
            accumulated + segment.length < kLeastPairLength) {
          pending_direction = segment.direction;
          accumulated = segment.length;
          continue;
        }
        vote = mean_direction(pending_direction, segment.direction);
      }
      int planes[2];
      const int n = planes_of(vote, planes);
      for (std::uint32_t i = range.begin; i < range.end; ++i) {
        for (int c = 0; c < n; ++c) {
          if (const int status = count_point(work, block, planes[c], work.points[i]);
              status != kOk) {
            return status;
          }
        }
      }
      pending = false;
      accumulated = 0;
    }
    return kOk;
  });
}

}  // namespace

int count_directions4(const RafDescriptor& descriptor, RafContext& context) {
  RafBlock block(context.vector.values, descriptor.raf, 4);
  return count_direction_votes(context, block, dir4_planes);
}

int count_directions8(const RafDescriptor& descriptor, RafContext& context) {
  RafBlock block(context.vector.values, descriptor.raf, 8);
  return count_direction_votes(context, block, dir8_planes);
}

int count_crossing_codes(const RafDescriptor& descriptor, RafContext& context) {
  const RafWorkArea& work = context.work;
  if (work.crossing_codes.size() != work.points.size()) return kBadArgument;
  RafBlock block(context.vector.values, descriptor.raf, 4);
  for (std::uint32_t i = 0; i < work.points.size(); ++i) {
    const int plane = std::min<int>(work.crossing_codes[i], 3);
    if (const int status =
            count_point(work, block, plane, work.points[i], BandNeighbours::kColumnOnly);
        status != kOk) {
      return status;
    }
  }
  return kOk;
}

}  // namespace inkrec

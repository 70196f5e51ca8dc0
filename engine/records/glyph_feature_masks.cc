// The loop masks of the shape analysis: for every self-crossing loop of a
// figure that is large for the figure, a bit for its kind (the sector of
// its mean point seen from the crossing), with further bits when it is wide,
// tall, or both.

#include <cstdint>

#include "engine/foundation/status.h"
#include "engine/records/glyph_direction.h"
#include "engine/records/trajectory_record.h"

namespace inkrec {
namespace {

// The bits of one loop in a figure of width w and height h; 0 for a loop
// too narrow or too low to count.
std::uint32_t loop_bits(const CrossingDescription& loop, int w, int h) {
  const int width = loop.loop_width;
  const int height = loop.loop_height;
  const bool narrow = width < w / 4 && width < h / 7 && loop.local_box.width() <= h / 3;
  const bool low = height < h / 7 && loop.local_box.height() <= h / 3;
  if (narrow || low) return 0;
  const int kind = static_cast<int>(loop.loop_kind & 7);
  const bool wide = width >= 2 * w / 3;
  const bool tall = height >= 2 * h / 3;
  std::uint32_t bits = 1u << kind;
  if (wide) bits |= 1u << (kind + 8);
  if (tall || (loop.local_box.height() >= 2 * h / 3 && height >= h / 2)) bits |= 1u << (kind + 16);
  if (tall && wide) bits |= 1u << (kind + 24);
  return bits;
}

}  // namespace

int compute_feature_masks(GlyphGeometry& geometry, RunList runs) {
  if (has_missing_run(runs)) return kBadArgument;
  const Box16 box = geometry.bounding_box();
  const bool one_run = runs.size() == 1;
  FeatureMasks masks;
  for (const PointRun* run : runs) {
    for (std::int32_t i = 0; i < run->count; ++i) {
      const TrajectoryRecord& record = run->points[i].trajectory;
      const std::int32_t span = record.crossing.span;
      if (!record.has_any_flag(TrajectoryRecord::kFirstCrossing) || span < 1 ||
          i + span > run->count) {
        continue;
      }
      // The loop's result: the mask of its side as it stands with the loop
      // added, and 0 for the other side.
      const std::uint32_t bits = loop_bits(record.crossing, box.width(), box.height());
      const bool marked = record.crossing.turn_marker != 0;
      std::uint32_t& side = marked ? masks.marked : masks.other;
      std::uint32_t result_marked = 0;
      std::uint32_t result_other = 0;
      if (bits != 0) {
        side |= bits;
        (marked ? result_marked : result_other) = side;
      }
      if (!one_run) continue;
      if (i <= 1) {
        masks.start_marked = result_marked;
        masks.start_other = result_other;
      }
      if (i + span + 2 > run->count) {
        masks.end_marked = result_marked;
        masks.end_other = result_other;
      }
    }
  }
  geometry.feature_masks = masks;
  return kOk;
}

}  // namespace inkrec

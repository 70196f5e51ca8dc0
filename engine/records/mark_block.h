// MarkBlock: the measures of a figure's ink as a mark (a dot, a dash, an
// accent, a comma) that the letter evaluation and the rules compare and
// that the preparation of the geometry does not compute.
//
// GlyphGeometry builds it on first read from the runs it was prepared from
// (GlyphGeometry::ensure_block_m). The ink is read in run order: its first
// point is the first point of the first non-empty run and its last point
// the last point of the last non-empty run; the path joins the runs' own
// segments and never the gap between two runs. Directions are whole
// degrees 0..359 (0 along +x, 90 downward); every value is saturated to 16
// bits.
#pragma once

#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/records/point_run.h"

namespace inkrec {

struct MarkBlock {
  // Rise of the ink from its first to its last point, in percent of the
  // box height: (first y - last y) * 100 / height; positive when the ink
  // ends higher than it starts (e1).
  std::int16_t rise = 0;
  // Extent of the ink along the mark angle (the overall direction) and
  // across it: the spread of the points' projections on that direction
  // and on its normal (e2, e4). A straight dash has a long extent along
  // and almost none across; a dot or a ring has both about equal.
  std::int16_t extent_along = 0;
  std::int16_t extent_across = 0;
  // Path length per chord in percent: the summed octagonal lengths of the
  // segments * 100 / the octagonal length from the first to the last point
  // (at least 1); 100 for a straight stroke, larger the more it winds (e3).
  std::int16_t winding = 100;
  // The summed absolute turning between consecutive segments of positive
  // length, in degrees: 0 for a straight stroke, about 90 for a right
  // angle, about 360 for a closed ring (the bend).
  std::int16_t bend = 0;
  // The octagonal length of the box's diagonal (the mark length).
  std::int16_t length = 0;
  // Direction of the chord from the first to the last point (the slant
  // value of the slant block; 0 for a dot).
  std::int16_t chord_direction = 0;
  // Direction of the last quarter of the ink: from the point a quarter of
  // the last run's points before its end to its last point (the second
  // angle; the chord direction for runs of fewer than 2 points).
  std::int16_t end_direction = 0;
  // The loops the ink closes (its points with a first crossing partner),
  // counted by the loop's turn marker: turning positive and negative (the
  // two values handed to the symbol geometry check).
  std::int16_t positive_loops = 0;
  std::int16_t negative_loops = 0;
  // The number of points of all runs (the count field).
  std::int16_t point_count = 0;
  // The path length moving right, down, left and up: the octagonal length
  // of every segment added to the side its direction faces (0..44 and
  // 315..359 right, 45..134 down, 135..224 left, 225..314 up).
  std::int16_t sides[4] = {0, 0, 0, 0};
};

// Measures the runs, whose box is `box`. 0; -2 for a null run; -8 when no
// run has points (the block is then left as it was).
int compute_mark_block(RunList runs, const Box16& box, std::int16_t mark_angle, MarkBlock& out);

}  // namespace inkrec

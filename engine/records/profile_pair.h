// The comparison of the profiles of two neighbouring figures, a on the left
// and b: the gaps between a's right edge and b's left edge row by row over
// their common rows, and what the letter and pair rules derive from them.
//
// A FigureView lends a figure's raster, box and centroid to the comparison;
// it owns nothing and must not outlive the figure. Every result field is
// saturated to 16 bits; 32767 marks a least value or mean that was never
// measured. A figure whose raster is empty contributes no row.
#pragma once

#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/foundation/point.h"
#include "engine/records/profile_raster.h"

namespace inkrec {

class FigureGroup;
struct StrokeRecord;

struct FigureView {
  // The figure's raster (built on first use), box and centroid.
  void init(StrokeRecord& figure);
  // The same of a group's geometry over its figures: 0, or -2 when the
  // group has no geometry or a null figure, -1 when its runs cannot be
  // listed (the view is then left as it was).
  int init_from_element(FigureGroup& group);

  const ProfileRaster* raster = nullptr;
  Box16 box;
  const PackedPoint* centroid = nullptr;
};

// Per common row: aL, aR the least and greatest x of a's ink, bL, bR those
// of b; gap = bL - aR, left-edge distance bL - aL, right-edge distance
// bR - aR, outer distance bR - aL.
struct ProfilePairMetrics {
  static constexpr std::int16_t kUnmeasured = 32767;

  // Every field back to its starting value.
  void init() { *this = ProfilePairMetrics(); }

  std::int16_t least_gap = kUnmeasured;             // 0
  std::int16_t least_left_distance = kUnmeasured;   // 1
  std::int16_t least_right_distance = kUnmeasured;  // 2
  std::int16_t least_outer_distance = kUnmeasured;  // 3
  std::int16_t gap_per_wider_width = kUnmeasured;   // 4: least gap * 100 / wider width
  std::int16_t gap_per_left_width = kUnmeasured;    // 5: least gap * 100 / a's width
  std::int16_t clipped_mean_gap = kUnmeasured;      // 6: at most 1000
  std::int16_t representative_gap = kUnmeasured;    // 7
  std::int16_t mean_gap_at_least_0 = kUnmeasured;   // 8: negative gaps counted as 0
  std::uint8_t touching = 0;                        // 9: least gap below 2
  std::int16_t common_rows_per_left_height = 0;     // 10: common rows * 100 / a's height
  std::int16_t common_rows_per_right_height = 0;    // 11: common rows * 100 / b's height
  std::int16_t closed_rows = 0;                     // 12: common rows whose gap is below 1
  std::int16_t mean_left_distance = kUnmeasured;    // 13
  std::int16_t mean_right_distance = kUnmeasured;   // 14
  std::int16_t mean_outer_distance = kUnmeasured;   // 15
  std::int16_t mean_gap = kUnmeasured;              // 16
};

// Compares the figures over the rows their boxes share. Fields 0 to 3 start
// at 32767 and the two common-row shares are always written (negative when
// the boxes lie apart vertically, 0 for a figure with an empty raster);
// nothing else is written when no row is shared. Rows where either figure
// has no ink are left out of the least values and sums, but the means are
// taken over all common rows.
void measure_profile_pair(const FigureView& a, const FigureView& b, ProfilePairMetrics& out);

// The same measured between the facing halves of the figures: in every row
// a's right edge is taken at least at a's mean centre over the common rows,
// and b's left edge at most at b's. Means are taken over the rows where both
// figures have ink (left as they were when there is none). false, after
// writing fields 0 to 3 and the two shares, when either figure has no ink on
// a common row; else true.
bool measure_profile_gaps(const FigureView& a, const FigureView& b, ProfilePairMetrics& out);

}  // namespace inkrec

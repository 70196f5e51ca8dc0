// GlyphGeometry: the geometric description of one figure (a stroke, a piece
// of a stroke, or strokes taken together as one letter candidate), embedded
// in every stroke and figure record.
//
// prepare() computes it from the figure's runs: the extreme points, the
// length-weighted centroids and ink length, and, through the shape analysis
// (glyph_direction.h), the direction statistics, shape class and feature
// masks. Five costlier blocks (the profile raster, its gap statistics, the
// mean widths, the descent block and the mark block) are computed on first
// read from the run
// list the reader gives and kept behind their flags until the next prepare()
// or reset(). The reference band (the text line's baseline pair) is set once
// and survives both. The extreme points refer to point records the geometry
// does not own; it owns its raster and the descent block's arrays. All
// coordinates are tablet units, y growing downward.
#pragma once

#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/point.h"
#include "engine/records/mark_block.h"
#include "engine/records/point_run.h"
#include "engine/records/profile_raster.h"

namespace inkrec {

// Directions are whole degrees; weights are per mille of the ink length.
struct DirectionStatistics {
  // A figure with no segment to measure (a dot): the "none" values of the
  // means (horizontal -100, vertical 90, diagonals 0), no weight, a
  // steepness weight of 1, and the rest as constructed.
  static DirectionStatistics no_direction();

  std::int16_t horizontal_direction = 0;  // -100 when none
  std::int16_t horizontal_weight = 0;
  std::int16_t vertical_direction = 0;  // the combined vertical direction once analysed
  std::int16_t vertical_weight = 0;
  std::int16_t first_diagonal_direction = 0;  // folded directions 30..59; 0 when none
  std::int16_t first_diagonal_weight = 0;
  std::int16_t second_diagonal_direction = 0;  // folded directions 120..149; 0 when none
  std::int16_t second_diagonal_weight = 0;
  std::int16_t steepness_weight = 0;
  std::int16_t compactness = 0;  // percent; a line 0, an arc about 90, a ring about 300
  std::int16_t aspect = 0;       // box height * 100 / box width, both counting their bounds
  std::uint16_t compactness_score = 0;
  std::uint16_t spread_score = 0;
  std::int32_t shape_class = -1;           // -1 none, 0 tiny, 1..16 by direction and ends
  std::int32_t shape_confidence = 0;       // 0..8200
  std::int32_t deferred_shape_class = -1;  // -1: none
  std::int16_t overall_direction = 0;      // -30..179
  std::int16_t length_per_diameter = 0;    // ink length * 100 / diameter
  std::uint16_t diameter = 2;
};

// Turns of the vertical movement.
struct ReversalCounts {
  std::uint16_t up_to_down = 0;
  std::uint16_t down_to_up = 0;
};

// Where the figure's self-crossing loops lie, by loop kind; "marked" are the
// loops whose turn marker is set.
struct FeatureMasks {
  std::uint32_t marked = 0;
  std::uint32_t other = 0;
  std::uint32_t start_marked = 0;  // loops at the first two points of a one-run figure
  std::uint32_t start_other = 0;
  std::uint32_t end_marked = 0;  // loops that end at one of its last two points
  std::uint32_t end_other = 0;
};

// The y-band of the text line. Its bounds count as set when neither is -1;
// is_set guards it against being replaced.
struct ReferenceBand {
  bool has_bounds() const { return top != -1 && bottom != -1; }

  std::int16_t top = -1;
  std::int16_t bottom = -1;
  std::uint8_t is_set = 0;
};

// Mean ink widths in percent of the box: over all rows, over all columns
// (heights), and over the upper, middle and lower third of the rows.
struct WidthBlock {
  std::int16_t rows = 0;
  std::int16_t columns = 0;
  std::int16_t upper_rows = 0;
  std::int16_t middle_rows = 0;
  std::int16_t lower_rows = 0;
};

// One descending run of a figure's ink (indices into its run's points).
struct DescentEntry {
  std::int16_t start = 0;
  std::int16_t end = 0;
  std::int16_t initial_direction = -1;
  std::int16_t least_direction = 0;
  std::int16_t greatest_direction = 0;
  std::int16_t mean_direction = 0;  // weighted by the step lengths
  std::int16_t weight = 0;
  std::int16_t spread = 0;
  const PointRecord* points = nullptr;
};

// The descending runs of a figure and their classification. An entry that
// none of the four index lists names is ordinary.
struct DescentBlock {
  DescentBlock() = default;
  DescentBlock(DescentBlock&&) noexcept = default;
  DescentBlock& operator=(DescentBlock&&) noexcept = default;
  DescentBlock(const DescentBlock&) = delete;
  DescentBlock& operator=(const DescentBlock&) = delete;

  // Becomes a copy of other: 0, or -1 with this block unchanged.
  int copy(const DescentBlock& other);
  // No entries, both counts -1, masks 0, lists empty; storage is kept.
  void reset();
  // Whether an index list names entry i.
  bool is_classified(std::uint32_t i) const;

  DynArray<DescentEntry> entries;
  std::int32_t ordinary_count = -1;   // -1 until computed
  std::int32_t descending_runs = -1;  // runs met, long or short; -1 until computed
  std::uint8_t upper_mask = 0;        // over the first eight ordinary entries
  std::uint8_t lower_mask = 0;
  DynArray<std::uint32_t> close_entries;      // one of each pair of close neighbours
  DynArray<std::uint32_t> turned_entries;     // turned against the vertical direction
  DynArray<std::uint32_t> short_entries;      // short in a tall figure, or a short high last one
  DynArray<std::uint32_t> high_last_entries;  // a last entry standing high above the others
};

class GlyphGeometry {
 public:
  // The extreme points, in this order.
  enum Extreme {
    kGreatestX,
    kGreatestXPlusY,
    kGreatestY,
    kGreatestYMinusX,
    kLeastX,
    kLeastXPlusY,
    kLeastY,
    kLeastYMinusX,
    kExtremeCount
  };

  GlyphGeometry() = default;
  GlyphGeometry(GlyphGeometry&&) noexcept = default;
  GlyphGeometry& operator=(GlyphGeometry&&) noexcept = default;
  GlyphGeometry(const GlyphGeometry&) = delete;
  GlyphGeometry& operator=(const GlyphGeometry&) = delete;

  // Becomes a copy of other, arrays duplicated: 0, or -1 with this geometry
  // unchanged.
  int copy(const GlyphGeometry& other);

  // Computes the geometry of the figure made of the runs, then resets the
  // blocks. With the trajectory mode, segment weights and directions come
  // from the point records' steps. A figure with no segment to measure (a
  // dot, or points that never move) gets DirectionStatistics::no_direction()
  // and is prepared like any other. 0; -2 for a missing run; -8 when no run
  // has points (both leave the geometry as it was); otherwise the first
  // error of the shape analysis.
  int prepare(RunList runs, bool trajectory_mode);
  // Extreme points and centroids of one run, then reset(): 0, or -8 for a
  // run without points.
  int prepare_run(PointRun run);
  // Clears the five block flags and empties the raster and the descent
  // block; the next read of each block computes it again.
  void reset();

  // {x of the least-x point, y of the least-y point, x of the greatest-x
  // point, y of the greatest-y point}; all zero before the figure has points.
  Box16 bounding_box() const;

  // Takes the band, flag included, unless a band with its flag set is
  // already there.
  void set_baseline_pair(const ReferenceBand& band);
  const ReferenceBand& reference_band() const { return band_; }

  // The blocks, each computed once from `runs` (the runs the geometry was
  // prepared from). A raster that cannot be sized stays empty.
  const ProfileRaster& ensure_block_a(RunList runs);
  const RasterGaps& ensure_block_b(RunList runs);
  const WidthBlock& ensure_block_c(RunList runs);
  // The descent block for letters of the reference size, with neighbouring
  // runs closer than the closeness distance counted as close.
  const DescentBlock& ensure_block_d(RunList runs, int reference_size, int closeness);

  // The measures of the ink as a mark (mark_block.h).
  const MarkBlock& ensure_block_m(RunList runs);

  // Appends the ordinary entries of the descent block: 0; -2 while the
  // block is not computed; -1 when the list cannot grow.
  int unclassified_entries(DynArray<DescentEntry>& out) const;
  // The first ordinary entry of the computed descent block; null when it
  // holds none or is not computed.
  const DescentEntry* first_unclassified_entry() const;

  // The blocks as they stand, computed or not.
  bool raster_ready() const { return raster_ready_; }
  const ProfileRaster& raster() const { return raster_; }
  bool widths_ready() const { return widths_ready_; }
  const WidthBlock& widths() const { return widths_; }
  bool gaps_ready() const { return gaps_ready_; }
  const RasterGaps& gaps() const { return gaps_; }
  bool descent_ready() const { return descent_ready_; }
  const DescentBlock& descent() const { return descent_; }
  bool mark_ready() const { return mark_ready_; }
  const MarkBlock& mark() const { return mark_; }

  // Written by prepare() and the shape analysis.
  const PointRecord* extremes[kExtremeCount] = {};
  PackedPoint centroid;       // length-weighted mean point of the ink
  PackedPoint band_centroid;  // the same over the ink inside the reference band
  std::uint32_t ink_length = 0;
  DirectionStatistics direction;
  ReversalCounts reversals;
  FeatureMasks feature_masks;

 private:
  int find_extreme_points(RunList runs);
  void compute_centroids(RunList runs);

  ReferenceBand band_;
  bool raster_ready_ = false;
  ProfileRaster raster_;
  bool widths_ready_ = false;
  WidthBlock widths_;
  bool gaps_ready_ = false;
  RasterGaps gaps_;
  bool descent_ready_ = false;
  DescentBlock descent_;
  bool mark_ready_ = false;
  MarkBlock mark_;
};

}  // namespace inkrec

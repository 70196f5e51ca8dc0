// The RAF feature vector of a figure and the work area its extractors share.
//
// A RafVector holds one 16-bit counter per cell of every RAF block of the
// database and, once computed, the ascending indices of its non-zero
// counters. A RafContext pairs it with the RafWorkArea: the figure's strokes
// in the normalised frame (coordinates 0..48), their raster and segment
// records, the occupancy grid and the band tables of the RAF being computed.
// The context is reused figure after figure; once its arrays have grown, a
// figure costs no allocation.
#pragma once

#include <array>
#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/point.h"
#include "engine/foundation/ptr_array.h"
#include "engine/foundation/run_counter.h"
#include "engine/foundation/segments.h"
#include "engine/foundation/stroke.h"

namespace inkrec {

// The normalised frame: coordinates 0..kRafFrameLast on both axes.
inline constexpr int kRafFrameLast = 48;
inline constexpr int kRafFrameSize = kRafFrameLast + 1;
// The occupancy grid is kOccupancyCells x kOccupancyCells cells.
inline constexpr int kOccupancyCells = 12;

// What one segment of the strokes (or one raster point) looks like. The
// chord fields are set only in the raster records, by the chord feature.
struct SegmentRecord {
  std::int16_t direction = 0;  // degrees 0..359, 0 for two equal points
  std::int16_t turn = 0;       // from the previous segment's direction, -180..180
  std::int16_t length = 0;     // octagonal
  std::int16_t chord_turn = 0;
  std::int32_t smoothed_turn = 0;
  std::int16_t chord_weight = 0;
  std::int16_t forward_chord = 0;
  std::int16_t back_chord = 0;
  std::int32_t chord_direction = 0;
};

// Two strokes i > j: the four polyline distances between stroke i and
// stroke j, and the direction from the centroid of j to that of i.
struct StrokePairEntry {
  std::int16_t distances[4] = {kNoDistance, kNoDistance, kNoDistance, kNoDistance};
  std::int16_t direction = 0;
};

// Whether a piece cut out of a longer stroke starts at the stroke's first
// point and ends at its last (only stroke starts and ends that are real are
// counted by the end feature).
struct RafEndSwitches {
  std::uint8_t starts = 1;
  std::uint8_t ends = 1;
};

struct RafVector {
  // Both arrays become n zero entries: 0, or -1.
  int resize(std::uint32_t n);
  // `nonzero` empty with room for n, `values` n zeros: 0, or -1.
  int reset(std::uint32_t n);

  DynArray<std::uint16_t> values;
  DynArray<std::uint16_t> nonzero;
};

using BandTable = std::array<std::int32_t, kRafFrameSize>;

// The band and neighbour tables of one grid shape, as set_raf_grid fills
// them for the figure's raster.
struct RafGrid {
  std::int32_t columns = 0;
  std::int32_t rows = 0;
  BandTable column_band{};
  BandTable column_neighbour{};
  BandTable row_band{};
  BandTable row_neighbour{};
};

// The grids of the figure being computed, one per shape met so far. They
// hold while the raster stays; preparing the work area empties them.
struct RafGridCache {
  static constexpr int kShapes = 4;

  // The grid of that shape; null when none is kept.
  const RafGrid* find(int columns, int rows) const;
  // Keeps a grid (nothing when every place is taken).
  void keep(const RafGrid& grid);
  void clear() { count = 0; }

  std::array<RafGrid, kShapes> grids{};
  int count = 0;
};

struct RafWorkArea {
  // Everything to zero length (keeping the buffers), the occupancy grid
  // cleared, the run counters deleted.
  void empty();
  // Frees every buffer.
  void release();

  // The grid of the RAF being computed (set_raf_grid).
  BandTable column_band{};
  BandTable column_neighbour{};
  BandTable row_band{};
  BandTable row_neighbour{};
  std::int32_t columns = 0;
  std::int32_t rows = 0;
  RafGridCache grids;

  // Filled by the caller (or by RafContext::load_strokes): every stroke of at
  // least two points, normalised so that their box has its corner at (0, 0),
  // and the same strokes scaled by 65/48.
  DynArray<StrokeView> strokes;
  DynArray<StrokeView> scaled_strokes;

  // The raster of `strokes` relative to their box, and for every stroke
  // point (all strokes concatenated) the index of the first raster point of
  // the segment that starts there (one past the stroke's raster for its
  // last point).
  DynArray<PackedPoint> points;
  DynArray<std::uint16_t> raster_start;
  DynArray<PackedPoint> scaled_points;
  Box16 raster_box;
  PackedPoint raster_mean;

  // One record per stroke point (each stroke closed by a zero record), and
  // one per raster point (closed by a zero record).
  DynArray<SegmentRecord> segments;
  DynArray<SegmentRecord> raster_segments;

  // occupancy[row][column]: 1 where a cell of the figure box holds a raster
  // point; crossing_codes: one per raster point.
  std::array<std::array<std::uint8_t, kOccupancyCells>, kOccupancyCells> occupancy{};
  DynArray<std::uint8_t> crossing_codes;

  DynArray<PackedPoint> centroids;
  // Indexed by pair_index over the strokes.
  DynArray<StrokePairEntry> stroke_pairs;
  // The vertical runs of each stroke.
  PtrArray<RunCounter> stroke_runs{PtrArray<RunCounter>::kDefaultCapacity, true};

  // The points `strokes` and `scaled_strokes` look at when load_strokes
  // filled them.
  DynArray<PackedPoint> stroke_points;
  DynArray<PackedPoint> scaled_stroke_points;
};

class RafContext {
 public:
  // Frees everything.
  void clear();
  // Empties the work area only; the vector keeps its counters.
  void release_work_area() { work.empty(); }
  // RafVector::reset (n), then the work area emptied.
  int reset(std::uint32_t n);

  // Copies the strokes (normalised: their box has its corner at (0, 0) and
  // lies within 0..48; each of at least two points) into the work area as
  // `strokes`, and their 65/48 scaling as `scaled_strokes`.
  // 0; -1 out of memory; -2 for a null stroke or one of fewer than two
  // points.
  int load_strokes(const StrokeList& normalised);

  RafVector vector;
  RafWorkArea work;
};

}  // namespace inkrec

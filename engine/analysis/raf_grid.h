// The band grid of one RAF and the writing of counters into its block.
//
// set_raf_grid divides the raster box into columns x rows bands (with the
// column boundaries of a 3 x 3 grid moved toward the strokes' upright
// parts) and marks, for the coordinates on either side of a boundary, the
// band across it. A RafBlock writes only inside its own Raf block of the
// feature vector; count_point adds a raster point to the grid.
#pragma once

#include <cstdint>

#include "engine/analysis/raf_context.h"
#include "engine/database/data_records.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/point.h"

namespace inkrec {

// Fills the band and neighbour tables of the work area for a grid of
// `columns` x `rows` over its raster box. 7004 / 7003 when the raster is 50
// or more high / wide; 7005 for rows outside 2..6; 7006 for 6 rows or no
// column.
int set_raf_grid(RafWorkArea& work, int columns, int rows);
// set_raf_grid through the work area's grid cache: a shape already set for
// this raster is copied back instead of computed again. The same statuses.
int set_raf_grid_cached(RafWorkArea& work, int columns, int rows);

// The counters of one Raf record: nx x ny cells from `offset`, holding
// `planes` kinds of counter per grid cell.
class RafBlock {
 public:
  RafBlock(DynArray<std::uint16_t>& values, const Raf& raf, int planes = 1)
      : values_(values), offset_(raf.offset), nx_(raf.nx), ny_(raf.ny), planes_(planes) {}

  int nx() const { return nx_; }
  int ny() const { return ny_; }
  int cell_count() const { return nx_ * ny_; }
  // Grid columns of the block: nx / planes.
  int columns() const { return planes_ == 0 ? 0 : nx_ / planes_; }

  // Adds 1 to counter `index` of the block (saturating). 7007 when the index
  // lies outside the block or the block outside the vector.
  int add(std::int64_t index);
  // Adds 1 to the counter of plane, row band and column band:
  // plane * (nx * ny) / planes + row * nx / planes + column. 7002 for a row
  // outside 0..ny - 1, 7006 for a column outside 0..columns - 1, 7007 for a
  // plane outside the block.
  int add_cell(int plane, int row, int column);

 private:
  DynArray<std::uint16_t>& values_;
  std::int64_t offset_;
  int nx_;
  int ny_;
  int planes_;
};

// Which neighbouring bands a point on a boundary also counts in.
enum class BandNeighbours { kBoth, kColumnOnly };

// Whether p's row can be counted: 7001 for y outside 0..48, 7002 for a row
// band outside 0..5, else 0.
int check_point_row(const RafWorkArea& work, PackedPoint p);

// Counts raster point p in `plane` at (column band, row band) and in the
// neighbouring bands asked for. 7001 for y outside 0..48, 7002 for a row
// band outside 0..5, 7003 for x outside 0..48; errors of add_cell.
int count_point(const RafWorkArea& work, RafBlock& block, int plane, PackedPoint p,
                BandNeighbours neighbours = BandNeighbours::kBoth);

}  // namespace inkrec

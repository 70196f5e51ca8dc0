// Line-crossing features on fixed grids of the raster box:
// "04-CrossVLines" counts, per column, the runs of cells touched by level
// strokes; "17-CrossLineDn" counts, per row, the runs of cells touched by
// downward strokes.

#include <algorithm>
#include <array>

#include "engine/analysis/raf_extractors.h"
#include "engine/analysis/raf_grid.h"
#include "engine/analysis/raf_walk.h"

namespace inkrec {
namespace {

constexpr int kGridSideLimit = 48;

bool is_level(int direction) {
  return direction <= 45 || (direction >= 136 && direction <= 225) || direction >= 316;
}

bool is_downward(int direction) { return direction >= 51 && direction <= 130; }

// A grid of flags over the raster box (at most 48 units each way).
template <int Columns, int Rows>
class FlagGrid {
 public:
  explicit FlagGrid(const Box16& raster_box)
      : origin_{raster_box.left, raster_box.top},
        width_(std::min(raster_box.width(), kGridSideLimit)),
        height_(std::min(raster_box.height(), kGridSideLimit)) {}

  // Marks the cell of p; -3 when it falls outside the grid.
  int mark(PackedPoint p) {
    if (width_ < 1 || height_ < 1) return kUndocumented;
    const int column = (p.x - origin_.x) * Columns / width_;
    const int row = (p.y - origin_.y) * Rows / height_;
    if (column < 0 || column >= Columns || row < 0 || row >= Rows) return kUndocumented;
    cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = true;
    return kOk;
  }

  // Marks the cells of the raster points of every segment whose direction
  // passes the test.
  template <typename Test>
  int mark_segments(const RafWorkArea& work, Test test) {
    return for_each_segment(work, [&](const SegmentRecord& segment, RasterRange range) {
      if (!test(segment.direction)) return kOk;
      for (std::uint32_t i = range.begin; i < range.end; ++i) {
        if (const int status = mark(work.points[i]); status != kOk) return status;
      }
      return kOk;
    });
  }

  int column_runs(int column) const {
    int runs = 0;
    for (int row = 0; row < Rows; ++row) {
      if (at(column, row) && (row == 0 || !at(column, row - 1))) ++runs;
    }
    return runs;
  }

  int row_runs(int row) const {
    int runs = 0;
    for (int column = 0; column < Columns; ++column) {
      if (at(column, row) && (column == 0 || !at(column - 1, row))) ++runs;
    }
    return runs;
  }

 private:
  bool at(int column, int row) const {
    return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  }

  PackedPoint origin_;
  int width_;
  int height_;
  std::array<std::array<bool, Columns>, Rows> cells_{};
};

}  // namespace

int count_crossed_vertical_lines(const RafDescriptor& descriptor, RafContext& context) {
  constexpr int kColumns = 6;
  FlagGrid<kColumns, 12> grid(context.work.raster_box);
  if (const int status = grid.mark_segments(context.work, is_level); status != kOk) return status;
  RafBlock block(context.vector.values, descriptor.raf);
  const std::int64_t cells = block.cell_count();
  for (int column = 0; column < kColumns; ++column) {
    const std::int64_t runs =
        std::min<std::int64_t>(grid.column_runs(column), cells / kColumns - 1);
    if (const int status = block.add(cells * runs / 4 + column); status != kOk) return status;
  }
  return kOk;
}

int count_downward_crossings(const RafDescriptor& descriptor, RafContext& context) {
  constexpr int kRows = 6;
  constexpr int kMostRuns = 5;
  FlagGrid<24, kRows> grid(context.work.raster_box);
  if (const int status = grid.mark_segments(context.work, is_downward); status != kOk)
    return status;
  RafBlock block(context.vector.values, descriptor.raf);
  for (int row = 0; row < kRows; ++row) {
    const int runs = std::min(grid.row_runs(row), kMostRuns);
    if (const int status = block.add(std::int64_t{block.ny()} * runs + row); status != kOk) {
      return status;
    }
  }
  return kOk;
}

}  // namespace inkrec

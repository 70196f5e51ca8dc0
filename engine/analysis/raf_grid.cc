// The band grid: row and column boundaries, the column peaks of a 3 x 3
// grid, neighbour tables, and counting into a Raf block.

#include "engine/analysis/raf_grid.h"

#include <algorithm>
#include <array>

#include "engine/foundation/status.h"

namespace inkrec {
namespace {

constexpr int kRasterLimit = 50;  // a raster this wide or high is not normalised
constexpr int kMaxRowBand = 5;
constexpr int kMaxPeaks = 5;

// Boundaries b[1..bands-1] (b[0] = 0); band i runs from b[i] up to b[i+1].
struct Bands {
  int count = 1;
  std::array<int, kRafFrameSize + 1> bounds{};

  int band_of(int v) const {
    for (int i = 1; i < count; ++i) {
      if (v < bounds[static_cast<std::size_t>(i)]) return i - 1;
    }
    return count - 1;
  }
};

// Boundaries q, 2q, ... each one more when r > 1, and one more again with
// five bands when r = 4.
Bands even_bands(int extent, int count) {
  Bands bands;
  bands.count = count;
  const int q = extent / count;
  const int r = extent % count;
  for (int i = 1; i < count && i < static_cast<int>(bands.bounds.size()); ++i) {
    int bound = i * q;
    if (count >= 4 && r > 1) ++bound;
    if (count == 5 && r == 4) ++bound;
    bands.bounds[static_cast<std::size_t>(i)] = bound;
  }
  return bands;
}

void fill_rows(RafWorkArea& work, int height, int rows) {
  if (rows == 3) {
    const int r = height % 3;
    const int n = r > 0 ? height - r + 1 : height;
    for (int y = 0; y < kRafFrameSize; ++y) {
      work.row_band[static_cast<std::size_t>(y)] = y < n ? 3 * y / n : 2;
    }
    return;
  }
  const Bands bands = even_bands(height, rows);
  for (int y = 0; y < kRafFrameSize; ++y)
    work.row_band[static_cast<std::size_t>(y)] = bands.band_of(y);
}

Bands column_bands(int width, int columns) {
  if (columns == 3 || columns > 5) {
    Bands bands;
    bands.count = std::min(columns, static_cast<int>(bands.bounds.size()));
    const int q = width / columns;
    for (int i = 1; i < bands.count; ++i) bands.bounds[static_cast<std::size_t>(i)] = i * q;
    if (columns == 3 && width % 3 > 0) {
      bands.bounds[1] = q + 1;
      bands.bounds[2] = width % 3 == 2 ? 2 * q + 2 : 2 * q + 1;
    }
    return bands;
  }
  return even_bands(width, columns);
}

// The peaks of one row band's column profile.
struct Peaks {
  int count = 0;
  int recorded = 0;
  std::array<int, kMaxPeaks> height{};
  std::array<int, kMaxPeaks> position{};
};

class PeakScan {
 public:
  PeakScan(int threshold, int run) : threshold_(threshold), run_(run), level_(threshold) {}

  void step(int x, int value) {
    if (value <= level_) {
      ++low_;
      if (peaks_.count > peaks_.recorded && low_ >= run_) record();
      return;
    }
    const bool new_peak = (peaks_.count == 0 && x <= run_) || low_ > run_;
    level_ = value;
    position_ = x;
    low_ = 0;
    if (new_peak) ++peaks_.count;
  }

  Peaks finish() {
    if (peaks_.count > peaks_.recorded) record();
    return peaks_;
  }

 private:
  void record() {
    const int slot = std::min(peaks_.count - 1, kMaxPeaks - 1);
    peaks_.height[static_cast<std::size_t>(slot)] = level_;
    peaks_.position[static_cast<std::size_t>(slot)] = position_;
    peaks_.recorded = slot + 1;
    level_ = threshold_;
  }

  int threshold_;
  int run_;
  int level_;
  int low_ = 0;
  int position_ = 0;
  Peaks peaks_;
};

// Moves the two column boundaries of a 3 x 3 grid toward the peaks of the
// raster's column profiles in the three row bands.
void adjust_to_column_peaks(const RafWorkArea& work, int width, int height, Bands& columns) {
  constexpr int kRows = 3;
  std::array<std::array<int, kRafFrameSize + 1>, kRows> counts{};
  for (const PackedPoint p : work.points) {
    if (p.x < 0 || p.x > kRafFrameLast || p.y < 0 || p.y > kRafFrameLast) continue;
    const int band = work.row_band[static_cast<std::size_t>(p.y)];
    if (band >= 0 && band < kRows)
      ++counts[static_cast<std::size_t>(band)][static_cast<std::size_t>(p.x)];
  }
  const int threshold = std::max(4, height / (3 * kRows - 1));
  const int run = std::max(4, width / 6 - 1);
  std::array<Peaks, kRows> peaks;
  int greatest_height = 0;
  int most_peaks = 0;
  for (std::size_t band = 0; band < kRows; ++band) {
    PeakScan scan(threshold, run);
    for (int x = 0; x + 1 < width; ++x) {
      const auto at = static_cast<std::size_t>(x);
      scan.step(x, counts[band][at] + counts[band][at + 1]);
    }
    peaks[band] = scan.finish();
    for (int k = 0; k < peaks[band].recorded; ++k) {
      greatest_height = std::max(greatest_height, peaks[band].height[static_cast<std::size_t>(k)]);
    }
    most_peaks = std::max(most_peaks, peaks[band].count);
  }
  if ((most_peaks != 2 && most_peaks != 3) || greatest_height < 2 * threshold) return;
  const int tall = 2 * greatest_height / 3;
  const int q = width / 3;
  int first = 0;
  int second = 0;
  if (most_peaks == 3) {
    const Peaks& middle = peaks[1];
    if (middle.count != 3 || middle.height[0] < tall || middle.height[2] < tall ||
        middle.position[2] - middle.position[0] <= q) {
      return;
    }
    first = middle.position[0];
    second = middle.position[2];
  } else {
    const Peaks* found = nullptr;
    for (const std::size_t band : {std::size_t{1}, std::size_t{0}, std::size_t{2}}) {
      const Peaks& candidate = peaks[band];
      if (candidate.count == 2 && candidate.height[0] >= tall && candidate.height[1] >= tall) {
        found = &candidate;
        break;
      }
    }
    if (found == nullptr || found->position[1] - found->position[0] <= q / 2) return;
    first = found->position[0];
    second = found->position[1];
  }
  columns.bounds[1] = std::max(columns.bounds[1], first);
  columns.bounds[2] = std::min(columns.bounds[2], second);
}

void fill_neighbours(const BandTable& bands, int band_count, BandTable& neighbours) {
  neighbours.fill(-1);
  int band = 0;
  for (std::size_t i = 1; i < bands.size(); ++i) {
    if (bands[i] == band) continue;
    ++band;
    if (band < band_count) {
      neighbours[i - 1] = bands[i];
      neighbours[i] = bands[i - 1];
    }
  }
}

}  // namespace

int set_raf_grid(RafWorkArea& work, int columns, int rows) {
  int width = work.raster_box.width();
  int height = work.raster_box.height();
  if (height >= kRasterLimit) return kRafNotNormalizedY;
  if (width >= kRasterLimit) return kRafNotNormalizedX;
  if (rows < 2 || rows > 6) return kRafSplitY;
  if (rows == 6 || columns < 1) return kRafSplitX;
  width = std::max(width, 3 * columns);
  height = std::max(height, 3 * rows);

  fill_rows(work, height, rows);
  Bands column = column_bands(width, columns);
  if (columns == 3 && rows == 3) adjust_to_column_peaks(work, width, height, column);
  for (int x = 0; x < kRafFrameSize; ++x) {
    work.column_band[static_cast<std::size_t>(x)] = column.band_of(x);
  }
  fill_neighbours(work.row_band, rows, work.row_neighbour);
  fill_neighbours(work.column_band, columns, work.column_neighbour);
  work.columns = columns;
  work.rows = rows;
  return kOk;
}

int set_raf_grid_cached(RafWorkArea& work, int columns, int rows) {
  if (const RafGrid* kept = work.grids.find(columns, rows); kept != nullptr) {
    work.column_band = kept->column_band;
    work.column_neighbour = kept->column_neighbour;
    work.row_band = kept->row_band;
    work.row_neighbour = kept->row_neighbour;
    work.columns = columns;
    work.rows = rows;
    return kOk;
  }
  if (const int status = set_raf_grid(work, columns, rows); status != kOk) return status;
  work.grids.keep(RafGrid{columns, rows, work.column_band, work.column_neighbour, work.row_band,
                          work.row_neighbour});
  return kOk;
}

int RafBlock::add(std::int64_t index) {
  if (index < 0 || index >= cell_count()) return kRafChordBounds;
  const std::int64_t at = offset_ + index;
  if (at >= values_.size()) return kRafChordBounds;
  std::uint16_t& counter = values_[static_cast<std::uint32_t>(at)];
  if (counter < 0xFFFF) ++counter;
  return kOk;
}

int RafBlock::add_cell(int plane, int row, int column) {
  if (row < 0 || row >= ny_) return kRafIndexOutOfY;
  if (column < 0 || column >= columns()) return kRafSplitX;
  if (plane < 0 || plane >= planes_) return kRafChordBounds;
  return add(std::int64_t{plane} * cell_count() / planes_ + std::int64_t{row} * nx_ / planes_ +
             column);
}

int check_point_row(const RafWorkArea& work, PackedPoint p) {
  if (p.y < 0 || p.y > kRafFrameLast) return kRafPointOutOfY;
  const int row = work.row_band[static_cast<std::size_t>(p.y)];
  return row < 0 || row > kMaxRowBand ? kRafIndexOutOfY : kOk;
}

int count_point(const RafWorkArea& work, RafBlock& block, int plane, PackedPoint p,
                BandNeighbours neighbours) {
  if (const int status = check_point_row(work, p); status != kOk) return status;
  const auto y = static_cast<std::size_t>(p.y);
  const int row = work.row_band[y];
  if (p.x < 0 || p.x > kRafFrameLast) return kRafNotNormalizedX;
  const auto x = static_cast<std::size_t>(p.x);
  const int column = work.column_band[x];
  if (const int status = block.add_cell(plane, row, column); status != kOk) return status;
  if (neighbours == BandNeighbours::kBoth && work.row_neighbour[y] >= 0) {
    if (const int status = block.add_cell(plane, work.row_neighbour[y], column); status != kOk) {
      return status;
    }
  }
  if (work.column_neighbour[x] >= 0) return block.add_cell(plane, row, work.column_neighbour[x]);
  return kOk;
}

}  // namespace inkrec

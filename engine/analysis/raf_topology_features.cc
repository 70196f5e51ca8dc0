// Topology features over the 12 x 12 occupancy grid: "11-Topolo7x7" counts
// the branches leaving every occupied cell through the border of its 7 x 7
// window, "12-Topolo3x3" its occupied neighbours. Both place a cell's
// counter in a fixed 3 x 3 layout of four-cell bands.

#include <algorithm>
#include <array>

#include "engine/analysis/raf_extractors.h"
#include "engine/analysis/raf_grid.h"

namespace inkrec {
namespace {

constexpr int kBandCells = 4;
constexpr int kRingCells = 24;
constexpr int kSideCells = 6;
constexpr int kReach = 3;

bool occupied(const RafWorkArea& work, int column, int row) {
  if (column < 0 || column >= kOccupancyCells || row < 0 || row >= kOccupancyCells) return false;
  return work.occupancy[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] != 0;
}

// The border of the 7 x 7 window around (c, r), clockwise from its top-left
// corner: top, right, bottom and left sides of six cells each.
std::array<bool, kRingCells> window_ring(const RafWorkArea& work, int c, int r) {
  std::array<bool, kRingCells> ring{};
  for (int k = 0; k < kSideCells; ++k) {
    ring[static_cast<std::size_t>(k)] = occupied(work, c - kReach + k, r - kReach);
    ring[static_cast<std::size_t>(kSideCells + k)] = occupied(work, c + kReach, r - kReach + k);
    ring[static_cast<std::size_t>(2 * kSideCells + k)] = occupied(work, c + kReach - k, r + kReach);
    ring[static_cast<std::size_t>(3 * kSideCells + k)] = occupied(work, c - kReach, r + kReach - k);
  }
  return ring;
}

// Runs of occupied cells around the ring; a full ring has none.
int ring_branches(const std::array<bool, kRingCells>& ring) {
  int branches = 0;
  for (std::size_t k = 0; k < ring.size(); ++k) {
    if (ring[k] && !ring[(k + ring.size() - 1) % ring.size()]) ++branches;
  }
  return branches;
}

bool side_occupied(const std::array<bool, kRingCells>& ring, int side) {
  const auto first = ring.begin() + side * kSideCells;
  return std::any_of(first, first + kSideCells, [](bool cell) { return cell; });
}

int occupied_neighbours(const RafWorkArea& work, int c, int r) {
  int n = 0;
  for (int dr = -1; dr <= 1; ++dr) {
    for (int dc = -1; dc <= 1; ++dc) {
      if ((dr != 0 || dc != 0) && occupied(work, c + dc, r + dr)) ++n;
    }
  }
  return n;
}

// Adds 1 in `plane` of `planes` at the band of cell (c, r): plane x
// (nx x ny) / planes + (r / 4) x (nx / planes) + c / 4.
int add_at_cell_band(RafBlock& block, int planes, std::int64_t plane_start, int c, int r) {
  const int columns = block.nx() / planes;
  const int column = c / kBandCells;
  const int row = r / kBandCells;
  if (column >= columns) return kRafSplitX;
  if (row >= block.ny()) return kRafIndexOutOfY;
  return block.add(plane_start + std::int64_t{row} * columns + column);
}

// Calls f(c, r) for every occupied cell, rows outermost.
template <typename F>
int for_each_occupied_cell(const RafWorkArea& work, F f) {
  for (int r = 0; r < kOccupancyCells; ++r) {
    for (int c = 0; c < kOccupancyCells; ++c) {
      if (!occupied(work, c, r)) continue;
      if (const int status = f(c, r); status != kOk) return status;
    }
  }
  return kOk;
}

}  // namespace

int count_branches(const RafDescriptor& descriptor, RafContext& context) {
  constexpr int kPlanes = 7;
  RafBlock block(context.vector.values, descriptor.raf);
  const auto plane_start = [&](int plane) {
    return std::int64_t{plane} * block.cell_count() / kPlanes;
  };
  return for_each_occupied_cell(context.work, [&](int c, int r) {
    const std::array<bool, kRingCells> ring = window_ring(context.work, c, r);
    const int branches = ring_branches(ring);
    if (branches == 2) return kOk;
    if (branches != 1) {
      const int plane = branches == 0 ? 0 : branches == 3 ? 5 : 6;
      return add_at_cell_band(block, kPlanes, plane_start(plane), c, r);
    }
    for (int side = 0; side < 4; ++side) {
      if (!side_occupied(ring, side)) continue;
      if (const int status = add_at_cell_band(block, kPlanes, plane_start(1 + side), c, r);
          status != kOk) {
        return status;
      }
    }
    return kOk;
  });
}

int count_occupied_neighbours(const RafDescriptor& descriptor, RafContext& context) {
  constexpr int kPlanes = 8;
  RafBlock block(context.vector.values, descriptor.raf);
  return for_each_occupied_cell(context.work, [&](int c, int r) {
    const int n = std::min(occupied_neighbours(context.work, c, r), kPlanes - 1);
    return add_at_cell_band(block, kPlanes, std::int64_t{block.cell_count()} * n / kPlanes, c, r);
  });
}

}  // namespace inkrec

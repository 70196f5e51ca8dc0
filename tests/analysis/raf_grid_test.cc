#include "engine/analysis/raf_grid.h"

#include <gtest/gtest.h>

#include <vector>

namespace inkrec {
namespace {

RafWorkArea work_of_size(int width, int height) {
  RafWorkArea work;
  work.empty();
  work.raster_box.set(0, 0, width - 1, height - 1);
  return work;
}

std::vector<int> first_of(const BandTable& table, int n) {
  return std::vector<int>(table.begin(), table.begin() + n);
}

TEST(RafGrid, ThreeRowsOfElevenSplitFourThreeFour) {
  RafWorkArea work = work_of_size(20, 11);
  ASSERT_EQ(set_raf_grid(work, 2, 3), kOk);
  EXPECT_EQ(first_of(work.row_band, 11), (std::vector<int>{0, 0, 0, 0, 1, 1, 1, 2, 2, 2, 2}));
  EXPECT_EQ(first_of(work.row_neighbour, 11),
            (std::vector<int>{-1, -1, -1, 1, 0, -1, 2, 1, -1, -1, -1}));
}

TEST(RafGrid, BoundariesOfEachBandCount) {
  const struct {
    int width;
    int columns;
    std::vector<int> starts;  // the first coordinate of every band after the first
  } cases[] = {
      {20, 3, {7, 14}},  // r = 2: q + 1, 2q + 2
      {19, 3, {7, 13}},  // r = 1: q + 1, 2q + 1
      {18, 3, {6, 12}},
      {23, 4, {6, 11, 16}},      // r = 3 > 1: one more each
      {21, 4, {5, 10, 15}},      // r = 1
      {24, 5, {6, 10, 14, 18}},  // r = 4: two more each
      {20, 2, {10}},
      {5, 1, {}},
  };
  for (const auto& c : cases) {
    RafWorkArea work = work_of_size(c.width, 12);
    ASSERT_EQ(set_raf_grid(work, c.columns, 2), kOk) << c.width;
    std::vector<int> starts;
    for (int x = 1; x < c.width; ++x) {
      if (work.column_band[static_cast<std::size_t>(x)] !=
          work.column_band[static_cast<std::size_t>(x - 1)]) {
        starts.push_back(x);
      }
    }
    EXPECT_EQ(starts, c.starts) << c.width << " / " << c.columns;
  }
  // Rows of 4 and 5 follow the same boundaries.
  RafWorkArea work = work_of_size(30, 24);
  ASSERT_EQ(set_raf_grid(work, 1, 5), kOk);
  EXPECT_EQ(work.row_band[5], 0);
  EXPECT_EQ(work.row_band[6], 1);
  EXPECT_EQ(work.row_band[17], 3);
  EXPECT_EQ(work.row_band[18], 4);
}

TEST(RafGrid, RejectsUnnormalisedRastersAndBadSplits) {
  const struct {
    int width;
    int height;
    int columns;
    int rows;
    int status;
  } cases[] = {
      {49, 49, 3, 3, kOk},
      {50, 20, 3, 3, kRafNotNormalizedX},
      {20, 50, 3, 3, kRafNotNormalizedY},
      {20, 20, 3, 6, kRafSplitX},
      {20, 20, 3, 7, kRafSplitY},
      {20, 20, 3, 1, kRafSplitY},
      {20, 20, 0, 3, kRafSplitX},
  };
  for (const auto& c : cases) {
    RafWorkArea work = work_of_size(c.width, c.height);
    EXPECT_EQ(set_raf_grid(work, c.columns, c.rows), c.status) << c.width << "x" << c.height;
  }
}

TEST(RafGrid, ThreeByThreeColumnsMoveTowardUprightStrokes) {
  // Two upright bars through the middle row band at x = 19 and x = 39, and
  // two dots that stretch the raster to 48 x 48.
  RafWorkArea work = work_of_size(48, 48);
  for (int y = 16; y < 32; ++y) {
    work.points.push_back({19, static_cast<std::int16_t>(y)});
    work.points.push_back({39, static_cast<std::int16_t>(y)});
  }
  work.points.push_back({0, 0});
  work.points.push_back({47, 47});
  ASSERT_EQ(set_raf_grid(work, 3, 3), kOk);
  // The column profile sums neighbouring columns, so the peaks stand at 18
  // and 38: the boundaries 16 and 32 become 18 and 32.
  EXPECT_EQ(work.column_band[17], 0);
  EXPECT_EQ(work.column_band[18], 1);
  EXPECT_EQ(work.column_band[31], 1);
  EXPECT_EQ(work.column_band[32], 2);
  EXPECT_EQ(work.column_neighbour[17], 1);
  EXPECT_EQ(work.column_neighbour[18], 0);
  // With 2 rows there is no adjustment.
  ASSERT_EQ(set_raf_grid(work, 3, 2), kOk);
  EXPECT_EQ(work.column_band[16], 1);
}

TEST(RafGrid, KeptGridsMatchFreshOnesShapeForShape) {
  // Upright bars that move the columns of a 3 x 3 grid, and more shapes
  // than the cache keeps.
  const auto with_bars = [] {
    RafWorkArea work = work_of_size(48, 48);
    for (int y = 16; y < 32; ++y) {
      work.points.push_back({19, static_cast<std::int16_t>(y)});
      work.points.push_back({39, static_cast<std::int16_t>(y)});
    }
    return work;
  };
  RafWorkArea cached = with_bars();
  const struct {
    int columns;
    int rows;
  } shapes[] = {{3, 3}, {3, 2}, {3, 3}, {2, 5}, {1, 2}, {4, 4}, {5, 3}, {3, 3}, {5, 3}, {3, 6}};
  for (const auto& shape : shapes) {
    RafWorkArea fresh = with_bars();
    const int status = set_raf_grid(fresh, shape.columns, shape.rows);
    ASSERT_EQ(set_raf_grid_cached(cached, shape.columns, shape.rows), status);
    if (status != kOk) continue;
    EXPECT_EQ(cached.column_band, fresh.column_band) << shape.columns << "x" << shape.rows;
    EXPECT_EQ(cached.column_neighbour, fresh.column_neighbour);
    EXPECT_EQ(cached.row_band, fresh.row_band);
    EXPECT_EQ(cached.row_neighbour, fresh.row_neighbour);
    EXPECT_EQ(cached.columns, shape.columns);
    EXPECT_EQ(cached.rows, shape.rows);
  }
  EXPECT_EQ(cached.grids.count, RafGridCache::kShapes);
}

TEST(RafGrid, BlocksRefuseCountersOutsideThemselves) {
  DynArray<std::uint16_t> values;
  ASSERT_EQ(values.resize(20, 0), kOk);
  RafBlock block(values, Raf{4, 1, 4, 3, 1, 0}, 2);  // 2 planes of 2 columns x 3 rows
  EXPECT_EQ(block.add_cell(1, 2, 1), kOk);
  EXPECT_EQ(values[4 + 6 + 4 + 1], 1);
  EXPECT_EQ(block.add_cell(0, 3, 0), kRafIndexOutOfY);
  EXPECT_EQ(block.add_cell(0, 0, 2), kRafSplitX);
  EXPECT_EQ(block.add_cell(2, 0, 0), kRafChordBounds);
  EXPECT_EQ(block.add(12), kRafChordBounds);
  EXPECT_EQ(block.add(-1), kRafChordBounds);
  // A block that runs past the vector.
  RafBlock beyond(values, Raf{18, 1, 4, 1, 1, 0});
  EXPECT_EQ(beyond.add(1), kOk);
  EXPECT_EQ(beyond.add(2), kRafChordBounds);
}

}  // namespace
}  // namespace inkrec

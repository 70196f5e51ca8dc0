#include "engine/records/profile_raster.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/foundation/allocation.h"
#include "engine/foundation/point_ops.h"
#include "tests/support/ink.h"

namespace inkrec {
namespace {

using test::point_records;
using test::run_of;

// Runs of point records traced into one raster over a box.
class RasterTest : public ::testing::Test {
 protected:
  int build(const std::vector<std::vector<PackedPoint>>& runs, const Box16& box) {
    for (const auto& points : runs) records_.push_back(point_records(points));
    for (auto& records : records_) runs_.push_back(run_of(records));
    for (PointRun& run : runs_) list_.push_back(&run);
    return raster_.build(list_, box);
  }

  void expect_row(int y, std::int16_t least, std::int16_t greatest) {
    EXPECT_EQ(raster_.row_min(y), least) << "row " << y;
    EXPECT_EQ(raster_.row_max(y), greatest) << "row " << y;
  }
  void expect_column(int x, std::int16_t least, std::int16_t greatest) {
    EXPECT_EQ(raster_.column_min(x), least) << "column " << x;
    EXPECT_EQ(raster_.column_max(x), greatest) << "column " << x;
  }

  std::vector<std::vector<PointRecord>> records_;
  std::vector<PointRun> runs_;
  std::vector<PointRun*> list_;
  ProfileRaster raster_;
};

TEST(InterpolationTest, IntegerLineValues) {
  struct Case {
    PackedPoint p0, p1;
    int at;
    std::int16_t y_at_x;
  };
  const Case cases[] = {
      {{0, 0}, {4, 10}, 1, 2},    // 2.5 truncated
      {{0, 0}, {4, -10}, 1, -2},  // toward zero
      {{3, 7}, {3, 10}, 5, 8},    // a vertical segment gives the mean y
      {{3, -7}, {3, -10}, 5, -8}, {{0, 0}, {1, 30000}, 2, 32767},  // saturated
  };
  for (const Case& c : cases) {
    EXPECT_EQ(interpolate_y_at_x(c.p0, c.p1, c.at), c.y_at_x);
    // The same with the axes exchanged.
    const PackedPoint q0{c.p0.y, c.p0.x};
    const PackedPoint q1{c.p1.y, c.p1.x};
    EXPECT_EQ(interpolate_x_at_y(q0, q1, c.at), c.y_at_x);
  }
}

TEST_F(RasterTest, HorizontalSegmentFillsItsRowAndTheColumnsBetween) {
  ASSERT_EQ(build({{{2, 5}, {6, 5}}}, Box16{0, 0, 10, 10}), kOk);
  EXPECT_EQ(raster_.width(), 11u);
  EXPECT_EQ(raster_.height(), 11u);
  expect_row(5, 2, 6);
  expect_row(4, kEmptyMin, kEmptyMax);
  for (int x = 2; x <= 6; ++x) expect_column(x, 5, 5);
  expect_column(1, kEmptyMin, kEmptyMax);
  // Reads outside the raster answer with the markers.
  expect_row(11, kEmptyMin, kEmptyMax);
  expect_column(-1, kEmptyMin, kEmptyMax);
}

TEST_F(RasterTest, DiagonalSegmentsAreInterpolated) {
  ASSERT_EQ(build({{{12, 4}, {6, 8}, {12, 12}}}, Box16{6, 4, 12, 12}), kOk);
  const std::int16_t rows[] = {12, 11, 9, 8, 6, 7, 9, 10, 12};
  for (int y = 4; y <= 12; ++y) expect_row(y, rows[y - 4], rows[y - 4]);
  expect_column(6, 8, 8);
  expect_column(12, 4, 12);
}

TEST_F(RasterTest, LonePointTakesItsOwnRowAndColumn) {
  ASSERT_EQ(build({{{0, 0}, {0, 10}}, {{6, 2}}}, Box16{0, 0, 6, 10}), kOk);
  expect_row(2, 0, 6);
  expect_row(0, 0, 0);
  expect_column(6, 2, 2);
  expect_column(0, 0, 10);
}

TEST_F(RasterTest, InkOutsideTheBoxEmptiesTheRaster) {
  const std::vector<std::vector<PackedPoint>> cases[] = {
      {{{2, 20}, {6, 20}}},  // a horizontal segment below the box
      {{{20, 2}, {20, 6}}},  // a vertical segment right of it
      {{{0, 0}, {20, 20}}},  // a slanted one leaving it
      {{{0, 0}, {5, 5}}, {{-1, 3}}},
  };
  for (const auto& runs : cases) {
    records_.clear();
    runs_.clear();
    list_.clear();
    ASSERT_EQ(build(runs, Box16{0, 0, 10, 10}), kOk);
    EXPECT_TRUE(raster_.empty());
    EXPECT_EQ(raster_.top(), -32768);
    expect_row(0, kEmptyMin, kEmptyMax);
  }
}

TEST_F(RasterTest, BoxWithoutRowsGivesAnEmptyRaster) {
  ASSERT_EQ(build({{{5, 5}}}, Box16{10, 0, 0, 10}), kOk);
  EXPECT_TRUE(raster_.empty());
  expect_row(5, kEmptyMin, kEmptyMax);
  expect_column(5, kEmptyMin, kEmptyMax);
  DynArray<PackedPoint> runs;
  ASSERT_EQ(raster_.empty_row_runs(ProfileRaster::Envelope::kMin, runs), kOk);
  EXPECT_TRUE(runs.empty());
}

TEST_F(RasterTest, MissingRunIsRefused) {
  list_.push_back(nullptr);
  EXPECT_EQ(raster_.build(list_, Box16{0, 0, 4, 4}), kBadArgument);
  EXPECT_TRUE(raster_.empty());
}

TEST_F(RasterTest, SizingFailureLeavesTheRasterEmpty) {
  AllocationFailureScope one_array(1);
  EXPECT_EQ(build({{{0, 0}, {4, 4}}}, Box16{0, 0, 4, 4}), kOutOfMemory);
  EXPECT_TRUE(raster_.empty());
  expect_row(0, kEmptyMin, kEmptyMax);
}

TEST_F(RasterTest, EmptyRunsAndGaps) {
  // Two bars with empty rows between them, inside a larger box.
  ASSERT_EQ(build({{{0, 0}, {4, 0}}, {{0, 5}, {4, 5}}}, Box16{-2, -1, 6, 7}), kOk);
  DynArray<PackedPoint> runs;
  ASSERT_EQ(raster_.empty_row_runs(ProfileRaster::Envelope::kMax, runs), kOk);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0], (PackedPoint{-1, 1}));
  EXPECT_EQ(runs[1], (PackedPoint{1, 4}));
  EXPECT_EQ(runs[2], (PackedPoint{6, 2}));
  ASSERT_EQ(raster_.empty_column_runs(ProfileRaster::Envelope::kMin, runs), kOk);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0], (PackedPoint{-2, 2}));
  EXPECT_EQ(runs[1], (PackedPoint{5, 2}));

  const RasterGaps gaps = measure_raster_gaps(raster_);
  EXPECT_EQ(gaps.greatest_row_width, 4);
  EXPECT_EQ(gaps.greatest_column_height, 5);
  EXPECT_EQ(gaps.leading_empty_columns, 2);
  EXPECT_EQ(gaps.interior_empty_columns, 0);
  EXPECT_EQ(gaps.trailing_empty_columns, 2);
  EXPECT_EQ(gaps.leading_empty_rows, 1);
  EXPECT_EQ(gaps.interior_empty_rows, 4);
  EXPECT_EQ(gaps.trailing_empty_rows, 2);
}

TEST_F(RasterTest, RasterWithoutInkIsOneEmptyRun) {
  ASSERT_EQ(build({}, Box16{3, 10, 5, 19}), kOk);
  DynArray<PackedPoint> runs;
  ASSERT_EQ(raster_.empty_row_runs(ProfileRaster::Envelope::kMin, runs), kOk);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0], (PackedPoint{10, 10}));
  const RasterGaps gaps = measure_raster_gaps(raster_);
  EXPECT_EQ(gaps.leading_empty_rows, 10);
  EXPECT_EQ(gaps.trailing_empty_rows, 0);
  EXPECT_EQ(gaps.greatest_row_width, 0);
  // A single point is an empty line for the gaps (its min equals its max).
  ProfileRaster dot;
  const PackedPoint point{4, 4};
  ASSERT_EQ(dot.build_from_points(PointSpan(&point, 1), Box16{4, 4, 4, 4}), kOk);
  EXPECT_EQ(measure_raster_gaps(dot).leading_empty_rows, 1);
}

TEST_F(RasterTest, CopyDuplicatesTheEnvelopes) {
  ASSERT_EQ(build({{{0, 0}, {4, 4}}}, Box16{0, 0, 4, 4}), kOk);
  ProfileRaster copy;
  ASSERT_EQ(copy.copy(raster_), kOk);
  raster_.reset();
  EXPECT_EQ(copy.width(), 5u);
  EXPECT_EQ(copy.row_min(2), 2);
  EXPECT_EQ(copy.column_max(3), 3);
}

TEST(PointOpsTest, SquareAroundAPoint) {
  const Box16 box{0, 0, 47, 47};
  const auto odd = square_at_point({10, 10}, 3, box);
  EXPECT_EQ(odd[0], (PackedPoint{9, 9}));
  EXPECT_EQ(odd[2], (PackedPoint{12, 12}));
  EXPECT_EQ(odd[4], odd[0]);
  const auto even = square_at_point({10, 10}, 4, box);
  EXPECT_EQ(even[1], (PackedPoint{12, 8}));
  EXPECT_EQ(even[3], (PackedPoint{8, 12}));
  const auto clamped = square_at_point({0, 47}, 3, box);
  EXPECT_EQ(clamped[0], (PackedPoint{0, 46}));
  EXPECT_EQ(clamped[2], (PackedPoint{2, 47}));
}

TEST(PointOpsTest, DifferencesAndBounds) {
  EXPECT_EQ(subtract({3, -32768}, {5, 1}), (PackedPoint{-2, -32768}));
  PackedPoint low{5, 5};
  lower_into(low, {7, 2});
  EXPECT_EQ(low, (PackedPoint{5, 2}));
  PackedPoint high{5, 5};
  raise_into(high, {7, 2});
  EXPECT_EQ(high, (PackedPoint{7, 5}));
}

}  // namespace
}  // namespace inkrec

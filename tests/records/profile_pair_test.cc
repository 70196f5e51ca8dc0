#include "engine/records/profile_pair.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "engine/records/figure_records.h"
#include "tests/support/ink.h"

namespace inkrec {
namespace {

using test::point_records;
using test::run_of;

using Fields = std::array<int, 17>;

Fields fields_of(const ProfilePairMetrics& m) {
  return {m.least_gap,
          m.least_left_distance,
          m.least_right_distance,
          m.least_outer_distance,
          m.gap_per_wider_width,
          m.gap_per_left_width,
          m.clipped_mean_gap,
          m.representative_gap,
          m.mean_gap_at_least_0,
          m.touching,
          m.common_rows_per_left_height,
          m.common_rows_per_right_height,
          m.closed_rows,
          m.mean_left_distance,
          m.mean_right_distance,
          m.mean_outer_distance,
          m.mean_gap};
}

// A prepared one-run figure.
struct Figure {
  explicit Figure(const std::vector<PackedPoint>& points) : records(point_records(points)) {
    record.run = run_of(records);
    EXPECT_EQ(figure_prepare_glyph(record, false), kOk);
    view.init(record);
  }
  std::vector<PointRecord> records;
  StrokeRecord record;
  FigureView view;
};

// a: the outline of the box (0, 0)-(4, 10); every row from x 0 to 4.
Figure left_box() { return Figure({{0, 0}, {4, 0}, {4, 10}, {0, 10}, {0, 0}}); }

TEST(ProfilePairTest, FigureViewLendsRasterBoxAndCentroid) {
  Figure a = left_box();
  EXPECT_EQ(a.view.raster, &a.record.geometry.raster());
  EXPECT_TRUE(a.record.geometry.raster_ready());
  EXPECT_EQ(a.view.box, (Box16{0, 0, 4, 10}));
  EXPECT_EQ(*a.view.centroid, (PackedPoint{2, 5}));
}

TEST(ProfilePairTest, HandComputedPairs) {
  struct Case {
    const char* name;
    std::vector<PackedPoint> right;
    Fields expected;
  };
  const Case cases[] = {
      // Rows 4..10: b's edge at 12, 11, 9, 8, 6, 7, 9.
      {"a '<' beside the box",
       {{12, 4}, {6, 8}, {12, 12}},
       {2, 6, 2, 6, 28, 40, 1, 1, 4, 0, 63, 77, 0, 8, 4, 8, 4}},
      // A stroke through the box: every gap -2.
      {"a bar inside the box",
       {{2, 0}, {2, 10}},
       {-2, 2, -2, 2, -40, -40, 0, 0, 0, 1, 100, 100, 11, 2, -2, 2, -2}},
      // Gaps of 16 on rows 2..10; b's centroid lies one row below a's.
      {"a bar far right",
       {{20, 2}, {20, 10}},
       {16, 20, 16, 20, 320, 320, 16, 8, 16, 0, 81, 100, 0, 20, 16, 20, 16}},
  };
  for (const Case& c : cases) {
    Figure a = left_box();
    Figure b(c.right);
    ProfilePairMetrics metrics;
    measure_profile_pair(a.view, b.view, metrics);
    EXPECT_EQ(fields_of(metrics), c.expected) << c.name;
  }
}

TEST(ProfilePairTest, GapsBetweenFacingHalves) {
  Figure a = left_box();
  Figure b({{12, 4}, {6, 8}, {12, 12}});
  ProfilePairMetrics metrics;
  // b's mean centre over the common rows is 8, so its left edge counts at most 8.
  ASSERT_TRUE(measure_profile_gaps(a.view, b.view, metrics));
  EXPECT_EQ(fields_of(metrics), (Fields{2, 6, 2, 6, 28, 40, 0, 0, 3, 0, 63, 77, 0, 7, 4, 8, 3}));
}

TEST(ProfilePairTest, FiguresApartWriteOnlyTheLeastValuesAndShares) {
  Figure a = left_box();
  Figure b({{10, 20}, {10, 30}});
  ProfilePairMetrics metrics;
  metrics.clipped_mean_gap = 1234;
  metrics.mean_gap = 1234;
  metrics.least_gap = 1234;
  measure_profile_pair(a.view, b.view, metrics);
  EXPECT_EQ(metrics.least_gap, 32767);
  EXPECT_EQ(metrics.common_rows_per_left_height, -81);
  EXPECT_EQ(metrics.common_rows_per_right_height, -81);
  EXPECT_EQ(metrics.clipped_mean_gap, 1234);
  EXPECT_EQ(metrics.mean_gap, 1234);
  EXPECT_FALSE(measure_profile_gaps(a.view, b.view, metrics));
}

TEST(ProfilePairTest, GapsNeedInkOfBothOnACommonRow) {
  Figure a = left_box();
  // Two bars above and below a: their box spans a's rows, their ink does not.
  std::vector<PointRecord> top = point_records({{10, -5}, {14, -5}});
  std::vector<PointRecord> bottom = point_records({{10, 15}, {14, 15}});
  PointRun runs[] = {run_of(top), run_of(bottom)};
  PointRun* const list[] = {&runs[0], &runs[1]};
  GlyphGeometry geometry;
  ASSERT_EQ(geometry.prepare(list, false), kOk);
  FigureView b{&geometry.ensure_block_a(list), geometry.bounding_box(), &geometry.centroid};

  ProfilePairMetrics metrics;
  metrics.mean_gap = 1234;
  EXPECT_FALSE(measure_profile_gaps(a.view, b, metrics));
  EXPECT_EQ(metrics.least_left_distance, 32767);
  EXPECT_EQ(metrics.common_rows_per_left_height, 100);
  EXPECT_EQ(metrics.common_rows_per_right_height, 52);
  EXPECT_EQ(metrics.mean_gap, 1234);
}

TEST(ProfilePairTest, EmptyRasterContributesNothing) {
  Figure a = left_box();
  const ProfileRaster empty;
  const FigureView b{&empty, Box16{6, 0, 8, 10}, nullptr};
  ProfilePairMetrics metrics;
  measure_profile_pair(a.view, b, metrics);
  EXPECT_EQ(metrics.common_rows_per_right_height, 0);
  EXPECT_EQ(metrics.least_gap, 32767);
  EXPECT_EQ(metrics.gap_per_left_width, 32767);
  EXPECT_EQ(metrics.mean_gap, 0);
  EXPECT_EQ(metrics.touching, 0);
}

}  // namespace
}  // namespace inkrec

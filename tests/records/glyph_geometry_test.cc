#include "engine/records/glyph_geometry.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/foundation/allocation.h"
#include "tests/support/ink.h"

namespace inkrec {
namespace {

using test::point_records;
using test::run_of;

// Runs of point records and the list of them.
struct Ink {
  RunList runs(const std::vector<std::vector<PackedPoint>>& strokes) {
    for (const auto& points : strokes) records.push_back(point_records(points));
    for (auto& stroke : records) point_runs.push_back(run_of(stroke));
    for (PointRun& run : point_runs) list.push_back(&run);
    return list;
  }

  std::vector<std::vector<PointRecord>> records;
  std::vector<PointRun> point_runs;
  std::vector<PointRun*> list;
};

class GlyphTest : public ::testing::Test {
 protected:
  RunList runs(const std::vector<std::vector<PackedPoint>>& strokes) { return ink_.runs(strokes); }

  Ink ink_;
  std::vector<std::vector<PointRecord>>& records_ = ink_.records;
  std::vector<PointRun*>& list_ = ink_.list;
  GlyphGeometry glyph_;
};

TEST_F(GlyphTest, DotIsAValidFigure) {
  ASSERT_EQ(glyph_.prepare(runs({{{7, 3}}}), false), kOk);
  for (const PointRecord* extreme : glyph_.extremes) EXPECT_EQ(extreme, &records_[0][0]);
  EXPECT_EQ(glyph_.bounding_box(), (Box16{7, 3, 7, 3}));
  EXPECT_EQ(glyph_.centroid, (PackedPoint{7, 3}));
  EXPECT_EQ(glyph_.band_centroid, (PackedPoint{7, 3}));
  EXPECT_EQ(glyph_.ink_length, 1u);
  EXPECT_EQ(glyph_.direction.horizontal_direction, -100);
  EXPECT_EQ(glyph_.direction.vertical_direction, 90);
  EXPECT_EQ(glyph_.direction.shape_class, -1);
  EXPECT_EQ(glyph_.direction.diameter, 2);
  const ProfileRaster& raster = glyph_.ensure_block_a(list_);
  EXPECT_EQ(raster.width(), 1u);
  EXPECT_EQ(raster.row_min(3), 7);
}

TEST_F(GlyphTest, ColonOfTwoDotsPrepares) {
  ASSERT_EQ(glyph_.prepare(runs({{{0, 0}}, {{0, 6}}}), false), kOk);
  EXPECT_EQ(glyph_.centroid, (PackedPoint{0, 3}));
  EXPECT_EQ(glyph_.ink_length, 2u);
}

TEST_F(GlyphTest, ZeroLengthSegmentsCountTheirPointOnce) {
  ASSERT_EQ(glyph_.prepare(runs({{{5, 5}, {5, 5}, {5, 5}, {8, 5}}}), false), kOk);
  // The point once with weight 1, then the segment of length 3 at x 6.5.
  EXPECT_EQ(glyph_.ink_length, 4u);
  EXPECT_EQ(glyph_.centroid, (PackedPoint{6, 5}));

  GlyphGeometry still;
  std::vector<PointRecord> same = point_records({{5, 5}, {5, 5}});
  PointRun run = run_of(same);
  PointRun* const unmoving[] = {&run};
  ASSERT_EQ(still.prepare(unmoving, true), kOk);
  EXPECT_EQ(still.ink_length, 1u);
  EXPECT_EQ(still.centroid, (PackedPoint{5, 5}));
}

TEST_F(GlyphTest, EmptyRunInTheMiddleIsSkipped) {
  ASSERT_EQ(glyph_.prepare(runs({{{0, 0}, {10, 0}}, {}, {{0, 10}, {10, 10}}}), false), kOk);
  EXPECT_EQ(glyph_.centroid, (PackedPoint{5, 5}));
  EXPECT_EQ(glyph_.ink_length, 20u);
  EXPECT_EQ(glyph_.bounding_box(), (Box16{0, 0, 10, 10}));
}

TEST_F(GlyphTest, BandCentroidCountsTheInkInsideTheBand) {
  const RunList ell = runs({{{0, 0}, {0, 20}, {20, 20}}});
  ASSERT_EQ(glyph_.prepare(ell, false), kOk);
  EXPECT_EQ(glyph_.centroid, (PackedPoint{5, 15}));
  EXPECT_EQ(glyph_.band_centroid, glyph_.centroid);

  glyph_.set_baseline_pair(ReferenceBand{15, 25, 1});
  // Once set, the band stays.
  glyph_.set_baseline_pair(ReferenceBand{0, 5, 1});
  EXPECT_EQ(glyph_.reference_band().top, 15);
  ASSERT_EQ(glyph_.prepare(ell, false), kOk);
  EXPECT_EQ(glyph_.band_centroid, (PackedPoint{10, 20}));
  EXPECT_EQ(glyph_.centroid, (PackedPoint{5, 15}));

  // A band given without its flag may be replaced; one with no ink inside
  // leaves the band centroid at the centroid.
  GlyphGeometry other;
  other.set_baseline_pair(ReferenceBand{15, 25, 0});
  other.set_baseline_pair(ReferenceBand{30, 40, 0});
  ASSERT_EQ(other.prepare(ell, false), kOk);
  EXPECT_EQ(other.band_centroid, other.centroid);
}

TEST_F(GlyphTest, FirstPointWinsTies) {
  GlyphGeometry reversed;
  std::vector<PointRecord> backwards = point_records({{0, 10}, {10, 10}, {10, 0}, {0, 0}});
  PointRun back = run_of(backwards);
  PointRun* const back_list[] = {&back};
  ASSERT_EQ(glyph_.prepare(runs({{{0, 0}, {10, 0}, {10, 10}, {0, 10}}}), false), kOk);
  ASSERT_EQ(reversed.prepare(back_list, false), kOk);
  EXPECT_EQ(glyph_.bounding_box(), reversed.bounding_box());
  EXPECT_EQ(glyph_.extremes[GlyphGeometry::kGreatestX]->point, (PackedPoint{10, 0}));
  EXPECT_EQ(reversed.extremes[GlyphGeometry::kGreatestX]->point, (PackedPoint{10, 10}));
  EXPECT_EQ(glyph_.extremes[GlyphGeometry::kLeastXPlusY]->point, (PackedPoint{0, 0}));
  EXPECT_EQ(glyph_.extremes[GlyphGeometry::kGreatestYMinusX]->point, (PackedPoint{0, 10}));
}

TEST_F(GlyphTest, BadRunListsLeaveTheGeometryAlone) {
  ASSERT_EQ(glyph_.prepare(runs({{{1, 2}, {3, 4}}}), false), kOk);
  const PackedPoint centroid = glyph_.centroid;
  PointRun* const with_null[] = {list_[0], nullptr};
  EXPECT_EQ(glyph_.prepare(with_null, false), kBadArgument);
  PointRun broken{nullptr, 4};
  PointRun* const with_broken[] = {&broken};
  EXPECT_EQ(glyph_.prepare(with_broken, false), kBadArgument);
  PointRun none;
  PointRun* const without_points[] = {&none, &none};
  EXPECT_EQ(glyph_.prepare(without_points, false), kFigureWithoutPoints);
  EXPECT_EQ(glyph_.prepare(RunList(), false), kFigureWithoutPoints);
  EXPECT_EQ(glyph_.prepare_run(none), kFigureWithoutPoints);
  EXPECT_EQ(glyph_.centroid, centroid);
  EXPECT_EQ(glyph_.extremes[GlyphGeometry::kLeastX], &records_[0][0]);
}

TEST_F(GlyphTest, BlocksAreComputedOnceUntilReset) {
  const RunList bars = runs({{{0, 0}, {10, 0}}, {{0, 6}, {10, 6}}});
  ASSERT_EQ(glyph_.prepare(bars, false), kOk);
  EXPECT_FALSE(glyph_.raster_ready());
  const RasterGaps& gaps = glyph_.ensure_block_b(bars);
  EXPECT_TRUE(glyph_.raster_ready());
  EXPECT_EQ(gaps.greatest_row_width, 10);
  EXPECT_EQ(gaps.greatest_column_height, 6);
  EXPECT_EQ(gaps.interior_empty_rows, 5);
  EXPECT_EQ(gaps.leading_empty_columns, 0);

  // Moving the ink (inside the box) does not change the kept blocks...
  records_[1][0].point.x = 2;
  EXPECT_EQ(glyph_.ensure_block_a(bars).row_min(6), 0);
  // ...until a reset, after which each read computes its block again.
  glyph_.reset();
  EXPECT_FALSE(glyph_.raster_ready());
  EXPECT_TRUE(glyph_.raster().empty());
  EXPECT_EQ(glyph_.ensure_block_b(bars).greatest_row_width, 10);
  EXPECT_EQ(glyph_.ensure_block_a(bars).row_min(6), 2);
}

TEST(GlyphWidthTest, WidthBlocks) {
  struct Case {
    const char* name;
    std::vector<std::vector<PackedPoint>> strokes;
    WidthBlock expected;
  };
  const Case cases[] = {
      // Rows 20 wide, columns 8 high in a box 21 wide and 9 high.
      {"box outline", {{{0, 0}, {20, 0}, {20, 8}, {0, 8}, {0, 0}}}, {222, 38, 666, 666, 666}},
      // Rows of 5 or less hardly count: only the bottom row does.
      {"an L", {{{0, 0}, {0, 8}, {20, 8}}}, {24, 1, 0, 0, 222}},
      // The empty rows between the bars count as width 0.
      {"two bars", {{{0, 0}, {10, 0}}, {{0, 6}, {10, 6}}}, {40, 54, 250, 0, 250}},
  };
  for (const Case& c : cases) {
    Ink ink;
    GlyphGeometry glyph;
    const RunList list = ink.runs(c.strokes);
    ASSERT_EQ(glyph.prepare(list, false), kOk) << c.name;
    const WidthBlock& widths = glyph.ensure_block_c(list);
    EXPECT_EQ(widths.rows, c.expected.rows) << c.name;
    EXPECT_EQ(widths.columns, c.expected.columns) << c.name;
    EXPECT_EQ(widths.upper_rows, c.expected.upper_rows) << c.name;
    EXPECT_EQ(widths.middle_rows, c.expected.middle_rows) << c.name;
    EXPECT_EQ(widths.lower_rows, c.expected.lower_rows) << c.name;
  }
}

TEST_F(GlyphTest, DescentBlockIsKeptBehindItsFlag) {
  const RunList stroke = runs({{{0, 0}, {0, 30}}});
  ASSERT_EQ(glyph_.prepare(stroke, true), kOk);
  DynArray<DescentEntry> ordinary;
  EXPECT_EQ(glyph_.unclassified_entries(ordinary), kBadArgument);
  EXPECT_EQ(glyph_.first_unclassified_entry(), nullptr);
  const DescentBlock& block = glyph_.ensure_block_d(stroke, 30, 5);
  EXPECT_TRUE(glyph_.descent_ready());
  EXPECT_GE(block.ordinary_count, 0);
  EXPECT_EQ(glyph_.unclassified_entries(ordinary), kOk);
  glyph_.reset();
  EXPECT_FALSE(glyph_.descent_ready());
  EXPECT_EQ(glyph_.first_unclassified_entry(), nullptr);
  EXPECT_EQ(glyph_.descent().ordinary_count, -1);
  EXPECT_EQ(glyph_.descent().descending_runs, -1);
}

TEST_F(GlyphTest, CopyDuplicatesTheBlocks) {
  const RunList bars = runs({{{0, 0}, {10, 0}}, {{0, 6}, {10, 6}}});
  glyph_.set_baseline_pair(ReferenceBand{2, 8, 1});
  ASSERT_EQ(glyph_.prepare(bars, false), kOk);
  glyph_.ensure_block_c(bars);
  glyph_.ensure_block_d(bars, 30, 5);
  GlyphGeometry copy;
  ASSERT_EQ(copy.copy(glyph_), kOk);
  glyph_.reset();
  EXPECT_TRUE(copy.raster_ready());
  EXPECT_TRUE(copy.descent_ready());
  EXPECT_EQ(copy.raster().row_max(6), 10);
  EXPECT_EQ(copy.ensure_block_c(bars).rows, 40);
  EXPECT_EQ(copy.bounding_box(), (Box16{0, 0, 10, 6}));
  EXPECT_EQ(copy.reference_band().bottom, 8);
  EXPECT_EQ(copy.centroid, glyph_.centroid);
  EXPECT_EQ(copy.ink_length, glyph_.ink_length);

  GlyphGeometry untouched;
  glyph_.ensure_block_a(bars);
  AllocationFailureScope no_memory;
  EXPECT_EQ(untouched.copy(glyph_), kOutOfMemory);
  EXPECT_FALSE(untouched.raster_ready());
  EXPECT_EQ(untouched.extremes[0], nullptr);
}

}  // namespace
}  // namespace inkrec

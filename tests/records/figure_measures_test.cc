#include "engine/records/figure_measures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/records/figure_records.h"
#include "tests/support/figure_ink.h"

namespace inkrec {
namespace {

using test::circle;
using test::Figure;
using test::Points;
using test::polyline;

PointSpan span_of(const Points& points) {
  return PointSpan(points.data(), static_cast<std::int32_t>(points.size()));
}

TEST(LineCrossingsTest, CountsSegmentsAcrossALine) {
  const Points zigzag = {{0, 0}, {20, 40}, {0, 80}, {20, 120}};
  CrossingRange range;
  EXPECT_EQ(count_vertical_line_crossings(span_of(zigzag), 10, range, true), 3);
  EXPECT_EQ(range.least, 20);
  EXPECT_EQ(range.greatest, 100);
  // Without the reset the range only grows.
  EXPECT_EQ(count_vertical_line_crossings(span_of({{10, -5}, {30, -5}}), 20, range, false), 1);
  EXPECT_EQ(range.least, -5);
  EXPECT_EQ(range.greatest, 100);
  // Passing through a point on the line counts once; touching it and
  // turning back counts twice.
  EXPECT_EQ(count_horizontal_line_crossings(span_of({{0, 0}, {5, 10}, {10, 20}}), 10, range, true),
            1);
  EXPECT_EQ(count_horizontal_line_crossings(span_of({{0, 0}, {5, 10}, {10, 0}}), 10, range, true),
            2);
  EXPECT_EQ(range.least, 5);
  EXPECT_EQ(count_horizontal_line_crossings(span_of({{0, 0}}), 0, range, true), 0);
  EXPECT_EQ(range.least, INT32_MAX);
}

TEST(LineCrossingsTest, SumsOverFigures) {
  Figure two({polyline({{0, 0}, {0, 100}}), polyline({{50, 0}, {50, 100}, {60, 0}})});
  CrossingRange range;
  EXPECT_EQ(figures_extent_y(two.runs(), 50, range, false), 3);
  EXPECT_EQ(range.least, 0);
  EXPECT_EQ(range.greatest, 55);
  EXPECT_EQ(figures_extent_y(two.runs(), 50, range, true), 2);
  EXPECT_EQ(figures_extent_y_default(two.runs(), 50), 3);
  EXPECT_EQ(figures_extent_x(two.runs(), 55, range), 1);
  EXPECT_EQ(range.least, 50);
  EXPECT_EQ(figures_extent_x_default(two.runs(), 25), 0);
  // y grows downward: two strokes go down across y = 45, one comes back.
  EXPECT_EQ(runs_upward_crossings(two.runs(), 45), 2);
  EXPECT_EQ(runs_downward_crossings(two.runs(), 45), 1);
}

TEST(BandExtentTest, MeasuresTheInkInABand) {
  // A "v": down from (0, 0) to (50, 100), up to (100, 0).
  Figure v({polyline({{0, 0}, {50, 100}, {100, 0}})});
  StrokeRecord stroke(v.run(0));
  ASSERT_EQ(figure_prepare_glyph(stroke, true), kOk);
  BandExtent band;
  ASSERT_EQ(figure_band_extent(stroke, 40, 20, 90, band), 1);
  EXPECT_EQ(band.box, (Box16{20, 40, 80, 60}));
  EXPECT_EQ(band.centre, (PackedPoint{50, 50}));
  // Two passages, each 1 to enter and 2 steps of (5, 10) inside.
  EXPECT_EQ(band.amount, 2 * (1 + 2 * 11));

  // Slanted writing is seen upright first: at 45 degrees each point moves
  // left by its height above the band's bottom.
  ASSERT_EQ(figure_band_extent(stroke, 40, 20, 135, band), 1);
  EXPECT_EQ(band.box.left, 20 - 20);
  EXPECT_EQ(band.box.right, 70);

  // The band at the very bottom: the ink only touches it at one point.
  ASSERT_EQ(figure_band_extent(stroke, 100, 0, 90, band), 1);
  EXPECT_EQ(band.box, (Box16{50, 100, 50, 100}));
  EXPECT_EQ(band.amount, 1);

  EXPECT_EQ(figure_band_extent(stroke, 90, 20, 90, band), kUndocumented);
  EXPECT_EQ(band.box, (Box16{50, 100, 50, 100}));
}

TEST(BandExtentTest, InkThatMissesTheBandLeavesTheResultAlone) {
  // A flat stroke measured in the box of a taller figure it belongs to.
  Figure figure({polyline({{0, 0}, {100, 0}}), polyline({{0, 90}, {10, 100}})});
  StrokeRecord top(figure.run(0));
  ASSERT_EQ(top.geometry.prepare(figure.runs(), true), kOk);
  BandExtent band;
  band.amount = -7;
  EXPECT_EQ(figure_band_extent(top, 50, 10, 90, band), kOk);
  EXPECT_EQ(band.amount, -7);
  // A stroke that begins in the band with one point counts 1.
  StrokeRecord bottom(figure.run(1));
  ASSERT_EQ(bottom.geometry.prepare(figure.runs(), true), kOk);
  ASSERT_EQ(figure_band_extent(bottom, 80, 10, 90, band), 1);
  EXPECT_EQ(band.amount, 1);
  EXPECT_EQ(band.box, (Box16{0, 80, 0, 90}));
}

TEST(MeanWidthTest, AveragesRowsAndColumnsOfTheRaster) {
  // A square outline 100 wide and a dot 50 below it: rows between them are
  // empty and count 0.
  Figure figure({polyline({{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}}), {{50, 150}}});
  GlyphGeometry& glyph = figure.glyph();
  EXPECT_EQ(element_mean_width(glyph, figure.runs(), 10, 90), 100);
  EXPECT_EQ(element_mean_width(glyph, figure.runs(), 101, 150), 1);
  // Bounds outside the raster fall back to its own: 101 rows of 100 and
  // 50 rows of nothing over 151 rows.
  EXPECT_EQ(element_mean_width(glyph, figure.runs(), -5, 500), 101 * 100 / 151);
  EXPECT_EQ(element_mean_height(glyph, figure.runs(), 10, 40), 100);
  // Column 50 also reaches the dot.
  EXPECT_EQ(element_mean_height(glyph, figure.runs(), 50, 60), (150 + 10 * 100) / 11);
}

TEST(WindingTest, TellsTheSenseOfALoopWhereverItLies) {
  Winding clockwise;
  const Points cw = circle(100, 100, 50, true);
  EXPECT_EQ(run_winding(span_of(cw), clockwise), 1);
  EXPECT_DOUBLE_EQ(clockwise.ratio, -1.0);
  EXPECT_GT(clockwise.length, 250);

  Winding far_away;
  EXPECT_EQ(run_winding(span_of(circle(5000, 3000, 50, true)), far_away), 1);
  EXPECT_DOUBLE_EQ(far_away.ratio, -1.0);

  Winding anticlockwise;
  EXPECT_EQ(run_winding(span_of(circle(100, 100, 50, false)), anticlockwise), 1);
  EXPECT_DOUBLE_EQ(anticlockwise.ratio, 1.0);

  Winding short_run{0.5, 9};
  EXPECT_EQ(run_winding(span_of({{0, 0}, {10, 10}}), short_run), 0);
  EXPECT_EQ(short_run.ratio, 0.0);
  EXPECT_EQ(short_run.length, 0);
  EXPECT_DOUBLE_EQ(octagonal_length_double(-3, 6), 7.0);
}

}  // namespace
}  // namespace inkrec

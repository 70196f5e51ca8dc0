// Measures of a figure beyond its box, for the letter and pair rules: where
// its ink crosses a vertical or horizontal line, how much of it lies in a
// horizontal band and how wide it is there, how wide or tall it is on
// average between two rows or columns, and in which sense it winds.
//
// A segment crosses a line when one end lies before the line (x or y below
// it) and the other at or past it, so ink passing through a point on the
// line counts once and ink touching it and turning back counts twice.
// Crossing coordinates are interpolated in integers.
#pragma once

#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/foundation/point.h"
#include "engine/foundation/point_span.h"
#include "engine/records/glyph_geometry.h"
#include "engine/records/point_run.h"

namespace inkrec {

struct StrokeRecord;

// The least and greatest coordinate where ink crosses a line; the start
// values are the empty markers of a 32-bit least and greatest.
struct CrossingRange {
  std::int32_t least = INT32_MAX;
  std::int32_t greatest = INT32_MIN;
};

// The number of segments of the run that cross the vertical line at x, the
// y of each crossing widening `range`; a run of fewer than 2 points gives
// 0. With `reset` the range starts empty, otherwise it grows.
int count_vertical_line_crossings(PointSpan run, int x, CrossingRange& range, bool reset);
// The same for the horizontal line at y, widening the range of x.
int count_horizontal_line_crossings(PointSpan run, int y, CrossingRange& range, bool reset);

// The same over every run of the list (null runs count nothing), the range
// starting empty. The horizontal form counts the runs that cross instead of
// the crossings when `count_figures` is set. The default forms give only
// the count of crossings.
int figures_extent_x(RunList figures, int x, CrossingRange& range);
int figures_extent_y(RunList figures, int y, CrossingRange& range, bool count_figures);
int figures_extent_x_default(RunList figures, int x);
int figures_extent_y_default(RunList figures, int y);

// The sum over the runs of their downward (from below the level to above
// it) and upward (from at or above it to below it) steps across the
// horizontal level y; y grows downward.
int runs_downward_crossings(RunList runs, int level);
int runs_upward_crossings(RunList runs, int level);

// The ink of a figure in the band of rows top .. top + height, the figure
// seen upright: with a slant in degrees (90 upright), each point's x is
// first moved back along the slant about the band's bottom.
struct BandExtent {
  Box16 box;           // least and greatest x of the ink in the band, and the band
  PackedPoint centre;  // the middle of the extent, at the band's middle row
  // The ink length inside the band, plus 1 for every passage into or
  // through it; ink that begins in the band with a single point, or with a
  // first step of no length, counts 1 for it.
  std::int32_t amount = 0;
};
// 1 with `out` written; 0 (`out` unchanged) when no ink meets the band;
// -3 when the band does not lie within the rows of the figure's box.
int figure_band_extent(const StrokeRecord& figure, int top, int height, int slant, BandExtent& out);

// The mean width of the figure's profile raster (built on first use from
// `runs`) over the rows a .. b, either bound replaced by the raster's own
// when it does not lie inside; rows without ink count 0 wide. A mean of 0
// is reported as 1, and so is an empty raster. The height form does the
// same over the columns a .. b.
int element_mean_width(GlyphGeometry& geometry, RunList runs, int a, int b);
int element_mean_height(GlyphGeometry& geometry, RunList runs, int a, int b);

// The sense in which a run winds: along the run, each step's length counts
// with the sign of the turn of the smoothed position (p[i-1] + 2 p[i] +
// p[i+1], taken about the box centre) against the step. The ratio runs from
// -1 (all clockwise on the tablet, y growing downward) to 1 (all
// anticlockwise); the length is the total step length, truncated.
struct Winding {
  double ratio = 0;
  std::int32_t length = 0;
};
// 1, or 0 with a zero result for a run of fewer than 3 points.
int run_winding(PointSpan run, Winding& out);

// (2 max(|a|, |b|) + |a| + |b|) / 3 in double precision.
double octagonal_length_double(double a, double b);

}  // namespace inkrec

// ProfileRaster: the outline of a figure's ink, row by row and column by
// column, the engine's cheap stand-in for a bitmap.
//
// For every row of a box it keeps the least and greatest x of the ink in that
// row, and for every column the least and greatest y. An entry that no ink
// reached holds the empty markers: 32767 in a min envelope, -32768 in a max
// envelope; reads outside the raster answer with the markers too. An empty
// raster has width and height 0 and top and left -32768. Tracing never writes
// outside the raster: ink that leaves the box empties the raster instead, and
// a failed sizing leaves it empty. Interpolation is integer-only.
#pragma once

#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/point.h"
#include "engine/foundation/point_span.h"
#include "engine/records/point_run.h"

namespace inkrec {

inline constexpr std::int16_t kEmptyMin = 32767;
inline constexpr std::int16_t kEmptyMax = -32768;

// y on the line through p0 and p1 at x: y0 + (y1 - y0) * (x - x0) / (x1 - x0),
// truncated toward zero, or the mean of the two y when x0 == x1; saturated.
std::int16_t interpolate_y_at_x(PackedPoint p0, PackedPoint p1, int x);
// The same with the axes exchanged.
std::int16_t interpolate_x_at_y(PackedPoint p0, PackedPoint p1, int y);

class ProfileRaster {
 public:
  // Which envelope an empty-run scan reads.
  enum class Envelope { kMin, kMax };

  ProfileRaster() = default;
  ProfileRaster(ProfileRaster&&) noexcept = default;
  ProfileRaster& operator=(ProfileRaster&&) noexcept = default;
  ProfileRaster(const ProfileRaster&) = delete;
  ProfileRaster& operator=(const ProfileRaster&) = delete;

  // Becomes a copy of other: 0, or -1 with this raster unchanged.
  int copy(const ProfileRaster& other);

  // Sizes the raster to the box (a box with no rows or columns gives an
  // empty raster), fills it with the empty markers and traces every run.
  // 0; -2 at a missing run (nothing traced); -1 when an envelope cannot be
  // sized.
  int build(RunList runs, const Box16& box);
  // The same for one run of points.
  int build_from_points(PointSpan points, const Box16& box);

  // Makes the raster empty; the envelopes keep their storage.
  void reset();

  // Envelope values at an absolute row y or column x.
  std::int16_t row_min(int y) const {
    return at(row_min_, std::int64_t{y} - top_, height_, kEmptyMin);
  }
  std::int16_t row_max(int y) const {
    return at(row_max_, std::int64_t{y} - top_, height_, kEmptyMax);
  }
  std::int16_t column_min(int x) const {
    return at(column_min_, std::int64_t{x} - left_, width_, kEmptyMin);
  }
  std::int16_t column_max(int x) const {
    return at(column_max_, std::int64_t{x} - left_, width_, kEmptyMax);
  }

  // max - min of the ink in a row or column; 0 for one without ink.
  std::int32_t row_extent(int y) const { return extent(row_min(y), row_max(y)); }
  std::int32_t column_extent(int x) const { return extent(column_min(x), column_max(x)); }

  // One {start, length} per maximal run of empty entries of the envelope,
  // start as an absolute y (rows) or x (columns). 0, or -1 when the list
  // cannot grow. The list is emptied first.
  int empty_row_runs(Envelope envelope, DynArray<PackedPoint>& out) const;
  int empty_column_runs(Envelope envelope, DynArray<PackedPoint>& out) const;

  std::uint32_t width() const { return width_; }
  std::uint32_t height() const { return height_; }
  std::int16_t top() const { return top_; }
  std::int16_t left() const { return left_; }
  bool empty() const { return width_ == 0 || height_ == 0; }
  // The absolute y of the last row and x of the last column.
  int bottom() const { return top_ + static_cast<int>(height_) - 1; }
  int right() const { return left_ + static_cast<int>(width_) - 1; }

 private:
  static std::int16_t at(const DynArray<std::int16_t>& envelope, std::int64_t i, std::uint32_t n,
                         std::int16_t marker) {
    return i >= 0 && i < n ? envelope[static_cast<std::uint32_t>(i)] : marker;
  }

  static std::int32_t extent(std::int16_t least, std::int16_t greatest) {
    return least == kEmptyMin || greatest == kEmptyMax ? 0 : std::int32_t{greatest} - least;
  }

  int size_to(const Box16& box);
  // Traces a run; false when its ink leaves the raster.
  bool trace(PointSpan points);
  bool take_row(int y, int x);
  bool take_column(int x, int y);

  std::uint32_t width_ = 0;
  std::uint32_t height_ = 0;
  std::int16_t top_ = kEmptyMax;
  std::int16_t left_ = kEmptyMax;
  DynArray<std::int16_t> row_min_;
  DynArray<std::int16_t> row_max_;
  DynArray<std::int16_t> column_min_;
  DynArray<std::int16_t> column_max_;
};

// The gap statistics of a raster. A row or column counts as empty when an
// envelope holds its marker or its min equals its max; leading, interior
// (summed) and trailing count the empty lines before the first non-empty
// line, between non-empty lines and after the last one (a raster without a
// non-empty line has all its lines leading). -1 in every field until
// measured.
struct RasterGaps {
  std::int16_t greatest_row_width = -1;
  std::int16_t greatest_column_height = -1;
  std::int16_t leading_empty_columns = -1;
  std::int16_t interior_empty_columns = -1;
  std::int16_t trailing_empty_columns = -1;
  std::int16_t leading_empty_rows = -1;
  std::int16_t interior_empty_rows = -1;
  std::int16_t trailing_empty_rows = -1;
};
RasterGaps measure_raster_gaps(const ProfileRaster& raster);

}  // namespace inkrec

// ProfileRaster sizing, tracing and scans; integer interpolation.

#include "engine/records/profile_raster.h"

#include <algorithm>
#include <utility>

#include "engine/foundation/status.h"
#include "engine/foundation/values.h"

namespace inkrec {

std::int16_t interpolate_y_at_x(PackedPoint p0, PackedPoint p1, int x) {
  if (p0.x == p1.x) return saturate_int16((std::int64_t{p0.y} + p1.y) / 2);
  const std::int64_t rise = (std::int64_t{p1.y} - p0.y) * (std::int64_t{x} - p0.x);
  return saturate_int16(p0.y + rise / (std::int64_t{p1.x} - p0.x));
}

std::int16_t interpolate_x_at_y(PackedPoint p0, PackedPoint p1, int y) {
  if (p0.y == p1.y) return saturate_int16((std::int64_t{p0.x} + p1.x) / 2);
  const std::int64_t run = (std::int64_t{p1.x} - p0.x) * (std::int64_t{y} - p0.y);
  return saturate_int16(p0.x + run / (std::int64_t{p1.y} - p0.y));
}

int ProfileRaster::copy(const ProfileRaster& other) {
  if (this == &other) return kOk;
  ProfileRaster copy;
  if (copy.row_min_.assign(other.row_min_) != kOk || copy.row_max_.assign(other.row_max_) != kOk ||
      copy.column_min_.assign(other.column_min_) != kOk ||
      copy.column_max_.assign(other.column_max_) != kOk) {
    return kOutOfMemory;
  }
  copy.width_ = other.width_;
  copy.height_ = other.height_;
  copy.top_ = other.top_;
  copy.left_ = other.left_;
  *this = std::move(copy);
  return kOk;
}

int ProfileRaster::build(RunList runs, const Box16& box) {
  if (has_missing_run(runs)) {
    reset();
    return kBadArgument;
  }
  if (const int status = size_to(box); status != kOk) return status;
  for (const PointRun* run : runs) {
    if (!trace(run->span())) {
      reset();
      break;
    }
  }
  return kOk;
}

int ProfileRaster::build_from_points(PointSpan points, const Box16& box) {
  if (const int status = size_to(box); status != kOk) return status;
  if (!trace(points)) reset();
  return kOk;
}

void ProfileRaster::reset() {
  width_ = 0;
  height_ = 0;
  top_ = kEmptyMax;
  left_ = kEmptyMax;
  row_min_.clear();
  row_max_.clear();
  column_min_.clear();
  column_max_.clear();
}

int ProfileRaster::size_to(const Box16& box) {
  reset();
  const std::int32_t w = box.width();
  const std::int32_t h = box.height();
  if (w < 1 || h < 1) return kOk;
  const auto rows = static_cast<std::uint32_t>(h);
  const auto columns = static_cast<std::uint32_t>(w);
  if (row_min_.resize(rows, kEmptyMin) != kOk || row_max_.resize(rows, kEmptyMax) != kOk ||
      column_min_.resize(columns, kEmptyMin) != kOk ||
      column_max_.resize(columns, kEmptyMax) != kOk) {
    reset();
    return kOutOfMemory;
  }
  width_ = columns;
  height_ = rows;
  top_ = box.top;
  left_ = box.left;
  return kOk;
}

bool ProfileRaster::take_row(int y, int x) {
  const std::int64_t row = std::int64_t{y} - top_;
  const std::int64_t column = std::int64_t{x} - left_;
  if (row < 0 || row >= height_ || column < 0 || column >= width_) return false;
  const auto i = static_cast<std::uint32_t>(row);
  lower_to(row_min_[i], x);
  raise_to(row_max_[i], x);
  return true;
}

bool ProfileRaster::take_column(int x, int y) {
  const std::int64_t row = std::int64_t{y} - top_;
  const std::int64_t column = std::int64_t{x} - left_;
  if (row < 0 || row >= height_ || column < 0 || column >= width_) return false;
  const auto i = static_cast<std::uint32_t>(column);
  lower_to(column_min_[i], y);
  raise_to(column_max_[i], y);
  return true;
}

bool ProfileRaster::trace(PointSpan points) {
  if (points.size() == 1) {
    const PackedPoint p = points.front();
    return take_row(p.y, p.x) && take_column(p.x, p.y);
  }
  for (std::int32_t i = 0; i + 1 < points.size(); ++i) {
    const PackedPoint p0 = points[i];
    const PackedPoint p1 = points[i + 1];
    if (p0.y == p1.y) {
      if (!take_row(p0.y, p0.x) || !take_row(p0.y, p1.x)) return false;
    } else {
      for (int y = std::min(p0.y, p1.y); y <= std::max(p0.y, p1.y); ++y) {
        if (!take_row(y, interpolate_x_at_y(p0, p1, y))) return false;
      }
    }
    if (p0.x == p1.x) {
      if (!take_column(p0.x, p0.y) || !take_column(p0.x, p1.y)) return false;
    } else {
      for (int x = std::min(p0.x, p1.x); x <= std::max(p0.x, p1.x); ++x) {
        if (!take_column(x, interpolate_y_at_x(p0, p1, x))) return false;
      }
    }
  }
  return true;
}

namespace {

int empty_runs(const DynArray<std::int16_t>& envelope, std::int16_t marker, int origin,
               DynArray<PackedPoint>& out) {
  out.clear();
  std::uint32_t i = 0;
  while (i < envelope.size()) {
    if (envelope[i] != marker) {
      ++i;
      continue;
    }
    const std::uint32_t start = i;
    while (i < envelope.size() && envelope[i] == marker) ++i;
    const PackedPoint run{saturate_int16(std::int64_t{origin} + start), saturate_int16(i - start)};
    if (out.push_back(run) != kOk) return kOutOfMemory;
  }
  return kOk;
}

// Empty lines before the first non-empty line, between non-empty lines and
// after the last one, and the greatest extent of a non-empty line.
struct LineScan {
  std::int64_t leading = 0;
  std::int64_t interior = 0;
  std::int64_t trailing = 0;
  std::int64_t greatest = 0;
};

template <typename Least, typename Greatest>
LineScan scan_lines(int first, int last, Least least, Greatest greatest) {
  LineScan scan;
  bool seen = false;
  std::int64_t pending = 0;
  for (int i = first; i <= last; ++i) {
    const std::int16_t lo = least(i);
    const std::int16_t hi = greatest(i);
    if (lo == kEmptyMin || hi == kEmptyMax || lo == hi) {
      ++pending;
      continue;
    }
    (seen ? scan.interior : scan.leading) += pending;
    pending = 0;
    seen = true;
    raise_to(scan.greatest, std::int64_t{hi} - lo);
  }
  (seen ? scan.trailing : scan.leading) += pending;
  return scan;
}

}  // namespace

int ProfileRaster::empty_row_runs(Envelope envelope, DynArray<PackedPoint>& out) const {
  return envelope == Envelope::kMin ? empty_runs(row_min_, kEmptyMin, top_, out)
                                    : empty_runs(row_max_, kEmptyMax, top_, out);
}

int ProfileRaster::empty_column_runs(Envelope envelope, DynArray<PackedPoint>& out) const {
  return envelope == Envelope::kMin ? empty_runs(column_min_, kEmptyMin, left_, out)
                                    : empty_runs(column_max_, kEmptyMax, left_, out);
}

RasterGaps measure_raster_gaps(const ProfileRaster& raster) {
  const LineScan columns = scan_lines(
      raster.left(), raster.right(), [&](int x) { return raster.column_min(x); },
      [&](int x) { return raster.column_max(x); });
  const LineScan rows = scan_lines(
      raster.top(), raster.bottom(), [&](int y) { return raster.row_min(y); },
      [&](int y) { return raster.row_max(y); });
  RasterGaps gaps;
  gaps.greatest_row_width = saturate_int16(rows.greatest);
  gaps.greatest_column_height = saturate_int16(columns.greatest);
  gaps.leading_empty_columns = saturate_int16(columns.leading);
  gaps.interior_empty_columns = saturate_int16(columns.interior);
  gaps.trailing_empty_columns = saturate_int16(columns.trailing);
  gaps.leading_empty_rows = saturate_int16(rows.leading);
  gaps.interior_empty_rows = saturate_int16(rows.interior);
  gaps.trailing_empty_rows = saturate_int16(rows.trailing);
  return gaps;
}

}  // namespace inkrec

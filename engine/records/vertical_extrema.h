// The vertical extrema of a stroke: where the pen turns from going down to
// going up and back, found with a hysteresis threshold so that jitter smaller
// than the threshold does not count.
//
// A list starts with the stroke's first point and ends with its last; in
// between it holds alternating minima and maxima of y, at most one entry per
// point, in increasing point order. y grows downward: a minimum is the highest
// point on the tablet, a maximum the lowest. Lists of point records keep the
// record of each entry's point; lists of plain points keep only the point.
#pragma once

#include <cstdint>
#include <span>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/point.h"
#include "engine/records/point_run.h"

namespace inkrec {

struct PointRecord;

struct Extremum {
  static constexpr std::uint8_t kStart = 1;    // the stroke's (or figure's) first point
  static constexpr std::uint8_t kEnd = 2;      // its last point
  static constexpr std::uint8_t kMaximum = 4;  // a maximum of y
  static constexpr std::uint8_t kMinimum = 8;  // a minimum of y

  std::uint32_t point_index() const { return index; }
  bool is_start() const { return (flags & kStart) != 0; }
  bool is_end() const { return (flags & kEnd) != 0; }
  bool is_maximum() const { return (flags & kMaximum) != 0; }
  bool is_minimum() const { return (flags & kMinimum) != 0; }
  bool is_turning_point() const { return (flags & (kMaximum | kMinimum)) != 0; }
  void set_start(bool on) { set_flag(kStart, on); }
  void set_end(bool on) { set_flag(kEnd, on); }
  void set_maximum(bool on) { set_flag(kMaximum, on); }
  void set_minimum(bool on) { set_flag(kMinimum, on); }
  void set_flag(std::uint8_t bit, bool on) {
    flags = static_cast<std::uint8_t>(on ? flags | bit : flags & ~bit);
  }

  PackedPoint point;
  const PointRecord* record = nullptr;  // null in lists of plain points
  std::uint32_t index = 0;              // of the point in the run the list was built from
  std::uint8_t flags = 0;
};

struct ExtremumList {
  DynArray<Extremum> entries;
  std::int32_t threshold = 0;  // the hysteresis threshold the list was built with
};

// Replaces the list with the extrema of a run of point records. A threshold
// of 0 counts as 1. Nothing for a null run or a count below 1. 0, or -1 when
// the list cannot grow (it then holds the entries found so far).
int find_vertical_extrema(ExtremumList& out, const PointRecord* points, std::int32_t count,
                          int threshold);
// The same over plain points, with the threshold taken as given.
int find_packed_point_extrema(ExtremumList& out, const PackedPoint* points, std::int32_t count,
                              int threshold);

// Appends the list of each run to `lists`: 0; -2 at a null run (the lists
// of the runs before it stay appended); -1 when the lists cannot grow.
int collect_vertical_extrema(DynArray<ExtremumList>& lists, RunList strokes, int threshold);
int collect_vertical_extrema(DynArray<ExtremumList>& lists, const PointRun& stroke, int threshold);

// The distinct minima and maxima of a list. Without the ends, entries at the
// first or last point are passed over. A turning point counts unless an
// earlier one of its kind lies within `tolerance` in both x and y; with a
// negative tolerance every one counts.
struct ExtremumCounts {
  int minima = 0;
  int maxima = 0;
};
ExtremumCounts count_distinct_extrema(std::span<const Extremum> list, bool include_ends,
                                      int tolerance);

// The number of points of all the runs (null runs count none).
std::int64_t total_point_count(RunList runs);

}  // namespace inkrec

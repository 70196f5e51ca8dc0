// PointRun: a run of trajectory point records (a stroke or a piece of one),
// and RunList, the list of runs a figure is made of.
//
// A run never owns its points: they belong to the stroke's trajectory, and
// neighbouring pieces of a stroke share their joint point. A run list is a
// span of run pointers; the figure records begin with their run, so a list
// of figures is built from the addresses of their `run` members. Operations
// over a list report a null run as -2.
#pragma once

#include <cstdint>
#include <span>

#include "engine/foundation/point_span.h"

namespace inkrec {

struct PointRecord;

struct PointRun {
  PointRecord* points = nullptr;
  std::int32_t count = 0;

  void clear() {
    points = nullptr;
    count = 0;
  }
  void set(PointRecord* first, std::int32_t n) {
    points = first;
    count = n;
  }
  bool empty() const { return points == nullptr || count < 1; }
  // The points of the run; empty for a null pointer or a count below 1.
  PointSpan span() const;
};

using RunList = std::span<PointRun* const>;

// A null entry, or a run that counts points but has none.
bool has_missing_run(RunList runs);

}  // namespace inkrec

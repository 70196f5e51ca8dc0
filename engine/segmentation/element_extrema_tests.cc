#include "engine/segmentation/element_extrema_tests.h"

#include <algorithm>
#include <cstdlib>

#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"

namespace inkrec {
namespace {

bool is_bottom(const Extremum& e) { return e.is_maximum(); }
bool is_top(const Extremum& e) { return e.is_minimum(); }

// y of a fit at x; false for an empty fit.
bool fit_y(LineFit& fit, int x, int* y) {
  if (fit.is_empty()) return false;
  *y = fit.y_at(x);
  return true;
}

// Whether two neighbouring extrema of the kind, in run order, lie less
// than h/10 apart horizontally.
bool has_close_pair(std::span<const Extremum> list, bool (*kind)(const Extremum&), int h) {
  const Extremum* previous = nullptr;
  for (const Extremum& e : list) {
    if (!kind(e)) continue;
    if (previous != nullptr && std::abs(e.point.x - previous->point.x) < h / 10) return true;
    previous = &e;
  }
  return false;
}

int count_in_list(std::span<const Extremum> list, bool (*kind)(const Extremum&)) {
  return static_cast<int>(std::count_if(list.begin(), list.end(), kind));
}

// The x of an extremum moved along the slant to the height of the line.
int slanted_x(const Extremum& e, int offset, int slant) {
  return e.point.x + offset * scale_by_tangent(slant - 90, 1000) / 1000;
}

struct FarExtremum {
  int x = 0;
  Extremum e;
};

// The extrema of the kind lying at least h/6 beyond the middle line, in
// slanted order, those within h/10 of the last one kept (both ways) left
// out.
int collect_far(const DynArray<ExtremumList>& lists, bool bottoms, const ExtremaLine& l,
                DynArray<FarExtremum>& out) {
  LineFit& middle = l.line->fits[1];
  for (const ExtremumList& list : lists) {
    for (const Extremum& e : list.entries) {
      if (bottoms ? !is_bottom(e) : !is_top(e)) continue;
      int y = 0;
      if (!fit_y(middle, e.point.x, &y)) continue;
      const int beyond = bottoms ? e.point.y - y : y - e.point.y;
      if (beyond < l.h / 6) continue;
      if (out.push_back(FarExtremum{slanted_x(e, e.point.y - y, l.slant), e}) != kOk) {
        return kOutOfMemory;
      }
    }
  }
  std::sort(out.begin(), out.end(),
            [](const FarExtremum& a, const FarExtremum& b) { return a.x < b.x; });
  std::uint32_t kept = 0;
  for (std::uint32_t i = 0; i < out.size(); ++i) {
    if (kept > 0) {
      const PackedPoint last = out[kept - 1].e.point;
      const PackedPoint p = out[i].e.point;
      if (std::abs(p.x - last.x) < l.h / 10 && std::abs(p.y - last.y) < l.h / 10) continue;
    }
    out[kept++] = out[i];
  }
  return out.resize(kept);
}

// Whether the extremum reaches at least 2h/3 and s/2 beyond the baseline
// (bottoms) or the upper line (tops).
bool reaches_far(const Extremum& e, bool bottoms, const ExtremaLine& l) {
  int y = 0;
  if (!fit_y(l.line->fits[bottoms ? 2 : 0], e.point.x, &y)) return false;
  const int beyond = bottoms ? e.point.y - y : y - e.point.y;
  return beyond >= 2 * l.h / 3 && beyond >= l.s / 2;
}

// Turns of the kind before and after a loop point.
struct AroundLoop {
  int before = 0;
  int after = 0;
};

AroundLoop count_around(std::span<const Extremum> list, bool (*kind)(const Extremum&),
                        std::int32_t loop) {
  AroundLoop counts;
  if (loop < 0) return counts;
  for (const Extremum& e : list) {
    if (!kind(e)) continue;
    const auto i = static_cast<std::int64_t>(e.point_index());
    if (i + 1 < loop) ++counts.before;
    if (i > std::int64_t{loop} + 1) ++counts.after;
  }
  return counts;
}

bool any_turn(const Extremum& e) { return e.is_turning_point(); }

// The first loop point taken from the turns far below the baseline.
std::int32_t derived_loop(std::span<const Extremum> list, const ExtremaLine& l) {
  if (count_in_list(list, any_turn) < 2) return -1;
  int highest = 32767;
  for (const Extremum& e : list) {
    if (any_turn(e)) highest = std::min<int>(highest, e.point.y);
  }
  std::int32_t loop = -1;
  int lowest = -32768;
  for (const Extremum& e : list) {
    int base = 0;
    if (!any_turn(e) || !fit_y(l.line->fits[2], e.point.x, &base)) continue;
    if (e.point.y - base <= 11 * l.h / 12) continue;
    loop = static_cast<std::int32_t>(e.point_index());
    lowest = std::max<int>(lowest, e.point.y);
  }
  return loop >= 0 && lowest - highest >= 2 * l.h / 3 ? loop : -1;
}

bool too_many_around(AroundLoop first, AroundLoop second, const int (&limits)[6]) {
  return first.before > limits[0] || second.before > limits[1] || first.after > limits[2] ||
         second.after > limits[3] || first.before + first.after > limits[4] ||
         second.before + second.after > limits[5];
}

}  // namespace

int find_run_extrema(RunList runs, int hysteresis, DynArray<ExtremumList>& lists) {
  lists.clear();
  return collect_vertical_extrema(lists, runs, hysteresis);
}

TurnCounts count_turns(const DynArray<ExtremumList>& lists) {
  TurnCounts counts;
  for (const ExtremumList& list : lists) {
    counts.turns += count_in_list(list.entries.span(), any_turn);
    counts.bottoms += count_in_list(list.entries.span(), is_bottom);
    counts.tops += count_in_list(list.entries.span(), is_top);
  }
  return counts;
}

int test_element_turns(const PointRun& run, const Box16& box, const ExtremaLine& l) {
  ExtremumList list;
  const int coarse = std::max(l.h / 4, std::min(l.h / 2, box.height() / 2));
  int status = find_vertical_extrema(list, run.points, run.count, coarse);
  if (status != kOk) return status;
  const std::span<const Extremum> entries = list.entries.span();
  if (count_in_list(entries, any_turn) > 9 ||
      (count_in_list(entries, is_bottom) >= 5 && count_in_list(entries, is_top) > 3)) {
    return kRejected;
  }
  const int w = box.width();
  if (7 * box.height() >= 5 * w && 7 * l.h >= 3 * w) return kOk;
  const int fine = std::max(l.h / 4, std::min(box.height() / 2, 5 * l.h / 13));
  if ((status = find_vertical_extrema(list, run.points, run.count, fine)) != kOk) return status;
  for (bool (*kind)(const Extremum&) : {is_bottom, is_top}) {
    if (count_in_list(list.entries.span(), kind) >= 5 &&
        !has_close_pair(list.entries.span(), kind, l.h)) {
      return kRejected;
    }
  }
  return kOk;
}

int test_loop_turns(std::span<const Extremum> extrema, std::int32_t first_loop,
                    std::int32_t second_loop, const ExtremaLine& line) {
  if (first_loop < 0) first_loop = derived_loop(extrema, line);
  if (first_loop < 0 && second_loop < 0) return kOk;
  static constexpr int kTurnLimits[6] = {3, 2, 2, 3, 3, 4};
  static constexpr int kBottomLimits[6] = {4, 2, 2, 3, 4, 3};
  if (too_many_around(count_around(extrema, any_turn, first_loop),
                      count_around(extrema, any_turn, second_loop), kTurnLimits) ||
      too_many_around(count_around(extrema, is_bottom, first_loop),
                      count_around(extrema, is_bottom, second_loop), kBottomLimits)) {
    return kRejected;
  }
  return kOk;
}

int test_far_extrema(const DynArray<ExtremumList>& lists, bool bottoms, const ExtremaLine& line) {
  const TurnCounts counts = count_turns(lists);
  if ((bottoms ? counts.bottoms : counts.tops) < 3) return kOk;
  DynArray<FarExtremum> far;
  if (const int status = collect_far(lists, bottoms, line, far); status != kOk) return status;
  if (far.size() > 4) return kRejected;
  for (std::uint32_t i = 0; i < far.size(); ++i) {
    if (!reaches_far(far[i].e, bottoms, line)) continue;
    if (i > 3 || far.size() - i > 3) return kRejected;
  }
  return kOk;
}

int test_group_turns(RunList runs, const Box16& box, const ExtremaLine& line) {
  DynArray<ExtremumList> lists;
  const int hysteresis = std::max(line.h / 4, std::min(line.h / 2, box.height() / 2));
  if (const int status = find_run_extrema(runs, hysteresis, lists); status != kOk) return status;
  const TurnCounts counts = count_turns(lists);
  const int w = box.width();
  const int height = box.height();
  const bool wide = 10 * w > 24 * height || (2 * w > 3 * height && 10 * w > 35 * line.h);
  if (wide && !((counts.turns < 10 && counts.bottoms < 5) || counts.tops < 5)) return kRejected;
  for (const bool bottoms : {true, false}) {
    if (const int status = test_far_extrema(lists, bottoms, line); status != kOk) return status;
  }
  return kOk;
}

}  // namespace inkrec

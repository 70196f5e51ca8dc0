// Reading-order sorts: stroke and figure records, and groups of figures, put
// left to right (or right to left) with a horizontal tolerance.
//
// Two items whose reference points lie within the tolerance of each other
// horizontally are ordered top to bottom instead. The sorts work in place on
// arrays of pointers, without recursion and without allocation, and are not
// stable. They return -2 for a null array, a null item or a negative count,
// else 0. A tolerance below 1 is taken as 1.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <utility>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/point.h"
#include "engine/foundation/status.h"
#include "engine/records/record_access.h"

namespace inkrec {

// The quicksort behind every reading-order and score sort of the engine:
// middle pivot, two-index partition, the larger part put on an explicit stack
// of ranges and the smaller one partitioned next. Items end in ascending
// order of `comes_after(x, y)` (x goes after y). The scans never leave their
// range, even for a relation that is not a strict order.
template <typename T, typename ComesAfter>
void sort_pointer_array(T** items, std::int32_t count, ComesAfter comes_after) {
  constexpr int kStackDepth = 1024;
  std::int32_t low_stack[kStackDepth];
  std::int32_t high_stack[kStackDepth];
  int depth = 0;
  if (count < 2) return;
  low_stack[depth] = 0;
  high_stack[depth] = count - 1;
  ++depth;
  while (depth > 0) {
    --depth;
    std::int32_t lo = low_stack[depth];
    std::int32_t hi = high_stack[depth];
    while (lo < hi) {
      T* const pivot = items[lo + (hi - lo) / 2];
      std::int32_t i = lo;
      std::int32_t j = hi;
      do {
        while (i < hi && comes_after(pivot, items[i])) ++i;
        while (j > lo && comes_after(items[j], pivot)) --j;
        if (i <= j) {
          std::swap(items[i], items[j]);
          ++i;
          --j;
        }
      } while (i <= j);
      // Keep the larger part for later: the stack stays below 32 ranges.
      if (j - lo > hi - i) {
        if (lo < j) {
          low_stack[depth] = lo;
          high_stack[depth] = j;
          ++depth;
        }
        lo = i;
      } else {
        if (i < hi) {
          low_stack[depth] = i;
          high_stack[depth] = hi;
          ++depth;
        }
        hi = j;
      }
    }
  }
}

// The point order with tolerance t: whether p goes after q.
class PointOrder {
 public:
  PointOrder(std::int32_t tolerance, bool right_to_left)
      : tolerance_(tolerance < 1 ? 1 : tolerance), right_to_left_(right_to_left) {}

  bool comes_after(PackedPoint p, PackedPoint q) const {
    const std::int64_t px = p.x;
    const std::int64_t qx = q.x;
    if (px + tolerance_ > qx && px <= qx + tolerance_) return q.y < p.y;
    return right_to_left_ ? px + tolerance_ <= qx : px + tolerance_ > qx;
  }

 private:
  std::int64_t tolerance_;
  bool right_to_left_;
};

namespace reading_order_detail {

template <typename T>
bool has_null(T* const* items, std::int32_t count) {
  for (std::int32_t i = 0; i < count; ++i) {
    if (items[i] == nullptr) return true;
  }
  return false;
}

template <typename T>
int check(T* const* items, std::int32_t count) {
  return items == nullptr || count < 0 || has_null(items, count) ? kBadArgument : kOk;
}

// Whether stroke s is on one of the figures before `end` in the list.
template <typename Iterator>
bool stroke_seen_before(Iterator begin, Iterator end, std::uint16_t s) {
  for (Iterator it = begin; it != end; ++it) {
    if (*it != nullptr && stroke_number_of(**it) == s) return true;
  }
  return false;
}

// Calls visit(s) once for each distinct stroke number of the group, in order
// of first appearance, until visit returns true; returns whether it did.
template <FigureCollection G, typename Visit>
bool for_each_stroke(const G& group, Visit visit) {
  const auto& figures = figures_of(group);
  for (auto it = figures.begin(); it != figures.end(); ++it) {
    if (*it == nullptr) continue;
    const std::uint16_t s = stroke_number_of(**it);
    if (!stroke_seen_before(figures.begin(), it, s) && visit(s)) return true;
  }
  return false;
}

template <FigureCollection G>
bool has_stroke(const G& group, std::uint16_t s) {
  return for_each_stroke(group, [s](std::uint16_t t) { return t == s; });
}

// The least first-point index among the group's figures on stroke s; 32767
// when none lies on it.
template <FigureCollection G>
int least_first_point(const G& group, std::uint16_t s) {
  int least = 32767;
  for (const auto* figure : figures_of(group)) {
    if (figure != nullptr && stroke_number_of(*figure) == s && first_point_of(*figure) < least) {
      least = first_point_of(*figure);
    }
  }
  return least;
}

// The group's stroke that comes first in point order; false when none of its
// strokes has a record.
template <FigureCollection G, typename Strokes>
bool earliest_stroke(const G& group, const Strokes& strokes, const PointOrder& order,
                     std::uint16_t* earliest) {
  bool found = false;
  for_each_stroke(group, [&](std::uint16_t s) {
    if (s >= strokes.size()) return false;
    if (!found ||
        !order.comes_after(reading_point(strokes[s]), reading_point(strokes[*earliest]))) {
      *earliest = s;
      found = true;
    }
    return false;
  });
  return found;
}

template <FigureCollection G, typename Strokes>
bool group_comes_after(const G& a, const G& b, const Strokes& strokes, const PointOrder& order) {
  bool after = false;
  const bool shared = for_each_stroke(a, [&](std::uint16_t s) {
    if (!has_stroke(b, s)) return false;
    after = least_first_point(a, s) > least_first_point(b, s);
    return true;
  });
  if (shared) return after;
  std::uint16_t earliest_a = 0;
  std::uint16_t earliest_b = 0;
  if (!earliest_stroke(a, strokes, order, &earliest_a) ||
      !earliest_stroke(b, strokes, order, &earliest_b)) {
    return false;
  }
  if (earliest_a == earliest_b) {
    return least_first_point(a, earliest_a) > least_first_point(b, earliest_a);
  }
  return order.comes_after(reading_point(strokes[earliest_a]), reading_point(strokes[earliest_b]));
}

}  // namespace reading_order_detail

// Orders by line index (taken as a signed 16-bit value), then by point order.
template <ReadingRecord R>
int sort_pointers(R** items, std::int32_t count, std::int32_t tolerance, bool right_to_left) {
  if (const int status = reading_order_detail::check(items, count); status != kOk) return status;
  const PointOrder order(tolerance, right_to_left);
  sort_pointer_array(items, count, [&order](const R* p, const R* q) {
    const auto p_line = static_cast<std::int16_t>(line_index_of(*p));
    const auto q_line = static_cast<std::int16_t>(line_index_of(*q));
    if (p_line != q_line) return p_line > q_line;
    return order.comes_after(reading_point(*p), reading_point(*q));
  });
  return kOk;
}

// Orders by point order alone.
template <ReadingRecord R>
int sort_pointers_by_flag(R** items, std::int32_t count, std::int32_t tolerance,
                          bool right_to_left) {
  if (const int status = reading_order_detail::check(items, count); status != kOk) return status;
  const PointOrder order(tolerance, right_to_left);
  sort_pointer_array(items, count, [&order](const R* p, const R* q) {
    return order.comes_after(reading_point(*p), reading_point(*q));
  });
  return kOk;
}

// The stroke records of a recognition, indexed by stroke number (a DynArray
// or a span of them).
template <typename Strokes>
concept StrokeTable = requires(const Strokes& strokes, std::uint32_t i) {
  { strokes.size() } -> std::convertible_to<std::size_t>;
  { reading_point(strokes[i]) } -> std::convertible_to<PackedPoint>;
};

// Orders groups of figures. Groups that share a stroke are ordered by where
// on it their figures start; otherwise by the point order of each group's
// earliest stroke, whose record `strokes` holds at the stroke's number
// (strokes without a record are passed over).
template <FigureCollection G, StrokeTable Strokes>
int sort_pointers_ctx(G** groups, std::int32_t count, std::int32_t tolerance,
                      const Strokes& strokes, bool right_to_left) {
  if (const int status = reading_order_detail::check(groups, count); status != kOk) return status;
  const PointOrder order(tolerance, right_to_left);
  sort_pointer_array(groups, count, [&](const G* a, const G* b) {
    return reading_order_detail::group_comes_after(*a, *b, strokes, order);
  });
  return kOk;
}

// The distinct stroke numbers of the group's figures, in order of first
// appearance; 0, or -1 when the list cannot grow.
template <FigureCollection G>
int stroke_numbers_of_group(const G& group, DynArray<std::uint16_t>& out) {
  out.clear();
  int status = kOk;
  reading_order_detail::for_each_stroke(group, [&](std::uint16_t s) {
    status = out.push_back(s);
    return status != kOk;
  });
  return status;
}

}  // namespace inkrec

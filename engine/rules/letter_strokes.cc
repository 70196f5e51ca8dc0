#include "engine/rules/letter_strokes.h"

#include <algorithm>
#include <cstdlib>

#include "engine/records/profile_raster.h"
#include "engine/rules/letter_rules.h"

namespace inkrec {
namespace {

const Extremum* first_interior_turn(const LetterElement& e, bool maximum) {
  for (std::int32_t k = 0; k < e.extremum_count(); ++k) {
    const Extremum& x = e.extremum(k);
    if (x.is_start() || x.is_end()) continue;
    if (maximum ? x.is_maximum() : x.is_minimum()) return &x;
  }
  return nullptr;
}

}  // namespace

bool one_of(std::uint16_t value, std::initializer_list<std::uint16_t> values) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

std::int32_t ink_width(const LetterElement& e, std::int32_t row) {
  const ProfileRaster* profile = e.profile();
  return profile == nullptr ? 0 : profile->row_extent(row);
}

bool stroke_ends(const LetterElement& e, StrokeEnds& out) {
  const PointSpan p = e.points(0);
  if (p.empty()) return false;
  out = {box_of_points(p), p.front(), p.back()};
  return true;
}

bool starts_round_body(const StrokeEnds& s) {
  return 2 * s.first.x > s.box.left + s.box.right && s.first.y < s.box.top + s.box.height() / 2;
}

bool drawn_as_cup(const StrokeEnds& s) {
  return 3 * (s.first.x - s.box.left) < s.box.width() &&
         s.first.y < s.box.top + s.box.height() / 2 && 3 * (s.box.right - s.last.x) < s.box.width();
}

bool starts_top_right(const StrokeEnds& s) {
  return 4 * (s.first.y - s.box.top) < s.box.height() && 2 * s.first.x > s.box.left + s.box.right;
}

bool starts_with_bar(const StrokeEnds& s) {
  return 4 * (s.first.y - s.box.top) >= s.box.height() &&
         4 * (s.box.bottom - s.first.y) >= s.box.height() &&
         2 * s.first.x < s.box.left + s.box.right;
}

bool closes_on_itself(const StrokeEnds& s) {
  const std::int32_t side = std::max(s.box.width(), s.box.height());
  return 4 * std::abs(s.last.x - s.first.x) < side && 4 * std::abs(s.last.y - s.first.y) < side;
}

PackedPoint topmost_point(PointSpan points) {
  PackedPoint best = points.front();
  for (std::int32_t i = 1; i < points.size(); ++i) {
    if (points[i].y < best.y) best = points[i];
  }
  return best;
}

PackedPoint lowest_point(PointSpan points) {
  PackedPoint best = points.front();
  for (std::int32_t i = 1; i < points.size(); ++i) {
    if (points[i].y > best.y) best = points[i];
  }
  return best;
}

std::int32_t right_quarter_after_first_descent(PointSpan points, const Box16& box) {
  std::int32_t lowest = 0;
  std::int32_t i = 1;
  for (; i < points.size(); ++i) {
    if (points[i].y > points[lowest].y) lowest = i;
    if (10 * (points[lowest].y - points[i].y) > box.height()) break;
  }
  for (; i < points.size(); ++i) {
    if (4 * (box.right - points[i].x) < box.width()) return i;
  }
  return -1;
}

bool flat_top(const LetterElement& e) {
  const ProfileRaster* profile = e.profile();
  if (profile == nullptr) return false;
  const std::int32_t near_top = e.top() + e.height() / 10;
  std::int32_t columns = 0;
  for (std::int32_t x = e.left(); x <= e.right(); ++x) {
    if (profile->column_min(x) <= near_top) ++columns;
  }
  return 2 * columns > e.width();
}

const Extremum* first_bottom_turn(const LetterElement& e) { return first_interior_turn(e, true); }
const Extremum* first_top_turn(const LetterElement& e) { return first_interior_turn(e, false); }

}  // namespace inkrec

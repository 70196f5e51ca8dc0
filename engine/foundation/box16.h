// Box16: an axis-aligned rectangle in 16-bit tablet units, bounds inclusive.
//
// Width and height count both bounds (a box {0, 0, 0, 0} is one unit wide). A
// cleared box is all zero. The setters from corners normalise (left <= right,
// top <= bottom); the in-place operations keep whatever order they are given.
// Every bound that an operation computes saturates to -32768..32767.
#pragma once

#include <cstdint>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/point.h"

namespace inkrec {

struct Box16 {
  std::int16_t left = 0;
  std::int16_t top = 0;
  std::int16_t right = 0;
  std::int16_t bottom = 0;

  friend constexpr bool operator==(const Box16&, const Box16&) = default;

  void clear() { *this = Box16{}; }
  // Each axis ordered.
  void set(int x0, int y0, int x1, int y1);
  void set_from_points(PackedPoint p, PackedPoint q) { set(p.x, p.y, q.x, q.y); }
  static Box16 normalized_from(const Box16& other);
  void normalize();

  std::int32_t width() const { return std::int32_t{right} - left + 1; }
  std::int32_t height() const { return std::int32_t{bottom} - top + 1; }
  std::int32_t area() const { return width() * height(); }
  std::int16_t center_x() const { return static_cast<std::int16_t>((left + right) / 2); }
  std::int16_t center_y() const { return static_cast<std::int16_t>((top + bottom) / 2); }

  // Lengthens the smaller side to the larger one (rightward or downward).
  void make_square();

  bool contains(PackedPoint p) const { return contains_x(p) && contains_y(p); }
  bool contains_x(PackedPoint p) const { return left <= p.x && p.x <= right; }
  bool contains_y(PackedPoint p) const { return top <= p.y && p.y <= bottom; }
  // The boxes share at least one point; touching edges count.
  bool intersects(const Box16& other) const { return overlaps_x(other) && overlaps_y(other); }
  bool overlaps_x(const Box16& other) const { return left <= other.right && other.left <= right; }
  bool overlaps_y(const Box16& other) const { return top <= other.bottom && other.top <= bottom; }

  // Moves each bound inward to the other box's; the result may be empty.
  void clip_to(const Box16& other);
  // Moves every side outward by d (negative d moves inward).
  void inflate(int d) { inflate(d, d); }
  void inflate(int dx, int dy);
  // Grows to take in the other box or the point.
  void unite(const Box16& other);
  void include_point(PackedPoint p);
  static Box16 united(const Box16& a, const Box16& b);
};

static_assert(sizeof(Box16) == 8);

// Appends p to the run unless it equals the run's last point: 0, or -1 when
// the run cannot grow.
int append_point_if_new(DynArray<PackedPoint>& run, PackedPoint p);

}  // namespace inkrec

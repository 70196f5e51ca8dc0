// Point differences, componentwise bounds and squares.

#include "engine/foundation/point_ops.h"

#include <algorithm>
#include <cstdint>

#include "engine/foundation/values.h"

namespace inkrec {

PackedPoint subtract(PackedPoint a, PackedPoint b) {
  return {saturate_int16(std::int64_t{a.x} - b.x), saturate_int16(std::int64_t{a.y} - b.y)};
}

void lower_into(PackedPoint& a, PackedPoint v) {
  lower_to(a.x, v.x);
  lower_to(a.y, v.y);
}

void raise_into(PackedPoint& a, PackedPoint v) {
  raise_to(a.x, v.x);
  raise_to(a.y, v.y);
}

std::array<PackedPoint, 5> square_at_point(PackedPoint p, int size, const Box16& box) {
  const std::int64_t below = size % 2 == 0 ? size / 2 : (std::int64_t{size} - 1) / 2;
  const std::int64_t above = size % 2 == 0 ? size / 2 : (std::int64_t{size} + 1) / 2;
  // Lower bound first, so that a box with its sides crossed cannot fail.
  const auto clamp_x = [&box](std::int64_t x) {
    return static_cast<std::int16_t>(
        std::min<std::int64_t>(std::max<std::int64_t>(x, box.left), box.right));
  };
  const auto clamp_y = [&box](std::int64_t y) {
    return static_cast<std::int16_t>(
        std::min<std::int64_t>(std::max<std::int64_t>(y, box.top), box.bottom));
  };
  const std::int16_t left = clamp_x(p.x - below);
  const std::int16_t right = clamp_x(p.x + above);
  const std::int16_t top = clamp_y(p.y - below);
  const std::int16_t bottom = clamp_y(p.y + above);
  return {PackedPoint{left, top}, PackedPoint{right, top}, PackedPoint{right, bottom},
          PackedPoint{left, bottom}, PackedPoint{left, top}};
}

}  // namespace inkrec

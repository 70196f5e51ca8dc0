// Box16 operations that compute bounds, each saturated to 16 bits.

#include "engine/foundation/box16.h"

#include <algorithm>
#include <utility>

#include "engine/foundation/status.h"
#include "engine/foundation/values.h"

namespace inkrec {

void Box16::set(int x0, int y0, int x1, int y1) {
  left = saturate_int16(std::min(x0, x1));
  right = saturate_int16(std::max(x0, x1));
  top = saturate_int16(std::min(y0, y1));
  bottom = saturate_int16(std::max(y0, y1));
}

Box16 Box16::normalized_from(const Box16& other) {
  Box16 box = other;
  box.normalize();
  return box;
}

void Box16::normalize() {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
}

void Box16::make_square() {
  const std::int32_t w = width();
  const std::int32_t h = height();
  if (h > w) {
    right = saturate_int16(std::int64_t{left} + h - 1);
  } else if (w > h) {
    bottom = saturate_int16(std::int64_t{top} + w - 1);
  }
}

void Box16::clip_to(const Box16& other) {
  raise_to(left, other.left);
  raise_to(top, other.top);
  lower_to(right, other.right);
  lower_to(bottom, other.bottom);
}

void Box16::inflate(int dx, int dy) {
  left = saturate_int16(std::int64_t{left} - dx);
  top = saturate_int16(std::int64_t{top} - dy);
  right = saturate_int16(std::int64_t{right} + dx);
  bottom = saturate_int16(std::int64_t{bottom} + dy);
}

void Box16::unite(const Box16& other) {
  lower_to(left, other.left);
  lower_to(top, other.top);
  raise_to(right, other.right);
  raise_to(bottom, other.bottom);
}

void Box16::include_point(PackedPoint p) {
  lower_to(left, p.x);
  lower_to(top, p.y);
  raise_to(right, p.x);
  raise_to(bottom, p.y);
}

Box16 Box16::united(const Box16& a, const Box16& b) {
  Box16 box = a;
  box.unite(b);
  return box;
}

int append_point_if_new(DynArray<PackedPoint>& run, PackedPoint p) {
  if (!run.empty() && run.back() == p) return kOk;
  return run.push_back(p);
}

}  // namespace inkrec

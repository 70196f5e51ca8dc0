// Points and half-open rectangles (right and bottom lie outside) of the
// drawing calls, in pixels.
#pragma once

#include <algorithm>

namespace ductra::platform {

struct DrawPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const DrawPoint&, const DrawPoint&) = default;
};

struct DrawRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  DrawRect offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  friend bool operator==(const DrawRect&, const DrawRect&) = default;
};

// The overlap of two rectangles; an empty rectangle when they do not meet.
inline DrawRect overlap(const DrawRect& a, const DrawRect& b) {
  DrawRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
             std::min(a.bottom, b.bottom)};
  return r.empty() ? DrawRect{} : r;
}

}  // namespace ductra::platform

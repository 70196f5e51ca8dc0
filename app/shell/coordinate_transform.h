// Turns touch coordinates of the unrotated touch panel (four units to a
// pixel) into touch coordinates of the screen as it is currently rotated.
// A plain value: the display orientation and the rotated screen's width and
// height in pixels.
#pragma once

#include <cstdint>

namespace ductra {

struct CoordinateTransform {
  // 1 is 90 degrees, 2 is 180, 4 is 270; 0 and any other value leave the
  // coordinates as they are.
  int orientation = 0;
  int width = 0;
  int height = 0;

  void transform(std::int32_t* x, std::int32_t* y) const;

  friend bool operator==(const CoordinateTransform&, const CoordinateTransform&) = default;
};

}  // namespace ductra

// A point of the application's ink: x and y in touch units (a quarter of a
// pixel) of the current screen orientation.
#pragma once

#include <cstdint>
#include <span>

namespace ductra {

struct InkPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;

  friend bool operator==(const InkPoint&, const InkPoint&) = default;
};

// The points of one stroke, in writing order.
using InkStrokeView = std::span<const InkPoint>;

}  // namespace ductra

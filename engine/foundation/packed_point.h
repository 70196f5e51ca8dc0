// PackedPoint: one ink point in tablet units, and the stroke made of them.
//
// Two signed 16-bit coordinates, y growing downward; a stroke is the points
// of one pen-down to pen-up movement in writing order.
#pragma once

#include <cstdint>

#include "engine/foundation/dyn_array.h"

namespace inkrec {

struct PackedPoint {
  std::int16_t x = 0;
  std::int16_t y = 0;

  friend bool operator==(const PackedPoint&, const PackedPoint&) = default;
};
static_assert(sizeof(PackedPoint) == 4);

using Stroke = DynArray<PackedPoint>;

}  // namespace inkrec

// PackedPoint: a point (or a vector between two points) in 16-bit tablet
// units, y growing downward.
//
// Four bytes, x then y; the engine's stored records and point records embed it
// at that size, and the generic geometry reads it from memory that need not be
// aligned (see point_span.h).
#pragma once

#include <cstdint>

namespace inkrec {

struct PackedPoint {
  std::int16_t x = 0;
  std::int16_t y = 0;

  friend constexpr bool operator==(const PackedPoint&, const PackedPoint&) = default;
};

static_assert(sizeof(PackedPoint) == 4);

}  // namespace inkrec

// ClampedRamp: the piecewise-linear integer map behind the engine's scores.
//
// A line through two points (x, y), held at the y of an end beyond that end
// when the end is clamped and continued past it when the end is open. A
// measured quantity (a height, a ratio in percent, a distance) goes in; a
// penalty or bonus comes out. Division truncates toward zero.
#pragma once

#include <cstdint>

#include "engine/database/property_flags.h"

namespace inkrec {

class ClampedRamp {
 public:
  // The point with the smaller x becomes the lower end (the first point when
  // both x are equal); each clamp flag stays with its point.
  ClampedRamp(std::int32_t x0, std::int32_t y0, bool clamp0, std::int32_t x1, std::int32_t y1,
              bool clamp1);

  std::int32_t value_at(std::int32_t x) const;

  std::int32_t lower_x() const { return lower_x_; }
  std::int32_t upper_x() const { return upper_x_; }
  bool lower_clamped() const { return lower_clamped_ != 0; }
  bool upper_clamped() const { return upper_clamped_ != 0; }

 private:
  std::int32_t lower_y_;
  std::int32_t upper_y_;
  std::int32_t lower_clamped_;
  std::int32_t lower_x_;
  std::int32_t upper_x_;
  std::int32_t upper_clamped_;
};

// For a symbol with property bit 13 and a size of 50 or more, lowers the
// score by the ramp 50 -> 140 (clamped), 100 -> 1000 (open) at that size.
void apply_size_penalty(PropertyFlags symbol_properties, std::int32_t size, std::int32_t* score);

}  // namespace inkrec

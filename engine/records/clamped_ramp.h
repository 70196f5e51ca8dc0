// ClampedRamp: the piecewise-linear integer map behind the engine's scores.
//
// A line through two points (x, y), held at the y of an end beyond that end
// when the end is clamped and continued past it when the end is open. A
// measured quantity (a height, a ratio in percent, a distance) goes in; a
// penalty or bonus comes out. Division truncates toward zero.
#pragma once

#include <algorithm>
#include <cstdint>

#include "engine/database/property_flags.h"

namespace inkrec {

class ClampedRamp {
 public:
  // The point with the smaller x becomes the lower end (the first point when
  // both x are equal); each clamp flag stays with its point. Made and read
  // in the header: the letter evaluation makes ramps for every candidate.
  constexpr ClampedRamp(std::int32_t x0, std::int32_t y0, bool clamp0, std::int32_t x1,
                        std::int32_t y1, bool clamp1)
      : lower_y_(x0 <= x1 ? y0 : y1),
        upper_y_(x0 <= x1 ? y1 : y0),
        lower_clamped_((x0 <= x1 ? clamp0 : clamp1) ? 1 : 0),
        lower_x_(x0 <= x1 ? x0 : x1),
        upper_x_(x0 <= x1 ? x1 : x0),
        upper_clamped_((x0 <= x1 ? clamp1 : clamp0) ? 1 : 0) {}

  constexpr std::int32_t value_at(std::int32_t x) const {
    if (lower_clamped_ != 0 && x <= lower_x_) return lower_y_;
    if (upper_clamped_ != 0 && x >= upper_x_) return upper_y_;
    std::int64_t value;
    if (lower_x_ == upper_x_) {
      value = (std::int64_t{lower_y_} + upper_y_) / 2;
    } else {
      value = lower_y_ + (std::int64_t{upper_y_} - lower_y_) * (std::int64_t{x} - lower_x_) /
                             (std::int64_t{upper_x_} - lower_x_);
    }
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
  }

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

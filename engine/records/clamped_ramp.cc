// ClampedRamp and the size penalty.

#include "engine/records/clamped_ramp.h"

#include <algorithm>
#include <cstdint>

namespace inkrec {

ClampedRamp::ClampedRamp(std::int32_t x0, std::int32_t y0, bool clamp0, std::int32_t x1,
                         std::int32_t y1, bool clamp1) {
  const bool first_is_lower = x0 <= x1;
  lower_x_ = first_is_lower ? x0 : x1;
  lower_y_ = first_is_lower ? y0 : y1;
  lower_clamped_ = (first_is_lower ? clamp0 : clamp1) ? 1 : 0;
  upper_x_ = first_is_lower ? x1 : x0;
  upper_y_ = first_is_lower ? y1 : y0;
  upper_clamped_ = (first_is_lower ? clamp1 : clamp0) ? 1 : 0;
}

std::int32_t ClampedRamp::value_at(std::int32_t x) const {
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

void apply_size_penalty(PropertyFlags symbol_properties, std::int32_t size, std::int32_t* score) {
  if (score == nullptr || size < 50 || symbol_properties.bit13() == 0) return;
  static const ClampedRamp kPenalty(50, 140, true, 100, 1000, false);
  const std::int32_t penalty = kPenalty.value_at(size);
  if (penalty > 0) *score -= penalty;
}

}  // namespace inkrec

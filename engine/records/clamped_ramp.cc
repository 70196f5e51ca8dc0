// The size penalty.

#include "engine/records/clamped_ramp.h"

#include <cstdint>

namespace inkrec {

void apply_size_penalty(PropertyFlags symbol_properties, std::int32_t size, std::int32_t* score) {
  if (score == nullptr || size < 50 || symbol_properties.bit13() == 0) return;
  static constexpr ClampedRamp kPenalty(50, 140, true, 100, 1000, false);
  const std::int32_t penalty = kPenalty.value_at(size);
  if (penalty > 0) *score -= penalty;
}

}  // namespace inkrec

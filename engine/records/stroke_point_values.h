// The per-point values of the run's strokes that the symbol rules read
// through figure_point_values: for each point of a stroke's run (as the
// ink stands after the lines were straightened), its x in the low and its
// y in the high 16 bits, so that the high halves of a figure's values
// rise and fall with its ink.
#pragma once

#include <cstdint>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/ptr_array.h"
#include "engine/records/recognition_context.h"

namespace inkrec {

// One point's value.
inline std::uint32_t point_value(PackedPoint p) {
  return static_cast<std::uint16_t>(p.x) | (std::uint32_t{static_cast<std::uint16_t>(p.y)} << 16);
}

// The work's table, made from its point runs when it does not hold one
// array per run yet: the table, or null when memory runs out (the table is
// then left empty).
const PtrArray<DynArray<std::uint32_t>>* stroke_point_values(LineWork& work);

}  // namespace inkrec

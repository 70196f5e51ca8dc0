// Small operations on points: the componentwise difference, componentwise
// lowering and raising, and the closed square drawn around a lone point.
#pragma once

#include <array>

#include "engine/foundation/box16.h"
#include "engine/foundation/point.h"

namespace inkrec {

// a - b componentwise, saturated to 16 bits.
PackedPoint subtract(PackedPoint a, PackedPoint b);
// a takes the lesser (lower_into) or the greater (raise_into) of its own and
// v's coordinate, each axis on its own.
void lower_into(PackedPoint& a, PackedPoint v);
void raise_into(PackedPoint& a, PackedPoint v);

// The closed square around p as a run of five points (top-left, top-right,
// bottom-right, bottom-left, top-left): size / 2 below and above p on each
// axis, or (size - 1) / 2 below and (size + 1) / 2 above for an odd size;
// every coordinate clamped into the box.
std::array<PackedPoint, 5> square_at_point(PackedPoint p, int size, const Box16& box);

}  // namespace inkrec

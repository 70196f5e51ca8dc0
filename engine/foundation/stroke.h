// Strokes: the ink as the caller hands it to the engine.
//
// A Stroke owns its points; a StrokeList owns its strokes (slots may be null,
// and every operation over a list reports a null stroke as -2). A StrokeView
// only looks at points that belong to someone else.
#pragma once

#include <cstdint>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/point.h"
#include "engine/foundation/ptr_array.h"

namespace inkrec {

using Stroke = DynArray<PackedPoint>;
using StrokeList = PtrArray<Stroke>;

// {point pointer, point count}: a stroke seen without owning it.
struct StrokeView {
  const PackedPoint* points = nullptr;
  std::int32_t count = 0;
};

}  // namespace inkrec

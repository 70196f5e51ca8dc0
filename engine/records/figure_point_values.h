// The values a stroke table keeps for each point of a stroke, taken for
// the points of one figure: from the stroke point its first point record
// names to the one its last names.
//
// A stroke table holds, at each stroke number, an array of one value per
// point of that stroke (null for a stroke without values). What the
// values mean is the caller's; the span never reaches past its stroke's
// array, and it stays valid until that array changes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/ptr_array.h"
#include "engine/foundation/status.h"
#include "engine/records/figure_records.h"
#include "engine/records/letter_fields.h"

namespace inkrec {

// Whether a point record of the figure carries a crossing mark.
bool figure_has_marked_point(const FigureRecord& figure);

// The figure's values; empty when the figure has no point records, when its
// first point lies past its stroke's array or its last before its first,
// and when the stroke has no array, which also writes -2 to *status (left
// alone otherwise). A span that would run past the stroke's array ends
// with it. When `marker` is given, it is set to 1 when a point record of
// the figure carries a crossing mark (and never cleared).
template <typename Value>
std::span<const Value> figure_point_values(const PtrArray<DynArray<Value>>& strokes,
                                           const FigureRecord& figure, int* status,
                                           std::uint8_t* marker) {
  const DynArray<Value>* values = strokes.item_checked(stroke_number(figure));
  if (values == nullptr) {
    if (status != nullptr) *status = kBadArgument;
    return {};
  }
  if (marker != nullptr && figure_has_marked_point(figure)) *marker = 1;
  if (figure.run.empty()) return {};
  const std::uint32_t first = hypothesis_code(figure.run.points[0]);
  const std::uint32_t last = hypothesis_code(figure.run.points[figure.run.count - 1]);
  if (first >= values->size() || last < first) return {};
  const std::uint32_t end = std::min(last + 1, values->size());
  return values->span().subspan(first, end - first);
}

}  // namespace inkrec

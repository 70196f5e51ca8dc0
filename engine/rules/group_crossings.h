// How often a group's ink passes a height of its box: the rules count the
// strokes of a letter at a given height ("three strokes cross the middle
// of an И").
//
// The height is p percent of the box up from its bottom: y = B - (B - T) *
// p / 100 (truncating; y grows downward), the box being that of the
// group's geometry. Neither count allocates.
#pragma once

#include <cstdint>

#include "engine/records/figure_group.h"

namespace inkrec {

// The row p percent up from the bottom of the group's box.
std::int32_t row_at_height(const FigureGroup& group, std::int32_t p);

// The steps of the group's runs that go down across the row: from a point
// at or above it to one below it. 0 for p = 0 (no point lies below the
// bottom row) and for a group without geometry; null figures count
// nothing.
int crossings_at_height(const FigureGroup& group, std::int32_t p);

// The segments of the group's runs that cross the row, either way (the
// ink extent's crossing count).
int extent_points_at_height(const FigureGroup& group, std::int32_t p);

}  // namespace inkrec

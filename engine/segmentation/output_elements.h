// The measures of an element of the figure output (a letter result of a
// text line) that the spacing, the word breaks and the letter case read.
//
// An element's line is the line of its first figure; its box and reference
// point are its geometry's. Every function takes an element with a
// geometry; the ones that read figures pass over null figures.
#pragma once

#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/foundation/ptr_array.h"
#include "engine/records/figure_group.h"

namespace inkrec {

// A null element, or one without a geometry.
bool has_missing_element(const PtrArray<FigureGroup>& elements);

// The text line of the element's first figure; 0xFFFF for none.
std::uint16_t element_line(const FigureGroup& element);
// Both on one line.
bool on_one_line(const FigureGroup& a, const FigureGroup& b);
Box16 element_box(const FigureGroup& element);
std::int32_t element_reference_x(const FigureGroup& element);
// The element's box height times its raise percentage (the first value of
// its profile) / divisor: with 100 the height its ink rises by, with 200
// half of it. 0 for a percentage that is not positive.
std::int32_t raise_share(FigureGroup& element, std::int32_t divisor);
// Its best reading is a space.
bool reads_as_space(const FigureGroup& element);
// A figure of each lies on the same stroke.
bool share_a_stroke(const FigureGroup& a, const FigureGroup& b);

}  // namespace inkrec

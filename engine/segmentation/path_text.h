// The text of a chosen reading: the characters its letter steps output, and
// the stroke groups that lie in a span of the text lines.
#pragma once

#include <cstdint>
#include <span>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/ptr_array.h"
#include "engine/segmentation/letter_path.h"

namespace inkrec {

class DataStore;
class FigureGroup;

// Appends the characters of the steps to `out`. A step reads its answer
// (the first answer's saved codes for answer -1). Code 31 is a marker: the
// next step outputs its alternative form, and a marker on the last step is
// output as 31 itself. A reading of several codes names database symbols,
// each output as the symbol's ordinary character (its third code) or its
// alternative (its second code); a reading of one code outputs its second
// code, or its third code as the alternative. Alternatives are taken after
// a marker and throughout with `alternative_forms`. A form that is 0 falls
// back to the reading's own code, so no step outputs a 0. 0; -1 when `out`
// cannot grow; -2 for a step without a group, an answer outside its list
// or a symbol the database lacks.
int collect_path_characters(std::span<const LetterStep> steps, const DataStore& store,
                            bool alternative_forms, DynArray<std::uint16_t>& out);

// A span of the text lines: from a position of one line to a position of
// the same or a later line, both included.
struct LineSpan {
  std::int32_t first_line = 0;
  std::int32_t first_position = 0;
  std::int32_t last_line = 0;
  std::int32_t last_position = 0;
};

// Appends to `out`, in their order, the groups of `groups` that lie wholly
// in the span (by the line of their first figure and their positions); a
// group's end flag is set when it reaches the span's last position, and
// cleared otherwise. 0; -1 when `out` cannot grow; -2 for a null group.
int collect_element_variants(const PtrArray<FigureGroup>& groups, const LineSpan& span,
                             PtrArray<FigureGroup>& out);

}  // namespace inkrec

// The tests for a single mark above or below a letter: whether a group
// formed as a single small mark (a dot, an accent, a cedilla) sits where a
// mark of a letter sits, and what its place costs.
//
// Both need the mark's geometry to carry both base lines; without them, or
// for a group not formed as a single mark, the flag is clear and the
// penalty 0. They look at the other figures of the mark's text line in the
// line's figure array (figures on other lines, and any with exactly the
// mark's box, are passed over).
#pragma once

#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/foundation/dyn_array.h"
#include "engine/records/figure_group.h"

namespace inkrec {

struct MarkPlace {
  bool flag = false;         // the group can be the mark
  std::int32_t penalty = 0;  // what its height costs
};

// Above: the flag clears for a figure under the mark's span that reaches
// no lower than the mark's top (the mark would stand on nothing); the
// first figure below the mark within its span is the letter it stands on
// and lowers the reference line to that letter's bottom. The penalty grows
// as the mark's bottom and the group's top come down to that line, and as
// the mark grows taller than half the size. Figures already covered by the
// group (its positions) and the array's first figure are not looked at.
MarkPlace upper_mark_place(const FigureGroup& group, const Box16& box, std::int32_t size,
                           const DynArray<FigureRecord>& line_figures);

// Below: the flag clears when a figure starting within the mark's span
// lies wholly below it. With the flag set, the penalty grows as the mark's
// top and the group's top rise above the middle of the base lines. kOk, or
// the status of the extremum search on the mark's first figure
// (kBadArgument without one).
int lower_mark_place(const FigureGroup& group, const Box16& box, std::int32_t size,
                     const DynArray<FigureRecord>& line_figures, MarkPlace* place);

}  // namespace inkrec

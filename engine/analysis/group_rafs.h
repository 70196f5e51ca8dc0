// The RAF features of one figure group, as the kernel computes them before
// the group is classified.
#pragma once

#include <cstdint>

#include "engine/database/data_records.h"
#include "engine/foundation/dyn_array.h"

namespace inkrec {

class FigureGroup;
class RafContext;

// Computes every RAF of the table over the group's strokes into the
// context, which the caller has sized to the table's total cell count;
// line_height is the height of the group's text line. With debug_output the
// computation may write its debug files. 0 or the first failing status.
int compute_group_rafs(RafContext& context, const FigureGroup& group, const DynArray<Raf>& rafs,
                       bool debug_output, int line_height);

}  // namespace inkrec

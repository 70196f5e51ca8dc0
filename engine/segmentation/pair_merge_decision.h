// The geometric judgement of one composite-letter rule for a pair of
// letter results: whether the partner O (the rule's first part) and the
// result R (its second part) in their present placement form the
// composite the rule describes, and how badly placed they are.
//
// Reads the results, the line's measures and pair table and the kernel's
// switches and charsets; changes nothing but its outputs.
#pragma once

#include <cstdint>

#include "engine/database/data_records.h"
#include "engine/records/figure_group.h"
#include "engine/records/fragment_state.h"

namespace inkrec {

// Judges the pair for the rule: sets *merge to 0 when the placement does
// not fit the composite (otherwise leaves it) and lowers *penalty by the
// misplacement. Three stages: the terms common to every rule (how R
// overlaps O for a stacked rule, how far the two lie apart for big
// parts), a test chosen by the composite's character (marks above or
// below, dotted i and j, and the letters of two parts), and a last term
// chosen by the composite's symbol id. 0; -2 when either result has no
// geometry, no figure or a null figure; -1 when memory runs out.
int decide_pair_merge(FragmentState& state, FigureGroup& other, FigureGroup& result,
                      const ComplexVariant& rule, std::uint8_t* merge, std::int32_t* penalty);

}  // namespace inkrec

// The shape tests of a whole stroke group that the letter evaluation
// measures once before it judges the candidate variants: how many times
// the ink runs down, whether a single mark lies on another stroke, whether
// a two-figure group is spaced like one letter, and how its rows narrow.
//
// Each answers a count, a flag or a penalty; a null figure in the group is
// reported as kBadArgument, and no test changes the group.
#pragma once

#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/foundation/dyn_array.h"
#include "engine/records/figure_group.h"
#include "engine/records/pair_table.h"

namespace inkrec {

// The stretches of every figure (of two or more points) along which the
// ink goes down the tablet without turning back up (steps whose y does not
// fall), counted when they descend at least one unit in all.
int count_descending_runs(const FigureGroup& group, std::int32_t* count);

// Whether the group lies on ink it does not hold. Set at once for a group
// not formed as a single mark. For a single mark: set when one of its
// figures has, on the line of the group's first figure, a nearest stroke
// (the least pair value in the stroke-pair table) closer than 2 units that
// is not one of the group's own strokes. kOk, a null figure, or the pair
// table's status.
int group_overlap_flag(const FigureGroup& group, const PairTable& stroke_pairs, bool* flag);

// For two figures F1, F2 of one group, F2 starting right of F1 and being
// no link, whose stroke goes on in the figure N (the line's figure with
// F2's stroke and piece and end keys F2's end key + 2): whether the gap
// between F1 and F2 (their mean row distance where both have rows) is one
// of a letter rather than one between letters, judged against the gap from
// F2 to N. Every other group, or the segment switch off, passes.
// line_figures is the line's figure array.
bool two_figures_spaced_as_one(FigureGroup& group, const Box16& box, std::int32_t size,
                               bool segment_switch, DynArray<FigureRecord>& line_figures);

// Adds to *penalty what the group's row widths show of a letter that is
// narrow at its top and wide below (400 and 400 more by how narrow its
// first row is) and, for three figures, of two parts each nearly as wide
// as the group (200, and 450 more). kOk, kBadArgument for a null figure or
// a group without geometry.
int add_profile_penalty(FigureGroup& group, const Box16& box, std::int32_t* penalty);

}  // namespace inkrec

// The pair rules: the judgement of two neighbouring letter results of a
// text line, each with a chosen reading, by the rules of the kernel's
// active charsets (pair_rule_index.h).
//
// A rule applies when its key lists name both readings and a reading of
// the two results taken together (the joined group: the line's letter
// result made of exactly their strokes); each applying rule runs one
// geometric test, its kind, and a test that holds subtracts its penalty
// from the caller's accumulator. Kinds 1 to 66 and 84 run for rules whose
// joined-reading flag is 0 and are matched against the joined group's first
// plain reading (kind byte 0); kinds 67 to 83 run for the other rules and
// are matched against its first marked reading. The evaluation keeps
// nothing between calls.
#pragma once

#include <cstdint>

#include "engine/records/figure_group.h"
#include "engine/records/recognition_context.h"

namespace inkrec {

// Judges the pair (a, b), a the later result and b the earlier, reading
// answer i of a and j of b (-1, as u32, the first answer read through its
// codes before the last rewrite). size is the line's letter size, count the
// count the pair scoring passes through (kinds 13 and 36 compare it with
// 1). The joined group is the letter result of A's line whose members are
// exactly those of a and b together. The context gives the kernel's pair
// rules and line spacing, the text lines, the stroke pair table, the
// strokes' extrema and the line slant.
//
// 0 in every ordinary case: a reading index beyond its list, no rule, no
// joined group or one with neither a plain nor a marked reading (the
// accumulator then untouched), or all hits done. -2 when a rule applies
// and a or b has no figure, a null figure or one without points, no
// geometry or no raster (accumulator untouched), or when a test misses a
// record it needs; the status of a measurement that fails (-1 for want of
// memory). Penalties subtracted before a failure stay.
int evaluate_pair_rules(FigureGroup& a, FigureGroup& b, std::uint32_t i, std::uint32_t j,
                        std::int32_t size, std::int32_t count, std::int32_t* accumulator,
                        RecognitionContext& context);

}  // namespace inkrec

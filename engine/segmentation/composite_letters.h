// The composite letters of a text line: a letter result read as the first
// part of one of the kernel's composite-letter rules (the stem of an "i",
// the body of a "?", the upper dot of a ":"), joined with the results
// related to it (their pair relations name it, pair_relations.h) that read
// as the rule's second part and that the pair merge test accepts in their
// place (pair_merge.h).
//
// For each choice of as many such parts as the rule has copies of its
// second part, no figure taken twice, the figures of the first part and of
// the chosen parts are evaluated together (with the composite flag, reason
// 30, once per set, group_evaluations.h) and that result gets the
// composite reading: the rule's symbol; its score the total of the first
// part's best reading of the rule's first part (the letter under the
// mark), less, for each chosen part, how far its reading falls short of a
// confident one (5600), held to 0..10000, with the parts' merge penalties
// (plus 1) beside it: a mark that reads well and sits where the rule wants
// it lifts the letter by one point over the bare letter, a weak or
// misplaced one costs it; its key the rule's id; its box, and the
// result's, the union of the parts'. A result that
// takes a composite reading has its pair relations recorded against the
// others. Results are only added to the line, and readings only to the
// results.
#pragma once

#include <cstdint>

#include "engine/foundation/bit_set.h"
#include "engine/records/fragment_state.h"
#include "engine/segmentation/group_evaluations.h"

namespace inkrec {

// Sets in `out` the index of every letter result of the line whose pair
// relations name result k (by its id). 0; -2 for k out of range or a null
// result; -1 when the set cannot grow; 4034 when the stop flag is seen.
int collect_results_naming_group(FragmentState& state, std::uint32_t k, BitSet& out);

// The composites of every result of the line that has a standing reading,
// the results this call makes included, each of the kernel's composite
// rules tried in its order: a rule of kind 2 never, a rule marked for the
// body-and-link switch only with that switch on. 0; 4034 when the stop flag is seen; -2
// for a rule's missing symbol or a null entry; -1 when memory runs out; or
// the status of an evaluation or a merge test.
int compose_letters(FragmentState& state, GroupEvaluations& evaluations);

}  // namespace inkrec

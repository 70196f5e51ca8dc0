// The cover of a text line's word groups: for each word group, the chain of
// letter results that reads it best, and the results of the line's chosen
// reading gathered in writing order.
//
// A cover is a chain of letter results of the group whose figure positions
// are disjoint and together cover every figure of the group, each result
// starting at the first position the ones before it left uncovered, and
// each allowed after the one before it by the pair test and the
// punctuation rule. Chains are compared by their pair scores plus the
// member-weighted mean total of their first readings (the rules' penalty
// left out; a single figure without readings counts with the total 0, a
// set of several without readings is never taken). The search is depth
// first; from five covered figures on, the best completions of every
// covered set are remembered, so that a set reached again by another
// prefix is finished in one step. When the search finds no cover, a greedy
// walk takes, position by position, the first result in the group's order
// that starts there.
//
// What a caller may rely on: a group's cover and (in debug mode 2) its
// alternatives only point at the line's results; the quick flag ends the
// search at its first complete cover; the stop flag ends it with 4034,
// keeping the covers already chosen.
#pragma once

#include <cstdint>

#include "engine/records/fragment_state.h"

namespace inkrec {

// Chooses the cover of word group k of the state's line into the group's
// cover. 0; 4036 when neither the search nor the greedy walk covers it;
// 4034 on a stop request; -2 for k out of range, a group without figures
// or results, or a null result; -1 when memory runs out.
int select_group_cover(FragmentState& state, std::uint32_t k);

// Covers every word group of the line (in recognition mode 2 only the
// first, with the first result of as many figures as it has) and fills the
// state's chosen results, in writing order: each word group's cover, and
// for a figure outside the word groups its single-figure result. The
// statuses of select_group_cover; -2 as well for a null figure, a word
// group index out of range or a figure outside the groups without a
// result of its own.
int collect_fragment_results(FragmentState& state);

}  // namespace inkrec

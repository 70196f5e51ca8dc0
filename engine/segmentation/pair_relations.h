// The pair relations of a line's letter results: for each result, the
// results that could combine with it into one composite character (a
// letter with its dot or mark, a sign of two parts), kept in the result's
// relation list with the relation kinds found, a penalty and a measure.
//
// Relation lists grow over the whole letter search of a line and are never
// shortened; an entry is appended once per partner, later findings only
// add kinds to that partner's own entry. The low and high bounds of a
// result (the least and greatest measure of its stacked relations) are
// rewritten only by a pass over all results.
#pragma once

#include <cstdint>

#include "engine/records/figure_group.h"
#include "engine/records/fragment_state.h"

namespace inkrec {

// For every letter result of the line that has readings, updates its
// relations: against every result (index -1) or against the result with
// that id only. 0; 4034 when the stop flag is seen (relations recorded so
// far stay); -2 for a null result or an id no result carries; -1 when
// memory runs out.
int pair_relation_pass(FragmentState& state, std::int32_t index);

// Records R's relations against the results (all for index -1, else the
// one with that id) and lowers the penalty of each stacked relation it
// appended by how far its measure lies from the line's best. Statuses as
// pair_relation_pass.
int update_pair_relations(FragmentState& state, FigureGroup& result, std::int32_t index);

// Tests R against O (test_pair_merge without a rule). Results that share
// a stroke are never related. When a merge is found, O's entry in R's
// relation list (appended when new, its measure the bottom link angle of
// a stacked relation, else 32767) takes the kinds found. *found is 1 when
// a merge was found, *kinds the kinds found, *measure the entry's measure
// (32767 without a merge). Statuses as pair_relation_pass.
int record_pair_relation(FragmentState& state, FigureGroup& result, FigureGroup& other,
                         std::int32_t* measure, std::uint8_t* found, std::uint32_t* kinds);

}  // namespace inkrec

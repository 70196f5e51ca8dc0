// The hypothesis graph of a text line: which sets of the line's figures are
// tried as letters, each evaluated once (group_evaluations.h), every result
// kept in the line's letter_results with the reason it was tried for
// (EvaluationReason).
//
// In order: every figure alone (10); in whole-line mode (recognition mode
// 2) all of them together (20); around each figure, the figures the attach
// test (attach_test.h) gives it, grown window by window to the right (21)
// and to the left (22); the pair relations of all results and the
// composite letters they allow (composite_letters.h, 30); small classed
// marks joined with the letters of the stroke nearest to them (40); and,
// outside whole-line mode, the windows of each word group in position
// order (50) and in writing order (51) up to a span of W = max(4(h + s)/5,
// 3h). A window wider than W is tried only when its first and last figure
// lie on one stroke and it is narrower than 3W/2.
//
// What a caller may rely on: the line's candidates are ordered and
// numbered (order_fragment_candidates) and its fragment sizes estimated
// before the call; afterwards every candidate has a result of its own (one
// with no readings when the figure cannot be read as a letter), no two
// results of the line share a member set, and a result of several figures
// belongs to a word group. Results are only added. The statuses: 0; -2
// for an empty candidate list, a null entry or a missing pair entry; -1
// when memory runs out; 4034 when the stop flag is seen (polled before
// every evaluation); any other status of an evaluation ends the build.
#pragma once

#include <cstdint>

#include "engine/foundation/bit_set.h"
#include "engine/foundation/ptr_array.h"
#include "engine/records/figure_records.h"
#include "engine/records/fragment_state.h"
#include "engine/segmentation/group_evaluations.h"

namespace inkrec {

int build_hypothesis_graph(FragmentState& state);

// The key a growth window orders its figures by.
enum class FigureKey { kBodyIndex, kPosition };

// Among the candidates whose body index is in the set and whose key
// differs from the anchor's, the body index of the one whose key comes
// next after the anchor's (after) or last before it (!after), keys
// compared unsigned; -1 when there is none, -2 at a null candidate.
std::int32_t nearest_in_set(const FigureRecord& anchor, FigureKey key, const BitSet& set,
                            const PtrArray<FigureRecord>& candidates, bool after);

// Evaluates, with the reason 40, the result's figures joined with those of
// each other result that shares no figure with it and holds a figure on
// the stroke nearest to its figure's (the best partner stroke within the
// line's letter size, or the stroke lying along the slant, then the second
// best). Only a result of one figure that no other result contains is
// joined. Statuses as build_hypothesis_graph.
int join_partner_result(FragmentState& state, GroupEvaluations& evaluations,
                        const LetterResult& result);

}  // namespace inkrec

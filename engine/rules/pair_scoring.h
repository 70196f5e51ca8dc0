// The pair score: how well the readings of two neighbouring letter results
// of a text line fit side by side, 0 for a good fit and more negative with
// each misfit (sizes, vertical positions, stacking, spacing, punctuation and
// the character-pair rules of the database).
//
// Chains of results (alternative readings of a word) are compared by the
// sum of these scores over their consecutive pairs, the later result
// first. The cached form remembers each score in the earlier result, keyed
// by the later result's id, the two answer indices, the flag and the later
// result's place in its chain as far as the score tells places apart; a
// result's cache goes with it and is emptied when the result is reset, and
// the first score of a key stands for the rest of the run. What the score
// measures of the two results apart from their readings (the pair's
// layout) is kept beside it, measured at the first score of the pair.
#pragma once

#include <array>
#include <cstdint>

#include "engine/foundation/dyn_array.h"

namespace inkrec {

class FigureGroup;
class RecognitionContext;

// The term groups of one pair score, for inspection: 0 reading kinds, 1
// character-pair rules, 2 punctuation, 3 stacking, 4 alignment along the
// slant, 5 tops and bottoms of the later result, 6 of the earlier, 7
// relative heights, 8 extents, 9 spacing, 10 continuation of a stroke.
// Terms outside the groups (the Hebrew stacking terms and the final terms)
// have no slot.
inline constexpr int kPairScoreSlots = 11;
struct PairScoreRecord {
  std::array<std::int32_t, kPairScoreSlots> slots{};
};
// Owned by the caller; every scoring given it appends one record.
struct PairScoreBreakdown {
  DynArray<PairScoreRecord> records;
};

// Scores the later result `later` (A) after `earlier` (B), reading answer
// later_answer of A and earlier_answer of B (-1: the first answer through
// its codes before the last rewrite). size is the line's letter size,
// slant the line's slant in degrees (90 upright), position the number of
// results before A in the caller's chain; `flag` turns on the terms of the
// readings' kinds. Writes the score to *accumulator: 0 when the results'
// first figures lie on different text lines, when either result has no
// ink to measure (no figures, no geometry or a figure without points) or
// an answer index is out of range. Returns 0; on a failing step (-1 out
// of memory, -2 a null figure or a result without raster, or a pair
// rule's status)
// its status, with *accumulator holding the groups summed so far.
int score_element_pair(FigureGroup& later, FigureGroup& earlier, int later_answer,
                       int earlier_answer, std::int32_t size, std::int32_t slant, int position,
                       std::int32_t* accumulator, RecognitionContext& context,
                       PairScoreBreakdown* breakdown, int flag);
// The same with the flag clear.
int score_element_pair(FigureGroup& later, FigureGroup& earlier, int later_answer,
                       int earlier_answer, std::int32_t size, std::int32_t slant, int position,
                       std::int32_t* accumulator, RecognitionContext& context,
                       PairScoreBreakdown* breakdown);

// score_element_pair through the earlier result's score cache, keyed by the
// later result, the two answer indices, the flag and the later result's
// place in its chain (0 and 1, 2, 3 and on: the places the score tells
// apart): a stored score is written to *cost at once; else the pair is
// scored, through the layout the earlier result keeps for the later one,
// and, on success, its score stored. 0, or the scorer's status (nothing
// stored; a later request computes again). -2 for a null result or output,
// or a null context for a pair that is judged; -1 when a cache cannot grow.
int score_element_pair_cached(FigureGroup* later, FigureGroup* earlier, int later_answer,
                              int earlier_answer, std::int16_t size, std::int16_t slant,
                              int position, std::int32_t* cost, RecognitionContext* context,
                              int flag);

}  // namespace inkrec

// The etalon score: how well the feature cells a figure inks match an
// etalon, on the scale the letter candidates are ranked by.
//
// The similarity sums, over the inked cells, each cell's trained level
// times its weight; the score normalises that by the root of the inked-cell
// count times the etalon's norm, so that a figure scored against an etalon
// trained from that figure alone comes out at (about) 10000, the best the
// score gives, and every difference lowers it. A figure that inks many more
// cells than the etalon's training samples did, or many fewer, is scored as
// if it inked more. All arithmetic is integer and exact: nothing wraps.
//
// A caller computes the figure's cells once (compute_group_rafs or
// compute_figure_rafs_afresh; the list is RafVector::nonzero) and scores
// them against any number of etalons with score_against_etalon, given the
// knowledge base's refreshed cell weights.
#pragma once

#include <cstdint>
#include <span>

#include "engine/database/knowledge_base_records.h"

namespace inkrec {

// Over the inked cells c: p = (etalon[c] - 32) * weight[c]; Z counts the
// cells with p = 0 and T sums the others; the similarity is T/32 - Z/5,
// each division truncating toward zero. The caller guarantees that every
// cell index lies inside both arrays (cells_fit checks it).
//
// The weight of a cell enters only through T/32: a cell the figure and the
// etalon share adds level * weight / 32 in total, so weights are meant to
// be large (tens): a weight below 32 on a single trained level adds less
// than one point per cell once truncated together with the rest.
std::int64_t raf_similarity(std::span<const std::uint16_t> inked_cells,
                            std::span<const std::uint8_t> etalon_cells,
                            std::span<const std::uint8_t> weights);

// Whether every inked cell indexes both the etalon's cells and the weights.
bool cells_fit(std::span<const std::uint16_t> inked_cells, std::size_t etalon_cells,
               std::size_t weights);

// The inked-cell count as the score counts it: L, raised to
// L + 9 (L - 5d/4) when L exceeds 5d/4 (d the longest hit list the etalon
// was trained with), else to L + 5 (4e/5 - L) when L falls short of 4e/5
// (e the shortest).
std::int64_t corrected_cell_count(std::int32_t inked_count, std::int16_t longest_hits,
                                  std::int16_t shortest_hits);

// The score of a similarity: 0 when the inked count or the norm is not
// positive; else S * 10000 / root(L' * norm) with L' the corrected count,
// in 64 bits (held at the extremes rather than wrapping, and the result
// held to 32 bits). kOk with *score set, or kRejected (the candidate is refused,
// *score untouched) when the root is 0.
int etalon_score(std::int64_t similarity, std::int32_t inked_count, std::uint32_t norm,
                 std::int16_t longest_hits, std::int16_t shortest_hits, std::int32_t* score);

// The inked cells against one etalon: kOk with *score; kBadArgument when a
// cell lies outside the etalon's cells or the weights (a list computed for
// another Raf table); kRejected as etalon_score.
int score_against_etalon(std::span<const std::uint16_t> inked_cells, const Etalon& etalon,
                         std::span<const std::uint8_t> weights, std::int32_t* score);

}  // namespace inkrec

// WeightedCells: a figure's inked cells with their weights, gathered once
// so that scoring the figure against many etalons reads only the etalons.
//
// score_against gives exactly what score_against_etalon gives for the same
// cells and weights (the same similarity, the same etalon score); a cell of
// weight zero always counts as a cell without similarity, so it is counted
// once here and never looked up again. After compare_with, the scores of
// the etalons the table has columns for are read from one pass over the
// cells; they are the same scores.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/database/etalon_columns.h"
#include "engine/database/knowledge_base_records.h"
#include "engine/foundation/dyn_array.h"

namespace inkrec {

class WeightedCells {
 public:
  // Takes the figure's inked cells and the knowledge base's cell weights:
  // kOk, or kOutOfMemory with the cells left empty.
  int assign(std::span<const std::uint16_t> inked_cells, std::span<const std::uint8_t> weights);

  // The score of the cells against the etalon: kOk with *score,
  // kBadArgument when a cell lies outside the etalon or the weights,
  // kRejected as etalon_score.
  int score_against(const Etalon& etalon, std::int32_t* score) const;

  // Compares the cells with every column of the table at once, for
  // score_entry. kOk (also when these cells cannot be compared so: each is
  // then scored alone), or kOutOfMemory. The table must outlive the reads.
  int compare_with(const EtalonColumns& columns);
  // score_against for the etalon of the table's entry: from the pass of
  // compare_with when the table laid out this etalon for the entry, else
  // directly.
  int score_entry(std::size_t entry, const Etalon& etalon, std::int32_t* score) const;

 private:
  std::int64_t column_similarity(std::uint32_t column) const;

  // The results of compare_with: null columns_ when none holds.
  const EtalonColumns* columns_ = nullptr;
  DynArray<std::uint32_t> products_;
  DynArray<std::uint16_t> zeros_;
  std::int64_t weight_sum_ = 0;

  DynArray<std::uint16_t> cells_;   // the inked cells of non-zero weight
  DynArray<std::uint8_t> weights_;  // and their weights
  std::int64_t weightless_cells_ = 0;
  std::int32_t inked_count_ = 0;
  std::size_t cells_needed_ = 0;  // the largest inked cell + 1
  bool inside_weights_ = true;
};

}  // namespace inkrec

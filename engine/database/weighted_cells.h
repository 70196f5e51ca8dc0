// WeightedCells: a figure's inked cells with their weights, gathered once
// so that scoring the figure against many etalons reads only the etalons.
//
// score_against gives exactly what score_against_etalon gives for the same
// cells and weights (the same similarity, the same etalon score); a cell of
// weight zero always counts as a cell without similarity, so it is counted
// once here and never looked up again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

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

 private:
  DynArray<std::uint16_t> cells_;   // the inked cells of non-zero weight
  DynArray<std::uint8_t> weights_;  // and their weights
  std::int64_t weightless_cells_ = 0;
  std::int32_t inked_count_ = 0;
  std::size_t cells_needed_ = 0;  // the largest inked cell + 1
  bool inside_weights_ = true;
};

}  // namespace inkrec

// The inked cells gathered with their weights, scored against etalons.

#include "engine/database/weighted_cells.h"

#include <algorithm>
#include <climits>

#include "engine/database/etalon_score.h"
#include "engine/foundation/status.h"

namespace inkrec {

int WeightedCells::assign(std::span<const std::uint16_t> inked_cells,
                          std::span<const std::uint8_t> weights) {
  columns_ = nullptr;
  cells_.clear();
  weights_.clear();
  weightless_cells_ = 0;
  inked_count_ = static_cast<std::int32_t>(std::min<std::size_t>(inked_cells.size(), INT32_MAX));
  cells_needed_ = 0;
  inside_weights_ = true;
  for (const std::uint16_t c : inked_cells) {
    cells_needed_ = std::max<std::size_t>(cells_needed_, std::size_t{c} + 1);
    if (c >= weights.size()) {
      inside_weights_ = false;
      continue;
    }
    if (weights[c] == 0) {
      ++weightless_cells_;
      continue;
    }
    if (cells_.push_back(c) != kOk || weights_.push_back(weights[c]) != kOk) {
      cells_.clear();
      weights_.clear();
      return kOutOfMemory;
    }
  }
  return kOk;
}

int WeightedCells::score_against(const Etalon& etalon, std::int32_t* score) const {
  if (!inside_weights_ || cells_needed_ > etalon.cells.size()) return kBadArgument;
  // The similarity of raf_similarity: levels at zero add nothing and count
  // among the cells without similarity, as the weightless cells do.
  const std::uint8_t* levels = etalon.cells.begin();
  std::int64_t zero_cells = weightless_cells_;
  std::int64_t sum = 0;
  for (std::uint32_t i = 0; i < cells_.size(); ++i) {
    const std::int32_t level = std::int32_t{levels[cells_[i]]} - kCellLevelZero;
    zero_cells += level == 0 ? 1 : 0;
    sum += level * std::int32_t{weights_[i]};
  }
  return etalon_score(sum / 32 - zero_cells / 5, inked_count_, etalon.stats.norm,
                      etalon.stats.max_hits, etalon.stats.min_hits, score);
}

int WeightedCells::compare_with(const EtalonColumns& columns) {
  columns_ = nullptr;
  // The sums are 32 bits: at most 65535 cells of level and weight below 256.
  if (!inside_weights_ || cells_needed_ > columns.cell_count() || cells_.size() > 0xFFFF) {
    return kOk;
  }
  if (products_.resize(columns.padded_columns()) != kOk ||
      zeros_.resize(columns.padded_columns()) != kOk) {
    return kOutOfMemory;
  }
  columns.accumulate(cells_.span(), weights_.span(), products_.data(), zeros_.data());
  weight_sum_ = 0;
  for (const std::uint8_t weight : weights_) weight_sum_ += weight;
  columns_ = &columns;
  return kOk;
}

// The similarity score_against sums: each product carries the stored
// level, 32 above the level, so 32 times the weights come off.
std::int64_t WeightedCells::column_similarity(std::uint32_t column) const {
  const std::int64_t sum = std::int64_t{products_[column]} - kCellLevelZero * weight_sum_;
  const std::int64_t zero_cells = weightless_cells_ + zeros_[column];
  return sum / 32 - zero_cells / 5;
}

int WeightedCells::score_entry(std::size_t entry, const Etalon& etalon,
                               std::int32_t* score) const {
  if (columns_ == nullptr || columns_->etalon_of(entry) != &etalon) {
    return score_against(etalon, score);
  }
  return etalon_score(column_similarity(columns_->column_of(entry)), inked_count_,
                      etalon.stats.norm, etalon.stats.max_hits, etalon.stats.min_hits, score);
}

}  // namespace inkrec

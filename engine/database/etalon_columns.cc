// The etalons' levels cell by cell, and the pass that compares cells with
// all of them.

#include "engine/database/etalon_columns.h"

#include <algorithm>

#include "engine/foundation/status.h"

namespace inkrec {

int EtalonColumns::assign(std::span<const Etalon* const> etalons) {
  clear();
  const int status = lay_out(etalons);
  if (status != kOk) clear();
  return status;
}

void EtalonColumns::clear() {
  levels_.release();
  columns_.release();
  etalons_.release();
  cell_count_ = 0;
  stride_ = 0;
}

int EtalonColumns::lay_out(std::span<const Etalon* const> etalons) {
  const auto entries = static_cast<std::uint32_t>(etalons.size());
  if (columns_.resize(entries, kNoColumn) != kOk || etalons_.resize(entries, nullptr) != kOk) {
    return kOutOfMemory;
  }
  const auto first = std::find_if(etalons.begin(), etalons.end(),
                                  [](const Etalon* e) { return e != nullptr; });
  if (first == etalons.end()) return kOk;
  cell_count_ = (*first)->cells.size();
  DynArray<const Etalon*> distinct;
  for (std::uint32_t i = 0; i < entries; ++i) {
    const Etalon* etalon = etalons[i];
    if (etalon == nullptr || etalon->cells.size() != cell_count_) continue;
    const auto same = std::find(distinct.begin(), distinct.end(), etalon);
    columns_[i] = static_cast<std::uint32_t>(same - distinct.begin());
    etalons_[i] = etalon;
    if (same == distinct.end() && distinct.push_back(etalon) != kOk) return kOutOfMemory;
  }
  stride_ = (distinct.size() + kBlock - 1) / kBlock * kBlock;
  if (std::uint64_t{stride_} * cell_count_ > DynArray<std::uint8_t>::kMaxCount ||
      levels_.resize(stride_ * cell_count_, kCellLevelZero) != kOk) {
    return kOutOfMemory;
  }
  for (std::uint32_t column = 0; column < distinct.size(); ++column) {
    const std::uint8_t* levels = distinct[column]->cells.data();
    for (std::uint32_t cell = 0; cell < cell_count_; ++cell) {
      levels_[cell * stride_ + column] = levels[cell];
    }
  }
  return kOk;
}

std::uint32_t EtalonColumns::column_of(std::size_t entry) const {
  return entry < columns_.size() ? columns_[static_cast<std::uint32_t>(entry)] : kNoColumn;
}

const Etalon* EtalonColumns::etalon_of(std::size_t entry) const {
  return entry < etalons_.size() ? etalons_[static_cast<std::uint32_t>(entry)] : nullptr;
}

// A block of columns at a time, its sums held in registers while every
// cell's row of the block is added in. Rows of one weight are summed
// narrow first (levels in 16 bits, zeros in 8) and the run's sums are
// weighted once; a run is cut at kRunRows so the narrow sums cannot wrap.
void EtalonColumns::accumulate(std::span<const std::uint16_t> cells,
                               std::span<const std::uint8_t> weights, std::uint32_t* products,
                               std::uint16_t* zeros) const {
  constexpr std::size_t kRunRows = 255;
  for (std::uint32_t first = 0; first < stride_; first += kBlock) {
    std::uint32_t block_products[kBlock] = {};
    std::uint16_t block_zeros[kBlock] = {};
    std::size_t i = 0;
    while (i < cells.size()) {
      const std::uint32_t weight = weights[i];
      const std::size_t end = std::min(cells.size(), i + kRunRows);
      std::uint16_t run_levels[kBlock] = {};
      std::uint8_t run_zeros[kBlock] = {};
      for (; i < end && weights[i] == weight; ++i) {
        const std::uint8_t* row = levels_.data() + std::size_t{cells[i]} * stride_ + first;
        for (std::uint32_t k = 0; k < kBlock; ++k) {
          run_levels[k] = static_cast<std::uint16_t>(run_levels[k] + row[k]);
          const int zero = row[k] == kCellLevelZero ? 1 : 0;
          run_zeros[k] = static_cast<std::uint8_t>(run_zeros[k] + zero);
        }
      }
      for (std::uint32_t k = 0; k < kBlock; ++k) {
        block_products[k] += run_levels[k] * weight;
        block_zeros[k] = static_cast<std::uint16_t>(block_zeros[k] + run_zeros[k]);
      }
    }
    std::copy(std::begin(block_products), std::end(block_products), products + first);
    std::copy(std::begin(block_zeros), std::end(block_zeros), zeros + first);
  }
}

}  // namespace inkrec

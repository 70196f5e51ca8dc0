// PairTable and pair_index.

#include "engine/foundation/pair_table.h"

#include <algorithm>
#include <climits>

#include "engine/foundation/status.h"

namespace inkrec {

int pair_index(std::int64_t n, std::int64_t i, std::int64_t j) {
  if (i == j || i < 0 || j < 0 || i >= n || j >= n) return -1;
  const std::int64_t low = std::min(i, j);
  const std::int64_t high = std::max(i, j);
  const std::int64_t index = low + high * (high - 1) / 2;
  return index <= INT_MAX ? static_cast<int>(index) : -1;
}

int PairTable::reserve(std::uint32_t n) {
  entries_.clear();
  figure_count_ = 0;
  const std::uint64_t pairs = std::uint64_t{n} * (n == 0 ? 0 : n - 1) / 2;
  if (pairs > DynArray<PairMetrics>::kMaxCount ||
      entries_.reserve_total(static_cast<std::uint32_t>(pairs)) != kOk) {
    return kOutOfMemory;
  }
  figure_count_ = n;
  return kOk;
}

PairMetrics* PairTable::at(std::int64_t i, std::int64_t j) {
  const int index = pair_index(*this, i, j);
  return index < 0 ? nullptr : entries_.item_checked(static_cast<std::uint32_t>(index));
}

const PairMetrics* PairTable::at(std::int64_t i, std::int64_t j) const {
  const int index = pair_index(*this, i, j);
  return index < 0 ? nullptr : entries_.item_checked(static_cast<std::uint32_t>(index));
}

}  // namespace inkrec

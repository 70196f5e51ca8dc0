// PairTable: a triangular table with one PairMetrics entry per unordered
// pair of n figures (n * (n - 1) / 2 entries, none for a figure with itself).
//
// The pair (i, j) lives at min(i, j) + max(i, j) * (max(i, j) - 1) / 2.
// Entries are appended by the passes that measure them; at() answers only
// for entries that exist.
#pragma once

#include <cstdint>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/pair_metrics.h"

namespace inkrec {

// The entry index of the pair (i, j) among n items; -1 when i == j or either
// index is negative or not below n.
int pair_index(std::int64_t n, std::int64_t i, std::int64_t j);

class PairTable {
 public:
  // Empties the table and makes room for the pairs of n figures; 0, or -1
  // when that room cannot be had (the table is then empty, for 0 figures).
  int reserve(std::uint32_t n);

  std::uint32_t figure_count() const { return figure_count_; }
  DynArray<PairMetrics>& entries() { return entries_; }
  const DynArray<PairMetrics>& entries() const { return entries_; }

  // The entry of the pair, or null when there is none.
  PairMetrics* at(std::int64_t i, std::int64_t j);
  const PairMetrics* at(std::int64_t i, std::int64_t j) const;

 private:
  std::uint32_t figure_count_ = 0;
  DynArray<PairMetrics> entries_;
};

inline int pair_index(const PairTable& table, std::int64_t i, std::int64_t j) {
  return pair_index(table.figure_count(), i, j);
}

}  // namespace inkrec

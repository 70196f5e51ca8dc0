// PairTable: a triangular table with one PairMetrics entry per unordered
// pair of n figures (n * (n - 1) / 2 entries, none for a figure with itself).
//
// The pair (i, j) lives at min(i, j) + max(i, j) * (max(i, j) - 1) / 2.
// Entries are appended by the passes that measure them; at() answers only
// for entries that exist.
//
// The partner queries look, for figure i, at every other figure j whose
// entry exists, whose kind matches (a kind below 0 matches any) and, where a
// set of allowed figures is given, which the set holds. Each returns 0; its
// outs (any of which may be null) are written only when a partner qualifies,
// and of equal partners the first j wins.
#pragma once

#include <cstdint>

#include "engine/foundation/dyn_array.h"
#include "engine/records/pair_metrics.h"

namespace inkrec {

class BitSet;

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

  // The partner with the least pair value.
  int best_partner(int i, int kind, const BitSet* allowed, int* index, std::int16_t* value) const;
  // The best and the second best partner; the second outs stay as they
  // were when only one partner qualifies.
  int two_best_partners(int i, int kind, const BitSet* allowed, int* best_index,
                        std::int16_t* best_value, int* second_index,
                        std::int16_t* second_value) const;
  // The partner whose pair angle, folded into 0..180 (above 180 loses
  // 180), lies nearest to `angle`, closer than 180 degrees.
  int partner_nearest_angle(int kind, int i, int angle, std::int16_t* folded_angle,
                            int* index) const;
  // The whole entry of the partner with the least pair value; an entry
  // that was never measured does not qualify.
  int best_partner_entry(int kind, int i, PairMetrics* record, int* index) const;

 private:
  // Calls visit(j, entry) for every partner j of i, in ascending j.
  template <typename Visit>
  void for_each_partner(int i, int kind, const BitSet* allowed, Visit visit) const;

  std::uint32_t figure_count_ = 0;
  DynArray<PairMetrics> entries_;
};

inline int pair_index(const PairTable& table, std::int64_t i, std::int64_t j) {
  return pair_index(table.figure_count(), i, j);
}

}  // namespace inkrec

// PairTable and pair_index.

#include "engine/records/pair_table.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "engine/foundation/bit_set.h"
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

template <typename Visit>
void PairTable::for_each_partner(int i, int kind, const BitSet* allowed, Visit visit) const {
  for (std::uint32_t j = 0; j < figure_count_; ++j) {
    if (static_cast<std::int64_t>(j) == i) continue;
    if (allowed != nullptr && !allowed->test(j)) continue;
    const PairMetrics* entry = at(i, j);
    if (entry == nullptr || (kind >= 0 && entry->kind != kind)) continue;
    visit(static_cast<int>(j), *entry);
  }
}

namespace {

template <typename T>
void write_out(T* out, T value) {
  if (out != nullptr) *out = value;
}

}  // namespace

int PairTable::best_partner(int i, int kind, const BitSet* allowed, int* index,
                            std::int16_t* value) const {
  int best = -1;
  std::int16_t least = 0;
  for_each_partner(i, kind, allowed, [&](int j, const PairMetrics& entry) {
    if (best < 0 || entry.pair_value() < least) {
      best = j;
      least = entry.pair_value();
    }
  });
  if (best >= 0) {
    write_out(index, best);
    write_out(value, least);
  }
  return kOk;
}

int PairTable::two_best_partners(int i, int kind, const BitSet* allowed, int* best_index,
                                 std::int16_t* best_value, int* second_index,
                                 std::int16_t* second_value) const {
  int best = -1;
  int second = -1;
  std::int16_t best_least = 0;
  std::int16_t second_least = 0;
  for_each_partner(i, kind, allowed, [&](int j, const PairMetrics& entry) {
    const std::int16_t v = entry.pair_value();
    if (best < 0 || v < best_least) {
      second = best;
      second_least = best_least;
      best = j;
      best_least = v;
    } else if (second < 0 || v < second_least) {
      second = j;
      second_least = v;
    }
  });
  if (best >= 0) {
    write_out(best_index, best);
    write_out(best_value, best_least);
  }
  if (second >= 0) {
    write_out(second_index, second);
    write_out(second_value, second_least);
  }
  return kOk;
}

int PairTable::partner_nearest_angle(int kind, int i, int angle, std::int16_t* folded_angle,
                                     int* index) const {
  int nearest = -1;
  std::int64_t least_distance = 180;
  std::int16_t nearest_angle = 0;
  for_each_partner(i, kind, nullptr, [&](int j, const PairMetrics& entry) {
    const int folded = entry.angle > 180 ? entry.angle - 180 : entry.angle;
    const std::int64_t distance = std::abs(std::int64_t{folded} - angle);
    if (distance < least_distance) {
      least_distance = distance;
      nearest = j;
      nearest_angle = static_cast<std::int16_t>(folded);
    }
  });
  if (nearest >= 0) {
    write_out(folded_angle, nearest_angle);
    write_out(index, nearest);
  }
  return kOk;
}

int PairTable::best_partner_entry(int kind, int i, PairMetrics* record, int* index) const {
  const PairMetrics* best = nullptr;
  int best_index = -1;
  for_each_partner(i, kind, nullptr, [&](int j, const PairMetrics& entry) {
    const std::int16_t least = best == nullptr ? PairMetrics::kNotMeasured : best->pair_value();
    if (entry.pair_value() < least) {
      best = &entry;
      best_index = j;
    }
  });
  if (best != nullptr) {
    write_out(record, *best);
    write_out(index, best_index);
  }
  return kOk;
}

}  // namespace inkrec

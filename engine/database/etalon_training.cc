#include "engine/database/etalon_training.h"

#include <algorithm>
#include <limits>

#include "engine/foundation/status.h"
#include "engine/foundation/values.h"

namespace inkrec {
namespace {

bool step_does_nothing(const TrainingStep& step) {
  return step.amount == 0 || step.p1 > 9 || (step.p2 > 9 && step.p2 < 101);
}

bool complement_mode(const TrainingStep& step) { return step.p2 > 100 && step.amount < 0; }

int spreading_divisor(const TrainingStep& step) {
  return complement_mode(step) ? step.p2 - 100 : step.p1;
}

int level_of(std::uint8_t cell) { return int{cell} - kCellLevelZero; }

void add_to_cell(std::uint8_t& cell, std::int64_t amount) {
  cell = static_cast<std::uint8_t>(std::clamp<std::int64_t>(cell + amount, 0, 255));
}

template <typename Counter>
void add_to_counter(Counter& counter, std::int64_t amount) {
  counter = static_cast<Counter>(std::clamp<std::int64_t>(
      counter + amount, std::numeric_limits<Counter>::min(), std::numeric_limits<Counter>::max()));
}

void count_positive_list(EtalonStats& stats, std::int64_t amount, std::size_t hit_count) {
  const std::int64_t length = std::min<std::int64_t>(static_cast<std::int64_t>(hit_count),
                                                     std::numeric_limits<std::int16_t>::max());
  raise_to(stats.max_hits, length);
  lower_to(stats.min_hits, length);
  add_to_counter(stats.positive_count, amount);
}

}  // namespace

void compute_etalon_stats(Etalon& etalon, std::span<const std::uint8_t> weights) {
  EtalonStats& stats = etalon.stats;
  if (etalon.cells.empty()) {
    stats.norm = kCellLevelZero;
    stats.max_level = kCellLevelZero;
    stats.min_level = kCellLevelZero;
    return;
  }
  double sum = 0;
  std::uint8_t lowest = 255;
  std::uint8_t highest = 0;
  for (std::uint32_t i = 0; i < etalon.cells.size(); ++i) {
    const std::uint8_t cell = etalon.cells[i];
    lowest = std::min(lowest, cell);
    highest = std::max(highest, cell);
    const double weight = i < weights.size() ? weights[i] : 0;
    const double level = level_of(cell);
    sum += weight * weight * level * level;
  }
  stats.norm = static_cast<std::uint32_t>(
      std::min(sum * 0.0009765625, double{std::numeric_limits<std::uint32_t>::max()}));
  stats.max_level = highest;
  stats.min_level = lowest;
}

int check_training_step(const TrainingStep& step) {
  if (step_does_nothing(step)) return kOk;
  return step.p2 == 0 || spreading_divisor(step) == 0 ? kUndocumented : kOk;
}

int check_hit_list(const Etalon& etalon, std::span<const std::uint16_t> hits) {
  for (std::size_t i = 0; i < hits.size(); ++i) {
    if (hits[i] >= etalon.cells.size() || (i > 0 && hits[i] <= hits[i - 1])) return kBadArgument;
  }
  return kOk;
}

void apply_training_step(Etalon& etalon, const TrainingStep& step,
                         std::span<const std::uint16_t> hits,
                         std::span<const std::uint8_t> weights) {
  if (step_does_nothing(step)) return;
  const int top = level_of(etalon.stats.max_level);
  const int t2 = top / step.p2;
  const int t1 = top - top / spreading_divisor(step);
  const std::int64_t amount = step.amount;
  if (complement_mode(step)) {
    // Strong cells outside the hit list gain what the hit cells would lose.
    const int least = t1 == 0 ? 1 : t1;
    std::size_t next_hit = 0;
    for (std::uint32_t i = 0; i < etalon.cells.size(); ++i) {
      if (next_hit < hits.size() && hits[next_hit] == i) {
        ++next_hit;
        continue;
      }
      if (level_of(etalon.cells[i]) >= least) add_to_cell(etalon.cells[i], -amount);
    }
  } else {
    for (const std::uint16_t j : hits) {
      const int level = level_of(etalon.cells[j]);
      const bool raise = amount >= 1 && (spreading_divisor(step) == 1 || level >= t1);
      const bool lower = amount < 0 && level <= t2;
      if (raise || lower) add_to_cell(etalon.cells[j], amount);
    }
  }
  if (amount < 1) {
    add_to_counter(etalon.stats.negative_count, -amount);
  } else {
    count_positive_list(etalon.stats, amount, hits.size());
  }
  compute_etalon_stats(etalon, weights);
}

void add_build_hits(Etalon& etalon, std::span<const std::uint16_t> hits) {
  for (const std::uint16_t j : hits) add_to_cell(etalon.cells[j], 1);
  count_positive_list(etalon.stats, 1, hits.size());
}

}  // namespace inkrec

// Changing an etalon's cells: its statistics, a training step over the cells
// a written figure fell into, and the raising of cells while an etalon is
// built from samples.
//
// A cell value is 32 + its level. Cell values stay within 0..255 and the
// counters within their types: they saturate at their bounds, never wrap.
#pragma once

#include <cstdint>
#include <span>

#include "engine/database/knowledge_base_records.h"

namespace inkrec {

// One training step: the signed amount and the two values that spread it.
// A step does nothing when the amount is 0, p1 is above 9 or p2 lies in
// 10..100. A negative amount with p2 above 100 runs in complement mode:
// it raises the strong cells outside the hit list instead.
struct TrainingStep {
  int amount = 0;
  int p1 = 0;
  int p2 = 0;
};

// Recomputes norm, max_level and min_level from the cells and the weights
// (one per cell; cells beyond the weights weigh 0). The norm saturates.
void compute_etalon_stats(Etalon& etalon, std::span<const std::uint8_t> weights);

// -3 when the step would run and divide by zero: p2 is 0, or its spreading
// divisor (p1, or p2 - 100 in complement mode) is 0; else 0.
int check_training_step(const TrainingStep& step);

// -2 unless the hit list ascends without repeats and every index names one
// of the etalon's cells; else 0.
int check_hit_list(const Etalon& etalon, std::span<const std::uint16_t> hits);

// Applies a step that passed both checks, counts it in the statistics and
// recomputes them.
void apply_training_step(Etalon& etalon, const TrainingStep& step,
                         std::span<const std::uint16_t> hits,
                         std::span<const std::uint8_t> weights);

// Counts one hit list of a build: every listed cell is raised by one and the
// list counts as one positive sample. The caller recomputes the statistics.
void add_build_hits(Etalon& etalon, std::span<const std::uint16_t> hits);

}  // namespace inkrec

// PairMetrics: the measurements kept for one unordered pair of figures (or
// strokes) of a line, 64 bytes, one per entry of a PairTable.
//
// The pair queries read the pair value (the first measure, 32767 while not
// measured), the angle and the kind; the pair rules fill and read the rest.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/foundation/interval_relation.h"

namespace inkrec {

struct PairMetrics {
  static constexpr std::int16_t kNotMeasured = 32767;

  PairMetrics() { reset(); }

  // The defaults: measures 32767, angle and counters 0, kind and indices -1,
  // relation and boxes cleared.
  void reset();

  std::int16_t pair_value() const { return measures[0]; }

  std::int16_t measures[4];  // the first is the pair value
  std::int16_t angle;        // whole degrees
  std::int16_t link_distance;
  std::uint16_t link_cost;
  IntervalRelation vertical_relation;
  std::int16_t kind;  // -1: none
  Box16 band_a;
  Box16 band_b;
  std::int16_t left_index;
  std::int16_t right_index;
  std::uint16_t half_measures[2][2];
  std::uint32_t counts[2];
};

static_assert(sizeof(PairMetrics) == 64);
static_assert(offsetof(PairMetrics, angle) == 8);
static_assert(offsetof(PairMetrics, link_distance) == 10);
static_assert(offsetof(PairMetrics, kind) == 26);
static_assert(offsetof(PairMetrics, counts) == 56);

}  // namespace inkrec

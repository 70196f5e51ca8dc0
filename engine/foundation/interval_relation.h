// IntervalRelation: how two one-dimensional intervals lie to each other.
//
// The figure comparisons compute it over the x or y extents of two boxes.
// overlap is the length of the common part (0 when the intervals touch, minus
// the gap when they are apart); span is the outer length (never 0). The four
// ends are in ascending order: the two lower ends then the two upper ends, or,
// for intervals apart, the whole left interval then the whole right one.
// Every field saturates to 16 bits.
#pragma once

#include <cstdint>

namespace inkrec {

class IntervalRelation {
 public:
  void clear() { *this = IntervalRelation{}; }
  // Orders each interval's two ends, then fills every field.
  void compute(int a0, int a1, int b0, int b1);

  std::int16_t overlap() const { return overlap_; }
  std::int16_t span() const { return span_; }
  std::int16_t outer_start() const { return outer_start_; }
  std::int16_t inner_start() const { return inner_start_; }
  std::int16_t inner_end() const { return inner_end_; }
  std::int16_t outer_end() const { return outer_end_; }

 private:
  std::int16_t overlap_ = 0;
  std::int16_t span_ = 0;
  std::int16_t outer_start_ = 0;
  std::int16_t inner_start_ = 0;
  std::int16_t inner_end_ = 0;
  std::int16_t outer_end_ = 0;
};

static_assert(sizeof(IntervalRelation) == 12);

// Computes into the caller's record and returns it.
IntervalRelation& make_interval_relation(IntervalRelation& record, int a0, int a1, int b0, int b1);

}  // namespace inkrec

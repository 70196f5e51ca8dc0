// IntervalRelation::compute.

#include "engine/foundation/interval_relation.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "engine/foundation/values.h"

namespace inkrec {

void IntervalRelation::compute(int a0, int a1, int b0, int b1) {
  if (a0 > a1) std::swap(a0, a1);
  if (b0 > b1) std::swap(b0, b1);
  const std::int64_t overlap = std::int64_t{std::min(a1, b1)} - std::max(a0, b0);
  const std::int64_t span = std::int64_t{std::max(a1, b1)} - std::min(a0, b0);
  overlap_ = saturate_int16(overlap);
  span_ = span == 0 ? 1 : saturate_int16(span);
  if (overlap < 0) {
    // Apart: the whole left interval, then the whole right one.
    if (b0 < a0) {
      std::swap(a0, b0);
      std::swap(a1, b1);
    }
    outer_start_ = saturate_int16(a0);
    inner_start_ = saturate_int16(a1);
    inner_end_ = saturate_int16(b0);
    outer_end_ = saturate_int16(b1);
  } else {
    outer_start_ = saturate_int16(std::min(a0, b0));
    inner_start_ = saturate_int16(std::max(a0, b0));
    inner_end_ = saturate_int16(std::min(a1, b1));
    outer_end_ = saturate_int16(std::max(a1, b1));
  }
}

IntervalRelation& make_interval_relation(IntervalRelation& record, int a0, int a1, int b0, int b1) {
  record.compute(a0, a1, b0, b1);
  return record;
}

}  // namespace inkrec

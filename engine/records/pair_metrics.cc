// PairMetrics defaults.

#include "engine/records/pair_metrics.h"

namespace inkrec {

void PairMetrics::reset() {
  for (std::int16_t& m : measures) m = kNotMeasured;
  angle = 0;
  link_distance = kNotMeasured;
  link_cost = 0;
  vertical_relation.clear();
  kind = -1;
  band_a.clear();
  band_b.clear();
  left_index = -1;
  right_index = -1;
  for (auto& pair : half_measures) pair[0] = pair[1] = 0;
  counts[0] = counts[1] = 0;
}

}  // namespace inkrec

// The shape analysis passes as they stand until the analysis is built: they
// check their input and give every figure the statistics of a figure without
// direction, no feature masks and no descending runs. The shape-analysis code
// replaces this file.

#include "engine/foundation/glyph_direction.h"

#include "engine/foundation/status.h"

namespace inkrec {

int compute_direction_statistics(GlyphGeometry& geometry, RunList runs, bool) {
  if (has_missing_run(runs)) return kBadArgument;
  bool has_segment = false;
  for (const PointRun* run : runs) has_segment = has_segment || run->count > 1;
  if (!has_segment) return kPaneEmptySegment;
  geometry.direction = DirectionStatistics::no_direction();
  geometry.reversals = ReversalCounts{};
  return kOk;
}

int compute_feature_masks(GlyphGeometry& geometry, RunList runs) {
  if (has_missing_run(runs)) return kBadArgument;
  geometry.feature_masks = FeatureMasks{};
  return kOk;
}

void compute_descent_block(const GlyphGeometry&, RunList, int, int, DescentBlock& block) {
  block.reset();
  block.ordinary_count = 0;
  block.descending_runs = 0;
}

}  // namespace inkrec

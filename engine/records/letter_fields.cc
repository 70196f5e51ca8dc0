#include "engine/records/letter_fields.h"

#include "engine/foundation/status.h"

namespace inkrec {

PackedPoint reference_point(const GlyphGeometry& g) {
  const Box16 box = g.bounding_box();
  return {static_cast<std::int16_t>(box.center_x()), box.top};
}

const MarkBlock& figure_mark_block(StrokeRecord& figure) {
  PointRun* const runs[] = {&figure.run};
  return figure.geometry.ensure_block_m(runs);
}

const MarkBlock& element_mark_block(FigureGroup& group, int* status) {
  static const MarkBlock kUnmeasured;
  *status = group.geometry == nullptr ? kBadArgument : kOk;
  if (*status != kOk) return kUnmeasured;
  DynArray<PointRun*> runs;
  *status = group_run_list(group, runs);
  if (*status != kOk) return kUnmeasured;
  return group.geometry->ensure_block_m(runs.span());
}

}  // namespace inkrec

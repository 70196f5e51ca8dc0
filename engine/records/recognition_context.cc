// The line work of a run and the members of its context that the
// bodies-and-links splitter reads.

#include "engine/records/recognition_context.h"

namespace inkrec {

void LineWork::clear() {
  strokes.clear();
  bodies.clear();
  links.clear();
  text_lines.clear();
  settings = SegmentationSettings();
  statistics = PaneStatistics();
  stroke_pairs.reserve(0);
}

}  // namespace inkrec

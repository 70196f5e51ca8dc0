// Level crossings and path lengths of point runs.

#include "engine/records/point_runs.h"

namespace inkrec {

LevelCrossings run_upward_crossings(PointSpan run, int level) {
  LevelCrossings result;
  if (run.empty()) return result;
  for (std::int32_t i = 0; i + 1 < run.size(); ++i) {
    if (run[i].y <= level && run[i + 1].y > level) ++result.count;
  }
  result.ends_at_or_above = run.back().y <= level;
  return result;
}

LevelCrossings run_downward_crossings(PointSpan run, int level) {
  LevelCrossings result;
  if (run.empty()) return result;
  for (std::int32_t i = 0; i + 1 < run.size(); ++i) {
    if (run[i].y > level && run[i + 1].y < level) ++result.count;
  }
  result.ends_at_or_above = run.back().y <= level;
  return result;
}

std::int64_t path_length(PointSpan stroke, int from, int to) {
  std::int64_t length = 0;
  for (int k = from; k < to; ++k) {
    length += octagonal_length(stroke[k + 1].x - stroke[k].x, stroke[k + 1].y - stroke[k].y);
  }
  return length;
}

}  // namespace inkrec

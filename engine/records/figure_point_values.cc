#include "engine/records/figure_point_values.h"

namespace inkrec {

bool figure_has_marked_point(const FigureRecord& figure) {
  if (figure.run.empty()) return false;
  for (std::int32_t k = 0; k < figure.run.count; ++k) {
    if (has_extra_code(figure.run.points[k])) return true;
  }
  return false;
}

}  // namespace inkrec

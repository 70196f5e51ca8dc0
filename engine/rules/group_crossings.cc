// Crossing counts of a group at a height.

#include "engine/rules/group_crossings.h"

#include "engine/records/figure_measures.h"

namespace inkrec {
namespace {

// The sum of count(one-run list) over the group's figures.
template <typename Count>
int sum_over_figures(const FigureGroup& group, Count count) {
  int total = 0;
  for (FigureRecord* figure : group.figures) {
    if (figure == nullptr) continue;
    PointRun* const run[] = {&figure->run};
    total += count(RunList(run));
  }
  return total;
}

}  // namespace

std::int32_t row_at_height(const FigureGroup& group, std::int32_t p) {
  if (group.geometry == nullptr) return 0;
  const Box16 box = group.geometry->bounding_box();
  const std::int64_t rise = (std::int64_t{box.bottom} - box.top) * p / 100;
  return static_cast<std::int32_t>(box.bottom - rise);
}

int crossings_at_height(const FigureGroup& group, std::int32_t p) {
  if (group.geometry == nullptr) return 0;
  const std::int32_t y = row_at_height(group, p);
  // Steps from at or above the level to below it.
  return sum_over_figures(group, [y](RunList runs) { return runs_upward_crossings(runs, y); });
}

int extent_points_at_height(const FigureGroup& group, std::int32_t p) {
  if (group.geometry == nullptr) return 0;
  const std::int32_t y = row_at_height(group, p);
  return sum_over_figures(group, [y](RunList runs) { return figures_extent_y_default(runs, y); });
}

}  // namespace inkrec

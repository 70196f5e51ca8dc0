// The upper-mark and lower-mark tests.

#include "engine/rules/mark_tests.h"

#include <algorithm>

#include "engine/foundation/status.h"
#include "engine/records/clamped_ramp.h"
#include "engine/records/letter_fields.h"
#include "engine/records/vertical_extrema.h"

namespace inkrec {
namespace {

// The group is a single mark with both base lines.
bool is_placed_mark(const FigureGroup& group) {
  return group.one_figure_mark != 0 && group.geometry != nullptr &&
         baseline_pair(*group.geometry).has_bounds() && !group.figures.empty() &&
         group.figures[0] != nullptr;
}

std::uint16_t line_of(const FigureGroup& group) { return group.figures[0]->line_index; }

bool overlaps_horizontally(const Box16& a, const Box16& b) {
  return a.left <= b.right && b.left <= a.right;
}

}  // namespace

MarkPlace upper_mark_place(const FigureGroup& group, const Box16& box, std::int32_t size,
                           const DynArray<FigureRecord>& line_figures) {
  MarkPlace place;
  if (!is_placed_mark(group)) return place;
  const ReferenceBand& band = baseline_pair(*group.geometry);
  place.flag = true;
  std::int32_t reference = band.bottom;
  for (std::uint32_t i = 1; i < line_figures.size(); ++i) {
    const FigureRecord& other = line_figures[i];
    const Box16 b = other.geometry.bounding_box();
    if (other.line_index != line_of(group) || group.coverage.test(other.position) || b == box)
      continue;
    if (!overlaps_horizontally(b, box)) continue;
    if (b.top > box.bottom) {
      reference = std::max<std::int32_t>(reference, b.bottom);
      break;
    }
    if (b.left >= box.left && b.bottom <= box.top) place.flag = false;
  }
  if (!place.flag) return place;
  const std::int32_t gap = band.bottom - band.top;
  const ClampedRamp height(reference - (gap + size) / 3, 0, true, reference, 3000, false);
  const std::int32_t m = std::max(size, reference - box.top);
  place.penalty = height.value_at(box.bottom) + height.value_at(top_key(*group.geometry)) +
                  ClampedRamp(m / 2, 0, true, m, 1000, true).value_at(box.height());
  return place;
}

int lower_mark_place(const FigureGroup& group, const Box16& box, std::int32_t size,
                     const DynArray<FigureRecord>& line_figures, MarkPlace* place) {
  *place = MarkPlace{};
  if (!is_placed_mark(group)) return kOk;
  const ReferenceBand& band = baseline_pair(*group.geometry);
  place->flag = true;
  for (const FigureRecord& other : line_figures) {
    const Box16 b = other.geometry.bounding_box();
    if (other.line_index != line_of(group) || b == box) continue;
    if (b.left >= box.left && b.left <= box.right && b.top >= box.bottom) {
      place->flag = false;
      return kOk;
    }
  }
  ExtremumList extrema;
  const FigureRecord& mark = *group.figures[0];
  if (const int status = find_vertical_extrema(extrema, mark.run.points, mark.run.count, size / 4);
      status != kOk) {
    return status;
  }
  const std::int32_t gap = band.bottom - band.top;
  const ClampedRamp height(band.top, 1500, false, band.bottom - gap / 2, 0, true);
  place->penalty = height.value_at(box.top) + height.value_at(top_key(*group.geometry));
  return kOk;
}

}  // namespace inkrec

#include "engine/segmentation/pair_merge_geometry.h"

#include <cstdlib>

#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/records/letter_fields.h"

namespace inkrec {
namespace {

// The single member of a set of one; false for any other set.
bool single_member(const BitSet& set, std::uint32_t* member) {
  return set.count() == 1 && set.lowest_bit(member);
}

std::int32_t box_centre_y(const FigureRecord& figure) { return centre_y(figure.geometry); }

// The mean x of the group's points at or below `from_y`; false when none
// is, or a figure is missing.
bool mean_x_from(const FigureGroup& group, std::int32_t from_y, std::int32_t* mean) {
  std::int64_t sum = 0;
  std::int64_t count = 0;
  for (const FigureRecord* figure : group.figures) {
    if (figure == nullptr) return false;
    const PointSpan points = figure->run.span();
    for (std::int32_t k = 0; k < points.size(); ++k) {
      const PackedPoint p = points[k];
      if (p.y < from_y) continue;
      sum += p.x;
      ++count;
    }
  }
  if (count == 0) return false;
  *mean = static_cast<std::int32_t>(sum / count);
  return true;
}

int set_bounds(const BitSet& a, const BitSet& b, PairBounds* bounds) {
  PairBounds found;
  if (!a.lowest_bit(&found.a_first) || !a.highest_bit(&found.a_last) ||
      !b.lowest_bit(&found.b_first) || !b.highest_bit(&found.b_last)) {
    return kBadArgument;
  }
  *bounds = found;
  return kOk;
}

}  // namespace

int check_single_figure_partner(FragmentState& state, const FigureGroup& a, const FigureGroup& b,
                                std::uint8_t* flag) {
  std::uint32_t member = 0;
  if (!single_member(b.members, &member)) return kOk;
  DynArray<FigureRecord>& bodies = state.context.bodies();
  const FigureRecord* figure = bodies.item_checked(member);
  if (figure == nullptr || a.geometry == nullptr || b.geometry == nullptr) return kBadArgument;
  if (figure->line_index == kNoKey16) return kOk;
  int partner = -1;
  const int status = state.context.figure_pairs().best_partner_entry(
      static_cast<std::int16_t>(figure->line_index), static_cast<int>(member), nullptr, &partner);
  if (status != kOk) return status;
  const FigureRecord* neighbour = bodies.item_checked(static_cast<std::uint32_t>(partner));
  if (partner < 0 || neighbour == nullptr) return kOk;
  const std::int32_t rise = std::abs(box_centre_y(*neighbour) - box_centre_y(*figure));
  const std::int32_t run =
      std::abs(reference_point(*a.geometry).x - reference_point(*b.geometry).x) / 2;
  const auto p = static_cast<std::uint32_t>(partner);
  if (rise > run || a.members.test(p) || b.members.test(p)) return kOk;
  if (flag != nullptr) *flag = 0;
  return kOk;
}

int bottom_link_angle(FragmentState& state, const FigureGroup& a, const FigureGroup& b,
                      std::int32_t* angle) {
  if (angle == nullptr) return kOk;
  if (a.geometry == nullptr || b.geometry == nullptr) return kBadArgument;
  const Box16 box_a = a.geometry->bounding_box();
  const Box16 box_b = b.geometry->bounding_box();
  std::int32_t mean_x = 0;
  if (!mean_x_from(a, box_a.bottom - box_a.height() / 3, &mean_x)) return kBadArgument;
  const PackedPoint ref_a = reference_point(*a.geometry);
  const PackedPoint from{static_cast<std::int16_t>((ref_a.x + mean_x) / 2),
                         static_cast<std::int16_t>((ref_a.y + box_a.bottom) / 2)};
  const PackedPoint to{reference_point(*b.geometry).x, box_b.bottom};
  *angle = std::abs(step_direction(from, to) - state.context.line_slant_angle());
  return kOk;
}

int position_bounds_of_pair(const FigureGroup& a, const FigureGroup& b, PairBounds* bounds) {
  return set_bounds(position_set(a), position_set(b), bounds);
}

int figure_bounds_of_pair(const FigureGroup& a, const FigureGroup& b, PairBounds* bounds) {
  return set_bounds(member_set(a), member_set(b), bounds);
}

}  // namespace inkrec

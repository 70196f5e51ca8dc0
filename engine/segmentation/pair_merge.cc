#include "engine/segmentation/pair_merge.h"

#include <algorithm>
#include <cstdlib>

#include "engine/foundation/interval_relation.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/records/letter_fields.h"
#include "engine/records/request_switches.h"
#include "engine/records/run_kernel.h"
#include "engine/segmentation/pair_merge_decision.h"
#include "engine/segmentation/pair_merge_geometry.h"

namespace inkrec {
namespace {

constexpr std::uint32_t kTop = 1;
constexpr std::uint32_t kBottom = 2;
constexpr std::uint32_t kLeft = 4;
constexpr std::uint32_t kRight = 8;
constexpr std::int32_t kNoRuleTolerance = 3;

// What the kind tests read of the pair: O the partner, R the result.
struct MergeScene {
  FragmentState* state = nullptr;
  FigureGroup* O = nullptr;
  FigureGroup* R = nullptr;
  Box16 o, r;
  std::int32_t hO = 0, hR = 0;
  PackedPoint key_o, key_r;
  PairBounds positions;  // a: O, b: R
  PairBounds figures;
  std::int32_t vov = 0;
  std::int32_t t = kNoRuleTolerance;
  std::int32_t h = 0;  // the line's letter height
  bool stroke_order = false;
};

int prepare(MergeScene& m, FragmentState& state, FigureGroup& other, FigureGroup& result,
            const ComplexVariant* rule) {
  m.state = &state;
  m.O = &other;
  m.R = &result;
  if (other.geometry == nullptr || result.geometry == nullptr) return kBadArgument;
  if (const int status = position_bounds_of_pair(other, result, &m.positions); status != kOk) {
    return status;
  }
  if (const int status = figure_bounds_of_pair(other, result, &m.figures); status != kOk) {
    return status;
  }
  m.o = other.geometry->bounding_box();
  m.r = result.geometry->bounding_box();
  m.hO = m.o.height();
  m.hR = m.r.height();
  m.key_o = sort_key_point(*other.geometry);
  m.key_r = sort_key_point(*result.geometry);
  IntervalRelation relation;
  relation.compute(m.o.top, m.o.bottom, m.r.top, m.r.bottom);
  m.vov = relation.overlap();
  m.t = rule != nullptr ? rule->tolerance : kNoRuleTolerance;
  m.h = state.context.letter_height();
  m.stroke_order = RequestSwitches(state.context.kernel().params()).stroke_order();
  return kOk;
}

// x reaches 9/10 (or another share) of a height.
bool at_least(std::int32_t x, std::int32_t share, std::int32_t height) {
  return 10 * x >= share * height;
}

bool left_of_o(const MergeScene& m) {
  if (!(m.key_r.x < m.key_o.x)) return false;
  const bool next = m.positions.a_first == m.positions.b_last + 1 &&
                    (!m.stroke_order || m.figures.a_first == m.figures.b_last + 1);
  if (10 * (m.key_o.x - m.key_r.x) >= 17 * m.h && !next) return false;
  if (static_cast<std::int64_t>(m.positions.b_last) + m.t < m.positions.a_first) return false;
  const bool apart_in_y = 2 * std::abs(m.key_r.y - m.key_o.y) > std::abs(m.key_o.x - m.key_r.x);
  const bool overlap_small = !at_least(m.vov, 9, m.hO) && !at_least(m.vov, 9, m.hR);
  const std::int32_t gap = m.o.left - m.r.right;
  const bool gap_wide = 3 * gap >= 2 * m.hO && 3 * gap >= 2 * m.hR;
  return !(apart_in_y && overlap_small && gap_wide);
}

bool right_of_o(const MergeScene& m) {
  if (!(m.key_r.x > m.key_o.x)) return false;
  const std::int64_t o_last_pos = m.positions.a_last;
  const std::int64_t o_last_fig = m.figures.a_last;
  if (10 * (m.key_r.x - m.key_o.x) < 17 * m.h) {
    const bool near = m.stroke_order ? o_last_fig + m.t >= m.figures.b_first
                                     : o_last_pos + m.t >= m.positions.b_first;
    if (!near) return false;
  } else if (m.positions.b_first != o_last_pos + 1 ||
             (m.stroke_order && m.figures.b_first != o_last_fig + 1)) {
    return false;
  }
  const std::int32_t theta = step_direction(m.key_o, m.key_r);
  if (theta < 28 || theta >= 333 || at_least(m.vov, 9, m.hO) || at_least(m.vov, 9, m.hR)) {
    return true;
  }
  if (at_least(m.vov, 7, m.hO) && at_least(m.vov, 7, m.hR)) return true;
  const std::int32_t outer = std::max(m.o.bottom, m.r.bottom) - std::min(m.o.top, m.r.top);
  if ((at_least(m.vov, 7, m.hO) && 10 * outer < 13 * m.hR) ||
      (at_least(m.vov, 7, m.hR) && 10 * outer < 13 * m.hO)) {
    return true;
  }
  const std::int32_t gap = m.r.left - m.o.right;
  if (4 * gap >= m.hO || 4 * gap >= m.hR) return true;
  if (theta < 46 && 4 * m.vov > m.h) return true;
  return m.vov >= 1 && m.o.bottom < baseline_pair(*m.O->geometry).top &&
         m.r.bottom < baseline_pair(*m.R->geometry).top;
}

// Ranges of positions and of figures more than t + 1 apart.
bool ranges_apart(const PairBounds& b, std::int32_t t) {
  const std::int64_t gap = std::max<std::int64_t>(std::int64_t{b.b_first} - b.a_last,
                                                  std::int64_t{b.a_first} - b.b_last);
  return gap > t + 1;
}

// Stacked: R over or under O (their rows overlap by less than half the
// lower one's height), with the gap between the boxes and the sideways
// distance of the key points within the line height plus 10/16 of the
// line's upper height.
bool stacked(const MergeScene& m) {
  if (2 * m.vov >= std::min(m.hO, m.hR)) return false;
  const std::int32_t limit = m.h + m.state->context.settings().upper_height * 10 / 16;
  const std::int32_t vertical_gap = std::max(m.r.top - m.o.bottom, m.o.top - m.r.bottom);
  return vertical_gap <= limit && std::abs(m.key_r.x - m.key_o.x) <= limit;
}

bool inside_o(const MergeScene& m) {
  return m.r.left >= m.o.left && m.r.right <= m.o.right && m.r.top >= m.o.top &&
         m.r.bottom <= m.o.bottom;
}

// The relation kinds found among those asked; false when the ranges of
// the pair are too far apart for any.
bool find_kinds(const MergeScene& m, std::uint32_t asked, std::uint32_t* kinds) {
  *kinds = 0;
  if ((asked & kLeftOfO) != 0 && left_of_o(m)) *kinds |= kLeftOfO;
  if ((asked & kRightOfO) != 0 && right_of_o(m)) *kinds |= kRightOfO;
  if ((asked & kStacked) != 0) {
    if (ranges_apart(m.positions, m.t) && ranges_apart(m.figures, m.t)) {
      *kinds = 0;
      return false;
    }
    if (stacked(m)) *kinds |= kStacked;
  }
  if ((asked & kInsideO) != 0 && inside_o(m)) *kinds |= kInsideO;
  return true;
}

bool has_reading(const FigureGroup& group, const ComplexVariant& rule,
                 bool (*fits)(const ComplexVariant&, const Answer&)) {
  for (const AnswerList* list : {group.answers, group.composites}) {
    if (list == nullptr) continue;
    for (const Answer& reading : list->answers()) {
      if (reading.state != Answer::kStateRejected && fits(rule, reading)) return true;
    }
  }
  return false;
}

// Without a rule: the kernel's rules of the kinds found, in order.
int try_kernel_rules(FragmentState& state, FigureGroup& other, FigureGroup& result,
                     std::uint32_t kinds, std::uint8_t* merge, std::int32_t* penalty) {
  *merge = 0;
  for (const ComplexVariant* rule : state.context.kernel().composite_rules()) {
    if (rule == nullptr) return kBadArgument;
    if ((relation_kinds_of_sides(rule->add) & kinds) == 0) continue;
    if (rule->kind == 1) {
      *merge = 1;
      return kOk;
    }
    if (!has_reading(other, *rule, reading_is_first_part) ||
        !has_reading(result, *rule, reading_is_second_part)) {
      continue;
    }
    *merge = 1;
    if (const int status = decide_pair_merge(state, other, result, *rule, merge, penalty);
        status != kOk) {
      return status;
    }
    if (*merge != 0) return kOk;
  }
  return kOk;
}

}  // namespace

std::uint32_t relation_kinds_of_sides(std::uint32_t sides) {
  std::uint32_t kinds = 0;
  if ((sides & kTop) != 0) kinds |= kStacked;
  if ((sides & kBottom) != 0) kinds |= kStacked | kInsideO;
  if ((sides & kLeft) != 0) kinds |= kLeftOfO;
  if ((sides & kRight) != 0) kinds |= kRightOfO;
  return kinds;
}

bool reading_is_first_part(const ComplexVariant& rule, const Answer& reading) {
  switch (complex_mode(rule)) {
    case 0:
      return reading.kind == 0 && answer_shape_id(reading) == rule.first_component;
    case 1:
      return reading.kind != 0 && reading.key == rule.first_component;
    default:
      return true;
  }
}

bool reading_is_second_part(const ComplexVariant& rule, const Answer& reading) {
  return answer_shape_id(reading) == rule.second_component;
}

int test_pair_merge(FragmentState& state, FigureGroup& other, FigureGroup& result,
                    const ComplexVariant* rule, std::uint8_t* merge, std::int32_t* penalty,
                    std::uint32_t* kinds) {
  if (merge == nullptr || penalty == nullptr || kinds == nullptr) return kBadArgument;
  *merge = 0;
  *kinds = 0;
  if (state.context.kernel().stop_flag()) return kStopped;
  MergeScene m;
  if (const int status = prepare(m, state, other, result, rule); status != kOk) return status;
  const std::uint32_t asked = relation_kinds_of_sides(
      rule != nullptr ? rule->add : state.context.kernel().composite_sides());
  if (!find_kinds(m, asked, kinds) || *kinds == 0) return kOk;
  if (rule != nullptr) {
    if ((relation_kinds_of_sides(rule->add) & *kinds) == 0) return kOk;
    *merge = 1;
    return decide_pair_merge(state, other, result, *rule, merge, penalty);
  }
  return try_kernel_rules(state, other, result, *kinds, merge, penalty);
}

}  // namespace inkrec

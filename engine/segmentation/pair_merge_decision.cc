#include "engine/segmentation/pair_merge_decision.h"

#include <algorithm>
#include <cstdlib>
#include <span>

#include "engine/foundation/interval_relation.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/records/letter_fields.h"
#include "engine/records/profile_pair.h"
#include "engine/records/record_access.h"
#include "engine/records/request_switches.h"
#include "engine/records/run_kernel.h"
#include "engine/rules/pair_rule_scene.h"
#include "engine/segmentation/pair_merge.h"
#include "engine/segmentation/pair_merge_geometry.h"
#include "engine/segmentation/result_pair_order.h"

namespace inkrec {
namespace {

// Code ranges of the family table, inclusive.
struct CodeRange {
  std::uint16_t first;
  std::uint16_t last;
};

constexpr CodeRange kMarkAbove[] = {
    {73, 74},   {192, 197}, {200, 207}, {209, 214}, {216, 221}, {224, 229}, {232, 246},
    {248, 253}, {255, 259}, {262, 279}, {282, 289}, {292, 301}, {304, 304}, {308, 309},
    {313, 314}, {317, 324}, {327, 328}, {332, 337}, {340, 341}, {344, 349}, {352, 353},
    {356, 369}, {372, 382}};
constexpr CodeRange kMarkBelow[] = {
    {199, 199}, {231, 231}, {260, 261}, {280, 281}, {290, 291}, {302, 303}, {310, 311},
    {315, 316}, {325, 326}, {342, 343}, {350, 351}, {354, 355}, {370, 371}, {902, 902},
    {904, 906}, {908, 908}, {910, 912}, {938, 944}, {970, 974}, {1025, 1025}, {1049, 1049},
    {1081, 1081}};
constexpr CodeRange kBesideEachOther[] = {
    {1052, 1052}, {1067, 1067}, {1084, 1084}, {1090, 1090}, {1099, 1099}, {1102, 1102},
    {1105, 1105}, {1488, 1488}, {1492, 1492}, {1495, 1495}, {1511, 1511}, {1514, 1514},
    {9393, 9393}};

bool in_ranges(std::uint16_t code, std::span<const CodeRange> ranges) {
  return std::any_of(ranges.begin(), ranges.end(),
                     [code](const CodeRange& r) { return code >= r.first && code <= r.last; });
}

struct Decision {
  FragmentState* state = nullptr;
  FigureGroup* O = nullptr;
  FigureGroup* R = nullptr;
  const ComplexVariant* rule = nullptr;
  std::uint32_t kinds = 0;  // the rule's relation kinds
  Box16 o, r;
  std::int32_t hO = 0, hR = 0, wO = 0, wR = 0;
  std::int32_t h = 0;
  std::int32_t vov = 0;
  bool stroke_order = false;
  std::uint8_t* merge = nullptr;
  std::int32_t* penalty = nullptr;

  void refuse() const { *merge = 0; }
  void pen(std::int32_t amount) const { *penalty -= amount; }
  bool refused() const { return *merge == 0; }
  RecognitionContext& context() const { return state->context; }
};

// The second part must stand in writing order after the first and not
// reach below the first's middle.
void check_order(const Decision& d) { check_pair_order(d.context(), *d.O, *d.R, d.merge); }

bool ranges_within_one(const Decision& d) {
  PairBounds positions;
  PairBounds figures;
  if (position_bounds_of_pair(*d.O, *d.R, &positions) != kOk ||
      figure_bounds_of_pair(*d.O, *d.R, &figures) != kOk) {
    return false;
  }
  const auto within = [](const PairBounds& b) {
    return std::int64_t{b.b_first} - b.a_last <= 1 && std::int64_t{b.a_first} - b.b_last <= 1;
  };
  return within(positions) && within(figures);
}

std::int32_t joined_strokes(const Decision& d) {
  std::int32_t count = 0;
  std::int32_t seen[64];
  for (const FigureGroup* g : {d.O, d.R}) {
    for (const FigureRecord* f : g->figures) {
      if (f == nullptr) continue;
      if (std::find(seen, seen + count, f->stroke_index) == seen + count && count < 64) {
        seen[count++] = f->stroke_index;
      }
    }
  }
  return count;
}

// ---- Stage 1.

// The profile comparison in the rule's direction: R after O for a part on
// the right, O after R for one on the left; false for neither.
bool compare_sideways(const Decision& d, ProfilePairMetrics& out, int* status) {
  FigureView view_o;
  FigureView view_r;
  if ((*status = view_o.init_from_element(*d.O)) != kOk) return false;
  if ((*status = view_r.init_from_element(*d.R)) != kOk) return false;
  if ((d.kinds & kRightOfO) != 0) {
    measure_profile_pair(view_o, view_r, out);
  } else if ((d.kinds & kLeftOfO) != 0) {
    measure_profile_pair(view_r, view_o, out);
  } else {
    return false;
  }
  return out.least_gap != ProfilePairMetrics::kUnmeasured;
}

int score_distance_apart(const Decision& d) {
  const auto q = [&d](std::int32_t x) { return ramp(d.h / 3, 0, true, d.h, 2000, true, x); };
  ProfilePairMetrics m;
  int status = kOk;
  const bool own_lines = d.O->own_line != 0 && d.R->own_line != 0;
  if (own_lines) {
    const FigureRecord* first = d.R->figures.front();
    if (first == nullptr) return kBadArgument;
    int partner = -1;
    std::int16_t value = 0;
    if (d.context().figure_pairs().best_partner(body_index(*first),
                                                static_cast<std::int16_t>(first->line_index),
                                                nullptr, &partner, &value) != kOk ||
        partner < 0 || d.O->members.test(static_cast<std::uint32_t>(partner))) {
      return kOk;
    }
  }
  const bool measured = compare_sideways(d, m, &status);
  if (status != kOk) return status;
  if (!measured) return kOk;
  const std::int32_t spread = d.vov;
  const std::int32_t dist = m.least_gap;
  if (!own_lines) {
    if (3 * spread > 2 * d.h) d.pen(q(dist));
    return kOk;
  }
  if (3 * spread > 2 * d.h && dist > 2 * m.mean_gap && m.closed_rows > 0) d.pen(q(dist));
  if (10 * m.mean_gap < d.h) d.pen(300);
  return kOk;
}

int common_terms(const Decision& d) {
  if ((d.kinds & kStacked) != 0) {
    const std::int32_t t = (d.kinds & (kLeftOfO | kRightOfO)) == 0 ? 15 : 30;
    if (d.vov >= 0) d.pen(ramp(d.hO * t / 100, 0, true, d.hO, 3500, false, d.vov));
    if (d.r.top > d.o.top + d.hO / 4 && (d.kinds & (kLeftOfO | kRightOfO | kInsideO)) == 0) {
      d.refuse();
      return kOk;
    }
  }
  if (2 * d.hO > d.h && (2 * d.hR > d.h || d.R->own_line == 0)) return score_distance_apart(d);
  return kOk;
}

// ---- Stage 2.

// The dot of an "i" or a "j" over its stem.
void judge_dotted_letter(const Decision& d) {
  if (d.rule->kind == 0 && d.rule->first_component == 830) d.pen(50);
  check_order(d);
  if (d.refused()) return;
  const GlyphGeometry& go = *d.O->geometry;
  if (d.rule->symbol_id == 5008) {
    std::int32_t stem = geometry_angle(go) % 180;
    if (stem < 0) stem += 180;
    if (stem > 90) stem = 180 - stem;
    if (stem < 41) return d.refuse();
    d.pen(ramp(75, 0, true, 40, 1800, true, stem));
    const std::int32_t below = (d.o.bottom - baseline_pair(go).bottom) * 100 / std::max(d.hO, 1);
    d.pen(ramp(0, 0, true, 20, 500, false, below));
  }
  const std::int32_t gap = d.o.top - d.r.bottom;
  if (gap < 1 && 3 * d.wR > d.h) d.pen(2000);
  if (d.wR > 2 * d.hR && gap > 0 && d.wR > 3 * gap) {
    const WidthBlock* profile = element_glyph_profile(*d.R);
    const bool scribble = shape_percent(*d.R->geometry) >= 200 && profile != nullptr &&
                          profile->columns >= 16;
    if (!scribble) return d.refuse();
  }
  // The dot's direction from the stem's top, measured from the line: a dot
  // along the slant stands at 90 and costs nothing.
  const PackedPoint top = go.extremes[GlyphGeometry::kLeastY] != nullptr
                              ? go.extremes[GlyphGeometry::kLeastY]->point
                              : PackedPoint{static_cast<std::int16_t>(d.o.center_x()), d.o.top};
  const std::int32_t direction = step_direction(sort_key_point(*d.R->geometry), top);
  std::int32_t off = std::abs(direction - d.context().line_slant_angle()) % 180;
  if (off > 90) off = 180 - off;
  const std::int32_t from_line = 90 - off;
  d.pen(ramp(0, 1000, true, 90, 0, false, from_line) + ramp(0, 1000, true, 60, 0, true, from_line));
}

void judge_crossed_x(const Decision& d) {
  const int stroke_o = single_stroke_number(*d.O);
  const int stroke_r = single_stroke_number(*d.R);
  if (!d.stroke_order || stroke_o == stroke_r) return d.refuse();
  if (!ranges_within_one(d) && std::abs(stroke_o - stroke_r) > 1) return d.refuse();
  const FigureRecord* first = d.O->figures.front();
  if (first != nullptr && link_field_2(*first) > 0) d.refuse();
}

void judge_stem_and_arm(const Decision& d) {
  if (shape_percent(*d.R->geometry) < 200 || d.r.left - d.o.right > d.h) return d.refuse();
  PairTable& table = d.context().figure_pairs();
  for (const FigureRecord* f : d.O->figures) {
    if (f == nullptr) continue;
    int partner = -1;
    std::int16_t value = 0;
    if (table.best_partner(body_index(*f), static_cast<std::int16_t>(f->line_index), nullptr,
                           &partner, &value) == kOk &&
        partner >= 0 && d.R->members.test(static_cast<std::uint32_t>(partner))) {
      return;
    }
  }
  d.refuse();
}

// Two stems joined by a bar: the narrowest gap between them over R's
// rows, against O's widest row.
void judge_two_stems(const Decision& d) {
  if (!ranges_within_one(d) || d.hR > 2 * d.hO || 2 * (d.r.left - d.o.right) > 3 * d.wO) {
    return d.refuse();
  }
  const ProfileRaster* ro = element_profile_raster(*d.O);
  const ProfileRaster* rr = element_profile_raster(*d.R);
  if (ro == nullptr || rr == nullptr) return;
  std::int32_t narrowest = 0x7fffffff;
  std::int32_t widest = 0;
  for (std::int32_t y = d.o.top; y <= d.o.bottom; ++y) widest = std::max(widest, ro->row_extent(y));
  for (std::int32_t y = d.r.top; y <= d.r.bottom; ++y) {
    const std::int32_t right = ro->row_max(y);
    const std::int32_t left = rr->row_min(y);
    if (right == kEmptyMax || left == kEmptyMin) continue;
    narrowest = std::min(narrowest, left - right);
  }
  if (narrowest > 0 && narrowest != 0x7fffffff && widest > 0) {
    d.pen(ramp(100, 0, true, 125, 500, false, narrowest * 100 / widest));
  }
}

// Letters of two parts side by side: the second part beside the first,
// not more than half a letter apart.
void judge_parts_beside(const Decision& d) {
  if (!ranges_within_one(d)) return d.refuse();
  d.pen(ramp(d.h / 2, 0, true, d.h, 1000, false, d.r.left - d.o.right));
}

void family_test(const Decision& d) {
  const std::uint16_t code = complex_code(*d.rule);
  if (in_ranges(code, kMarkAbove)) {
    check_order(d);
  } else if (in_ranges(code, kMarkBelow)) {
    if (d.stroke_order && members_interleave(*d.O, *d.R)) d.refuse();
  } else if (code == 161 || code == 191) {
    if (d.O->own_line == 0 || d.R->own_line == 0 || !d.context().kernel().charset_active(8)) {
      return d.refuse();
    }
    d.pen(300);
  } else if (code == 105 || code == 106) {
    judge_dotted_letter(d);
  } else if (code == 120) {
    judge_crossed_x(d);
  } else if (code == 1050 || code == 1082) {
    judge_stem_and_arm(d);
  } else if (code == 1085) {
    judge_two_stems(d);
  } else if (code == 1072) {
    if (d.rule->symbol_id != 2405) return;
    const std::int32_t gap = d.r.left - d.o.right;
    d.pen(ramp(2 * d.wO / 3, 0, true, d.wO, 1000, false, gap));
    if (3 * gap > 4 * d.wO) d.refuse();
  } else if (code == 1096) {
    if (d.R->own_line == 0) d.refuse();
  } else if (in_ranges(code, kBesideEachOther)) {
    judge_parts_beside(d);
  }
}

// ---- Stage 3.

void judge_large_first_part(const Decision& d) {
  if (2 * d.wO >= d.h && 2 * d.hO >= d.h) {
    const std::int32_t kind = geometry_class(*d.O->geometry);
    if (kind != 2 && kind != 4) return d.refuse();
    d.pen(2000);
  }
  if (5 * d.wO > d.h && d.wO > d.hO) d.pen(ramp(d.h / 5, 1000, true, d.h, 3000, true, d.wO));
}

void judge_symbol_1709(const Decision& d) {
  const std::int32_t ratio = std::max(d.hO, d.hR) * 100 / std::max(std::min(d.hO, d.hR), 1);
  d.pen(ramp(200, 0, true, 500, 3000, false, ratio));
  d.pen(ramp(d.h / 2, 0, true, d.h, 1500, true, d.wR));
  const int stroke_o = single_stroke_number(*d.O);
  const int stroke_r = single_stroke_number(*d.R);
  if (d.stroke_order && stroke_o >= 0 && stroke_r >= 0 && stroke_o > stroke_r &&
      d.context().kernel().charset_active(5) &&
      baseline_pair(*d.O->geometry).top - d.o.top > d.h / 5) {
    d.pen(600);
  }
}

void symbol_terms(const Decision& d) {
  const std::uint16_t id = d.rule->symbol_id;
  if (id == 1709) judge_symbol_1709(d);
  if (id == 2406 && (d.r.left - d.o.right > d.wO || 3 * (d.r.left - d.o.right) > 2 * d.wR)) {
    return d.refuse();
  }
  if (id >= 4999 && id <= 5002) {
    if (joined_strokes(d) < 4) return d.refuse();
    d.pen(ramp(5, 0, true, 30, 800, true, std::max(d.r.left - d.o.right, 0)));
  }
  if ((id == 5056 || id == 5060 || id == 5074) && d.o.right > d.r.right) {
    d.pen(ramp(20, 0, true, 100, 1400, true,
               std::abs(d.o.bottom - d.r.bottom) * 100 / std::max(d.hO, 1)));
  }
  if (id == 160 || (id >= 242 && id <= 245)) {
    if (joined_strokes(d) < 2 || d.o.right > d.r.right) return d.refuse();
    d.pen(ramp(80, 0, true, 50, 800, false,
               std::min(d.hO, d.hR) * 100 / std::max(std::max(d.hO, d.hR), 1)));
  }
  if (id == 160 || (id >= 242 && id <= 245) || id == 1709 || id == 1710 || id == 2368 ||
      id == 2409) {
    judge_large_first_part(d);
  }
}

}  // namespace

int decide_pair_merge(FragmentState& state, FigureGroup& other, FigureGroup& result,
                      const ComplexVariant& rule, std::uint8_t* merge, std::int32_t* penalty) {
  if (merge == nullptr || penalty == nullptr) return kBadArgument;
  bool other_ink = false;
  bool result_ink = false;
  if (check_group_ink(other, &other_ink) != kOk || check_group_ink(result, &result_ink) != kOk ||
      !other_ink || !result_ink) {
    return kBadArgument;
  }
  Decision d;
  d.state = &state;
  d.O = &other;
  d.R = &result;
  d.rule = &rule;
  d.kinds = relation_kinds_of_sides(rule.add);
  d.o = other.geometry->bounding_box();
  d.r = result.geometry->bounding_box();
  d.hO = d.o.height();
  d.hR = d.r.height();
  d.wO = d.o.width();
  d.wR = d.r.width();
  d.h = std::max<std::int32_t>(state.context.letter_height(), 1);
  IntervalRelation relation;
  relation.compute(d.o.top, d.o.bottom, d.r.top, d.r.bottom);
  d.vov = relation.overlap();
  d.stroke_order = RequestSwitches(state.context.kernel().params()).stroke_order();
  d.merge = merge;
  d.penalty = penalty;
  if (const int status = common_terms(d); status != kOk || d.refused()) return status;
  family_test(d);
  if (d.refused()) return kOk;
  symbol_terms(d);
  return kOk;
}

}  // namespace inkrec

// Kinds 17 to 40: tests of two results whose joined group reads as one
// letter, read from their boxes, their rows and their down-runs.

#include <algorithm>
#include <array>
#include <climits>

#include "engine/foundation/status.h"
#include "engine/records/letter_fields.h"
#include "engine/rules/pair_rule_kinds.h"

namespace inkrec {
namespace {

bool is_l(std::uint16_t code) { return code == u'l'; }
bool both_l(const PairScene& p) { return is_l(p.code_a) && is_l(p.code_b); }

// Both codes "l" and the heights within a quarter of the lesser.
bool two_ls_of_a_height(const PairScene& p) { return both_l(p) && abs32(p.hA - p.hB) < p.minH / 4; }

// Both codes "l", one figure each, A starting in the top sixth of its box
// and no link between them.
bool two_separate_ls(const PairScene& p) {
  return both_l(p) && p.figures_a() == 1 && p.figures_b() == 1 &&
         first_point(*p.fa).y < p.a.top + p.hA / 6 && !p.linked();
}

std::int32_t first_gap_in_row(const PairScene& p) {
  const PackedPoint q = first_point(*p.fa);
  return q.x - p.RB->row_max(q.y);
}

int kind_17(PairScene& p) {
  if (p.a.bottom <= p.b.bottom - p.hB / 9 && p.touch() && p.b.top - p.a.top >= p.hA / 4) {
    p.pen(650);
  }
  return kOk;
}

int kind_18(PairScene& p) {
  const bool near =
      !p.linked() && p.figures_a() == 1 && first_gap_in_row(p) < std::max(p.maxH, p.s) / 5;
  if ((p.touch() || near) && abs32(p.hA - p.hB) < p.maxH / 3) p.pen(400);
  return kOk;
}

int kind_19(PairScene& p) {
  if (p.figures_j() > 1) return kOk;
  std::int64_t sum = 0;
  std::int32_t rows = 0;
  for (std::int32_t y = p.common_top(); y < p.common_bottom(); ++y, ++rows) {
    sum += p.RA->row_min(y) - p.RB->row_max(y);
  }
  if (rows == 0) return kOk;
  const PackedPoint start = first_point(*p.fa);
  if (sum / rows <= p.wB / 2 || (start.y == p.a.top && start == last_point(*p.fb))) p.pen(620);
  return kOk;
}

int kind_20(PairScene& p) {
  if (p.figures_j() > 1) return kOk;
  const FigureRecord& fa = *p.fa;
  const std::int32_t k = first_point_on_row(fa, p.a.top);
  if (k <= 0 || k >= point_count(fa) - 1) return kOk;
  if (point_at(fa, k - 1).x > point_at(fa, k + 1).x) p.pen(600 / p.foot_divisor());
  return kOk;
}

int kind_21(PairScene& p) {
  if (p.figures_j() <= 1) p.pen(150);
  return kOk;
}

int kind_22(PairScene& p) {
  if (p.a.top - p.b.top >= 2 * p.hB / 3 && p.a.bottom - p.b.bottom >= p.hA / 2 &&
      (p.touch() || p.figures_j() == 1)) {
    p.pen(500);
  } else if (p.a.bottom - p.b.bottom >= p.hA / 3 && first_gap_in_row(p) < p.s / 4) {
    p.pen(200);
  }
  return kOk;
}

int kind_23(PairScene& p) {
  if (p.figures_a() != 1 || p.figures_b() != 1) return kOk;
  const FigureRecord& fa = *p.fa;
  std::int32_t top = 0;
  for (std::int32_t k = 1; k < point_count(fa) && point_at(fa, k - 1).y != p.a.bottom; ++k) {
    if (point_at(fa, k).y < point_at(fa, top).y) top = k;
  }
  const PackedPoint pa = point_at(fa, top);
  const PackedPoint pb = point_at(*p.fb, rightmost_point(*p.fb, 0, point_count(*p.fb) - 1));
  p.pen(ramp(25, 0, true, 0, 350, false, per_cent(pa.x - pb.x, p.j.width())));
  p.pen(ramp(p.hB / 5, 0, true, 0, 350, false, octagonal_distance(pb, pa)));
  const std::int32_t a = direction_of(p.B().geometry->centroid, p.A().geometry->centroid);
  if (a < 180) p.pen(ramp(0, 1000, true, 30, 0, true, p.t - a));
  if (p.t < 105 && p.b.right - p.a.left > 2 * p.wB / 3) p.pen(300);
  return kOk;
}

// A's first figure reaching lower than B's by a third of its height.
bool a_reaches_lower(const PairScene& p) {
  return p.hBf <= p.hAf && p.fA.bottom - p.fB.bottom >= p.hAf / 3;
}

int kind_24(PairScene& p) {
  if (!p.same_stroke()) return kOk;
  if (a_reaches_lower(p)) p.pen(750);
  if (inner_centroid_y(*p.fa) > inner_centroid_y(*p.fb)) p.pen(250);
  return kOk;
}

// The inner points of a figure (its second to last-but-one, up to the
// first one on `bottom`) with both neighbours lower.
std::int32_t inner_peaks(const FigureRecord& f, std::int32_t bottom) {
  std::int32_t peaks = 0;
  for (std::int32_t k = 1; k + 1 < point_count(f); ++k) {
    const PackedPoint q = point_at(f, k);
    if (point_at(f, k - 1).y > q.y && point_at(f, k + 1).y > q.y) ++peaks;
    if (q.y == bottom) break;
  }
  return peaks;
}

int kind_25(PairScene& p) {
  if (!p.same_stroke() || p.a.left - p.b.left >= p.hB) return kOk;
  if (inner_peaks(*p.fa, p.fA.bottom) > 1) return kOk;
  if (a_reaches_lower(p)) p.pen(600);
  if (inner_centroid_y(*p.fb) < inner_centroid_y(*p.fa) - p.s / 4 ||
      p.b.center_y() < p.a.center_y() - p.s / 4) {
    p.pen(400);
  }
  return kOk;
}

int kind_26(PairScene& p) {
  if (p.same_stroke() && p.hB <= 2 * p.hA / 3 && p.b.top - p.a.top >= p.hA / 3) p.pen(200);
  return kOk;
}

int kind_27(PairScene& p) {
  if (!p.same_stroke()) return kOk;
  const PackedPoint joint = first_point(*p.fa);
  if (last_point(*p.fb) == joint && p.b.bottom - joint.y >= p.hB / 4) p.pen(100);
  return kOk;
}

int kind_28(PairScene& p) {
  if (p.same_stroke()) p.pen(400);
  return kOk;
}

int kind_29(PairScene& p) {
  if (!p.linked() || p.hB > 3 * p.hA / 4 || p.b.top - p.a.top < p.hA / 3) return kOk;
  std::int32_t divisor = 1;
  if (p.common_top() < p.common_bottom()) {
    const std::int32_t m = (p.common_top() + p.common_bottom() - 1) / 2;
    if (p.RA->row_min(m) - p.RB->row_min(m) > 2 * (p.RA->row_max(m) - p.RA->row_min(m))) {
      divisor = 2;
    }
  }
  p.pen((p.hB > 2 * p.hA / 3 ? 200 : 500) / divisor);
  return kOk;
}

// Whether x never decreases along a figure from its second point to the
// first one on row `bottom` (or its last).
bool runs_rightward(const FigureRecord& f, std::int32_t bottom) {
  for (std::int32_t k = 1; k < point_count(f); ++k) {
    if (point_at(f, k).x < point_at(f, k - 1).x) return false;
    if (point_at(f, k).y == bottom) break;
  }
  return true;
}

int kind_30(PairScene& p) {
  if (!p.same_stroke() || two_ls_of_a_height(p)) return kOk;
  if (p.hAf < p.hBf / 3 && abs32(inner_centroid_y(*p.fa) - inner_centroid_y(*p.fb)) <= p.s / 6 &&
      p.fA.bottom < p.fB.bottom - p.s / 4) {
    p.pen(400);
  }
  if (runs_rightward(*p.fa, p.a.bottom)) p.pen(300);
  DynArray<DirectionRun> ra;
  DynArray<DirectionRun> rb;
  if (const int status = down_runs(*p.fa, p.s, ra); status != kOk) return status;
  if (const int status = down_runs(*p.fb, p.s, rb); status != kOk) return status;
  if (!rb.empty() && ra.size() == 1 && ra[0].greatest_direction < rb[0].mean_direction + 15) {
    p.pen(rb[0].weight >= ra[0].weight ? 700 : 200);
  }
  return kOk;
}

// Whether a point of B's first figure, from its last back to the first one
// on B's bottom, carries point flag 2.
bool b_ends_with_flag_2(const PairScene& p) {
  const FigureRecord& fb = *p.fb;
  for (std::int32_t k = point_count(fb) - 1; k >= 0; --k) {
    if (point_flag_2(points_of(fb)[k])) return true;
    if (point_at(fb, k).y == p.b.bottom) break;
  }
  return false;
}

int kind_31(PairScene& p) {
  if (p.figures_a() != 1 || p.figures_b() > 2) return kOk;
  if (p.figures_b() == 1 && two_separate_ls(p)) return kOk;
  const AnswerList* joined = p.J->answers;
  if (joined != nullptr && !joined->answers().empty() && joined->answers()[0].codes[1] == u'u' &&
      p.figures_b() == 1 && b_ends_with_flag_2(p)) {
    return kOk;
  }
  const FigureRecord* f = figure_with_stroke(p.B(), stroke_key(*p.fa));
  if (f == nullptr || abs32(p.a.bottom - p.b.bottom) > p.hA / 2) return kOk;
  if (f->piece >= 1 && both_l(p) && p.hA >= 4 * p.s / 3 && p.hB > 4 * p.s / 3) return kOk;
  if (p.fb->piece > 0 && (p.hA < 13 * p.s / 10 || p.hB < 13 * p.s / 10)) return kOk;
  p.pen(ramp(150, 0, true, 100, 600, false, per_cent(p.a.top - p.b.top, p.hA)));
  return kOk;
}

std::int32_t upper_rows_of(FigureGroup& g) {
  const WidthBlock* profile = element_glyph_profile(g);
  return profile == nullptr ? 0 : profile->upper_rows;
}

// The gap kind 32 allows: a fifth of the size, or the line's spacing less
// its spread when that is measured, steady and smaller.
std::int32_t allowed_gap(const PairScene& p) {
  const std::int32_t g = p.s / 5;
  const NeighbourSpacing spacing = p.context->kernel().neighbour_spacing();
  const std::int32_t n = spacing.mean;
  const std::int32_t k = spacing.spread;
  return n > 0 && k >= 1 && k < n / 2 && n - k <= g ? n - k : g;
}

int kind_32(PairScene& p) {
  if (p.figures_a() != 1 || p.figures_b() != 1) return kOk;
  if (p.a.bottom - p.b.bottom > std::max(p.hA, p.s) / 3 || two_ls_of_a_height(p)) return kOk;
  if (p.code_a == u'h' && element_glyph_feature_1(p.A(), p.s, p.s / 4) > 1) return kOk;
  const std::int32_t g = allowed_gap(p);
  std::int32_t divisor = 1;
  const PackedPoint start = first_point(*p.fb);
  if (p.code_b == u'e' && !p.linked() && start.x == p.RB->row_min(start.y) &&
      upper_rows_of(p.B()) > 30) {
    divisor = 4;
    if (is_l(p.code_a) && upper_rows_of(p.A()) > 10) divisor *= 2;
  }
  const std::int32_t m = least_figure_gap(p, p.fB.top + 2 * p.hBf / 3);
  p.pen(ramp(g / 2, 1500, true, g, 0, true, m) / divisor);
  return kOk;
}

int kind_33(PairScene& p) {
  if (x_overlap(p.a, p.b) < 1 || p.linked()) return kOk;
  if (abs32(p.hA - p.hB) < std::max(p.maxH, p.s) / 3) p.pen(1000);
  DynArray<DirectionRun> ra;
  DynArray<DirectionRun> rb;
  if (const int status = down_runs(*p.fa, p.s, ra); status != kOk) return status;
  if (const int status = down_runs(*p.fb, p.s, rb); status != kOk) return status;
  if (ra.size() != 1 || rb.size() != 1) return kOk;
  if (stroke_key(*last_figure(p.A())) != stroke_key(*p.fb) && p.a.left - p.b.right >= p.s / 6) {
    return kOk;
  }
  if (abs32(ra[0].mean_direction - rb[0].mean_direction) <= 20 ||
      abs32(ra[0].initial_direction - rb[0].initial_direction) <= ra[0].spread + rb[0].spread) {
    p.pen(1300);
  }
  return kOk;
}

int kind_34(PairScene& p) {
  const std::int32_t r = ramp(p.hB / 5, 0, true, p.hB / 2, 1200, true, p.hB - p.hA);
  if (p.a.right - p.b.right >= p.wB / 3 && element_glyph_feature_1(p.A(), p.s, p.s / 4) != 0 &&
      p.code_b != u'p') {
    if (p.a.right - p.b.right < p.wB / 2) p.pen(r / 2);
  } else {
    p.pen(r);
  }
  if (p.a.center_y() > p.b.bottom - p.s / 4) p.pen(400);
  if (abs32(p.a.center_x() - p.b.right) <= p.s / 3) p.pen(300);
  return kOk;
}

int kind_35(PairScene& p) {
  ProfilePairMetrics m;
  if (const int status = profile_pair(p.B(), p.A(), m); status != kOk) return status;
  if (fifth_field(m) > (p.wA + p.wB) / 2) return kOk;
  if (inner_centroid_y(*p.fa) - inner_centroid_y(*p.fb) > p.s / 4 &&
      p.a.center_y() - p.b.center_y() >= p.s / 4) {
    return kOk;
  }
  if (p.code_b == u'i' && p.figures_b() > 1) return kOk;
  if (p.a.bottom - p.b.bottom > std::max(p.hA, p.s) / 2 && p.a.top - p.b.top > p.s / 4) return kOk;
  if (two_separate_ls(p)) return kOk;
  p.pen(ramp(0, 1500, true, p.s / 3, 0, true, p.a.left - p.b.right));
  return kOk;
}

bool tall_stem_code(std::uint16_t code) { return code == u'l' || code == u't' || code == u'f'; }

int kind_36(PairScene& p) {
  if (p.a.right >= p.b.center_x() + p.s || two_separate_ls(p)) return kOk;
  if (tall_stem_code(p.code_a) && tall_stem_code(p.code_b) && p.c > 1 && p.minH > 5 * p.s / 4) {
    return kOk;
  }
  const std::int32_t ga = geometry_angle(*p.A().geometry);
  const std::int32_t gb = geometry_angle(*p.B().geometry);
  if (gb >= 90 && gb < 131 && ga >= 55 && ga < 101 && gb - ga > 20 && gb - ga < 60) p.pen(1000);
  std::int32_t least = INT32_MAX;
  std::int32_t row = -1;
  const std::int32_t last = std::min(p.fA.bottom, p.fB.bottom);
  for (std::int32_t y = std::max(p.fA.top, p.fB.top); y <= last; ++y) {
    const std::int32_t d = std::min(abs32(p.RA->row_min(y) - p.RB->row_max(y)),
                                    abs32(p.RA->row_max(y) - p.RB->row_min(y)));
    least = std::min(least, d);
    if (d < p.s / 4 && d == least) row = y;
  }
  const std::int32_t top = std::min(p.a.top, p.b.top);
  p.pen(ramp(p.hA / 4, 0, true, 3 * p.hA / 4, 1000, true, row - top));
  return kOk;
}

int kind_37(PairScene& p) {
  if (p.figures_a() != 1 || p.figures_b() != 1) return kOk;
  ProfilePairMetrics m;
  if (const int status = profile_pair(p.B(), p.A(), m); status != kOk) return status;
  if (first_field(m) < std::max(p.maxH, p.s) / 6) p.pen(1000);
  return kOk;
}

// Whether more than half of a figure's points are marked: a point is marked
// when it or an earlier one carries point flag 1, counted up to the first
// point that carries point flag 2.
bool mostly_marked(const FigureRecord& f) {
  std::int32_t marked = 0;
  bool on = false;
  for (const PointRecord& q : points_of(f)) {
    if (point_flag_2(q)) break;
    on = on || point_flag_1(q);
    if (on) ++marked;
  }
  return marked > point_count(f) / 2;
}

bool starts_rightward(const FigureRecord& f, std::int32_t width) {
  return point_at(f, 0).x < point_at(f, 1).x + width / 4;
}

std::int32_t upper_line(const FigureGroup& g) { return baseline_pair(*g.geometry).top; }

int kind_38(PairScene& p) {
  if (p.figures_a() != 1 || p.figures_b() != 1) return kOk;
  ProfilePairMetrics m;
  if (const int status = profile_pair(p.B(), p.A(), m); status != kOk) return status;
  if (stroke_key(*p.fa) != stroke_key(*p.fb) && flag_byte(m) == 0) return kOk;
  if (p.b.top < upper_line(p.B()) - p.s / 4 && p.a.top < upper_line(p.A()) - p.s / 4) return kOk;
  if (mostly_marked(*p.fa)) return kOk;
  if (point_count(*p.fa) < 3 || point_count(*p.fb) < 3) return kOk;
  DynArray<DirectionRun> ra;
  DynArray<DirectionRun> rb;
  if (const int status = down_runs(*p.fa, p.s, ra); status != kOk) return status;
  if (const int status = down_runs(*p.fb, p.s, rb); status != kOk) return status;
  if (!ra.empty() && !rb.empty()) {
    const std::int32_t a = ra[0].initial_direction;
    const std::int32_t b = rb[0].initial_direction;
    if (std::min(a, b) > p.t + 20) return kOk;
    const auto outside = [](std::int32_t d) { return d < 60 || d > 300; };
    if (!(outside(a) && outside(b))) p.pen(600);
  }
  if (starts_rightward(*p.fb, p.wB) && starts_rightward(*p.fa, p.wA)) p.pen(200);
  if (abs32(p.a.top - p.b.top) <= 2 * p.s / 3) p.pen(150);
  return kOk;
}

int kind_39(PairScene& p) {
  if (p.a.center_y() < p.b.top || p.b.center_y() < p.a.top) p.pen(1000);
  const std::int32_t ya = inner_centroid_y(*p.fa);
  const std::int32_t yb = inner_centroid_y(*p.fb);
  if ((p.a.left < p.b.right && yb > ya) || (p.b.left < p.a.right && ya > yb)) p.pen(500);
  return kOk;
}

int kind_40(PairScene& p) {
  if (!p.linked() || p.figures_a() != 1 || p.figures_b() != 1) return kOk;
  if (abs32(p.hA - p.hB) >= p.maxH / 3) return kOk;
  const bool a_ends_high = last_point(*p.linked_a).y < (p.a.top + p.a.bottom) / 2;
  const bool b_ends_high = (p.code_b != u'u' && p.code_b != u'v') ||
                           last_point(*p.linked_b).y < (p.b.top + p.b.bottom) / 2;
  if (a_ends_high && b_ends_high) {
    DynArray<DirectionRun> ra;
    if (const int status = down_runs(*p.fa, p.s, ra); status != kOk) return status;
    if (!ra.empty() && p.t - ra[0].initial_direction < 20) p.pen(600);
  }
  if (p.wAf < p.wBf / 2 || p.hAf < p.hBf / 2) p.pen(300);
  if (p.fA.top < inner_centroid_y(*p.fb)) p.pen(350);
  return kOk;
}

constexpr std::array<PairRuleTest, 24> kTests = {
    kind_17, kind_18, kind_19, kind_20, kind_21, kind_22, kind_23, kind_24,
    kind_25, kind_26, kind_27, kind_28, kind_29, kind_30, kind_31, kind_32,
    kind_33, kind_34, kind_35, kind_36, kind_37, kind_38, kind_39, kind_40,
};

}  // namespace

PairRuleTest joined_shape_test(int kind) {
  return kind >= 17 && kind <= 40 ? kTests[kind - 17] : nullptr;
}

}  // namespace inkrec

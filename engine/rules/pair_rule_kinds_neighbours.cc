// Kinds 41 to 66 and 84: tests of neighbours that may be two parts of one
// letter, read from their boxes, their ends and the directions of their
// points.

#include <algorithm>
#include <array>
#include <climits>

#include "engine/foundation/status.h"
#include "engine/records/letter_fields.h"
#include "engine/rules/pair_rule_kinds.h"

namespace inkrec {
namespace {

constexpr std::uint16_t kCyrillicZe = 0x437;
constexpr std::uint16_t kCyrillicDe = 0x434;
constexpr std::uint16_t kJoinedKey56 = 5480;

bool within(PackedPoint p, PackedPoint q, std::int32_t d) {
  return abs32(p.x - q.x) <= d && abs32(p.y - q.y) <= d;
}

std::int32_t direction_at(const FigureRecord& f, std::int32_t k) {
  return point_direction(points_of(f)[k]);
}

int kind_41(PairScene& p) {
  if (p.hA <= p.hB / 2 && p.wA <= 2 * p.wB / 3) p.pen(400);
  if (within(last_point(*last_figure(p.B())), first_point(*p.fa), p.s / 3)) p.pen(200);
  if (inner_centroid(*p.B().geometry).y <= inner_centroid(*p.A().geometry).y) p.pen(400);
  const std::int32_t nb = point_count(*p.fb);
  if (nb >= 4 && point_count(*p.fa) >= 3 &&
      abs32(direction_at(*p.fb, nb - 2) - direction_at(*p.fa, 0)) < 31) {
    p.pen(400);
  }
  return kOk;
}

int kind_42(PairScene& p) {
  if (p.figures_a() != 1 || p.figures_b() != 1) return kOk;
  std::int32_t m = INT32_MAX;
  for (const PointRecord& q : points_of(*p.fa)) {
    m = std::min(m, q.point.x - p.RB->row_max(q.point.y));
  }
  DynArray<DirectionRun> rb;
  if (const int status = down_runs(*p.fb, p.s, rb); status != kOk) return status;
  if (m < p.s / 3 && rb.size() == 1 && rb[0].initial_direction - p.t < 30) {
    p.pen(400);
  } else if (m < p.s / 4) {
    p.pen(200);
  }
  return kOk;
}

int kind_43(PairScene& p) {
  if (p.hAf < p.hBf / 2 && p.fA.center_x() > p.fB.center_x() &&
      inner_centroid_y(*p.fa) > p.fB.top + p.s / 4) {
    p.pen(750);
  }
  return kOk;
}

bool small_first_figure(const PairScene& p) { return p.wAf < p.wBf / 2 || p.hAf < p.hBf / 2; }

int kind_44(PairScene& p) {
  if (p.code_a == u'r' && element_glyph_feature_1(p.A(), p.s, p.s / 4) > 0) return kOk;
  if (small_first_figure(p)) p.pen(300);
  if (p.b.bottom - p.a.bottom > p.hB / 4) p.pen(450);
  const std::int32_t na = point_count(*p.fa);
  const std::int32_t nb = point_count(*p.fb);
  if (na < 4 || nb < 4) return kOk;
  const std::int32_t a1 = direction_of(point_at(*p.fb, nb / 2), last_point(*p.fb));
  const std::int32_t a2 = direction_of(first_point(*p.fa), point_at(*p.fa, na - na / 2));
  if (a1 >= 50 && a1 <= 110 && a2 >= 270 && a2 <= 320) p.pen(800);
  return kOk;
}

int kind_45(PairScene& p) {
  if (p.linked() || p.figures_b() < 2) return kOk;
  FigureRecord& last = *last_figure(p.B());
  const Box16 box = box_of(last);
  const std::int32_t m = (box.top + box.bottom) / 2;
  const std::int32_t xr = last.glyph_block_a().row_max(m);
  const PackedPoint end = last_point(last);
  const std::int32_t shape = geometry_class(last.geometry);
  if (p.RA->row_min(end.y) - end.x < p.maxH / 4 && first_point(last).x < xr) {
    p.pen(600);
  } else if (p.figures_a() == 1 && shape >= 2 && shape <= 4 && p.RA->row_min(m) - xr < p.maxH / 2) {
    p.pen(600);
  }
  return kOk;
}

int kind_46(PairScene& p) {
  if (!p.same_stroke() || abs32(p.a.top - p.b.top) > p.s / 2) return kOk;
  DynArray<DirectionRun> ra;
  DynArray<DirectionRun> runs;  // B's runs, then A's
  if (const int status = down_runs(*p.fb, p.s, runs); status != kOk) return status;
  const std::uint32_t b_count = runs.size();
  if (const int status = down_runs(*p.fa, p.s, ra); status != kOk) return status;
  if (runs.append(ra.span()) != kOk) return kOutOfMemory;
  if (b_count == 1 && ra.size() == 1 &&
      abs32(ra[0].mean_direction - runs[0].mean_direction) <= ra[0].spread + runs[0].spread + 30 &&
      p.wA - p.wB <= p.s / 4) {
    p.pen(400);
  }
  if (runs.size() != 3) return kOk;
  const std::int32_t m = std::max({runs[0].spread, runs[1].spread, runs[2].spread}) + 30;
  if (abs32(runs[0].mean_direction - runs[1].mean_direction) <= m &&
      abs32(runs[1].mean_direction - runs[2].mean_direction) <= m &&
      runs[0].weight >= runs[1].weight && abs32(runs[1].weight - runs[2].weight) <= p.s / 3) {
    p.pen(400);
  }
  return kOk;
}

int kind_47(PairScene& p) {
  const FigureRecord* widest = p.fb;
  for (const FigureRecord* f : p.B().figures) {
    if (f != nullptr && box_of(*f).right > box_of(*widest).right) widest = f;
  }
  const PackedPoint end = last_point(*widest);
  if (abs32(end.y - p.a.center_y()) <= p.s / 4 &&
      abs32(p.b.center_y() - p.a.center_y()) <= p.s / 4) {
    p.pen(ramp(p.maxH / 3, 0, true, 0, 1000, true, p.RA->row_min(end.y) - end.x));
  }
  return kOk;
}

int kind_48(PairScene& p) {
  if (!p.linked() || p.figures_b() != 1) return kOk;
  const WidthBlock* profile = element_glyph_profile(p.B());
  if (profile == nullptr || profile->upper_rows >= 10) return kOk;
  const std::int32_t shift = p.a.left - p.b.left;
  if ((shift < 3 * p.s / 2 && p.hB - p.hA < p.maxH / 4) || shift < p.s) p.pen(600);
  return kOk;
}

int kind_49(PairScene& p) {
  if (!p.linked()) return kOk;
  ProfilePairMetrics m;
  if (const int status = profile_pair(p.B(), p.A(), m); status != kOk) return status;
  const std::int32_t d0 = first_field(m);
  const std::int32_t d1 = mean_gap_field(m);
  if (d1 < 2 * p.wB && d1 < 4 * p.joint_height / 5) {
    p.pen(ramp(0, 1000, true, p.s / 2, 1, true, d0));
  } else if (d0 < p.s / 4) {
    p.pen(200);
  }
  return kOk;
}

int kind_50(PairScene& p) {
  const std::int32_t na = point_count(*p.fa);
  const std::int32_t nb = point_count(*p.fb);
  if (na < 2 || nb < 2) return kOk;
  const auto rightward = [](std::int32_t d) { return d <= 40 || d >= 320; };
  if (rightward(direction_at(*p.fa, 0)) && rightward(direction_at(*p.fb, nb - 2))) p.pen(1100);
  return kOk;
}

// The direction into point k of a figure and the reversed direction out of
// it, each taken over two steps where the step is short.
std::int32_t incoming_direction(const FigureRecord& f, std::int32_t k, std::int32_t s) {
  if (k > 2 && point_weight(points_of(f)[k - 1]) < s / 8) {
    return direction_of(point_at(f, k - 2), point_at(f, k));
  }
  return direction_at(f, k - 1);
}

std::int32_t reversed_outgoing_direction(const FigureRecord& f, std::int32_t k, std::int32_t s) {
  const std::int32_t n = point_count(f);
  if (k < n - 2 && point_weight(points_of(f)[k]) < s / 8) {
    return direction_of(point_at(f, k + 2), point_at(f, k));
  }
  return k == n - 1 ? -1 : turned_around(direction_at(f, k));
}

int kind_51(PairScene& p) {
  if (!p.linked() || p.figures_a() != 1 || p.figures_b() != 1) return kOk;
  if (p.code_b == kCyrillicZe || p.code_b == kCyrillicDe) {
    p.pen(ramp(p.maxH / 3, 0, true, 0, 800, true, p.hB - p.hA));
    return kOk;
  }
  const FigureRecord& fb = *p.fb;
  std::int32_t k = point_count(fb) - 1;
  while (k >= 1 && point_at(fb, k).y != p.b.bottom) --k;
  if (k < 1) return kOk;
  const std::int32_t in = incoming_direction(fb, k, p.s);
  const std::int32_t out = reversed_outgoing_direction(fb, k, p.s);
  if (in >= 1 && out >= 1 && abs32(in - out) < 20) p.pen(500);
  return kOk;
}

// The corner kind 52 compares B's start with: A's first point, or of a
// result of several figures the lesser x and y of its first and last
// figures' first points.
PackedPoint start_corner(const PairScene& p) {
  const PackedPoint first = first_point(*p.fa);
  if (p.figures_a() == 1) return first;
  const PackedPoint other = first_point(*last_figure(p.A()));
  return PackedPoint{std::min(first.x, other.x), std::min(first.y, other.y)};
}

int kind_52(PairScene& p) {
  if (p.fb->piece != 0 || p.figures_a() + p.figures_b() > 3) return kOk;
  const bool same_key = p.single_key_a() == p.single_key_b();
  if (same_key && p.wB < p.wA / 2 && p.b.center_x() >= p.a.left - p.s / 8) p.pen(500);
  const std::int32_t ga = geometry_angle(*p.A().geometry);
  const std::int32_t gb = geometry_angle(*p.B().geometry);
  if (ga < 65 || ga > 115 || gb < 65) return kOk;
  if (p.figures_b() == 1) {
    const bool under = p.a.center_x() <= p.b.right && p.a.top >= p.b.top;
    if (p.a.bottom < p.b.bottom + p.s &&
        (under || same_key || within(first_point(*p.fb), start_corner(p), p.s / 3))) {
      p.pen(1000);
    }
  } else if (p.figures_b() == 2) {
    p.pen(ramp(p.b.left, 3000, true, p.b.right, 0, true, p.a.center_x()));
    const PackedPoint start = first_point(*p.fa);
    if (abs32(p.b.right - start.x) < p.s / 7 && abs32(p.b.top - start.y) < p.s / 7) p.pen(1000);
  }
  return kOk;
}

// The down-runs of a figure under limits of kind 53's own; none for a
// figure of fewer than two points.
int own_down_runs(FigureRecord& f, DescentLimits limits, DynArray<DirectionRun>& runs) {
  if (point_count(f) < 2) return kOk;
  return analyse_glyph_directions(f.run, limits, runs, nullptr);
}

int kind_53(PairScene& p) {
  if (p.single_key_a() != p.single_key_b()) {
    const PackedPoint end = last_point(*p.fb);
    const PackedPoint start = first_point(*p.fa);
    if (abs32(end.x - start.x) >= p.s / 5 || abs32(end.y - start.y) >= p.s / 5) return kOk;
  }
  if (p.fb->piece != 0) return kOk;
  p.pen(ramp(p.hB, 0, true, 2 * p.hB, 1000, false, p.hA));
  DynArray<DirectionRun> ra;
  DynArray<DirectionRun> rb;
  if (const int status = own_down_runs(*p.fa, {p.s / 3, 2 * p.hA / 3}, ra); status != kOk) {
    return status;
  }
  if (const int status = own_down_runs(*p.fb, {p.s / 3, 2 * p.hB / 3}, rb); status != kOk) {
    return status;
  }
  if (ra.size() == 1 && rb.size() == 1 &&
      abs32(ra[0].mean_direction - rb[0].mean_direction) <= ra[0].spread + rb[0].spread + 20) {
    p.pen(800);
  }
  return kOk;
}

int kind_54(PairScene& p) {
  if (p.figures_a() > 2 || p.figures_b() > 2 || p.fb->piece != 0) return kOk;
  const std::int32_t m = least_figure_gap(p, INT32_MAX);
  if (stroke_key(*last_figure(p.B())) != stroke_key(*p.fa) && m >= p.s / 2) return kOk;
  p.pen(ramp(0, 3000, true, p.s / 2, 0, true, m));
  if (abs32(geometry_angle(p.fa->geometry) - geometry_angle(p.fb->geometry)) <= 25) p.pen(920);
  return kOk;
}

std::int32_t centre_x(const FigureRecord& f) { return f.geometry.centroid.x; }

int kind_55(PairScene& p) {
  if (p.figures_a() > 1 || p.figures_b() > 1) return kOk;
  if (p.b.left < p.a.right) {
    p.pen(1000);
    return kOk;
  }
  if (p.line == nullptr) return kOk;
  const PtrArray<FigureRecord>& figures = p.line->candidates;
  const std::int32_t apart = abs32(centre_x(*p.fa) - centre_x(*p.fb));
  const std::int32_t kb = stroke_key(*p.fb);
  const FigureRecord* g =
      kb > 0 ? find_figure_by_keys(figures, static_cast<std::uint16_t>(kb - 1), 0, 0) : nullptr;
  if (g != nullptr && apart < abs32(centre_x(*g) - centre_x(*p.fb)) / 2) p.pen(500);
  const FigureRecord* h =
      find_figure_by_keys(figures, static_cast<std::uint16_t>(stroke_key(*p.fa) + 1), 0, 0);
  if (h != nullptr && apart < abs32(centre_x(*p.fa) - centre_x(*h)) / 2) p.pen(500);
  return kOk;
}

int kind_56(PairScene& p) {
  ProfilePairMetrics m;
  if (const int status = profile_pair(p.A(), p.B(), m); status != kOk) return status;
  if (p.b.left <= p.a.right && first_field(m) < mean_gap_field(m) / 2) {
    p.pen(1600);
  } else if (last_point(*p.fa).x < first_point(*p.fa).x &&
             last_point(*p.fb).x > first_point(*p.fb).x) {
    if (p.b.left - p.a.right < p.wB && p.b.left - p.a.right < p.wA / 3) p.pen(1200);
    if (p.hA < p.wA) p.pen(200);
    if (p.hB < p.wB) p.pen(200);
  }
  if (p.plain != nullptr && p.plain->key == kJoinedKey56 && p.wA > 3 * p.hA / 2 && p.wB > p.hB &&
      p.wA > p.s / 3) {
    p.pen(2500);
  }
  return kOk;
}

int kind_57(PairScene& p) {
  if (p.hA < p.hB / 4 && p.a.top >= p.b.top + p.hB / 2 && p.b.left - p.a.right < 2 * p.wB / 3) {
    p.pen(800);
  }
  if (p.a.top > p.b.top && p.a.left > p.b.left) p.pen(300);
  return kOk;
}

int kind_58(PairScene& p) {
  const bool below = p.a.top > p.b.top + p.hB / 2 && p.a.bottom - p.b.bottom >= p.hA / 2;
  const bool beside =
      p.a.top <= p.b.top + p.hB / 2 && p.b.left < p.a.right && p.a.bottom > p.b.bottom;
  if (p.b.left - p.a.right < p.wB / 4 && (below || beside)) p.pen(1000);
  return kOk;
}

int kind_59(PairScene& p) {
  if (p.b.left - p.a.right < p.wB / 2 && p.wB >= 1) {
    p.pen(ramp(35, 400, true, 0, 2000, false, per_cent(p.b.left - p.a.right, p.wB)));
  }
  return kOk;
}

int kind_60(PairScene& p) {
  if (p.figures_a() >= 2 && p.a.right > p.b.left) p.pen(200);
  return kOk;
}

int kind_61(PairScene& p) {
  const std::int32_t first = p.common_top();
  const std::int32_t last = p.common_bottom();
  const std::int32_t middle = (first + last) / 2;
  std::int32_t m1 = 32767;
  std::int32_t m2 = 32767;
  for (std::int32_t y = first; y <= last; ++y) {
    if (p.RA->row_min(y) == kEmptyMin || p.RB->row_min(y) == kEmptyMin) continue;
    const std::int32_t d = p.RB->row_min(y) - p.RA->row_max(y);
    std::int32_t& least = y <= middle ? m1 : m2;
    least = std::min(least, d);
  }
  if (m2 <= 2 * p.wB / 5 && m1 <= 2 * p.wB / 3) p.pen(100);
  if (m2 <= p.wB / 2 && m1 <= p.wB / 3) p.pen(300);
  if (m2 <= p.wB / 3 && m1 <= p.wB / 2) p.pen(300);
  const std::int32_t span = std::max(p.a.right, p.b.right) - std::min(p.a.left, p.b.left);
  if (std::min(m1, m2) < span / 3 &&
      (span <= 3 * p.wB / 5 || (span <= 7 * p.wB / 10 && span <= 7 * p.wA / 10))) {
    p.pen(500);
  }
  return kOk;
}

int kind_62(PairScene& p) {
  if (p.a.top >= p.b.top && p.a.bottom <= p.b.bottom && p.b.left - p.a.right < p.wB / 5) {
    p.pen(700);
  }
  return kOk;
}

std::int32_t reach_over_b(const PairScene& p) { return p.a.right - p.b.left; }

int kind_63(PairScene& p) {
  if (reach_over_b(p) >= 2 * p.wA / 3) p.pen(100);
  if (reach_over_b(p) >= p.wB / 2) p.pen(100);
  return kOk;
}

int kind_64(PairScene& p) {
  if (p.a.top <= p.b.top) return kOk;
  const std::int32_t reach = reach_over_b(p);
  for (const std::int32_t limit : {p.wA / 3, p.wA / 2, p.wB / 2}) {
    if (reach >= limit) p.pen(100);
  }
  if (reach >= 2 * p.wB / 3) p.pen(200);
  return kOk;
}

int kind_65(PairScene& p) {
  if (reach_over_b(p) >= 2 * p.wA / 3) p.pen(300);
  if (reach_over_b(p) >= p.wB / 3) p.pen(300);
  return kOk;
}

int kind_66(PairScene& p) {
  const std::int32_t gap = p.b.left - p.a.right;
  if (gap > 3 * p.wB / 10 || p.a.top < p.b.top || p.wB < 1 || p.figures_a() != 1) return kOk;
  const PackedPoint f = first_point(*p.fa);
  const PackedPoint l = last_point(*p.fa);
  if (l.x < f.x && l.y > f.y && f.x - l.x >= (l.y - f.y) / 3) {
    p.pen(ramp(30, 300, true, 0, 1300, false, per_cent(gap, p.wB)));
  }
  return kOk;
}

int kind_84(PairScene& p) {
  if (!p.same_stroke()) return kOk;
  const PackedPoint f = first_point(*p.fa);
  const PackedPoint l = last_point(*p.fa);
  if (first_point(*p.fb).y >= f.y || l.y >= f.y) return kOk;
  p.pen(ramp(0, 0, true, p.hAf / 2, 300, false, f.y - l.y));
  p.pen(ramp(0, 0, true, p.hAf / 2, 300, false, l.x - f.x));
  return kOk;
}

constexpr std::array<PairRuleTest, 26> kTests = {
    kind_41, kind_42, kind_43, kind_44, kind_45, kind_46, kind_47, kind_48, kind_49,
    kind_50, kind_51, kind_52, kind_53, kind_54, kind_55, kind_56, kind_57, kind_58,
    kind_59, kind_60, kind_61, kind_62, kind_63, kind_64, kind_65, kind_66,
};

}  // namespace

PairRuleTest neighbour_shape_test(int kind) {
  if (kind == 84) return kind_84;
  return kind >= 41 && kind <= 66 ? kTests[kind - 41] : nullptr;
}

}  // namespace inkrec

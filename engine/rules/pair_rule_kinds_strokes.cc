// Kinds 1 to 16: tests of two results that come from one stroke or lie
// side by side, read mostly from the walk of their figures' points.

#include <algorithm>
#include <array>
#include <climits>

#include "engine/foundation/polylines.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/records/letter_fields.h"
#include "engine/rules/pair_rule_kinds.h"

namespace inkrec {
namespace {

constexpr std::uint16_t kCyrillicEs = 0x441;
constexpr std::uint16_t kCyrillicGhe = 0x433;
constexpr std::uint16_t kCyrillicIe = 0x435;
constexpr std::uint16_t kCyrillicEl = 0x43B;
constexpr std::uint16_t kCyrillicChe = 0x447;

// The rows of the raster of a figure's points 0..last built over a box:
// how many rows from the box top to `bottom` hold ink of more than one
// column, with the sum and the greatest of those widths.
struct WalkedRows {
  std::int32_t n = 0;
  std::int64_t sum = 0;
  std::int32_t widest = 0;
  std::int32_t mean() const { return n == 0 ? 0 : static_cast<std::int32_t>(sum / n); }
};

PointSpan walk_of(const FigureRecord& f, std::int32_t last) {
  return PointSpan::of_records(f.run.points, last + 1);
}

int walked_rows(const FigureRecord& f, std::int32_t last, const Box16& box, std::int32_t bottom,
                WalkedRows* out) {
  ProfileRaster raster;
  if (const int status = raster.build_from_points(walk_of(f, last), box); status != kOk) {
    return status;
  }
  for (std::int32_t y = box.top; y <= bottom; ++y) {
    const std::int32_t width = raster.row_extent(y);
    if (width == 0) continue;
    ++out->n;
    out->sum += width;
    out->widest = std::max(out->widest, width);
  }
  return kOk;
}

// The least distance from a point of one figure to the polyline through
// points 0..last of another; 32767 when that polyline has one point.
std::int32_t distance_to_walk(const FigureRecord& from, std::int32_t point, const FigureRecord& to,
                              std::int32_t last) {
  if (last < 1) return kNoDistance;
  return polyline_distances(PointSpan::of_records(from.run.points + point, 1),
                            PointSpan::of_records(to.run.points, last + 1))
      .overall;
}

// The first point of greatest x of a figure from its first point up to and
// including the first one on row y (the whole figure when none lies there).
PackedPoint rightmost_up_to_row(const FigureRecord& f, std::int32_t y) {
  const std::int32_t on_row = first_point_on_row(f, y);
  return point_at(f, rightmost_point(f, 0, on_row < 0 ? point_count(f) - 1 : on_row));
}

bool one_of(std::uint16_t code, std::initializer_list<std::uint16_t> codes) {
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

PackedPoint run_start(const DirectionRun& r) { return r.points[r.start].point; }

int kind_1(PairScene& p) {
  if (!p.same_stroke()) return kOk;
  const FigureRecord& fa = *p.fa;
  const FigureRecord& fb = *p.fb;
  const PackedPoint pr = rightmost_up_to_row(fb, p.b.top);
  const std::int32_t k = first_point_on_row(fa, p.a.bottom);
  if (k < 0) return kOk;
  const std::int32_t top = first_point_on_row(fa, p.a.top);
  const PackedPoint qt = top < 0 ? first_point(fa) : point_at(fa, top);
  const Box16 box = points_bounding_box(fa.run.span());
  WalkedRows rows;
  if (const int status = walked_rows(fa, k, box, box.bottom, &rows); status != kOk) return status;
  const std::int32_t d0 = distance_to_walk(fb, 0, fa, k);
  const std::int32_t hj = p.j.height();
  const std::int32_t wj = p.j.width();
  if (p.b.top - p.a.top <= p.s / 6 && qt.x - pr.x < p.s / 2 && qt.x - pr.x < wj / 3 &&
      rows.n <= 95 * box.height() / 100 && (rows.n == 0 || rows.mean() <= p.s / 6)) {
    p.pen(ramp(0, 0, true, 50, 550, false, per_cent(p.a.top - p.b.top, hj)));
    if (top >= 0) p.pen(ramp(25, 0, true, 0, 750, false, per_cent(qt.x - pr.x, wj)));
    p.pen(ramp(hj / 5, 0, true, 0, 950, false, d0));
  }
  if (!one_of(p.current_a, {kCyrillicEs, kCyrillicGhe})) return kOk;
  DynArray<DirectionRun> ra;
  DynArray<DirectionRun> rb;
  if (const int status = down_runs(*p.fa, p.s, ra); status != kOk) return status;
  if (const int status = down_runs(*p.fb, p.s, rb); status != kOk) return status;
  if (rows.widest < p.s / 3 && (rows.n == 0 || rows.mean() <= p.s / 5) && ra.size() == 1 &&
      rb.size() == 1 && ra[0].weight > p.s / 2 && rb[0].weight > p.s / 2 &&
      ra[0].spread < rb[0].spread && rb[0].initial_direction - ra[0].initial_direction > 30 &&
      ra[0].initial_direction < ra[0].mean_direction + 30) {
    p.pen(350);
  }
  if (octagonal_distance(first_point(fb), first_point(fa)) < p.joint_height / 4) p.pen(200);
  return kOk;
}

// Whether the last figure of A, ending on A's right edge, turns back to the
// right somewhere before it: a point right of both neighbours, searched
// from the last-but-one point back to the second, up to the first one on
// A's bottom.
bool ends_after_a_right_turn(const PairScene& p) {
  const FigureRecord& last = *last_figure(p.A());
  if (last_point(last).x != p.a.right) return true;
  for (std::int32_t k = point_count(last) - 2; k >= 1; --k) {
    const PackedPoint q = point_at(last, k);
    if (q.x > point_at(last, k - 1).x && q.x > point_at(last, k + 1).x) return true;
    if (q.y == p.a.bottom) break;
  }
  return false;
}

int kind_2(PairScene& p) {
  if (p.figures_b() != 1) return kOk;
  if (figure_with_stroke(p.A(), stroke_key(*p.fb)) == nullptr) {
    std::int32_t hi = p.common_bottom();
    if (one_of(p.code_b, {kCyrillicIe, kCyrillicEs})) {
      const std::int32_t lowered = std::max((p.b.top + p.b.bottom) / 2, last_point(*p.fb).y - 1);
      if (lowered <= hi) hi = lowered;
    }
    for (std::int32_t y = p.common_top(); y < hi; ++y) {
      if (p.RA->row_min(y) - p.RB->row_max(y) < 1) {
        p.pen(150);
        break;
      }
    }
    return kOk;
  }
  const PackedPoint pr = rightmost_up_to_row(*p.fb, p.b.top);
  FigureInfo info;
  if (const int status =
          build_figure_flags(figure_span(p.A()), p.context->stroke_extrema(), p.a, 32767, 0, info);
      status != kOk) {
    return status;
  }
  PackedPoint pm = first_point(*p.fa);
  for (std::uint32_t k = 0; k < figure_minima(info).size(); ++k) {
    const PackedPoint q = figure_minima(info)[k].point;
    if (k == 0 || q.x < pm.x) pm = q;
  }
  if (!ends_after_a_right_turn(p)) return kOk;
  const std::int32_t d0 = distance_to_walk(*p.fb, 0, *p.fa, point_count(*p.fa) - 1);
  if (pm.x - pr.x >= p.s / 2) return kOk;
  const std::int32_t reach =
      std::max(std::min(pm.x - p.RB->row_max(pm.y), p.RA->row_min(pr.y) - pr.x), pm.x - pr.x);
  p.pen(ramp(25, 0, true, 0, 450, false, per_cent(reach, p.j.width())));
  p.pen(ramp(p.j.height() / 10, 0, true, 0, 950, false, d0));
  return kOk;
}

int kind_3(PairScene& p) {
  if (!p.same_stroke()) return kOk;
  const FigureRecord& fa = *p.fa;
  const std::int32_t top = first_point_on_row(fa, p.a.top);
  const std::int32_t to_top = top < 0 ? point_count(fa) - 1 : top;
  for (std::int32_t k = 0; k <= to_top; ++k) {
    if (point_flag_1(points_of(fa)[k])) {
      p.pen(500 / p.foot_divisor());
      return kOk;
    }
  }
  if (top < 0) return kOk;
  const std::int32_t bottom = first_point_on_row(fa, p.a.bottom, top);
  const std::int32_t end = bottom < 0 ? point_count(fa) - 1 : bottom - 1;
  for (std::int32_t k = top + 1; k <= end; ++k) {
    if (turned_around(point_direction(points_of(fa)[k])) <
        turned_around(point_direction(points_of(fa)[k - 1]))) {
      return kOk;
    }
  }
  p.pen(500 / p.foot_divisor());
  return kOk;
}

int kind_4(PairScene& p) {
  if (p.figures_a() != 1 || p.figures_b() != 1) return kOk;
  const FigureRecord& fa = *p.fa;
  if (p.code_a == kCyrillicEs) {
    DynArray<DirectionRun> runs;
    if (const int status = down_runs(*p.fa, p.s, runs); status != kOk) return status;
    if (!runs.empty() && runs[0].initial_direction - p.t > 30) return kOk;
  }
  const std::int32_t bottom = first_point_on_row(fa, p.a.bottom);
  if (bottom < 0) return kOk;
  std::int32_t marked = -1;
  for (std::int32_t k = 0; k <= bottom && marked < 0; ++k) {
    if (point_flag_1(points_of(fa)[k])) marked = k;
  }
  const Box16 box = points_bounding_box(walk_of(fa, bottom));
  const std::int32_t marked_y = marked < 0 ? box.bottom : point_at(fa, marked).y;
  WalkedRows rows;
  if (const int status = walked_rows(fa, bottom, box, marked_y, &rows); status != kOk) {
    return status;
  }
  const std::int32_t height = box.height();
  if (marked >= 0 && marked_y - box.top > 13 * height / 20) return kOk;
  if (rows.n > 3 * height / 5) return kOk;
  if (rows.n == 0) {
    p.pen(400);
  } else if (rows.mean() <= p.s / 9) {
    p.pen(ramp(p.s / 7, 0, true, 0, 400, false, rows.mean()));
    p.pen(ramp(p.s / 6, 0, true, 0, 400, false, rows.widest));
  }
  return kOk;
}

int kind_6(PairScene& p) {
  if (!p.same_stroke()) return kOk;
  ProfilePairMetrics m;
  if (const int status = profile_pair(p.A(), p.B(), m); status != kOk) return status;
  if (first_field(m) < 0) p.pen(700);
  return kOk;
}

int kind_5(PairScene& p) {
  if (!p.same_stroke()) return kOk;
  if (p.hAf > p.s / 2) p.pen(ramp(130, 0, true, 100, 900, false, per_cent(p.hBf, p.hAf)));
  return kind_6(p);
}

int kind_7(PairScene& p) {
  if (p.same_stroke() && p.hBf <= p.hAf && p.fA.bottom - p.fB.bottom >= p.hAf / 3) p.pen(750);
  return kOk;
}

// Kind 8's reasons to let the pair be: an "е" or "e" that is wide or
// raised, an "л" that starts upward, or down-runs that do not stand as one
// letter's.
bool kind_8_excused(PairScene& p, const DynArray<DirectionRun>& ra,
                    const DynArray<DirectionRun>& rb) {
  const FigureRecord& fa = *p.fa;
  if (one_of(p.current_a, {kCyrillicIe, u'e'})) {
    const WidthBlock* profile = element_glyph_profile(p.A());
    if (profile != nullptr && (profile->upper_rows > 30 || profile->rows > 10)) return true;
  }
  if (p.current_a == kCyrillicEl && point_count(fa) > 1 && point_at(fa, 0).y < point_at(fa, 1).y) {
    return true;
  }
  const std::int32_t top = first_point_on_row(fa, p.a.top);
  const std::int32_t to_top = top < 0 ? point_count(fa) - 1 : top;
  std::int32_t xmax = 0;
  for (std::int32_t k = 0; k <= to_top; ++k)
    xmax = k == 0 ? point_at(fa, 0).x : std::max<std::int32_t>(xmax, point_at(fa, k).x);
  if (rb.size() == 2 && ra.size() == 1) {
    const std::int32_t d1 = octagonal_distance(run_start(rb[0]), run_start(rb[1]));
    const std::int32_t d2 = octagonal_distance(run_start(rb[1]), run_start(ra[0]));
    if (d2 > 3 * d1 / 2) return true;
  }
  if (ra.size() == 1 && xmax - run_start(ra[0]).x > p.s / 6) return true;
  if (p.code_a == kCyrillicGhe && ra.size() == 1) {
    const std::int32_t direction =
        ra[0].start == 0 ? direction_of(first_point(fa), last_point(*last_figure(p.B())))
                         : direction_of(run_start(ra[0]), first_point(fa));
    if (abs32(direction - ra[0].initial_direction) > 20) return true;
  }
  return false;
}

int kind_8(PairScene& p) {
  if (!p.same_stroke()) return kOk;
  DynArray<DirectionRun> ra;
  DynArray<DirectionRun> rb;
  if (const int status = down_runs(*p.fa, p.s, ra); status != kOk) return status;
  if (const int status = down_runs(*p.fb, p.s, rb); status != kOk) return status;
  if (kind_8_excused(p, ra, rb)) return kOk;
  const std::int32_t m = std::min(p.hB, p.s);
  if (ra.size() == 1 && ra[0].weight > 2 * m / 5 && ra[0].spread < 40 && rb.size() == 2 &&
      rb[0].weight > m / 2 && rb[1].weight > m / 2 && rb[0].spread < 30 && rb[1].spread < 40 &&
      ra[0].initial_direction - rb[0].initial_direction < 30 &&
      abs32(rb[0].mean_direction - rb[1].mean_direction) < 60) {
    p.pen(300);
  }
  return kOk;
}

// The rise and the steps right of B's first figure where it runs right of
// B's own left edge, from its second point until its top is reached.
std::int32_t kind_9_climb(const PairScene& p) {
  const FigureRecord& fb = *p.fb;
  const std::int32_t n = point_count(fb);
  const std::int32_t bottom = first_point_on_row(fb, p.b.bottom, 1);
  const std::int32_t last = bottom < 0 ? n - 1 : bottom;
  std::int32_t ymin = INT32_MAX;
  for (std::int32_t k = 1; k <= last; ++k) ymin = std::min<std::int32_t>(ymin, point_at(fb, k).y);
  std::int32_t climb = 0;
  for (std::int32_t k = 1; k < n && point_at(fb, k - 1).y != ymin; ++k) {
    const PackedPoint q = point_at(fb, k);
    const PackedPoint before = point_at(fb, k - 1);
    if (p.RB->row_min(q.y) >= q.x) continue;
    climb += std::max(before.y - q.y, 0) + std::max(q.x - before.x, 0);
  }
  return climb;
}

// The x at which a down-run's initial direction reaches row y.
std::int32_t run_x_at(const DirectionRun& r, std::int32_t y) {
  const PackedPoint start = run_start(r);
  return start.x + (start.y - y) * scale_by_tangent(r.initial_direction - 90, 10) / 10;
}

int kind_9(PairScene& p) {
  if (p.figures_b() == 1 && p.hBf <= p.hAf / 2 && p.wBf <= p.wAf / 2) p.pen(300);
  const PackedPoint pa = first_point(*p.fa);
  if (p.current_a == kCyrillicChe && p.RA->row_min(pa.y + 1) - pa.x > p.s / 6) return kOk;
  if (kind_9_climb(p) > p.s / 7) return kOk;
  if (p.hB > 3 * std::max(p.s, p.hA) / 2 && p.code_b == u'l') return kOk;
  const PackedPoint qb = last_point(*p.fb);
  if (p.figures_a() == 1 && p.figures_b() == 1 && !p.linked() && pa.x > p.RB->row_max(pa.y) &&
      qb.x < p.RA->row_min(qb.y)) {
    return kOk;
  }
  DynArray<DirectionRun> ra;
  DynArray<DirectionRun> rb;
  if (const int status = down_runs(*p.fa, p.s, ra); status != kOk) return status;
  if (const int status = down_runs(*p.fb, p.s, rb); status != kOk) return status;
  if (rb.size() != 1 || ra.size() != 2) return kOk;
  const DirectionRun& r = rb[0];
  if (r.weight <= p.s / 2 || ra[0].weight <= p.s / 2 || ra[1].weight <= p.s / 2) return kOk;
  if (r.spread >= 60 || ra[0].spread >= 60 || ra[1].spread >= 45) return kOk;
  const std::int32_t xb = run_start(r).x;
  const std::int32_t p0 = run_x_at(ra[0], run_start(r).y);
  const std::int32_t p1 = run_x_at(ra[1], run_start(r).y);
  const bool spaced =
      (p0 - xb) - (p1 - p0) >= std::min(p1 - p0, p0 - xb) / 3 && pa.y >= (p.a.top + p.a.bottom) / 2;
  const bool turned =
      r.initial_direction >= ra[1].initial_direction + 20 && r.initial_direction >= p.t + 20;
  const bool apart = abs32(ra[0].initial_direction - ra[1].initial_direction) >= 40;
  if (!spaced && !turned && !apart) p.pen(700);
  return kOk;
}

bool group_flag_b(const PairScene& p) { return element_flag(p.B()) != 0; }

int kind_10(PairScene& p) {
  if (!group_flag_b(p) || p.single_key_a() == p.single_key_b()) return kOk;
  if (p.b.top < p.a.top + p.hA / 5 || p.fa->piece != 0) return kOk;
  p.pen(ramp(10, 0, true, 40, 300, false, per_cent(p.b.right - p.a.left, p.wB)));
  p.pen(ramp(10, 0, true, 40, 300, false, per_cent(p.b.right - p.a.left, p.wA)));
  p.pen(ramp(10, 0, true, 50, 400, false, per_cent(p.b.top - p.a.top, p.hA)));
  return kOk;
}

int kind_11(PairScene& p) {
  if (group_flag_b(p) && p.figures_a() == 1 && p.figures_b() >= 2 && p.b.right >= p.a.right) {
    p.pen(250);
  }
  return kOk;
}

int kind_12(PairScene& p) {
  if (group_flag_b(p) && p.figures_b() == 1 && p.figures_a() >= 3 &&
      p.b.right - p.a.left >= p.wB / 3) {
    p.pen(800);
  }
  return kOk;
}

int kind_13(PairScene& p) {
  if (p.figures_a() > 1 || p.figures_b() > 1 || p.single_key_a() == p.single_key_b()) return kOk;
  const PairMetrics* strokes = p.context->pair_table().at(p.single_key_a(), p.single_key_b());
  if (strokes == nullptr) return kBadArgument;
  if (strokes->measures[0] >= 4) return kOk;
  if (p.code_a == u'l' && p.code_b == u'l' && p.c != 1 && p.joint_height >= 3 * p.s / 2) {
    return kOk;
  }
  p.pen(400);
  return kOk;
}

// Kinds 14 and 15: a one-figure A beside a B of at least `least` figures
// that reaches beyond A's right.
int wide_b_beside_a(PairScene& p, std::uint32_t least) {
  if (group_flag_b(p) && p.figures_a() == 1 && p.figures_b() >= least && p.b.right > p.a.right) {
    p.pen(400);
  }
  return kOk;
}

int kind_14(PairScene& p) { return wide_b_beside_a(p, 3); }
int kind_15(PairScene& p) { return wide_b_beside_a(p, 2); }

bool kind_16_excused(PairScene& p, const DynArray<DirectionRun>& ra) {
  if (p.a.top < p.b.top - p.hB / 4) return true;
  if (ra.size() == 1 && ra[0].initial_direction - p.t > 20) return true;
  const PackedPoint last = last_point(*p.fa);
  return p.figures_a() == 1 && p.b.right - p.a.left < p.s / 6 &&
         one_of(p.code_a, {u'u', u'v', u'r'}) && last.y < p.a.top + p.s / 4 &&
         last.y < p.b.top + p.s / 4 && p.hA > 2 * p.hB / 3;
}

int kind_16(PairScene& p) {
  DynArray<DirectionRun> ra;
  if (const int status = down_runs(*p.fa, p.s, ra); status != kOk) return status;
  if (kind_16_excused(p, ra)) return kOk;
  std::int32_t dmin = 32767;
  std::int64_t sum = 0;
  std::int32_t count = 0;
  bool touch = false;
  for (std::int32_t y = p.common_top(); y <= p.common_bottom() && !touch; ++y) {
    const std::int32_t d = p.RA->row_min(y) - p.RB->row_max(y);
    dmin = std::min(dmin, d);
    sum += d;
    ++count;
    touch = d <= 0;
  }
  const std::int64_t mean = count == 0 ? 0 : sum / count;
  std::int32_t wmax = 0;
  for (std::int32_t y = p.a.top; y <= p.a.bottom; ++y) wmax = std::max(wmax, p.RA->row_extent(y));
  if (wmax >= 3 * p.wA / 4 && mean >= p.s / 4 && p.a.top < p.b.top + p.s / 5) return kOk;
  const PackedPoint pb = first_point(*p.fb);
  const PackedPoint qa = first_point(*p.fa);
  if (p.single_key_a() == p.single_key_b() && pb.x - qa.x >= -p.s / 3 &&
      pb.y - std::min<std::int32_t>(qa.y, p.a.top) <= p.hB / 4) {
    p.pen(450);
  }
  if (touch) p.pen(300);
  if (p.b.right >= p.a.left) p.pen(100);
  p.pen(ramp(0, 900, true, p.s / 10, 0, true, dmin));
  p.pen(ramp(0, 200, true, p.hB, 0, true, p.hA));
  return kOk;
}

constexpr std::array<PairRuleTest, 16> kTests = {
    kind_1, kind_2,  kind_3,  kind_4,  kind_5,  kind_6,  kind_7,  kind_8,
    kind_9, kind_10, kind_11, kind_12, kind_13, kind_14, kind_15, kind_16,
};

}  // namespace

PairRuleTest stroke_shape_test(int kind) {
  return kind >= 1 && kind <= 16 ? kTests[kind - 1] : nullptr;
}

}  // namespace inkrec

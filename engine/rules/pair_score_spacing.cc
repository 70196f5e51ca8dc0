// The pair score's terms of extents and spacing: how the two results' ink
// overlaps row by row (their pair extents), whether the gap between them
// is as wide as the line's spacing says a gap inside a word is, and
// whether a single piece of a stroke turns back under its neighbour.

#include <algorithm>

#include "engine/foundation/trigonometry.h"
#include "engine/records/letter_fields.h"
#include "engine/records/run_kernel.h"
#include "engine/rules/pair_score_scene.h"

namespace inkrec {
namespace {

constexpr std::uint16_t kIgnoredKey = 5493;

std::int32_t extents_divisor(const PairScoreScene& s, std::int32_t h) {
  if (s.W() > 2 * h) return 4;
  return s.W() > h ? 2 : 1;
}

std::int32_t common_height(const PairScoreScene& s) {
  return std::min(s.a().bottom, s.b().bottom) - std::max(s.a().top, s.b().top);
}

// The "i" written with its dot: a reading of i in two figures.
bool dotted_i(std::uint16_t code, const FigureGroup& group) {
  return code == u'i' && group.figures.size() == 2;
}

// A's first point, or B's first figure's last point, reaching into the
// other's ink near the rows where the two meet.
bool a_starts_inside(const PairScoreScene& s, const PairExtents& e, std::int32_t h) {
  const PackedPoint p = first_point(*s.pair.fa);
  const std::int32_t edge = s.pair.RB->row_max(p.y);
  const std::int32_t right = edge == kEmptyMax ? s.b().right : edge;
  return p.x <= right && p.y - e.first_near_row <= h / 3;
}

bool b_ends_inside(const PairScoreScene& s, const PairExtents& e, std::int32_t h) {
  const PackedPoint p = last_point(*s.pair.fb);
  const std::int32_t edge = s.pair.RA->row_min(p.y);
  const std::int32_t left = edge == kEmptyMin ? s.a().left : edge;
  return p.x >= left && p.y - e.first_overlap_row <= h / 3;
}

void score_linked_overlap(PairScoreScene& s, const PairExtents& e, std::int32_t h, std::int32_t d8) {
  if (s.key_of_a() == kIgnoredKey || !s.linked() || code_among(s.ca2, {105, 106, 1081}) ||
      code_among(s.cb2, {105, 106, 1081})) {
    return;
  }
  if (e.overlap_rows <= 0) return;
  const std::int32_t g = s.key_a.x - e.owner_right_at_overlap;
  if (g >= h / 3) return;
  if (a_starts_inside(s, e, h) || b_ends_inside(s, e, h)) return;
  if (s.slant - 90 >= 60 || 90 - s.slant >= 60) return;
  const std::int32_t shift =
      scale_by_tangent(s.slant - 90, 100) * (s.key_a.y - e.first_overlap_row) / 100;
  s.pen(ramp(h / 3, 0, true, 0, 1000, true, g + shift) / d8);
}

bool narrow_overlap_excused(const PairScoreScene& s) {
  if (code_among(s.ca2, {u't', u'f', u's'}) || code_among(s.cb2, {u't', u'f', u's'})) return true;
  if (dotted_i(s.ca2, s.A()) || dotted_i(s.cb2, s.B())) return true;
  if (s.cb2 != 1101) return false;
  for (const FigureRecord* f : s.B().figures) {
    if (f == nullptr) continue;
    const std::int32_t kind = geometry_class(f->geometry);
    if (kind == 1 || kind == 5) return true;
  }
  return false;
}

void score_row_overlap(PairScoreScene& s, const PairExtents& e, std::int32_t h, std::int32_t d8) {
  if (s.key_of_a() == kIgnoredKey || e.overlap_rows < 1) return;
  const std::int32_t c = common_height(s);
  const bool narrow = c > std::max(s.min_h() / 2, h / 2) && e.mean_span < s.H() / 2 &&
                      !(e.mean_span >= s.W() / 3 &&
                        std::min(e.mean_left_offset, e.mean_right_offset) >= h / 6);
  if (narrow) {
    if (!narrow_overlap_excused(s)) s.pen(250);
    return;
  }
  if (dotted_i(s.ca2, s.A()) || dotted_i(s.cb2, s.B())) return;
  const std::int32_t spread = e.last_near_row - e.first_near_row;
  if (s.row_width_a < 5 && s.hA() < 2 * s.hB() / 3 && spread > h / 3) s.pen(200 / d8);
  if (s.row_width_b < 10 && s.hB() < 2 * s.hA() / 3 && spread > h / 3) s.pen(200 / d8);
}

void score_joined_offsets(PairScoreScene& s, const PairExtents& e, std::int32_t h,
                          std::int32_t d8) {
  if (s.key_of_a() == kIgnoredKey || !s.single_a() || !s.single_b() || !s.linked()) return;
  if (common_height(s) <= s.min_h() / 2) return;
  const std::int32_t offset = std::min(e.mean_left_offset, e.mean_right_offset);
  if (offset < h / 4 && s.cb2 != 1079) {
    s.pen(ramp(h / 4, 100, true, 0, 500, true, offset) / d8);
  }
}

// The first descending run of a figure's end block: its direction and
// its starting point; false when the figure has none.
bool end_block(FigureRecord& f, std::int32_t h, std::int32_t* angle, PackedPoint* point) {
  const DescentEntry* first = f.glyph_block_e_first(h, h / 4);
  if (first == nullptr || first->start < 0 || first->start >= point_count(f)) return false;
  *angle = first->initial_direction;
  *point = point_at(f, first->start);
  return true;
}

// The spacing limits of slot 9 and how strongly the term is divided.
struct SpacingLimits {
  std::int32_t lim;
  std::int32_t wl;
  std::int32_t d9;
};

void widen_for_reaching_shapes(PairScoreScene& s, std::int32_t h, std::int32_t pa,
                               std::int32_t pb, SpacingLimits& l) {
  if (code_among(s.ca2, {u'l', u't', u'f', u'r', u's'}) || (code_among(s.ca2, {u'c', u'e'}) && pa >= 11) ||
      (pa >= 11 && code_among(s.ca2, {1077, 1089, 1075}))) {
    l.wl = 2 * l.wl / 3;
    l.d9 = 2;
  }
  std::int32_t angle = 0;
  PackedPoint point;
  if (s.ca2 == 1089 && end_block(*s.pair.fa, h, &angle, &point)) {
    const std::int32_t doubled =
        first_point(*s.pair.fa).x - point.x > s.hA() / 5 ? 2 * l.d9 : l.d9;
    l.d9 = ramp(10, 1, true, 45, 5, true, angle - s.slant) * doubled;
  }
  if (s.ca2 == 1075 && end_block(*s.pair.fa, h, &angle, &point)) {
    const FigureRecord* towards =
        s.linked() ? s.pair.linked_b : (s.single_a() ? s.pair.fa : nullptr);
    if (towards != nullptr) {
      const std::int32_t phi = step_direction(point, last_point(*towards));
      l.d9 *= ramp(20, 1, true, 50, 5, true, phi - angle);
    }
  }
  if (s.cb2 == 1075 && s.single_b() && end_block(*s.pair.fb, h, &angle, &point)) {
    const std::int32_t phi = step_direction(point, last_point(*s.pair.fb));
    l.d9 *= ramp(20, 1, true, 50, 5, true, phi - angle);
  }
  if (code_among(s.cb2, {u'l', u't', u'f', u's'}) || (pb >= 11 && code_among(s.cb2, {1101, 1075}))) {
    l.lim = 2 * l.lim / 3;
    l.d9 = 2;
  }
}

// The distance of the key points along the slant.
std::int32_t slanted_distance(const PairScoreScene& s) {
  std::int32_t x = s.d_key;
  if (s.slant >= 1 && s.slant <= 179 && s.slant != 90) {
    x += scale_by_tangent(s.slant - 90, s.key_a.y - s.key_b.y);
  }
  if (s.cb2 == 1073 && common_height(s) > 0) {
    const std::int32_t middle = (std::max(s.a().top, s.b().top) + std::min(s.a().bottom, s.b().bottom)) / 2;
    x = std::max(x, s.key_a.x - s.pair.RB->row_extent(middle));
  }
  return x;
}

bool tall_class_16(bool class_16, std::int32_t height, std::int32_t h) {
  return class_16 && height >= 4 * h / 3;
}

}  // namespace

void score_extents(PairScoreScene& s, const PairExtents& e, std::int32_t h) {
  const std::int32_t d8 = extents_divisor(s, h);
  score_linked_overlap(s, e, h, d8);
  score_row_overlap(s, e, h, d8);
  score_joined_offsets(s, e, h, d8);
}

void score_spacing(PairScoreScene& s, RecognitionContext& context, const PairExtents& e,
                   std::int32_t h) {
  const NeighbourSpacing g = context.kernel().neighbour_spacing();
  if (g.mean < 1 || g.spread < 1 || g.centre_mean < 1 || g.centre_spread < 1) return;
  if (s.marked_a || s.marked_b || s.key_of_a() == kIgnoredKey || s.key_of_b() == kIgnoredKey) return;
  if (!(s.single_a() && s.single_b()) && (s.ca2 == 1090 || s.cb2 == 1090)) return;
  SpacingLimits l{std::min({g.centre_mean / 2, h, g.centre_mean - 2 * g.centre_spread}),
                  std::min({2 * h / 3, 2 * g.mean / 3, g.mean - g.spread}),
                  s.single_a() && s.single_b() ? 1 : 2};
  if (l.lim < 1 || l.wl < 1 || (s.ca2 == u'l' && s.cb2 == u'l')) return;
  const std::int32_t pa = s.row_width_a;
  const std::int32_t pb = s.row_width_b;
  const bool tall_a = tall_class_16(s.a16(), s.hA(), h);
  const bool tall_b = tall_class_16(s.b16(), s.hB(), h);
  const bool thin_stops = (pa < 10 && !tall_a) || (pb < 10 && !tall_b);
  const bool main_term = !((tall_a || tall_b) && thin_stops) && e.mean_gap != 32767;
  widen_for_reaching_shapes(s, h, pa, pb, l);
  if (main_term) {
    const std::int32_t wl = l.wl;
    const std::int32_t fit = std::max({ramp(5 * wl / 4, 0, true, 0, 80, true, e.mean_left_offset),
                                       ramp(5 * wl / 4, 0, true, 0, 80, true, e.mean_right_offset),
                                       ramp(3 * wl / 2, 0, true, 0, 40, true, e.mean_span),
                                       ramp(wl, 0, true, 0, 40, true, e.mean_gap), 0});
    const std::int32_t p =
        fit * ramp(l.lim, 0, true, 0, 20, true, slanted_distance(s)) / std::max(l.d9, 1);
    if (p > 20) s.pen(p);
  }
  if (-h <= e.mean_right_offset && e.mean_right_offset < l.wl && s.d_bottom > s.size / 3 &&
      s.a18() && s.linked()) {
    s.pen(500 / std::max(l.d9, 1));
  }
}

void score_continuation(PairScoreScene& s, RecognitionContext& context) {
  if (s.position <= 1 || !s.single_a() || !s.single_b()) return;
  const FigureRecord& fa = *s.pair.fa;
  if (fa.piece == kNoKey16 || fa.piece <= 1 || fa.stroke_index == s.pair.fb->stroke_index) return;
  const FigureRecord* before = figure_at_piece(context, fa.stroke_index, fa.piece - 2);
  if (before == nullptr) return;
  if (box_of(*before).left < s.b().left && s.a().right > s.b().right) s.pen(500);
}

}  // namespace inkrec

// The letter rules of Latin letters, and of the Cyrillic letters written
// like them (а, д, е, с, у).

#include <algorithm>
#include <utility>

#include "engine/foundation/status.h"
#include "engine/records/clamped_ramp.h"
#include "engine/records/profile_raster.h"
#include "engine/rules/letter_rule_book.h"
#include "engine/rules/letter_rules.h"
#include "engine/rules/letter_strokes.h"

namespace inkrec {
namespace {

// ---- A (65): a narrow one-stroke A whose stroke starts going down from
// its upper half, or starts going up with its start at the right edge of
// the ink, and turns back no more above the quarter line, is a t.

bool capital_a_starts_like_t(const LetterElement& e) {
  const PointSpan p = e.points(0);
  if (p.size() <= 3) return false;
  const PackedPoint f = p[0];
  if (f.y < (e.top() + e.bottom()) / 2 && p[1].y > f.y) return true;
  const ProfileRaster* profile = e.profile();
  return profile != nullptr && f.y < e.bottom() && p[1].y < f.y &&
         profile->row_max(f.y) - f.x < e.height() / 5;
}

bool turns_above_quarter_line(const LetterElement& e, std::int32_t k) {
  return e.extremum_count() > k && e.extremum(k).point.y < (3 * e.top() + e.bottom()) / 4;
}

// ---- h (104).

struct HShape {
  bool n_like = false;
  bool low = false;
};

// The shoulder of a one-stroke h: the turning point two after the third
// bound, its depth below the top and the ink's width half way down from it.
void measure_h_shoulder(const LetterElement& e, HShape& shape) {
  const std::int32_t b3 = e.info().first_high;
  if (b3 < 0 || b3 + 3 >= e.extremum_count()) {
    shape.n_like = true;
    return;
  }
  const Extremum& top_turn = e.extremum(b3 + 2);
  const std::int32_t y = top_turn.point.y;
  const std::int32_t t = y - e.top();
  const PointSpan p = e.points(0);
  const std::int32_t last_y = p.empty() ? y : p.back().y;
  std::int32_t r = (y + e.bottom()) / 2;
  if (r >= last_y && last_y - 1 > y) r = last_y - 1;
  const std::int32_t w = ink_width(e, r);
  const std::int32_t strokes = static_cast<std::int32_t>(e.state().context.strokes().size());
  const bool tall = e.height() > (9 * e.ref()) / 10;
  if (top_turn.is_minimum() &&
      t > ClampedRamp(0, 0, true, e.third(), e.height() / 4, false).value_at(w) && tall) {
    shape.n_like = true;
  } else if (strokes == 1 && t > (2 * e.height()) / 7) {
    shape.n_like = tall && w < e.height() / 2;
  }
  if (top_turn.is_minimum()) {
    shape.low = t < ClampedRamp(0, 0, false, e.height(), (5 * e.height()) / 8, false).value_at(w) &&
                t < e.height() / 2;
  }
}

// A two-stroke h whose lower, shorter stroke starts below the middle of the
// taller one and whose taller one ends right of where its ink begins is a k.
int h_as_k(LetterElement& e) {
  if (e.stroke_count() != 2 || e.figure(1) == nullptr) return kOk;
  Box16 f = e.figure_box(0);
  Box16 g = e.figure_box(1);
  std::int32_t s = 0;
  if (g.top < f.top && g.bottom > f.top) {
    std::swap(f, g);
    s = 1;
  }
  if (g.height() >= f.height() / 2) return kOk;
  FigureRecord& stem = *e.figure(s);
  const PointSpan p = stem.run.span();
  if (p.empty()) return kOk;
  const PackedPoint last = p.back();
  const std::int32_t k = last.x - stem.glyph_block_a().row_min(last.y);
  if (k <= f.height() / 6 || last.x - g.left <= k / 3) return kOk;
  if (g.top <= (f.top + f.bottom) / 2 || !e.admitted(104, 107)) return kOk;
  return e.replace(letter(107, 75), 0);
}

// Whether the element is the whole of the ink, each of its strokes one
// figure: a letter written alone, which only its own shape can tell. The
// rules that read such a letter as another leave the letters of words, which
// the word list and the neighbours read, as they were.
bool whole_ink(const LetterElement& e) {
  if (e.state().context.strokes().size() != static_cast<std::uint32_t>(e.stroke_count())) {
    return false;
  }
  for (std::int32_t i = 0; i < e.stroke_count(); ++i) {
    if (e.figure(i) == nullptr || e.figure(i)->whole_stroke == 0) return false;
  }
  return true;
}

// Whether the element is the whole of the ink, one stroke read as one
// figure: the line's letter height is then measured on that letter itself
// and cannot tell a tall letter from a small one.
bool written_alone(const LetterElement& e) { return e.stroke_count() == 1 && whole_ink(e); }

// An l loop no taller than its width and a fifth is an e: alone, only its
// proportions tell a looped l from an e.
bool wide_loop_alone(const LetterElement& e) {
  return written_alone(e) && 5 * e.height() <= 6 * e.width();
}

// Whether a stroke with this box, begun at `first`, is a stem drawn from its
// top rather than an E's bracket, which begins at the right end of its top
// arm: it is narrow, or it begins in the left third of its box.
bool stem_begun_on_the_left(const Box16& box, PackedPoint first) {
  return 4 * box.width() < box.height() || 3 * (first.x - box.left) < box.width();
}

// The two strokes of a two-stroke letter written alone, both with points;
// false for any other element.
bool two_strokes_alone(const LetterElement& e, PointSpan& first, PointSpan& second) {
  if (e.stroke_count() != 2 || !whole_ink(e)) return false;
  first = e.points(0);
  second = e.points(1);
  return !first.empty() && !second.empty();
}

// Whether a bar with this box is flat beside a stem with that one: less
// than a third of the stem's height.
bool flat_beside(const Box16& bar, const Box16& stem) { return 3 * bar.height() < stem.height(); }

}  // namespace

int capital_a_rule(LetterElement& e) {
  if (e.stroke_count() != 1 || e.width() >= e.height() / 2 || !one_of(e.second_key(), {3, 4})) {
    return kOk;
  }
  const bool t_like = capital_a_starts_like_t(e) && !turns_above_quarter_line(e, 2) &&
                      !turns_above_quarter_line(e, 3);
  return t_like && e.admitted(65, 116) ? e.replace(letter(116, 84), 0) : kOk;
}

int m_rule(LetterElement& e) {
  if (e.stroke_count() != 1 || !one_of(e.second_key(), {257, 393, 395, 397, 712, 713})) return kOk;
  const PointSpan p = e.points(0);
  if (p.size() <= 2 || p[1].y >= p[0].y) return kOk;
  if (e.extremum_count() < 5 || e.extremum_count() >= 7) return kOk;
  const ProfileRaster* profile = e.profile();
  if (profile == nullptr) return kOk;
  const PackedPoint e2 = e.extremum(2).point;
  const PackedPoint e4 = e.extremum(4).point;
  const std::int32_t d = std::min(e4.x - e2.x, e4.x - profile->row_max(e4.y + 1));
  if (d <= 0) return kOk;
  const PackedPoint f = p[0];
  const bool fires = e.extremum(1).is_minimum() && (f.y - e.top() < e.height() / 2 ||
                                                    profile->row_min(f.y + 1) - f.x < (3 * d) / 5);
  if (!fires) return kOk;
  if (e.code() == 109 && e.admitted(109, 110)) return e.replace(letter(110, 78), 0);
  if (e.code() == 77 && e.admitted(77, 110)) return e.replace(letter(110, 78), 0);
  return kOk;
}

int f_rule(LetterElement& e) {
  if (e.key() != 4948 || !e.admitted(102, 116)) return kOk;
  return e.alternative(letter(116, 84), -120);
}

int h_rule(LetterElement& e) {
  HShape shape;
  if (e.stroke_count() == 2) {
    if (e.figure(1) == nullptr) return kOk;
    const Box16 a = e.figure_box(0);
    const Box16 b = e.figure_box(1);
    if (a.height() < e.height() / 4 || b.height() < e.height() / 4) return kOk;
    shape.n_like = a.top - e.top() > e.third() || b.top - e.top() > e.third();
  } else if (e.stroke_count() == 1) {
    measure_h_shoulder(e, shape);
  }
  const std::int32_t strokes = static_cast<std::int32_t>(e.state().context.strokes().size());
  if (strokes > 2 && e.width() > e.height() / 2) shape.n_like = false;
  if (!shape.n_like && (e.height() < (115 * e.ref()) / 100 || shape.low)) {
    return e.admitted(104, 110) ? e.replace(letter(110, 78), -200) : kOk;
  }
  return h_as_k(e);
}

int i_rule(LetterElement& e) {
  if (e.stroke_count() != 2 || shape_class_c1(e.figure(0)->geometry) != 3 || !e.band_set()) {
    return kOk;
  }
  const Box16 stem = e.figure_box(0);
  if (100 * (stem.bottom - e.lower()) / stem.height() <= 30) return kOk;
  if (e.height() <= e.ref() * 220 / 100 || !e.admitted(105, 106)) return kOk;
  return e.replace(letter(106, 74), -100);
}

int j_rule(LetterElement& e) {
  if (e.stroke_count() != 2 || one_of(e.key(), {85, 86})) return kOk;
  const std::int32_t shape = shape_class_c1(e.figure(0)->geometry);
  if (shape != 3 && shape != 7) return kOk;
  const std::int32_t p = 100 * (e.figure_box(0).bottom - e.lower()) / e.height();
  const bool short_stem = e.height() < e.ref() * 125 / 100 ||
                          (e.band_set() && e.height() < e.ref() * 150 / 100 && p < 25);
  if (!short_stem || !e.admitted(106, 105)) return kOk;
  return e.replace(letter(105, 73), 0);
}

// The lowest point of a v lies in the middle of the stroke's box; that of
// an r (or a V written like one) at its stem, in the left quarter.
int v_r_rule(LetterElement& e) {
  StrokeEnds s;
  if (e.stroke_count() != 1 || !stroke_ends(e, s)) return kOk;
  const PackedPoint lowest = lowest_point(e.points(0));
  const std::int32_t w = s.box.width();
  const bool at_stem = 4 * (lowest.x - s.box.left) < w;
  const bool in_middle = 4 * (lowest.x - s.box.left) >= w && 4 * (s.box.right - lowest.x) >= w;
  const bool ends_high = 3 * (s.last.y - s.box.top) < s.box.height();
  if (e.code() == 114) {
    return in_middle && ends_high && e.admitted(114, 118) ? e.replace(letter(118, 86), 0) : kOk;
  }
  if (!at_stem) return kOk;
  if (e.code() == 118) return e.admitted(118, 114) ? e.replace(letter(114, 82), 0) : kOk;
  if (e.code() == 86) return e.admitted(86, 114) ? e.replace(letter(114, 82), 0) : kOk;
  return kOk;
}

// A u whose stroke starts at the top of an element taller than the letter
// height is an h, the more surely the taller; a у whose stroke starts with
// a round body is a д, and so are a y and a Y a g; a u so begun is an a. A
// у whose stroke ends in a short tail at its right, less than half the
// band below the lower line, is a ц.
int u_y_rule(LetterElement& e) {
  StrokeEnds s;
  if (e.stroke_count() != 1 || !stroke_ends(e, s)) return kOk;
  const std::uint16_t code = e.code();
  if (code == 117 && !one_of(e.second_key(), {203, 206, 211})) return kOk;
  const std::int32_t ref = e.ref();
  if (code == 117 && ref > 0 && 10 * e.height() > 13 * ref &&
      5 * (s.first.y - s.box.top) < s.box.height() && !starts_round_body(s) &&
      e.admitted(117, 104)) {
    const std::int32_t tallness = 100 * e.height() / ref;
    return e.replace(letter(104, 72),
                     -ClampedRamp(130, 400, true, 200, 0, true).value_at(tallness));
  }
  if (starts_round_body(s)) {
    if (code == 1091 && e.admitted(1091, 1076)) return e.replace(letter(1076, 1044), -200);
    if ((code == 121 || code == 89) && e.admitted(code, 103))
      return e.replace(letter(103, 71), -200);
    if (code == 117 && e.admitted(117, 97)) return e.replace(letter(97, 65), -200);
    return kOk;
  }
  const std::int32_t band = e.lower() - e.upper();
  const bool short_right_tail = e.band_set() && 4 * (s.box.right - s.last.x) < s.box.width() &&
                                s.last.y > e.lower() && 2 * (s.last.y - e.lower()) < band;
  if (short_right_tail && e.admitted(code, 1094)) return e.replace(letter(1094, 1062), 0);
  return kOk;
}

// An a whose stroke ends where it began is an o; a g (of the listed
// shapes) that stays above a fifth of the band below the lower line is an
// s; a д, a g, an а or an a drawn as a cup from the left is a у, a y, an и
// or a u.
int a_g_rule(LetterElement& e) {
  StrokeEnds s;
  if (e.stroke_count() != 1 || !stroke_ends(e, s)) return kOk;
  const std::uint16_t code = e.code();
  if (code == 103 && !one_of(e.second_key(), {116, 118, 124})) return kOk;
  const std::int32_t band = e.lower() - e.upper();
  if (code == 103 && e.band_set() && 5 * (s.box.bottom - e.lower()) < band &&
      e.admitted(103, 115)) {
    return e.replace(letter(115, 83), 0);
  }
  if (code == 97 && closes_on_itself(s) && e.admitted(97, 111))
    return e.replace(letter(111, 79), 0);
  if (!drawn_as_cup(s)) return kOk;
  if (code == 1076 && e.admitted(1076, 1091)) return e.replace(letter(1091, 1059), -300);
  if (code == 103 && e.admitted(103, 121)) return e.replace(letter(121, 89), -300);
  if (code == 1072 && e.admitted(1072, 1080)) return e.replace(letter(1080, 1048), -300);
  if (code == 97 && e.admitted(97, 117)) return e.replace(letter(117, 85), -300);
  return kOk;
}

// A c written alone or a с, begun with a crossbar, is an e or е; an е begun
// at the top right is a с, without penalty when it also begins in the right
// quarter.
int c_rule(LetterElement& e) {
  StrokeEnds s;
  if (e.stroke_count() != 1 || !stroke_ends(e, s)) return kOk;
  const std::uint16_t code = e.code();
  if (starts_with_bar(s)) {
    if (code == 99 && whole_ink(e) && e.admitted(99, 101)) {
      return e.replace(letter(101, 69), -200);
    }
    if (code == 1089 && e.admitted(1089, 1077)) return e.replace(letter(1077, 1045), -200);
    return kOk;
  }
  if (code == 1077 && starts_top_right(s) && e.admitted(1077, 1089)) {
    const bool far_right = 4 * (s.box.right - s.first.x) < s.box.width();
    return e.replace(letter(1089, 1057), far_right ? 0 : -200);
  }
  return kOk;
}

// An l (of shape 142) no taller than the letter height and a fifth, or one
// written alone no taller than its width and a fifth, is an e; an e taller
// than the letter height and three fifths is an l, and one begun at the top
// right is a c.
int e_l_rule(LetterElement& e) {
  const std::int32_t ref = e.ref();
  if (ref <= 0) return kOk;
  if (e.code() == 108) {
    const bool low_l = e.second_key() == 142 && 5 * e.height() <= 6 * ref;
    if (!(low_l || wide_loop_alone(e)) || !e.admitted(108, 101)) return kOk;
    return e.replace(letter(101, 69), -200);
  }
  if (5 * e.height() > 8 * ref) {
    return e.admitted(101, 108) ? e.replace(letter(108, 76), -200) : kOk;
  }
  StrokeEnds s;
  if (e.stroke_count() == 1 && stroke_ends(e, s) && starts_top_right(s) && e.admitted(101, 99)) {
    return e.replace(letter(99, 67), -200);
  }
  return kOk;
}

// A two-stroke E written alone whose first stroke is a stem begun from its
// top, with a flat second stroke (less than a third of the stem's height), is
// a t.
int capital_e_rule(LetterElement& e) {
  PointSpan stem;
  PointSpan bar;
  if (!two_strokes_alone(e, stem, bar)) return kOk;
  const Box16 stem_box = box_of_points(stem);
  if (!flat_beside(box_of_points(bar), stem_box)) return kOk;
  if (!stem_begun_on_the_left(stem_box, stem.front()) || !e.admitted(69, 116)) return kOk;
  return e.replace(letter(116, 84), -200);
}

// A two-stroke I written alone, a stem and a flat stroke (less than a third
// of the stem's height) whose middle lies in the stem's upper half, more than
// a twelfth of the stem's height below its top, is a t: the bar of a T or an
// I lies on the top, and a bar lower down crosses a descender (a q's).
int capital_i_rule(LetterElement& e) {
  PointSpan first;
  PointSpan second;
  if (!two_strokes_alone(e, first, second)) return kOk;
  Box16 stem = box_of_points(first);
  Box16 bar = box_of_points(second);
  if (bar.height() > stem.height()) std::swap(stem, bar);
  if (!flat_beside(bar, stem)) return kOk;
  const std::int32_t below_top = bar.center_y() - stem.top;
  if (12 * below_top <= stem.height() || 2 * below_top >= stem.height()) return kOk;
  if (!e.admitted(73, 116)) return kOk;
  return e.replace(letter(116, 84), -200);
}

}  // namespace inkrec

// The letter rules of Cyrillic letters (but а, д, е, с and у, which share
// their bodies with Latin letters).

#include <algorithm>
#include <cstdlib>

#include "engine/foundation/status.h"
#include "engine/records/profile_raster.h"
#include "engine/rules/letter_rule_book.h"
#include "engine/rules/letter_rules.h"
#include "engine/rules/letter_strokes.h"

namespace inkrec {
namespace {

// One stroke that the letter evaluation read as well, of the group's own
// making, with one of the given keys.
bool read_single_stroke(const LetterElement& e, std::initializer_list<std::uint16_t> keys) {
  return e.stroke_count() == 1 && e.first_figure_read() && e.flag() && one_of(e.key(), keys);
}

// Flat and low, at the end of the line: a hyphen.
bool hyphen_at_line_end(const LetterElement& e) {
  return e.ends_line() && e.width() > (3 * e.height()) / 2 && e.height() < e.ref() / 2;
}

// No point of the first stroke lies higher than the one before it.
bool never_rises(const LetterElement& e) {
  const PointSpan p = e.points(0);
  for (std::int32_t i = 1; i < p.size(); ++i) {
    if (p[i].y < p[i - 1].y) return false;
  }
  return true;
}

// The first branches of г and ч: a г hanging from the line like a slash,
// at the line's end or never rising, is a comma; a flat, low г or ч of
// the listed shapes at the line's end is a hyphen. *fired tells whether one
// did.
int ge_che_first_branches(LetterElement& e, bool* fired) {
  if (e.code() == 1075 && read_single_stroke(e, {5495}) && (e.ends_line() || never_rises(e)) &&
      e.top_below_upper(e.ref() / 2) && e.admitted(47, 44)) {
    *fired = true;
    return e.alternative(same_code(44), -1);
  }
  if (one_of(e.key(), {63, 325}) && hyphen_at_line_end(e) && e.admitted(1095, 45)) {
    *fired = true;
    return e.replace(same_code(45), -1);
  }
  return kOk;
}

// The first branches of з: flat and low at the line's end a hyphen,
// otherwise hanging from the line by half a letter a comma. *fired tells
// whether one did.
int small_ze_first_branches(LetterElement& e, bool* fired) {
  if (!e.flag() || !one_of(e.key(), {121, 122})) return kOk;
  if (hyphen_at_line_end(e)) {
    if (e.admitted(1079, 45)) {
      *fired = true;
      return e.replace(same_code(45), -1);
    }
    return kOk;
  }
  if (e.top_below_upper(e.ref() / 2) && e.admitted(1079, 44)) {
    *fired = true;
    return e.alternative(same_code(44), -100);
  }
  return kOk;
}

// An и whose stroke, after the bottom of its first stem, reaches the right
// quarter of the element at mid-height (along a crossbar, where an и's
// diagonal gets there at the top) is an н: without penalty when it gets
// there in the middle third, else -100.
int i_as_en(LetterElement& e) {
  const PointSpan p = e.points(0);
  const std::int32_t i = right_quarter_after_first_descent(p, e.box());
  if (i < 0) return kOk;
  const std::int32_t y = p[i].y;
  const std::int32_t h = e.height();
  if (4 * (y - e.top()) < h || 4 * (e.bottom() - y) < h) return kOk;
  const std::uint16_t code = e.code();
  if ((code != 1099 && code != 1080) || !e.admitted(code, 1085)) return kOk;
  const bool middle_third = 3 * (y - e.top()) >= h && 3 * (e.bottom() - y) >= h;
  return e.replace(letter(1085, 1053), middle_third ? 0 : -100);
}

}  // namespace

int cyrillic_ge_rule(LetterElement& e) {
  if (!read_single_stroke(e, {56})) return kOk;
  if (e.width() < (21 * e.height()) / 13 || e.height() >= e.ref() / 4) return kOk;
  return e.admitted(1043, 45) ? e.alternative(same_code(45), -1) : kOk;
}

int cyrillic_ze_rule(LetterElement& e) {
  if (!read_single_stroke(e, {117, 119})) return kOk;
  if (!e.ends_line() || !e.top_below_upper(e.ref() / 2)) return kOk;
  return e.admitted(1079, 44) ? e.alternative(same_code(44), -100) : kOk;
}

// An И with a flat top is a П; an и or ы turning back down at mid-height
// is an н.
int cyrillic_i_rule(LetterElement& e) {
  if (e.stroke_count() != 1) return kOk;
  if (e.code() == 1048) {
    return flat_top(e) && e.admitted(1048, 1087) ? e.replace(letter(1087, 1055), 0) : kOk;
  }
  return i_as_en(e);
}

// An Л with a flat top is a П.
int cyrillic_el_rule(LetterElement& e) {
  if (e.stroke_count() != 1 || !flat_top(e) || !e.admitted(1051, 1087)) return kOk;
  return e.replace(letter(1087, 1055), 0);
}

// Two strokes of the listed shapes. One of them reaching a third of the
// band below the lower line while the other stays above it: a Х is a у. A
// narrow stem over three quarters of the height in the left half: an х or
// Х is a к. Two strokes each under three quarters of the width whose tops
// meet within a third of the width: an Х or п is a л.
int cyrillic_ha_pe_rule(LetterElement& e) {
  if (e.stroke_count() != 2 || e.figure(1) == nullptr ||
      !one_of(e.key(), {292, 293, 298, 301, 302, 303})) {
    return kOk;
  }
  const std::uint16_t code = e.code();
  const Box16 a = e.figure_box(0);
  const Box16 b = e.figure_box(1);
  const std::int32_t band = e.lower() - e.upper();
  const auto descends = [&](const Box16& x) { return 3 * (x.bottom - e.lower()) > band; };
  if (code == 1061 && e.band_set() && descends(a) != descends(b) && e.admitted(1061, 1091)) {
    return e.replace(letter(1091, 1059), 0);
  }
  const auto left_stem = [&](const Box16& x) {
    return 4 * x.width() < e.height() && 4 * x.height() > 3 * e.height() &&
           2 * x.right < e.left() + e.right();
  };
  if ((code == 1093 || code == 1061) && (left_stem(a) || left_stem(b)) && e.admitted(code, 1082)) {
    return e.replace(letter(1082, 1050), 0);
  }
  const bool halves = 4 * a.width() < 3 * e.width() && 4 * b.width() < 3 * e.width();
  const PointSpan pa = e.points(0);
  const PointSpan pb = e.points(1);
  if (!halves || pa.empty() || pb.empty()) return kOk;
  const PackedPoint ta = topmost_point(pa);
  const PackedPoint tb = topmost_point(pb);
  const bool tops_meet =
      3 * std::abs(ta.x - tb.x) < e.width() && 4 * std::abs(ta.y - tb.y) < e.height();
  if ((code == 1061 || code == 1087) && tops_meet && e.admitted(code, 1083)) {
    return e.replace(letter(1083, 1051), 0);
  }
  return kOk;
}

// After the first branches: a ч begun low at the left that ends in the
// upper quarter of its box, in the right third, is a г.
int cyrillic_ge_che_rule(LetterElement& e) {
  if (e.stroke_count() != 1) return kOk;
  bool fired = false;
  if (const int status = ge_che_first_branches(e, &fired); status != kOk || fired) return status;
  StrokeEnds s;
  if (!stroke_ends(e, s)) return kOk;
  const bool starts_low_left =
      2 * (s.first.y - s.box.top) > s.box.height() && 3 * (s.first.x - s.box.left) < s.box.width();
  const bool ends_top_right =
      4 * (s.last.y - s.box.top) < s.box.height() && 3 * (s.box.right - s.last.x) < s.box.width();
  if (!starts_low_left || !ends_top_right || !e.admitted(e.code(), 1075)) return kOk;
  return e.replace(letter(1075, 1043), 0);
}

// After the first branches: a з begun with a round body is a д; one whose
// first turn is the bottom of a cup in its left half is a у.
int cyrillic_small_ze_rule(LetterElement& e) {
  if (e.stroke_count() != 1 || !e.first_figure_read()) return kOk;
  bool fired = false;
  if (const int status = small_ze_first_branches(e, &fired); status != kOk || fired) return status;
  StrokeEnds s;
  if (!stroke_ends(e, s)) return kOk;
  if (starts_round_body(s)) {
    return e.admitted(1079, 1076) ? e.replace(letter(1076, 1044), 0) : kOk;
  }
  const Extremum* bottom = first_bottom_turn(e);
  const Extremum* top = first_top_turn(e);
  const bool cup_first = bottom != nullptr && (top == nullptr || bottom->index < top->index) &&
                         2 * bottom->point.x < s.box.left + s.box.right;
  return cup_first && e.admitted(1079, 1091) ? e.replace(letter(1091, 1059), 0) : kOk;
}

// An л begun in the upper third of its box (not with the rising hook from
// the bottom) is an и, the lower the start the larger the penalty (0 to
// -100); the rules of и then judge it again.
int cyrillic_small_el_rule(LetterElement& e) {
  StrokeEnds s;
  if (e.stroke_count() != 1 || !stroke_ends(e, s)) return kOk;
  const std::int32_t drop = s.first.y - s.box.top;
  if (3 * drop >= s.box.height() || !e.admitted(1083, 1080)) return kOk;
  if (const int status = e.replace(letter(1080, 1048), -(300 * drop) / s.box.height());
      status != kOk) {
    return status;
  }
  return i_as_en(e);
}

// An н with a flat top is a п; one whose ink, in the column a third of
// the way across, spans a quarter of the height down to its lowest eighth
// (a bowl at the foot of the stem, where an н has only its crossbar) is a
// ы.
int cyrillic_en_rule(LetterElement& e) {
  if (e.stroke_count() != 1) return kOk;
  if (flat_top(e)) return e.admitted(1085, 1087) ? e.replace(letter(1087, 1055), 0) : kOk;
  const ProfileRaster* profile = e.profile();
  if (profile == nullptr) return kOk;
  const std::int32_t x = e.left() + e.width() / 3;
  const bool bowl = 4 * profile->column_extent(x) > e.height() &&
                    8 * (e.bottom() - profile->column_max(x)) < e.height();
  return bowl && e.admitted(1085, 1099) ? e.replace(letter(1099, 1067), 0) : kOk;
}

// An о of two strokes, one a narrow stem in the right half, is an а.
int cyrillic_o_rule(LetterElement& e) {
  if (e.stroke_count() != 2 || e.figure(1) == nullptr) return kOk;
  const auto right_stem = [&](const Box16& x) {
    return 4 * x.width() < x.height() && 2 * x.left > e.left() + e.right();
  };
  if (!right_stem(e.figure_box(0)) && !right_stem(e.figure_box(1))) return kOk;
  return e.admitted(1086, 1072) ? e.replace(letter(1072, 1040), 0) : kOk;
}

int cyrillic_sha_rule(LetterElement& e) {
  const std::int32_t n = e.info().visited;
  const std::int32_t b = e.info().first_low;
  if (e.stroke_count() != 1 || n < 5 || n > 9 || b < 0 || b >= n - 2) return kOk;
  const auto y = [&](std::int32_t k) { return std::int32_t{e.extremum(k).point.y}; };
  bool fires = false;
  if (b == 0) {
    fires = n < 7 || (e.extremum_count() > 1 && y(1) > (3 * e.top() + e.bottom()) / 4);
  } else if (b + 2 < e.extremum_count()) {
    const auto d = static_cast<std::int16_t>(y(b) - y(b + 1));
    if (d != 0) {
      const std::int32_t p1 = 100 * (y(b) - y(b - 1)) / d;
      const std::int32_t p2 = 100 * (y(b + 2) - y(b + 1)) / d;
      fires = p1 < 70 || (p1 < 75 && p2 < 80);
    }
  }
  return fires && e.admitted(1096, 1084) ? e.replace(letter(1084, 1052), -300) : kOk;
}

}  // namespace inkrec

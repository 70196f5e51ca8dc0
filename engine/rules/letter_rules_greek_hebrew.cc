// The letter rules of Greek letters, of the Hebrew letters ו, י, ן and ר,
// and of the enclosed letters ⒩ and ⒲.

#include <algorithm>
#include <cstdlib>

#include "engine/foundation/status.h"
#include "engine/records/profile_raster.h"
#include "engine/rules/letter_rule_book.h"
#include "engine/rules/letter_rules.h"
#include "engine/rules/letter_strokes.h"

namespace inkrec {
namespace {

constexpr CodeTriple kSmallAlpha = letter(945, 913);
constexpr CodeTriple kSmallOmicron = letter(959, 927);

// Replaces the element's code by `to` when the pair table admits it.
int replace_if_admitted(LetterElement& e, CodeTriple to) {
  return e.admitted(e.code(), to.current) ? e.replace(to, 0) : kOk;
}

// The rows from the top of the element down to, not including, its lower
// quarter line whose ink is at most 1 wide or narrower than a seventh of
// its height.
std::int32_t narrow_rows(const LetterElement& e) {
  std::int32_t n = 0;
  for (std::int32_t y = e.top(); y < (e.top() + 3 * e.bottom()) / 4; ++y) {
    const std::int32_t w = ink_width(e, y);
    if (w <= 1 || w < e.height() / 7) ++n;
  }
  return n;
}

int sigma_of_shape_4852(LetterElement& e, std::int32_t n, PackedPoint first, PackedPoint last) {
  if (n >= e.height() / 6) return kOk;
  const std::int32_t mid = (e.top() + e.bottom()) / 2;
  const std::int32_t three_quarters = (e.left() + 3 * e.right()) / 4;
  if (first.y < mid && last.y < mid && first.x < three_quarters && last.x < three_quarters) {
    return replace_if_admitted(e, kSmallOmicron);
  }
  const std::int32_t low = (e.top() + 2 * e.bottom()) / 3;
  const std::int32_t right = (e.left() + 2 * e.right()) / 3;
  const bool first_low_right = first.y > low && first.x > right;
  const bool last_low_right = last.y > low && last.x > right;
  return first_low_right || last_low_right ? replace_if_admitted(e, kSmallAlpha) : kOk;
}

int sigma_of_shape_4853(LetterElement& e, std::int32_t n, PackedPoint first, PackedPoint last) {
  const std::int32_t h = e.height();
  const std::int32_t mid = (e.top() + e.bottom()) / 2;
  const PackedPoint upper_end = first.y < last.y ? first : last;
  const bool round = n < h / 7 || (n < h / 4 && first.y > mid && last.y > mid) ||
                     (n < h / 4 && upper_end.x - e.left() < e.right() - upper_end.x &&
                      upper_end.y < (4 * e.top() + e.bottom()) / 5);
  return round ? replace_if_admitted(e, kSmallOmicron) : kOk;
}

// The Hebrew rule's proposal: the letter the element's place in the band
// and its size call for, 0 for none.
std::uint16_t hebrew_proposal(const LetterElement& e) {
  const std::int32_t band = e.lower() - e.upper() == 0 ? 1 : e.lower() - e.upper();
  const std::int32_t h = e.height();
  const std::int32_t bo = e.band_offset();
  const std::int32_t m = shape_measure(e.geometry());
  const std::uint16_t code = e.code();
  if ((code != 1512 && bo < -10 && e.bottom() - e.top() > (4 * band) / 3) ||
      (bo < -15 && h > (5 * band) / 4)) {
    return 1503;
  }
  if (((13 * m) / 10 < band && bo >= 5) || (m < band / 3 && bo > -11)) return 1497;
  if (code == 1512 || h <= (16 * band) / 30 || h >= (25 * band) / 20 || bo >= 15 || bo <= -12) {
    return 0;
  }
  return 1493;
}

int enclosed_as_h(LetterElement& e, std::initializer_list<std::uint16_t> keys) {
  if (!e.flag() || !one_of(e.key(), keys) || !e.admitted(e.code(), 72)) return kOk;
  return e.replace({72, 72, 104}, 0);
}

}  // namespace

// An α or Α of the listed shapes begun in the top quarter of a box taller
// than wide (a long leg drawn down first) is a λ.
int greek_alpha_rule(LetterElement& e) {
  StrokeEnds s;
  if (e.stroke_count() != 1 || !one_of(e.key(), {4599, 4603, 4607, 4627, 4802, 4803, 4804}) ||
      !stroke_ends(e, s)) {
    return kOk;
  }
  const bool starts_on_top = 4 * (s.first.y - s.box.top) < s.box.height();
  if (!starts_on_top || s.box.height() <= s.box.width()) return kOk;
  return replace_if_admitted(e, letter(955, 923));
}

// A Λ of two strokes, one a flat bar (over twice as wide as high) in the
// upper third, is a π.
int greek_lambda_rule(LetterElement& e) {
  if (e.stroke_count() != 2 || e.figure(1) == nullptr) return kOk;
  const auto top_bar = [&](const Box16& x) {
    return x.width() > 2 * x.height() && 3 * (x.bottom - e.top()) < e.height();
  };
  if (!top_bar(e.figure_box(0)) && !top_bar(e.figure_box(1))) return kOk;
  return replace_if_admitted(e, letter(960, 928));
}

// An ο or Ο of two strokes: with a short mark in the right half an α; with
// two strokes whose lowest points meet within a quarter of the width and
// whose highest points lie over half the width apart (open at the top) a
// υ; with a flat bar (over three times as wide as high) in the middle third a
// θ.
int greek_omicron_rule(LetterElement& e) {
  if (e.stroke_count() != 2 || e.figure(1) == nullptr) return kOk;
  const Box16 a = e.figure_box(0);
  const Box16 b = e.figure_box(1);
  const auto short_right = [&](const Box16& x) {
    return 2 * x.left > e.left() + e.right() && 2 * x.height() < e.height();
  };
  if (short_right(a) || short_right(b)) return replace_if_admitted(e, kSmallAlpha);
  const PointSpan pa = e.points(0);
  const PointSpan pb = e.points(1);
  if (!pa.empty() && !pb.empty()) {
    const PackedPoint la = lowest_point(pa);
    const PackedPoint lb = lowest_point(pb);
    const bool bottoms_meet =
        4 * std::abs(la.x - lb.x) < e.width() && 4 * std::abs(la.y - lb.y) < e.height();
    const bool tops_apart = 2 * std::abs(topmost_point(pa).x - topmost_point(pb).x) > e.width();
    if (bottoms_meet && tops_apart) return replace_if_admitted(e, letter(965, 933));
  }
  const auto middle_bar = [&](const Box16& x) {
    return x.width() > 3 * x.height() && 3 * (x.top - e.top()) >= e.height() &&
           3 * (e.bottom() - x.bottom) >= e.height();
  };
  if (middle_bar(a) || middle_bar(b)) return replace_if_admitted(e, letter(952, 920));
  return kOk;
}

// A Υ or Ψ of two strokes, one in the left half reaching a third of the
// band below the lower line (a long stem to the left), is a μ.
int greek_upsilon_psi_rule(LetterElement& e) {
  if (e.stroke_count() != 2 || e.figure(1) == nullptr || !e.band_set()) return kOk;
  const std::int32_t band = e.lower() - e.upper();
  const auto left_descender = [&](const Box16& x) {
    return 3 * (x.bottom - e.lower()) > band && 2 * x.right <= e.left() + e.right();
  };
  if (!left_descender(e.figure_box(0)) && !left_descender(e.figure_box(1))) return kOk;
  return replace_if_admitted(e, letter(956, 924));
}

int greek_iota_rule(LetterElement& e) {
  if (e.stroke_count() != 2 || e.figure(1) == nullptr || !one_of(e.key(), {1630, 1635})) {
    return kOk;
  }
  const std::int32_t lim = (e.top() + 2 * e.bottom()) / 3;
  Box16 x = e.figure_box(1);
  Box16 y = e.figure_box(0);
  bool x_below = false;
  if (e.figure_box(1).bottom >= lim) {
    std::swap(x, y);
    x_below = x.bottom > lim;
  }
  const std::int32_t w = e.width();
  const bool fires = y.top - x.bottom < e.height() / 4 && e.right() - y.right < (2 * w) / 3 &&
                     e.right() - x.right < w / 4 && x.left - e.left() < w / 4 && !x_below &&
                     x.width() > (4 * x.height()) / 3 && x.width() > e.height() / 4;
  return fires ? replace_if_admitted(e, letter(964, 932)) : kOk;
}

int greek_sigma_rule(LetterElement& e) {
  const PointSpan p = e.points(0);
  if (e.stroke_count() != 1 || p.empty()) return kOk;
  const std::int32_t n = narrow_rows(e);
  if (e.key() == 4852) return sigma_of_shape_4852(e, n, p.front(), p.back());
  if (e.key() == 4853) return sigma_of_shape_4853(e, n, p.front(), p.back());
  return kOk;
}

// A φ of the listed shapes that does not rise a quarter of the band above
// the upper line but reaches below the lower one (no ascender, a
// descender) is a ρ.
int greek_phi_rule(LetterElement& e) {
  if (e.stroke_count() != 1 || !one_of(e.key(), {4856, 4857, 4963}) || !e.band_set()) return kOk;
  const std::int32_t band = e.lower() - e.upper();
  if (4 * (e.upper() - e.top()) >= band || e.bottom() <= e.lower()) return kOk;
  return replace_if_admitted(e, letter(961, 929));
}

int hebrew_rule(LetterElement& e) {
  if (e.upper() == -1 || e.lower() == -1) return kOk;
  const std::uint16_t proposal = hebrew_proposal(e);
  if (proposal == 0 || proposal == e.code()) return kOk;
  if (proposal == 1503 && e.code() == 1512) return kOk;
  return replace_if_admitted(e, same_code(proposal));
}

int enclosed_n_rule(LetterElement& e) { return enclosed_as_h(e, {5568, 5570}); }
int enclosed_w_rule(LetterElement& e) { return enclosed_as_h(e, {5579}); }

}  // namespace inkrec

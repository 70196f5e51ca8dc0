// The rules of the Greek, Cyrillic and Hebrew letters, the currency signs
// and the enclosed letters.

#include <algorithm>
#include <cstdlib>

#include "engine/rules/group_crossings.h"
#include "engine/rules/symbol_rule_book.h"

namespace inkrec {
namespace {

// A flat geometry box (top equals bottom) cannot be measured.
bool flat(const RuleBook& r) {
  const Box16 g = r.geometry().bounding_box();
  return g.top == g.bottom;
}

Verdict capital_ge(RuleBook& r) {
  if (r.n() != 1) {
    if (r.shape() >= 79 && r.shape() <= 82 && r.args().weights.descending_runs >= 2) r.pen(30);
    return Verdict::kTail;
  }
  if (flat(r)) return Verdict::kReject;
  const Box16 g = r.geometry().bounding_box();
  const std::int32_t ratio = 10 * (g.right - g.left) / (g.bottom - g.top);
  if (ratio > 13) r.pen_ramp(ClampedRamp(15, 600, true, 30, 1100, true), ratio);
  return ratio > 30 ? Verdict::kReject : Verdict::kTail;
}

// The larger C2 of two figures must be an unclassed one.
Verdict capital_ve(RuleBook& r) {
  if (r.n() != 2) return Verdict::kTail;
  const FigureRecord* f1 = r.group().figures[0];
  const FigureRecord* f2 = r.group().figures[1];
  if (f1 == nullptr || f2 == nullptr) return Verdict::kKeep;
  const FigureRecord* pick = shape_class_c2(f2->geometry) > shape_class_c2(f1->geometry) ? f2 : f1;
  if (shape_class_c1(pick->geometry) != -1) r.pen(400);
  return Verdict::kTail;
}

// A penalty when the crossings at the height fall short of three (or
// reach past two).
void pen_when_crossings(RuleBook& r, std::int32_t p, bool below_three, std::int32_t v) {
  const int crossings = crossings_at_height(r.group(), p);
  if (below_three ? crossings < 3 : crossings > 2) r.pen(v);
}

Verdict capital_tse(RuleBook& r) {
  std::int32_t p = 65;
  if (r.shape() == 468) p = crossings_at_height(r.group(), 30) < 3 ? 75 : 50;
  pen_when_crossings(r, p, false, 200);
  if (r.shape() == 463 && extent_points_at_height(r.group(), 5) != 2) r.pen(250);
  return Verdict::kTail;
}

Verdict small_tse(RuleBook& r) {
  std::int32_t p = 65;
  if (r.shape() == 474 || r.shape() == 476) p = 80;
  if (r.shape() == 473 || r.shape() == 477) p = 70;
  pen_when_crossings(r, p, false, 200);
  if (r.shape() >= 472 && r.shape() <= 475 && extent_points_at_height(r.group(), 5) != 2)
    r.pen(250);
  return Verdict::kTail;
}

Verdict small_pe(RuleBook& r) {
  std::int32_t p = 50;
  if (r.shape() == 338) p = 75;
  if (r.shape() == 336) p = 20;
  if (crossings_at_height(r.group(), p) >= 3) r.pen(250);
  return Verdict::kTail;
}

Verdict small_te(RuleBook& r) {
  if (r.etalon() == 265 || r.etalon() == 5493) return Verdict::kTail;
  std::int32_t p = 50;
  switch (r.shape()) {
    case 401:
      p = 60;
      break;
    case 398:
      p = 75;
      break;
    case 397:
      p = 45;
      break;
    case 395:
      p = 35;
      break;
    default:
      break;
  }
  pen_when_crossings(r, p, true, 180);
  return Verdict::kTail;
}

Verdict capital_te(RuleBook& r) {
  if (r.shape() == 384 && r.n() == 1) return Verdict::kReject;
  if ((r.shape() == 386 || r.shape() == 387) && extent_points_at_height(r.group(), 45) < 3)
    r.pen(800);
  return Verdict::kTail;
}

Verdict capital_em(RuleBook& r) {
  if (r.n() != 1 || (r.shape() != 257 && r.shape() != 261)) return Verdict::kTail;
  if (flat(r)) return Verdict::kReject;
  const Box16 g = r.geometry().bounding_box();
  r.pen_ramp(ClampedRamp(30, 0, true, 100, 800, false),
             100 * (g.bottom - r.first().y) / (g.bottom - g.top));
  return Verdict::kTail;
}

Verdict small_em(RuleBook& r) {
  const std::uint16_t v = r.shape();
  if (r.n() != 1 || !(v == 265 || v == 267 || v == 268 || v == 271)) return Verdict::kTail;
  if (flat(r)) return Verdict::kReject;
  const Box16 g = r.geometry().bounding_box();
  const std::int32_t ratio = 100 * (g.bottom - r.first().y) / (g.bottom - g.top);
  if (ratio > 90) {
    r.pen(400);
  } else {
    r.pen_ramp(ClampedRamp(60, 0, true, 95, 120, false), ratio);
  }
  return Verdict::kTail;
}

// "Р" and "р": a stroke starting (or else ending) low at the right.
Verdict er(RuleBook& r, std::int32_t v) {
  if (r.n() != 1 || r.run().size() < 2) return Verdict::kTail;
  const auto low_right = [&r](PackedPoint p) {
    return p.x > r.Rx() - r.W() / 5 && p.y > r.B() - r.H() / 5;
  };
  if (low_right(r.first()) || low_right(r.last())) r.pen(v);
  return Verdict::kTail;
}

Verdict capital_er(RuleBook& r) {
  const std::uint16_t f = r.etalon();
  const bool listed = (f >= 234 && f <= 236) || f == 239 || f == 244;
  return listed ? er(r, 700) : Verdict::kTail;
}

Verdict yeru(RuleBook& r) {
  if (r.n() == 1 && r.shape() == 539 && r.glyph_feature(5, r.L(), r.L() / 4) != 0 &&
      r.glyph_feature(1, r.L(), r.L() / 4) == 3) {
    r.pen(400);
  }
  return Verdict::kTail;
}

// Enclosed letters drawn with a wide part: "⒩" and "⒲" need one that is
// also low; "⒬" and the others only the width.
bool has_wide_part(const RuleBook& r, std::int32_t num, std::int32_t den, bool low) {
  for (const FigureRecord* figure : r.group().figures) {
    if (figure == nullptr) continue;
    const Box16 f = figure->geometry.bounding_box();
    if (den * f.width() >= num * r.W() && (!low || f.height() < r.H() / 2)) return true;
  }
  return false;
}

Verdict enclosed_n_or_w(RuleBook& r, std::int32_t num, std::int32_t den, std::uint16_t etalon_a,
                        std::uint16_t etalon_b) {
  if (r.n() == 1 || !has_wide_part(r, num, den, true)) return Verdict::kReject;
  if (r.etalon() == etalon_a || r.etalon() == etalon_b) {
    r.pen(r.args().weights.profile_penalty);
    if (r.n() < 3) r.pen(200);
  }
  return Verdict::kTail;
}

// "Л" and "л": a last figure running mostly one way, or a one-figure
// stroke whose earlier piece starts high.
Verdict el(RuleBook& r) {
  if (r.n() > 1) {
    FigureRecord* last = r.group().figures[r.group().figures.size() - 1];
    if (last == nullptr) return Verdict::kKeep;
    const std::int16_t(&sides)[4] = side_measures(*last);
    if (sides[0] >= 2 * (sides[1] + sides[2] + sides[3])) r.pen(700);
  }
  const FigureRecord* before = r.args().preceding_piece;
  const std::int32_t c1 = shape_class_c1(r.geometry());
  if (r.n() == 1 && before != nullptr && !before->run.empty() && r.shape() == 248 && c1 >= 2 &&
      c1 <= 4) {
    const std::int32_t m = std::max(r.H(), r.L());
    const std::int32_t start = std::max<std::int32_t>(before->run.points[0].point.y, r.first().y);
    r.pen_ramp(ClampedRamp(m / 3, 0, true, m, 2000, true), r.B() - start);
  }
  return Verdict::kTail;
}

Verdict capital_o(RuleBook& r) {
  if (r.shape() == 303 || crossings_at_height(r.group(), 10) < 2) return Verdict::kTail;
  if (r.shape() != 302 && r.shape() != 305) {
    r.pen(400);
    return Verdict::kTail;
  }
  const std::int32_t c = r.spans(r.first().y);
  return r.n() != 1 || c % 2 == 0 || c == 1 ? Verdict::kReject : Verdict::kTail;
}

// "Ь" and "ь": a top stroke too wide for the letter.
Verdict soft_sign(RuleBook& r) {
  const std::uint16_t f = r.etalon();
  std::int32_t v = 0;
  if (r.code() == 1068) v = f == 359 ? 255 : f == 360 ? 300 : 0;
  if (r.code() == 1100) v = f == 365 ? 500 : f == 361 ? 30 : 0;
  if (v == 0 || r.n() != 1) return Verdict::kTail;
  std::int32_t least = 32767;
  std::int32_t greatest = -32768;
  for (const PointRecord& p : r.run()) {
    if (p.point.y >= r.T() + r.H() / 6) continue;
    least = std::min<std::int32_t>(least, p.point.x);
    greatest = std::max<std::int32_t>(greatest, p.point.x);
  }
  const auto upper_left = [&r](PackedPoint p) {
    return p.x < r.Lx() + r.W() / 2 && p.y < r.T() + r.H() / 2;
  };
  if ((upper_left(r.first()) || upper_left(r.last())) && greatest - least > 3 * r.W() / 7) r.pen(v);
  return Verdict::kTail;
}

Verdict small_ie(RuleBook& r) {
  if (flat(r)) return Verdict::kReject;
  if (r.shape() < 138 || r.shape() > 148 || r.n() != 1) return Verdict::kTail;
  const Box16 g = r.geometry().bounding_box();
  const std::int32_t mn = r.least_ink_x(r.first().y);
  if (mn < g.right && r.first().x >= mn) {
    r.pen_ramp(ClampedRamp(60, 0, true, 100, 500, false),
               100 * (g.bottom - r.first().y) / (g.bottom - g.top) +
                   13 * (r.first().x - mn) / (g.right - mn));
  }
  return Verdict::kTail;
}

Verdict small_shcha(RuleBook& r) {
  const std::int32_t size = r.L();
  const std::int32_t segments = r.glyph_feature(1, size, size / 4);
  if (r.args().line.neighbour_strokes && segments == 3) {
    const std::int32_t upper = r.glyph_feature(3, size, size / 4);
    const std::int32_t lower = r.glyph_feature(4, size, size / 4);
    if ((upper & 7) == 7 && (lower & 4) == 0 && (lower & 3) != 0) r.pen(500);
  }
  if (r.args().group_info == nullptr) return Verdict::kTail;
  const DynArray<Extremum>& minima = figure_minima(*r.args().group_info);
  if (minima.size() == 3) {
    const std::int32_t y = minima[2].point.y;
    if (y - minima[0].point.y > size / 4 && y - minima[1].point.y > size / 4 &&
        y - r.T() > size / 3 && segments == 2) {
      r.pen(300);
    }
  }
  return Verdict::kTail;
}

Verdict vav(RuleBook& r) {
  const std::int32_t m4 = shape_measure_m4(r.geometry());
  if (m4 > 380) return Verdict::kReject;
  r.pen_ramp(ClampedRamp(150, 0, true, 350, 750, false), m4);
  const std::int32_t t = r.t();
  const std::int32_t b = r.b();
  const std::int32_t m = (t + b) / 2;
  if (r.H() <= 4 * (b - t) / 3)
    r.pen_ramp(ClampedRamp(m - r.L() / 5, 0, true, b, 2000, false), r.T());
  if (r.code() == 1503) {
    r.pen_ramp(ClampedRamp(4 * r.L() / 5, 2000, false, 3 * r.L() / 2, 0, true),
               span_value(r.geometry()));
    if (t > r.T()) r.pen_ramp(ClampedRamp(t, 2500, false, m, 0, true), (r.T() + r.B()) / 2);
  }
  return r.final_kaf_rule();
}

// "י": low and small, unless a tall neighbour stands beside it.
Verdict yod(RuleBook& r) {
  const std::int32_t t = r.t();
  const std::int32_t b = r.b();
  const std::int32_t span = span_value(r.geometry());
  if (r.baselines_set()) {
    const std::int32_t m = (t + b) / 2;
    r.pen_ramp(ClampedRamp(m + (b - t) / 4, 0, true, b, 800, false), r.B());
    r.pen_ramp(ClampedRamp(3 * r.L() / 5, 0, true, r.L(), 1100, false), r.H());
    if (r.etalon() != 12082 && span > r.L() / 4)
      r.pen_ramp(ClampedRamp(110, 0, true, 300, 1000, false), shape_measure_m4(r.geometry()));
  }
  const auto beside_tall = [&r](const Box16& box) {
    if (5 * box.height() < 12 * r.H()) return;
    if (std::abs(box.top - r.T()) >= std::abs(box.bottom - r.B())) return;
    r.bonus_ramp(ClampedRamp(box.top, 700, false, box.center_y() + box.height() / 5, 0, true),
                 r.B());
  };
  if (r.args().next_stroke != nullptr) beside_tall(r.args().next_box);
  if (r.args().previous_stroke != nullptr && span > r.L() / 6) beside_tall(r.args().previous_box);
  return r.final_kaf_rule();
}

}  // namespace

// The final kaf: its centre below the base line.
Verdict RuleBook::final_kaf_rule() {
  if (etalon() != 12119) return Verdict::kTail;
  if (!baselines_set()) {
    pen(4000);
    return Verdict::kTail;
  }
  const std::int32_t gap = b() - t();
  pen_ramp(ClampedRamp(b() + gap / 8, 3000, false, b() + 3 * gap / 2, 0, true),
           centre_y(geometry()));
  return Verdict::kTail;
}

Verdict RuleBook::rules_of_other_scripts() {
  switch (code()) {
    case 955:  // λ
      if (etalon() == 4829 && n() == 1) pen(700);
      return Verdict::kTail;
    case 1042:  // В
      return capital_ve(*this);
    case 1043:  // Г
      return capital_ge(*this);
    case 1048:  // И
      if (shape() != 190 && crossings_at_height(group(), 50) >= 3) pen(200);
      return weight_10_rule();
    case 1051:  // Л
    case 1083:  // л
      return el(*this);
    case 1054:  // О
      return capital_o(*this);
    case 1068:  // Ь
    case 1100:  // ь
      return soft_sign(*this);
    case 1074:  // в
      return bowl_rows_crossed() ? Verdict::kTail : Verdict::kReject;
    case 1077:  // е
      return small_ie(*this);
    case 1097:  // щ
      return small_shcha(*this);
    case 1052:  // М
      return capital_em(*this);
    case 1053:  // Н
      if (etalon() == 189 && n() < 3) pen((3 - n()) * 200);
      return Verdict::kTail;
    case 1055:  // П
      if (n() >= 4 && shape() >= 322 && shape() <= 324 && crossings_at_height(group(), 40) > 2)
        pen(400);
      return Verdict::kTail;
    case 1056:  // Р
      return capital_er(*this);
    case 1058:  // Т
      return capital_te(*this);
    case 1061:  // Х
      return n() == 1 ? Verdict::kReject : Verdict::kTail;
    case 1062:  // Ц
      return capital_tse(*this);
    case 1064:  // Ш
      if (shape() == 504) pen_when_crossings(*this, 30, true, 400);
      return Verdict::kTail;
    case 1065:  // Щ
      if (shape() != 523) pen_when_crossings(*this, 60, true, 400);
      if (shape() == 522 && extent_points_at_height(group(), 5) != 2) pen(250);
      return Verdict::kTail;
    case 1067:  // Ы
    case 1099:  // ы
      return yeru(*this);
    case 1069:  // Э
      if (shape() >= 581 && shape() <= 583 && n() == 1) pen(400);
      return Verdict::kTail;
    case 1084:  // м
      return small_em(*this);
    case 1087:  // п
      return small_pe(*this);
    case 1088:  // р
      return er(*this, 400);
    case 1090:  // т
      return small_te(*this);
    case 1093:  // х
      return (shape() == 456 || shape() == 459 || shape() == 460) && n() == 1 ? Verdict::kReject
                                                                              : Verdict::kTail;
    case 1094:  // ц
      return small_tse(*this);
    case 1101:  // э
      if (shape() >= 587 && shape() <= 589 && n() == 1) pen(500);
      return Verdict::kTail;
    case 1488:  // א
      if (etalon() == 12055) {
        if (n() == 1) return Verdict::kReject;
        if (n() == 2) pen(1000);
      }
      return Verdict::kTail;
    case 1493:  // ו
    case 1503:  // ן
      return vav(*this);
    case 1497:  // י
      return yod(*this);
    case 1498:  // ך
      return final_kaf_rule();
    case 8352:  // ₠
    case 8364:  // €
      if (n() < 3) pen(950);
      return Verdict::kTail;
    case 9385:  // ⒩
      return enclosed_n_or_w(*this, 3, 4, 5568, 5570);
    case 9394:  // ⒲
      return enclosed_n_or_w(*this, 4, 5, 5579, 5579);
    case 9388:  // ⒬
    case 9389:  // ⒭
    case 9392:  // ⒰
    case 9424:  // ⓐ
      return n() >= 2 && !has_wide_part(*this, 4, 5, false) ? Verdict::kReject : Verdict::kTail;
    default:
      return Verdict::kTail;
  }
}

}  // namespace inkrec

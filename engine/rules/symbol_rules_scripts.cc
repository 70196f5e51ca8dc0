// The rules of the Greek, Cyrillic and Hebrew letters, the currency signs
// and the enclosed letters.

#include <algorithm>
#include <cstdlib>
#include <span>

#include "engine/foundation/trigonometry.h"
#include "engine/records/figure_point_values.h"
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

// "Е" of several figures: a gap between two of them in the top 40 % of
// the letter, as the gap above its middle bar.
Verdict capital_ie(RuleBook& r) {
  if (flat(r)) return Verdict::kReject;
  if ((r.etalon() == 86 || r.etalon() == 88) && r.n() < 3) r.pen((3 - r.n()) * 200);
  const std::uint16_t v = r.shape();
  if (r.n() < 2 || !(v == 129 || v == 131 || v == 132 || v == 133)) return Verdict::kTail;
  const Box16 g = r.geometry().bounding_box();
  const std::int32_t gh = g.bottom - g.top;
  for (const FigureRecord* upper : r.group().figures) {
    for (const FigureRecord* lower : r.group().figures) {
      if (upper == nullptr || lower == nullptr || upper == lower) continue;
      const Box16 a = upper->geometry.bounding_box();
      const Box16 b = lower->geometry.bounding_box();
      const std::int32_t gap = b.top - a.bottom;
      if (gap > 0 && 100 * gap >= 5 * gh && 100 * (a.bottom - g.top) < 41 * gh)
        return Verdict::kTail;
    }
  }
  return Verdict::kReject;
}

// "З" and "з": from the top the stroke must go back left at some point
// before it reaches the bottom.
Verdict ze(RuleBook& r) {
  const std::uint16_t f = r.etalon();
  if (r.n() != 1 || !((f >= 116 && f <= 119) || f == 121 || f == 122)) return Verdict::kTail;
  const PointRecords run = r.run();
  std::size_t k = 0;
  while (k < run.size() && run[k].point.y != r.T()) ++k;
  if (k + 1 >= run.size() || run[k + 1].point.x < run[k].point.x) return Verdict::kTail;
  bool went_left = false;
  for (std::size_t i = k; i + 1 < run.size() && run[i].point.y != r.B(); ++i) {
    const bool left = run[i + 1].point.x < run[i].point.x;
    if (went_left && !left) return Verdict::kTail;
    went_left = left;
  }
  r.pen(430);
  return Verdict::kTail;
}

// "ι": a dip in the upper half well below the start.
Verdict iota(RuleBook& r) {
  const PointRecords run = r.run();
  const std::int32_t middle = (r.T() + r.B()) / 2;
  if (r.n() == 1 && run.size() > 2) {
    const std::int32_t th = std::max(r.H() / 20, 2);
    for (std::size_t k = 1; k + 1 < run.size(); ++k) {
      const PackedPoint p = run[k].point;
      if (p.y > run[k - 1].point.y + th && p.y > run[k + 1].point.y + th) {
        if (p.y < middle && r.first().y < middle && p.y - r.first().y > r.H() / 4) r.pen(900);
        break;
      }
      if (p.y > middle) break;
    }
  }
  if (r.shape() == 830 && r.n() == 1) {
    std::int32_t count = 0;
    bool found = false;
    if (!r.best_partner_count(&count, &found)) return Verdict::kKeep;
    if (found && count < 3) r.pen(2000);
  }
  return Verdict::kTail;
}

// "ד": drawn from the top right leftwards, then down.
Verdict dalet(RuleBook& r) {
  if (r.n() != 1 || (r.etalon() != 947 && r.etalon() != 1013)) return Verdict::kTail;
  const PointRecords run = r.run();
  if (run.empty() || r.first().y != r.T() || r.first().x <= r.Lx() + r.W() / 2)
    return Verdict::kTail;
  for (std::size_t k = 1; k < run.size(); ++k) {
    if (run[k].point.x > run[k - 1].point.x) {
      if (k >= 2 && r.first().x - run[k - 1].point.x > r.W() / 2) r.pen(200);
      return Verdict::kTail;
    }
  }
  r.pen(500);
  return Verdict::kTail;
}

// "Σ": walking from the end in the upper left, the first turn back to
// the left must not lie low.
Verdict sigma(RuleBook& r) {
  const PointRecords run = r.run();
  if (r.n() != 1 || run.size() < 3) return Verdict::kTail;
  const auto upper_left = [&r](PackedPoint p) {
    return p.y < (r.T() + r.B()) / 2 && p.x < (r.Rx() + 2 * r.Lx()) / 3;
  };
  const std::int32_t last = static_cast<std::int32_t>(run.size()) - 1;
  std::int32_t k = 1;
  std::int32_t step = 1;
  if (!upper_left(r.first())) {
    if (!upper_left(r.last())) return Verdict::kTail;
    k = last - 1;
    step = -1;
  }
  std::int32_t right_turns = 0;
  for (; k >= 1 && k < last; k += step) {
    const std::int32_t x = run[k].point.x;
    const std::int32_t before = run[k - 1].point.x;
    const std::int32_t after = run[k + 1].point.x;
    if (x > before && x > after && ++right_turns == 2) return Verdict::kTail;
    if (x < before && x < after) {
      if (run[k].point.y > (r.T() + 2 * r.B()) / 3) r.pen(170);
      return Verdict::kTail;
    }
  }
  return Verdict::kTail;
}

// "и" of one figure: from its first point the stroke must not reach far
// right before it comes back down past its start.
Verdict small_i_stroke(RuleBook& r) {
  const PackedPoint start = r.first();
  CrossingRange extent;
  r.ink_across_row(start.y, &extent);
  std::int32_t a = extent.least;
  std::int32_t z = extent.greatest;
  if (!(a < start.x && start.x < z)) return Verdict::kTail;
  bool qualified = false;
  for (const std::int32_t pct : {75, 50, 25}) {
    CrossingRange row;
    const std::int32_t y = r.B() - (r.B() - r.T()) * pct / 100;
    if (r.ink_across_row(y, &row) < 3 || row.greatest - row.least <= 0) continue;
    const std::int32_t ratio = 100 * (row.greatest - row.least) / (z - a);
    if (ratio >= 1 && ratio <= 49) {
      a = row.least;
      z = row.greatest;
    }
    qualified = true;
    break;
  }
  if (!qualified) {
    r.pen(300);
    return Verdict::kKeep;
  }
  CrossingRange column;
  r.ink_across_column(start.x, &column);
  const bool top_known = column.least < start.y && column.least < column.greatest;
  const PointRecords run = r.run();
  std::int32_t reach = start.x;
  bool up = false;
  for (std::size_t k = 1; k < run.size(); ++k) {
    const PackedPoint p = run[k].point;
    if (up && p.y > start.y) break;
    reach = std::max<std::int32_t>(reach, p.x);
    if ((top_known && p.y <= column.least) || p.y == r.T()) up = true;
  }
  if (reach > z) return Verdict::kReject;
  if (z > a)
    r.pen_ramp(ClampedRamp(40, 0, true, 100, 800, false),
               100 * (std::max(reach, std::int32_t{start.x}) - a) / (z - a));
  return Verdict::kTail;
}

Verdict small_i(RuleBook& r) {
  std::int32_t p = 50;
  const std::uint16_t v = r.shape();
  if (v == 200 || v == 205 || v == 207) p = 70;
  if (v == 202 || v == 209) p = 60;
  if (v == 211) p = 30;
  if (crossings_at_height(r.group(), p) > 2) r.pen(200);
  if (r.n() == 1 && r.has_run()) {
    const Verdict verdict = small_i_stroke(r);
    if (verdict != Verdict::kTail) return verdict;
  }
  return r.weight_10_rule();
}

// "ר": its roof must not run on into the next stroke nor sit under the
// previous one.
Verdict resh(RuleBook& r) {
  const std::int32_t own = direction_measure(r.geometry());
  if (const StrokeRecord* next = r.args().next_stroke; next != nullptr && r.H() > 0) {
    const std::int32_t reach = 100 * (r.args().next_box.right - r.Lx() + r.H() / 12) / r.H();
    if (reach >= 0 && std::abs(direction_measure(next->geometry) - own) < 60)
      r.pen_ramp(ClampedRamp(0, 0, true, 110, 670, false), reach);
  }
  const StrokeRecord* before = r.args().previous_stroke;
  if (before == nullptr || before->run.empty()) return Verdict::kTail;
  const PointSpan points = before->run.span();
  if (points[points.size() - 1].x <= points[0].x || points[0].y >= r.last().y)
    return Verdict::kTail;
  const PackedPoint corner{static_cast<std::int16_t>(r.Lx()), static_cast<std::int16_t>(r.B())};
  std::int32_t partner = 90;
  bool found = false;
  if (!r.partner_angle_near_reference(&partner, &found)) return Verdict::kKeep;
  if (!found) partner = 90;
  const std::int32_t tilt =
      std::max(fold_to_quarter(step_direction(reference_point(before->geometry), corner)),
               fold_to_quarter(partner));
  r.pen_ramp(ClampedRamp(30, 0, true, 90, 3700, false), tilt);
  if (std::abs(direction_measure(before->geometry) - own) >= 41) {
    const std::int32_t o = r.slanted_overlap(*before, r.args().previous_box);
    r.pen_ramp(ClampedRamp(0, 0, true, 110, 4000, false), o > 0 ? 100 * o / r.W() + 10 : 0);
  }
  return Verdict::kTail;
}

// The ink width of row y of the group's raster (0 for an empty row).
std::int32_t row_width(const ProfileRaster& raster, std::int32_t y) {
  return std::max<std::int32_t>(0, raster.row_max(y) - raster.row_min(y));
}

// "ν" and "υ": below the row where the arms join, the ink must narrow to a
// point; what it keeps of its width over the lower two thirds is charged.
Verdict nu_or_upsilon(RuleBook& r) {
  const ProfileRaster* raster = element_profile_raster(r.group());
  if (r.n() != 1 || raster == nullptr) return Verdict::kTail;
  std::int32_t split = 0;
  bool valid = false;
  for (std::int32_t y = r.T(); y < r.B(); ++y) {
    const std::int32_t width = row_width(*raster, y);
    if (y > r.T() && row_width(*raster, y - 1) - width > r.W() / 6) {
      split = y;
      valid = r.first().y <= y && r.last().y <= y;
    } else if (!valid && 3 * width > r.W()) {
      split = y;
      valid = true;
    }
  }
  if (!valid || split >= (2 * r.T() + r.B()) / 3) return Verdict::kTail;
  const std::int32_t end = r.B() - 1;
  const std::int32_t third = (end - split) / 3;
  const ClampedRamp narrowing(split, row_width(*raster, split), false, end, 1, false);
  const auto excess = [&](std::int32_t from, std::int32_t to) {
    std::int64_t sum = 0;
    for (std::int32_t y = from; y <= to; ++y)
      sum += std::max<std::int32_t>(0, row_width(*raster, y) - narrowing.value_at(y));
    return static_cast<std::int32_t>(sum / (third + 1));
  };
  const std::int32_t upper = excess(split + third, split + 2 * third);
  const std::int32_t lower = excess(split + 2 * third, end);
  const std::int32_t w = row_width(*raster, split + third);
  if (r.code() == 965) {
    const std::uint16_t f = r.etalon();
    if (!((f >= 4867 && f <= 4869) || f == 4962)) return Verdict::kTail;
    const ClampedRamp kept(w / 10, 0, true, w / 4, 450, true);
    r.pen(std::min(450 - kept.value_at(upper), 450 - kept.value_at(lower)));
    return Verdict::kTail;
  }
  const ClampedRamp wide(w / 3, 0, true, w / 2, 300, true);
  r.pen_ramp(wide, upper);
  r.pen_ramp(wide, lower);
  return Verdict::kTail;
}

// "С" and "с": a round letter; a one-stroke "с" starting well left of its
// ink must not rise in straight strokes.
Verdict es(RuleBook& r) {
  if (!r.needs(1)) return Verdict::kTail;
  r.pen_ramp(ClampedRamp(100, 1000, true, 150, 0, true), shape_measure_m4(r.geometry()));
  const PointRecords run = r.run();
  const ProfileRaster* raster = element_profile_raster(r.group());
  if (r.n() != 1 || run.size() < 4 || raster == nullptr || r.first().y >= r.B() - 1 ||
      raster->row_min(r.first().y + 1) - r.first().x <= r.L() / 5) {
    return Verdict::kTail;
  }
  std::int64_t difference = 0;
  std::int64_t width = 0;
  std::size_t k = 0;
  while (k + 1 < run.size()) {
    if (run[k + 1].point.y >= run[k].point.y) {
      ++k;
      continue;
    }
    const std::size_t start = k;
    while (k + 1 < run.size() && run[k + 1].point.y < run[k].point.y) ++k;
    const PackedPoint a = run[start].point;
    const PackedPoint b = run[k].point;
    const ClampedRamp straight(a.x, a.y, true, b.x, b.y, true);
    for (std::size_t i = start; i <= k; ++i) {
      if (has_extra_code(run[i])) return Verdict::kTail;
      const PackedPoint p = run[i].point;
      difference += straight.value_at(p.x) - raster->column_min(p.x);
    }
    width += std::abs(b.x - a.x);
  }
  if (width > 0 && difference / width > r.H() / 5) r.pen(300);
  return Verdict::kTail;
}

// "а": a stroke ending in a short upstroke at the right.
Verdict small_a_cyrillic(RuleBook& r) {
  const PointRecords run = r.run();
  const FigureInfo* info = r.args().group_info;
  const std::uint16_t v = r.shape();
  const bool excluded = v == 28 || v == 1288 || (v >= 1471 && v <= 1475);
  const bool measured = r.n() == 1 && info != nullptr && figure_maxima(*info).size() >= 2 &&
                        run.size() >= 3 && !excluded;
  if (measured) {
    const DynArray<Extremum>& maxima = figure_maxima(*info);
    const DynArray<Extremum>& minima = figure_minima(*info);
    const std::uint32_t m = maxima.size();
    const PackedPoint p = maxima[m - 1].point;
    PackedPoint before = maxima[m - 2].point;
    if (m >= 3 && maxima[m - 3].point.x > before.x) before = maxima[m - 3].point;
    const PackedPoint last = r.last();
    const auto code_at = [](const Extremum& e) {
      return e.record == nullptr ? 0 : hypothesis_code(*e.record);
    };
    const bool goes_on = p.x - before.x < r.L() / 5 && !minima.empty() &&
                         code_at(minima.back()) < code_at(maxima.back()) &&
                         run[run.size() - 2].point.y > last.y;
    if (goes_on) {
      const ProfileRaster* raster = element_profile_raster(r.group());
      const bool inside = r.T() + 1 < last.y && last.y < r.B() && raster != nullptr;
      const auto near_within = [&](std::int32_t reach) {
        if (inside) return last.x - raster->row_max(last.y - 1) < reach;
        return last.x - maxima[m - 2].point.x < reach;
      };
      if (near_within(r.L() / 2)) {
        if (v != 23 && v != 25 && v != 26) r.pen(300);
      } else if (near_within(r.L() / 6)) {
        r.pen(300);
      }
    }
  } else if (r.n() == 1 && r.last().x < (2 * r.Lx() + r.Rx()) / 3) {
    r.pen(500);
  }
  if (r.args().weights.spaced_as_one == 0) r.pen(500);
  if (r.n() == 2) {
    FigureRecord* second = r.group().figures[1];
    if (second == nullptr) return Verdict::kKeep;
    if (second->flag_byte == 0 && second->geometry.bounding_box().left > (r.Lx() + r.Rx()) / 2 &&
        second->glyph_block_e_first(r.L(), r.L() / 4) != nullptr) {
      r.pen(500);
    }
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

// "ח": one figure must not run on into a stroke reaching past it; etalon
// 5464 is two figures whose first is not much the shorter.
Verdict het(RuleBook& r) {
  FigureRecord* f1 = r.figure(0);
  FigureRecord* f2 = r.figure(1);
  if (r.n() != 1 && (f1 == nullptr || f2 == nullptr)) return Verdict::kKeep;
  if (r.n() == 1 && r.args().next_stroke != nullptr && r.args().next_box.right > r.Rx())
    r.pen(2000);
  if (r.etalon() != 5464) return Verdict::kTail;
  if (r.n() < 2) return Verdict::kReject;
  FigureView a;
  FigureView b;
  a.init(*f1);
  b.init(*f2);
  const SharedRows rows = shared_rows(a, b);
  if (rows.first > 0 && 6 * rows.first > 5 * rows.second) r.pen(150);
  return Verdict::kTail;
}

bool nearly_flat(std::int32_t angle) { return angle < 20 || angle > 340; }

// Whether the second (upper) 16-bit half of the values never grows from one
// value to the next; false for fewer than two values.
bool upper_halves_never_grow(std::span<const std::uint32_t> values) {
  if (values.size() < 2) return false;
  for (std::size_t i = 1; i < values.size(); ++i) {
    if ((values[i] >> 16) > (values[i - 1] >> 16)) return false;
  }
  return true;
}

// The hook of an enclosed letter's special form: a later piece of its
// stroke that does not turn down outside a flat stretch high in the box,
// after a piece whose point values never grow in their upper half.
Verdict hook_rule(RuleBook& r) {
  const FigureRecord& figure = *r.args().first_figure;
  const FigureRecord* before = r.args().preceding_piece;
  if (r.n() != 1 || piece_number(figure) == 0 || before == nullptr || before->run.count < 2)
    return Verdict::kTail;
  const PointRecords run = r.run();
  const std::int32_t high = r.B() - std::min(r.H(), r.L()) / 2;
  const std::int32_t reach = r.L() / 4;
  bool in_stretch = false;
  for (std::size_t k = 2; k < run.size(); ++k) {
    const PointRecord& p = run[k];
    const bool flat_step = nearly_flat(hypothesis_angle(p));
    in_stretch = flat_step && (in_stretch || p.point.y < high);
    if (!in_stretch) {
      if (p.point.y > run[k - 1].point.y) return Verdict::kTail;
      continue;
    }
    const PackedPoint next = k + 1 < run.size() ? run[k + 1].point : p.point;
    if (hypothesis_value_a(p) > reach || octagonal_length(next.x - p.point.x, next.y - p.point.y) > reach)
      break;
  }
  const PtrArray<DynArray<std::uint32_t>>* table = r.args().line.point_values;
  if (table == nullptr) return Verdict::kTail;
  int status = kOk;
  const std::span<const std::uint32_t> values = figure_point_values(*table, *before, &status, nullptr);
  if (status != kOk) return r.fail(status);
  if (upper_halves_never_grow(values)) r.pen(300);
  return Verdict::kTail;
}

// "⒡": of several figures the widest must span most of the box; one figure
// is judged by the hook rule.
Verdict enclosed_f(RuleBook& r) {
  if (r.n() >= 2) {
    std::int32_t widest = 0;
    for (const FigureRecord* f : r.group().figures) {
      if (f == nullptr) return r.fail(kBadArgument);
      widest = std::max(widest, f->geometry.bounding_box().width());
    }
    if (r.W() > 0) r.pen_ramp(ClampedRamp(60, 300, false, 80, 0, true), 100 * widest / r.W());
  }
  return hook_rule(r);
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
    case 931:  // Σ
      return sigma(*this);
    case 1080:  // и
      return small_i(*this);
    case 1512:  // ר
      return resh(*this);
    case 957:  // ν
    case 965:  // υ
      return nu_or_upsilon(*this);
    case 953:  // ι
      return iota(*this);
    case 1045:  // Е
      return capital_ie(*this);
    case 1047:  // З
    case 1079:  // з
      return ze(*this);
    case 1491:  // ד
      return dalet(*this);
    case 1057:  // С
    case 1089:  // с
      return es(*this);
    case 1072:  // а
      return small_a_cyrillic(*this);
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
    case 1495:  // ח
      return het(*this);
    case 1497:  // י
      return yod(*this);
    case 1498:  // ך
      return final_kaf_rule();
    case 8352:  // ₠
    case 8364:  // €
      if (n() < 3) pen(950);
      return Verdict::kTail;
    case 9372:  // ⒜
    case 9373:  // ⒝
    case 9374:  // ⒞
    case 9375:  // ⒟
    case 9376:  // ⒠
    case 9378:  // ⒢
    case 9379:  // ⒣
      return hook_rule(*this);
    case 9377:  // ⒡
      return enclosed_f(*this);
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

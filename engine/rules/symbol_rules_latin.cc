// The rules of the control gestures, ASCII and Latin-1 codes, and the
// rule of "l" and "I".

#include <algorithm>
#include <cstdlib>

#include "engine/foundation/charset_ids.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/rules/symbol_rule_book.h"

namespace inkrec {
namespace {

Verdict reject_unless(bool condition) { return condition ? Verdict::kTail : Verdict::kReject; }

// Backspace: one flat stroke drawn leftwards, alone on its line.
Verdict backspace(RuleBook& r) {
  if (!r.needs(1)) return Verdict::kReject;
  if (r.strokes_on_line() > 1 && r.args().partner_distance < r.L() / 5) return Verdict::kReject;
  const GlyphGeometry& g = r.geometry();
  if (r.run().size() < 2 || (shape_class_c1(g) != 5 && shape_class_c2(g) != 5))
    return Verdict::kReject;
  if (r.figures_on_line() < 2) {
    r.pen_ramp(ClampedRamp(r.H() / 5, 7000, true, r.H(), 0, false), r.W());
  } else {
    r.pen_ramp(ClampedRamp(r.L() / 5, 7000, true, r.L(), 0, false), r.W());
  }
  std::int32_t angle = 0;
  if (r.preceding_stroke() != nullptr && !r.partner_angle_near_reference(&angle))
    return Verdict::kKeep;
  r.pen_ramp(ClampedRamp(30, 0, true, 90, 5000, false), fold_to_quarter(angle));
  return Verdict::kTail;
}

// Enter: one stroke wider than two thirds of its height, away from others.
Verdict enter(RuleBook& r) {
  const GlyphGeometry& g = r.geometry();
  if (!r.needs(1) || r.W() < 2 * r.H() / 3 || r.args().partner_distance < r.L() / 5 ||
      shape_measure_m3(g) > 30 || shape_measure_m2(g) > 30) {
    return Verdict::kReject;
  }
  if (r.strokes_on_line() >= 2)
    r.pen_ramp(ClampedRamp(2 * r.L() / 3, 2000, false, 2 * r.L(), 0, true), r.H());
  return Verdict::kTail;
}

Verdict code_0(RuleBook& r) {
  if ((r.shape() == 830 || r.shape() == 834) && r.H() < 2 * r.W() / 3) return Verdict::kReject;
  if (r.etalon() == 12095 && r.L() >= 1 && r.H() > r.L() / 2)
    r.pen_ramp(ClampedRamp(50, 200, true, 100, 2000, false), 100 * r.H() / r.L());
  return Verdict::kTail;
}

// "$", "+" and "×": the strokes must cross, their leading pair's link
// distance (its sixth 16-bit value) at most the limit; "$" asks it only
// with the line's figures at hand.
Verdict crossed(RuleBook& r, std::int32_t figures, bool at_least, std::int32_t limit) {
  const bool count_ok = at_least ? r.s() >= figures : r.s() == figures;
  if (!count_ok || !r.E()) return Verdict::kReject;
  const PairMetrics* pair = r.args().leading_pair;
  const bool asked = !at_least || r.args().line.figures != nullptr;
  if (asked && pair != nullptr && pair->link_distance > limit) return Verdict::kReject;
  return Verdict::kTail;
}

// "1" as a stick after a stroke: the stroke must stand beside it (share
// its rows), and low with its end near its right edge only when they
// share much; a stick read so is still doubtful.
Verdict digit_one(RuleBook& r) {
  StrokeRecord* before = r.preceding_stroke();
  if (r.shape() != 830 || before == nullptr || before->run.empty()) return Verdict::kTail;
  const Box16 box = RuleBook::box_of(*before);
  const Box16 g = r.geometry().bounding_box();
  const std::int32_t end_x = records_of(before->run).back().point.x;
  const std::int32_t end_inset = 100 * (box.right - end_x) / box.width();
  const std::int32_t gh = g.bottom - g.top;
  const std::int32_t drop = gh == 0 ? 0 : 100 * (g.bottom - box.bottom) / gh;
  FigureView stroke;
  stroke.init(*before);
  const SharedRows rows = shared_rows(r.group_view(), stroke);
  if (rows.first < 7 || (drop >= 31 && end_inset < 25 && rows.second < 25)) return Verdict::kReject;
  r.pen(1700);
  return Verdict::kTail;
}

Verdict comma(RuleBook& r) {
  if (!r.E()) return Verdict::kReject;
  if (r.etalon() == 5993 && r.strokes_on_line() > 1) return Verdict::kReject;
  if (r.hebrew_active()) r.pen(1000);
  return Verdict::kTail;
}

Verdict capital_b(RuleBook& r) {
  if (r.glyph_feature(1, r.L(), r.L() / 4) >= 3 && r.glyph_feature(5, r.L(), r.L() / 4) != 0)
    r.pen(500);
  return Verdict::kTail;
}

Verdict capital_h(RuleBook& r) {
  if (r.etalon() == 622 || r.etalon() == 626) r.pen(r.args().weights.profile_penalty);
  return Verdict::kTail;
}

Verdict p_rule(RuleBook& r) {
  if (r.n() == 1 && r.glyph_feature(1, r.L(), r.L() / 4) >= 3) r.pen(500);
  return Verdict::kTail;
}

Verdict capital_t(RuleBook& r) {
  if (r.shape() == 384 && r.n() == 1) return Verdict::kReject;
  if (r.n() >= 3) r.pen(1000);
  return Verdict::kTail;
}

Verdict open_top(RuleBook& r) {
  r.pen_ramp(ClampedRamp(100, 0, true, 200, 1000, false), 100 * r.H() / r.W());
  if (r.H() <= r.L() / 2) r.pen(200);
  return Verdict::kTail;
}

Verdict z_rule(RuleBook& r) {
  if (r.etalon() >= 859 && r.etalon() <= 872) return Verdict::kTail;
  const GlyphGeometry& g = r.geometry();
  if (r.n() == 1 && shape_measure_m1(g) >= 101)
    r.pen_ramp(ClampedRamp(0, 1000, true, 100, 0, true), shape_measure_m3(g));
  return Verdict::kTail;
}

Verdict pound(RuleBook& r) { return r.s() == 1 || !r.E() ? Verdict::kReject : Verdict::kTail; }

Verdict section(RuleBook& r) {
  if (!r.E()) return Verdict::kReject;
  if (r.etalon() == 411) return Verdict::kTail;
  return r.s() == 1 ? Verdict::kReject : Verdict::kTail;
}

Verdict tab(RuleBook& r) {
  if (!r.needs(1)) return Verdict::kReject;
  const std::int32_t w = r.W();
  const std::int32_t h = r.H();
  if (r.etalon() == 487) {
    if (w < 2 * h || h < 2 * r.L() / 3) return Verdict::kReject;
    if (h < w / 3) r.cap(-1000);
    if (r.first().y - r.extreme(4).y < h / 2) r.cap(-1500);
  }
  if (r.etalon() == 486 && r.active(5)) {
    const std::int32_t reach = r.extreme(8).x - r.extreme(4).x;
    if (reach > 2 * w / 3 && reach < w) return Verdict::kReject;
  }
  const GlyphGeometry& g = r.geometry();
  if (r.args().partner_distance < r.L() / 5 || shape_measure_m3(g) > 40 ||
      shape_measure_m2(g) > 30) {
    return Verdict::kReject;
  }
  return Verdict::kTail;
}

// Codes 30 and 31: a single stroke of one class, standing apart.
Verdict unit_separator(RuleBook& r) {
  if (r.hebrew_active() || !r.needs(1) || r.strokes_on_line() > 1 ||
      shape_class_c1(r.geometry()) != 15 || r.H() < 10) {
    return Verdict::kReject;
  }
  const auto high = [&r](PackedPoint p) { return r.B() - p.y > (p.y - r.T()) / 4; };
  if (high(r.first()) || high(r.last())) return Verdict::kReject;
  return r.best_partner_rule();
}

Verdict record_separator(RuleBook& r) {
  if (r.hebrew_active() || !r.needs(1) || shape_class_c1(r.geometry()) != 7 ||
      r.H() <= 7 * r.L() / 10) {
    return Verdict::kReject;
  }
  if (100 * (r.Rx() - r.first().x) / r.H() > 30) r.pen(1500);
  return r.best_partner_rule();
}

Verdict space(RuleBook& r) {
  if (r.n() > 1 || r.args().partner_distance < 4) return Verdict::kReject;
  if (r.strokes_on_line() > 1 && std::abs(r.args().partner_angle - r.args().line_angle) < 15)
    r.cap(-3000);
  const GlyphGeometry& g = r.geometry();
  if (shape_class_c1(g) == 9 || shape_class_c2(g) == 9) return Verdict::kTail;
  const std::int32_t from_first = r.first().x - r.Lx();
  const std::int32_t from_last = r.last().x - r.Lx();
  if (std::min(from_first, from_last) > r.W() / 6 || std::max(from_first, from_last) > r.W() / 3)
    return Verdict::kReject;
  if (r.strokes_on_line() >= 2 && r.H() >= r.L() / 2) return Verdict::kReject;
  return Verdict::kTail;
}

Verdict apostrophe(RuleBook& r) {
  if (!r.E()) return Verdict::kReject;
  if (r.W() > 5 * r.H()) r.pen(1500);
  std::int32_t size = r.L();
  if (const StrokeRecord* before = r.preceding_stroke();
      before != nullptr && RuleBook::box_of(*before).height() > size) {
    size = (RuleBook::box_of(*before).height() + 2 * size) / 3;
  }
  r.pen_ramp(ClampedRamp(size / 2, 0, true, size, 1200, false), r.H());
  if (r.hebrew_active()) r.pen(3500);
  if (r.W() > 2 * r.H()) {
    const RasterGaps* gaps = element_glyph_block_b(r.group());
    if (gaps != nullptr && gaps->greatest_row_width > r.H()) return Verdict::kReject;
  }
  return Verdict::kTail;
}

Verdict full_stop(RuleBook& r) {
  if (!r.E()) return Verdict::kReject;
  if (r.etalon() == 5782 && (r.n() != 3 || r.strokes_on_line() > 3)) return Verdict::kReject;
  if (const StrokeRecord* before = r.preceding_stroke(); before != nullptr) {
    const Box16 box = RuleBook::box_of(*before);
    if (r.Rx() < box.right && r.B() - box.top <= r.H() / 6 && box.height() > 2 * r.L() / 3)
      return Verdict::kReject;
    if (r.hebrew_active() && box.left <= r.Rx()) r.pen(1000);
  }
  return Verdict::kTail;
}

// "/" and "\": one stroke across the line's band.
Verdict slash(RuleBook& r, bool forward) {
  if (forward && r.hebrew_active()) r.pen(1000);
  if (!r.needs(1)) return Verdict::kReject;
  const std::int32_t limit = r.active(kDigits) ? 5 : r.L() / 5;
  if (r.args().partner_distance < limit) return Verdict::kReject;
  if (r.args().line.mode != 2) {
    // Where the stroke stands against the base lines is judged only when
    // the line has them: unset lines (-1, -1) would charge every stroke.
    if (r.baselines_set()) {
      const std::int32_t middle = (r.t() + r.b()) / 2;
      r.pen_ramp(ClampedRamp(r.t() - r.L() / 3, 0, false, middle, 2500, true), r.T());
      r.pen_ramp(ClampedRamp(middle, 2500, false, r.b() + r.L() / 3, 0, true), r.B());
    }
    r.pen_ramp(ClampedRamp(2 * r.L() / 3, 2200, true, 4 * r.L() / 3, 0, false), r.H());
  }
  if (forward)
    r.pen_ramp(ClampedRamp(90, 1000, true, 125, 0, true), direction_measure(r.geometry()));
  return Verdict::kTail;
}

Verdict capital_a(RuleBook& r) {
  const std::uint16_t v = r.shape();
  if (v == 1 || v == 2 || v == 5 || v == 6 || v == 9 || v == 10) {
    if (r.n() == 1) {
      r.pen(1000);
    } else {
      bool odd_part = false;
      for (const FigureRecord* figure : r.group().figures) {
        if (figure == nullptr) continue;
        const Box16 f = figure->geometry.bounding_box();
        if (f.width() > 2 * f.height() || f.height() < r.H() / 3) odd_part = true;
      }
      if (!odd_part) r.pen(300);
    }
  }
  const PointRecords run = r.run();
  if (r.n() == 1 && run.size() >= 4 && (v == 4 || v == 8 || v == 11 || v == 51) &&
      run[0].point.y > run[1].point.y && r.first().y < r.B() - r.H() / 3) {
    r.pen(300);
  }
  return Verdict::kTail;
}

Verdict capital_d(RuleBook& r) {
  if ((r.shape() == 627 || r.shape() == 629) && r.n() == 1 && r.spans((r.T() + r.B()) / 2) < 2)
    r.pen(300);
  return Verdict::kTail;
}

Verdict capital_g(RuleBook& r) {
  if (r.n() != 1 || r.last().y - r.first().y >= r.H() / 6) return Verdict::kTail;
  if (r.first().y >= r.last().y) {
    if (r.spans((r.first().y + r.last().y) / 2) >= 2) r.pen(400);
  } else {
    r.pen(300);
  }
  return Verdict::kTail;
}

Verdict round_o(RuleBook& r) {
  if (r.E() || r.n() != 1) return Verdict::kTail;
  if (100 * (r.B() - r.first().y) / r.H() < 20 && 100 * (r.B() - r.last().y) / r.H() < 15)
    r.pen(380);
  return Verdict::kTail;
}

// Brackets need no further stroke inside them (the overlap weight).
Verdict left_bracket(RuleBook& r) {
  if (!r.E()) return Verdict::kReject;
  if (r.extreme(4).x - r.Lx() > r.W() / 4 && r.extreme(6).x - r.Lx() > r.W() / 4)
    return Verdict::kReject;
  if (r.H() <= 7 * r.L() / 5) r.cap(-1500);
  if (r.args().line.figures != nullptr && r.args().weights.overlap != 0) return Verdict::kReject;
  if (r.hebrew_active()) r.pen(1000);
  return Verdict::kTail;
}

Verdict right_bracket(RuleBook& r) {
  if (!r.needs(1)) return Verdict::kReject;
  if (r.Rx() - r.extreme(2).x > r.W() / 7 && r.Rx() - r.extreme(8).x > r.W() / 7)
    return Verdict::kReject;
  if (r.strokes_on_line() > 1) {
    if (r.H() <= 6 * r.L() / 5) r.pen(1000);
    if (r.t() >= 0 && r.t() <= r.T()) r.pen(1000);
    if (r.b() >= 0 && r.b() >= r.B()) r.pen(1000);
  }
  if (r.args().line.figures != nullptr && r.args().weights.overlap != 0) return Verdict::kReject;
  if (r.hebrew_active()) r.pen(1000);
  return Verdict::kTail;
}

Verdict underscore(RuleBook& r) {
  if (!r.needs(1)) return Verdict::kReject;
  const std::int32_t limit = r.Rx() - (r.Rx() - r.Lx()) / 4;
  if ((r.first().x != r.Rx() && r.last().x != r.Rx()) || r.first().x < limit ||
      r.last().x < limit) {
    return Verdict::kReject;
  }
  if (r.figures_on_line() < 3 || r.W() > r.L() / 2) return Verdict::kTail;
  r.pen_ramp(ClampedRamp(r.L() / 4, 600, false, r.L() / 2, 0, true), r.W());
  return Verdict::kTail;
}

// Some figure wider than the larger of H/5 and twice its own height.
bool has_flat_figure(const RuleBook& r, std::uint32_t from) {
  for (std::uint32_t i = from; i < r.group().figures.size(); ++i) {
    const FigureRecord* figure = r.group().figures[i];
    if (figure == nullptr) continue;
    const Box16 f = figure->geometry.bounding_box();
    if (f.width() > std::max(r.H() / 5, 2 * f.height())) return true;
  }
  return false;
}

// "d" started at the box's left edge with a step down to the right: the
// start must be a hook out of the stem, with the ink above it well right.
void small_d_start(RuleBook& r, FigureRecord& leftmost) {
  const PointRecords points = records_of(leftmost.run);
  const ProfileRaster* raster = element_profile_raster(r.group());
  if (raster == nullptr || points.size() <= 1 || r.W() <= 1 ||
      column_rows(*raster, r.Lx() + 1) >= 2) {
    return;
  }
  const std::int32_t angle = hypothesis_angle(points[0]);
  if (angle < 11 || angle > 79) return;
  const PackedPoint start = points[0].point;
  const std::int32_t above = start.y - 1;
  const bool ink_well_right = raster->row_min(above) <= raster->row_max(above) &&
                              raster->row_min(above) - start.x >= r.L() / 4;
  if (!(leftmost.glyph_block_e_first(r.L(), r.L() / 4) != nullptr && ink_well_right)) r.pen(500);
}

Verdict small_d(RuleBook& r) {
  FigureRecord* leftmost = nullptr;
  for (FigureRecord* f : r.group().figures) {
    if (f == nullptr) return Verdict::kKeep;
    if (leftmost == nullptr ||
        f->geometry.bounding_box().left < leftmost->geometry.bounding_box().left) {
      leftmost = f;
    }
  }
  small_d_start(r, *leftmost);
  if (r.n() < 2) return Verdict::kTail;
  for (const FigureRecord* f : r.group().figures) {
    if (shape_class_c1(f->geometry) == 1 || shape_class_c2(f->geometry) == 1) r.pen(1000);
    const Box16 box = f->geometry.bounding_box();
    if (box.width() > std::max(r.H() / 5, 2 * box.height())) {
      r.pen(600);
      break;
    }
  }
  return Verdict::kTail;
}

Verdict small_b(RuleBook& r) {
  if (!r.bowl_rows_crossed()) return Verdict::kReject;
  if (r.n() == 1) {
    const ProfileRaster* raster = element_profile_raster(r.group());
    if (raster != nullptr) {
      const std::int32_t y = (r.T() + r.B()) / 2;
      r.pen_ramp(ClampedRamp(r.H() / 2, 0, true, r.H(), 600, true),
                 raster->row_max(y) - raster->row_min(y));
    }
  } else if (has_flat_figure(r, 0)) {
    r.pen(600);
  }
  return Verdict::kTail;
}

Verdict small_f(RuleBook& r) {
  if ((r.etalon() == 603 || r.etalon() == 606) && r.n() == 1) return Verdict::kReject;
  if (r.etalon() == 11047 && r.n() == 2 && has_flat_figure(r, 1)) r.pen(600);
  return Verdict::kTail;
}

Verdict small_h(RuleBook& r) {
  if (r.H() < r.L() / 2 && r.figures_on_line() > 3) return Verdict::kReject;
  if (r.n() == 1 && !r.E() && r.figures_on_line() >= 6)
    r.pen_ramp(ClampedRamp(3 * r.L() / 4, 200, false, r.L(), 0, true), r.H());
  return Verdict::kTail;
}

Verdict small_t(RuleBook& r) {
  if (r.etalon() == 876 && r.n() == 1) r.pen(300);
  if (r.H() < 2 * r.L() / 3) r.pen(700);
  if ((r.shape() == 771 || r.shape() == 772) && r.n() == 1) r.pen(400);
  if (r.etalon() == 854 && r.n() == 1) return Verdict::kReject;
  if (r.n() >= 3) {
    std::int32_t flat = 0;
    for (const FigureRecord* figure : r.group().figures) {
      if (figure == nullptr) continue;
      const Box16 f = figure->geometry.bounding_box();
      if (f.width() > 2 * f.height()) ++flat;
    }
    if (flat >= 2) r.pen(300 * flat - 300);
  }
  return Verdict::kTail;
}

Verdict small_u(RuleBook& r) {
  if (r.args().group_info == nullptr) return Verdict::kTail;
  const DynArray<Extremum>& minima = figure_minima(*r.args().group_info);
  const std::int32_t limit = r.T() + r.H() / 2;
  if (minima.size() >= 2 && minima[0].point.y <= limit && minima[1].point.y <= limit &&
      minima[0].point.x >= minima[1].point.x) {
    r.pen(400);
  }
  return Verdict::kTail;
}

Verdict small_y(RuleBook& r) {
  if (r.etalon() != 12614) return Verdict::kTail;
  const std::int32_t d = r.b() - r.t() + 1;
  if (d == 0) return Verdict::kTail;
  const std::int32_t ratio = 100 * (r.B() - r.b()) / d;
  if (ratio < 100) r.pen_ramp(ClampedRamp(0, 1500, true, 100, 0, true), ratio);
  return Verdict::kTail;
}

// A brace must not stand within the neighbouring stroke's box.
bool inside_neighbour(const RuleBook& r, const StrokeRecord* stroke, std::int32_t num,
                      std::int32_t den) {
  if (stroke == nullptr) return false;
  const Box16 box = RuleBook::box_of(*stroke);
  return box.right > r.Rx() && den * (box.bottom - r.T()) <= num * box.height() &&
         3 * (box.left - r.Lx()) < box.width();
}

Verdict brace(RuleBook& r) {
  if (!r.E()) return Verdict::kReject;
  if (r.hebrew_active()) r.pen(1000);
  if (r.args().line.figures == nullptr) return Verdict::kTail;
  if (r.args().weights.overlap != 0) return Verdict::kReject;
  if (inside_neighbour(r, r.preceding_stroke(), 1, 4) ||
      inside_neighbour(r, r.following_stroke(), 2, 3)) {
    return Verdict::kReject;
  }
  return Verdict::kTail;
}

// "*": three or more strokes crossing near one another.
Verdict asterisk(RuleBook& r) {
  if (r.active(kCalculator) || r.active(kDigits)) return Verdict::kTail;
  if (r.s() < 3) {
    const bool few_turns = r.args().group_info != nullptr && r.args().group_info->accepted < 7;
    r.pen(few_turns ? (3 - r.s()) * 1500 : 100);
  }
  const std::uint32_t count = std::min<std::uint32_t>(
      static_cast<std::uint32_t>(std::max(r.s(), 0)), r.group().figures.size());
  for (std::uint32_t i = 0; i < count; ++i) {
    const FigureRecord* a = r.group().figures[i];
    if (a == nullptr) return Verdict::kKeep;
    const Box16 ba = a->geometry.bounding_box();
    for (std::uint32_t j = i + 1; j < count; ++j) {
      const FigureRecord* b = r.group().figures[j];
      if (b == nullptr) return Verdict::kKeep;
      const Box16 bb = b->geometry.bounding_box();
      const std::int32_t overlap = std::min(ba.right, bb.right) - std::max(ba.left, bb.left);
      if (3 * overlap < ba.width() && 3 * overlap < bb.width()) r.pen(200);
      const PairTable* pairs = r.args().line.figure_pairs;
      const PairMetrics* entry =
          pairs == nullptr ? nullptr : pairs->at(body_index(*a), body_index(*b));
      if (entry != nullptr && entry->measures[0] > 2) r.pen(100);
    }
    if (shape_class_c1(a->geometry) == -1) r.pen(100);
  }
  return Verdict::kTail;
}

Verdict ampersand(RuleBook& r) {
  if (r.spans(r.T() + 85 * (r.B() - r.T()) / 100) < 2) return Verdict::kReject;
  const PointRecords run = r.run();
  if (run.size() < 2) return Verdict::kTail;
  // An end stroke flicked out to the upper right.
  const auto flicked = [&r](PackedPoint end, PackedPoint next_to_it) {
    return end.x > next_to_it.x && end.y > next_to_it.y && end.x - r.Lx() > 2 * r.W() / 3 &&
           end.y - r.T() < 2 * r.H() / 3;
  };
  if (flicked(run[run.size() - 1].point, run[run.size() - 2].point)) r.pen(350);
  if (flicked(run[0].point, run[1].point)) r.pen(350);
  return Verdict::kTail;
}

Verdict parenthesis(RuleBook& r) {
  if (!r.needs(1) || r.args().partner_distance < r.L() / 10) return Verdict::kReject;
  if (r.args().line.figures != nullptr) {
    r.pen_ramp(ClampedRamp(r.L(), 600, true, r.args().line.upper_height, 0, false), r.H());
    r.pen_ramp(ClampedRamp(170, 0, false, 500, 500, true), shape_measure_m4(r.geometry()));
    if (r.baselines_set()) {  // ends reaching into the band, as for "/"
      const std::int32_t middle = (r.t() + r.b()) / 2;
      r.pen_ramp(ClampedRamp(r.t(), 100, false, middle, 1500, false), r.T());
      r.pen_ramp(ClampedRamp(r.b(), 100, false, middle, 1500, false), r.B());
    }
    if (r.args().weights.overlap != 0) return Verdict::kReject;
  }
  if (r.hebrew_active()) r.pen(1000);
  return Verdict::kTail;
}

// "-": one flat stroke drawn rightwards in the middle of the line, not a
// bar of the letter before it.
Verdict hyphen(RuleBook& r) {
  if (!r.needs(1)) return Verdict::kReject;
  if (r.first().x > r.Lx() + r.W() / 4 || r.last().x < r.Rx() - r.W() / 4 ||
      r.args().partner_distance < 2) {
    return Verdict::kReject;
  }
  if (r.W() < 17) r.pen(2000);
  const GlyphGeometry& g = r.geometry();
  if (r.args().line.figures != nullptr) {
    const std::int32_t slant_class_value = slant_class(g);
    int status = 0;
    const std::int32_t value = slant_value(element_mark_block(r.group(), &status));
    if ((slant_class_value == 8 && value >= 1 && value <= 149) ||
        (slant_class_value == 2 && value >= 31)) {
      r.pen(2500);
    }
    const std::int32_t folded = fold_to_quarter(std::abs(value));
    if (folded >= 65) return Verdict::kReject;
    r.pen_ramp(ClampedRamp(30, 0, true, 65, 1500, true), folded);
  }
  if (r.strokes_on_line() > 1)
    r.bonus_ramp(ClampedRamp(5, 0, true, r.W(), 200, true), r.args().partner_distance);
  if (r.baselines_set()) {  // too high or too low in the band, as for "/"
    const std::int32_t q = (r.b() - r.t()) / 6;
    const std::int32_t m = (r.t() + r.b()) / 2;
    r.pen_ramp(ClampedRamp(r.t(), 700, false, m - q, 0, true), centre_y(g));
    r.pen_ramp(ClampedRamp(m + 2 * q, 0, true, r.b() + 2 * q, 600, false), centre_y(g));
  }
  std::int32_t tilt = 90;
  if (const StrokeRecord* before = r.preceding_stroke(); before != nullptr) {
    const PackedPoint from = reference_point(before->geometry);
    const PackedPoint corner{static_cast<std::int16_t>(r.Lx()), static_cast<std::int16_t>(r.B())};
    std::int32_t partner = 90;
    bool found = false;
    if (!r.partner_angle_near_reference(&partner, &found)) return Verdict::kKeep;
    if (!found) partner = 90;
    tilt = std::max(fold_to_quarter(step_direction(from, corner)), fold_to_quarter(partner));
    r.pen_ramp(ClampedRamp(30, 0, true, 90, 4000, false), tilt);
    const Box16 box = RuleBook::box_of(*before);
    const std::int32_t o = r.slanted_overlap(*before, box);
    if (o > 0) {
      const std::int32_t tangent = scale_by_tangent(std::min(tilt, 89), 1000) / 1000;
      r.pen_ramp(ClampedRamp(0, 0, true, 100, 3000, false), 100 * o * (1 + tangent) / r.W());
    }
    if (r.under_neighbour(*before, box, 2, 3)) return Verdict::kReject;
  }
  if (const StrokeRecord* after = r.following_stroke(); after != nullptr) {
    const Box16 box = RuleBook::box_of(*after);
    const std::int32_t o = r.slanted_overlap(*after, box);
    if (3 * o >= r.W() || o >= box.width() - 1) r.pen(2200);
    return r.under_neighbour(*after, box, 2, 3) ? Verdict::kReject : Verdict::kTail;
  }
  if (r.shape() != 849) r.bonus_ramp(ClampedRamp(0, 2000, true, 45, 0, true), tilt);
  return Verdict::kTail;
}

Verdict tilde(RuleBook& r) {
  if (r.args().partner_distance < 2) return Verdict::kReject;
  if (const StrokeRecord* before = r.preceding_stroke();
      before != nullptr && r.under_neighbour(*before, RuleBook::box_of(*before), 2, 3)) {
    return Verdict::kReject;
  }
  if (const StrokeRecord* after = r.following_stroke();
      after != nullptr && r.under_neighbour(*after, r.args().next_box, 2, 3)) {
    return Verdict::kReject;
  }
  return r.needs(1) ? Verdict::kTail : Verdict::kReject;
}

Verdict capital_m(RuleBook& r) {
  const std::uint16_t v = r.shape();
  const PointRecords run = r.run();
  if ((v == 257 || v == 261 || v == 262 || v == 263) && r.n() == 1 &&
      piece_number(*r.args().first_figure) == 0 && run.size() >= 4 &&
      run[0].point.y > run[1].point.y && r.glyph_feature(1, r.L(), r.L() / 4) >= 3) {
    for (std::size_t k = 0; k + 1 < run.size(); ++k) {
      if (run[k].point.y < run[k + 1].point.y) {
        if (run[k].point.y < r.T() + r.H() / 3) r.pen(500);
        break;
      }
    }
  }
  if (r.n() == 1 && r.first().y < r.T() + r.H() / 7 && v == 261) r.pen(200);
  return Verdict::kTail;
}

Verdict letter_n(RuleBook& r) {
  if (r.n() == 2) {
    const FigureRecord* second = r.group().figures[1];
    if (second == nullptr) return Verdict::kKeep;
    const Box16 f = second->geometry.bounding_box();
    if (3 * f.width() > r.W() && f.top > (3 * r.T() + r.B()) / 4) r.pen(500);
  }
  if (r.n() != 1) return Verdict::kTail;
  const ProfileRaster* raster = element_profile_raster(r.group());
  if (raster == nullptr) return Verdict::kTail;
  std::int32_t wide_row = r.B();
  bool found = false;
  std::int32_t widest = 0;
  for (std::int32_t y = r.B(); y >= r.T(); --y) {
    const std::int32_t width = raster->row_max(y) - raster->row_min(y);
    widest = std::max(widest, width);
    if (!found && 4 * width > r.W()) {
      wide_row = y;
      found = true;
    }
  }
  if (r.last().y < (r.T() + 2 * r.B()) / 3 && 5 * widest > 2 * r.W())
    r.pen_ramp(ClampedRamp(r.H() / 4, 0, true, r.H() / 2, 1200, false), r.B() - wide_row);
  return Verdict::kTail;
}

Verdict letter_w(RuleBook& r) {
  const PointRecords run = r.run();
  if (r.n() == 1 && run.size() >= 2 && r.last().y > r.B() - r.H() / 3 &&
      r.glyph_feature(2, r.L(), r.L() / 4) < 3 && run[run.size() - 2].point.y < r.last().y) {
    r.pen(1000);
  }
  if (r.n() == 1 && r.args().group_info != nullptr) {
    const DynArray<Extremum>& maxima = figure_maxima(*r.args().group_info);
    const bool scored = std::any_of(maxima.begin(), maxima.end(), [](const Extremum& e) {
      return e.record != nullptr && e.record->trajectory.score > 0;
    });
    if (scored) r.pen(300);
  }
  return Verdict::kTail;
}

Verdict small_a(RuleBook& r) {
  const FigureInfo* info = r.args().group_info;
  const std::int32_t count = static_cast<std::int32_t>(r.run().size());
  if (info != nullptr && r.n() == 1) {
    const DynArray<Extremum>& minima = figure_minima(*info);
    const DynArray<Extremum>& maxima = figure_maxima(*info);
    if (r.shape() == 48 && minima.size() == 3 &&
        minima[2].index + 1 < static_cast<std::uint32_t>(count) &&
        minima[1].point.x - minima[0].point.x > r.L() / 3) {
      r.pen(300);
    }
    if (maxima.size() == 3 && maxima[0].index > 0 &&
        maxima[1].point.x - maxima[0].point.x > r.L() / 3) {
      r.pen(300);
    }
    if (r.etalon() == 540 && minima.size() >= 2) {
      const std::int32_t middle = r.Lx() + (minima[1].point.x - r.Lx()) / 2;
      if (minima[0].point.x < middle)
        r.pen_ramp(ClampedRamp(r.Lx(), 500, false, middle, 0, true), minima[0].point.x);
    }
  }
  if (r.n() > 1 && r.etalon() != 533) {
    const bool marked =
        std::any_of(r.group().figures.begin(), r.group().figures.end(),
                    [](const FigureRecord* f) { return f != nullptr && f->flag_byte != 0; });
    if (!marked) r.pen(500);
  }
  return Verdict::kTail;
}

Verdict small_s(RuleBook& r) {
  const Box16 g = r.geometry().bounding_box();
  if (r.shape() == 768) {
    const ProfileRaster* raster = element_profile_raster(r.group());
    if (raster != nullptr) {
      const std::int32_t y = (g.top + g.bottom) / 2;
      r.pen_ramp(ClampedRamp(0, 150, true, g.width() / 5 + 1, 0, true),
                 raster->row_max(y) - raster->row_min(y));
    }
  }
  const std::uint16_t f = r.etalon();
  if ((f == 759 || f == 761 || f == 873 || f == 1542) && r.H() > r.args().line.reference_height &&
      r.args().line.text_line != nullptr) {
    const std::int32_t below = r.args().line.text_line->fits[0].y_at(g.center_x()) - r.T();
    if (3 * below > r.H())
      r.pen_ramp(ClampedRamp(r.H() / 3, 100, true, r.H() / 2, 550, true), below);
  }
  if (f == 5515) {
    const GlyphGeometry& geometry = r.geometry();
    return zone_z1(geometry) != 0 || zone_z2(geometry) != 0 ? Verdict::kTail : Verdict::kReject;
  }
  return Verdict::kTail;
}

Verdict small_e(RuleBook& r) {
  if (r.shape() >= 138 && r.shape() <= 148 && r.n() == 1) {
    const Box16 g = r.geometry().bounding_box();
    const std::int32_t least = r.least_ink_x(r.first().y);
    if (least < g.right && least <= r.first().x) {
      if (g.top == g.bottom) return Verdict::kReject;
      r.pen_ramp(ClampedRamp(60, 0, true, 100, 500, false),
                 13 * (r.first().x - least) / (g.right - least) +
                     100 * (g.bottom - r.first().y) / (g.bottom - g.top));
    }
  }
  if (r.n() == 2) r.l_with_a_second_figure();
  const PointRecords run = r.run();
  if (r.n() == 1 && run.size() >= 3 && run[1].point.y > run[0].point.y) {
    bool falling = true;
    for (std::size_t k = 2; k < run.size() && run[k - 1].point.y != r.B(); ++k) {
      if (run[k].point.y <= run[k - 1].point.y) {
        falling = false;
        break;
      }
    }
    if (falling) r.pen(500);
  }
  return Verdict::kTail;
}

// The figure that goes on from the first figure's stroke after its end
// (piece and end key = the figure's end key + 2), or null.
const FigureRecord* continuation(const RuleBook& r) {
  DynArray<FigureRecord>* figures = r.args().line.figures;
  if (figures == nullptr) return nullptr;
  const FigureRecord& f = *r.args().first_figure;
  const std::uint16_t next = static_cast<std::uint16_t>(end_key(f) + 2);
  return figure_array_get(*figures, stroke_number(f), next, next);
}

std::int32_t distance(PackedPoint a, PackedPoint b) {
  return octagonal_length(b.x - a.x, b.y - a.y);
}

Verdict small_r(RuleBook& r) {
  const std::uint16_t v = r.shape();
  if (v == 755) r.pen_ramp(ClampedRamp(50, 1500, true, 160, 0, true), 100 * r.H() / (r.W() + 1));
  if (v != 755 && r.n() == 1 && 2 * r.H() > 3 * r.L() && r.strokes_on_line() > 2 &&
      (v == 747 || v == 749 || v == 750 || v == 753)) {
    const std::int32_t d = r.b() - r.t();
    const std::int32_t base = d > r.L() ? d : r.L();
    r.pen_ramp(ClampedRamp(3 * base / 2, 0, true, 2 * base, 900, false), r.H());
  }
  if (2 * r.W() > 3 * r.H() && r.args().group_info != nullptr &&
      figure_maxima(*r.args().group_info).empty()) {
    r.pen(500);
  }
  if (v == 494 && r.n() == 2) {
    const FigureRecord* f1 = r.group().figures[0];
    const FigureRecord* f2 = r.group().figures[1];
    if (f1 == nullptr || f2 == nullptr) return Verdict::kKeep;
    const Box16 a = f1->geometry.bounding_box();
    const Box16 b = f2->geometry.bounding_box();
    if (b.top > a.bottom || a.top > b.bottom) r.pen(1000);
  }
  if (r.n() != 1) return Verdict::kTail;
  const bool first_piece_shape =
      v == 727 || v == 747 || v == 749 || v == 750 || v == 751 || v == 753 || v == 800;
  if (first_piece_shape && !r.E() && piece_number(*r.args().first_figure) == 0 &&
      r.first().y > (r.T() + r.B()) / 2) {
    r.pen(1000);
  }
  const FigureRecord* next = continuation(r);
  if (!r.E() && distance(r.first(), r.last()) <= r.L() / 8 && next != nullptr &&
      !next->run.empty() && distance(r.last(), next->run.points[0].point) <= r.L() / 10) {
    r.pen(500);
  }
  const bool low_end_shape = v == 727 || (v >= 747 && v <= 751) || v == 753 || v == 755;
  if (r.last().y > r.B() - r.H() / 3 && low_end_shape && next == nullptr) r.pen(500);
  return Verdict::kTail;
}

// "m" of one stroke: its last arch must not reach far left of the ink's
// right edge, and a rising start must not close a long loop.
Verdict small_m(RuleBook& r) {
  const PointRecords run = r.run();
  const std::int32_t n = static_cast<std::int32_t>(run.size());
  if (r.n() != 1 || n <= 3) return Verdict::kTail;
  const ProfileRaster* raster = element_profile_raster(r.group());
  std::int32_t k = n - 1;
  while (k > 0 && run[k].point.y <= run[k - 1].point.y) --k;
  std::int32_t farthest = 0;
  for (; k > 0 && raster != nullptr; --k) {
    const PackedPoint p = run[k].point;
    if (p.y < r.last().y) farthest = std::max<std::int32_t>(farthest, raster->row_max(p.y) - p.x);
    if (p.y < run[k - 1].point.y) break;
  }
  if (farthest > r.L() / 4) r.pen(500);
  const std::uint16_t v = r.shape();
  if (n < 4 || run[1].point.y >= run[0].point.y || !(v == 399 || v == 512 || v == 516))
    return Verdict::kTail;
  for (std::int32_t i = 1; i < n && run[i].point.y < run[i - 1].point.y; ++i) {
    if (!has_extra_code(run[i])) continue;
    const std::uint16_t partner = extra_code_1(run[i]);
    std::int32_t length = 0;
    for (std::int32_t j = i; j < n && hypothesis_code(run[j]) != partner; ++j)
      length += hypothesis_value_a(run[j]);
    if (length > r.L() / 2) r.pen(500);
    break;
  }
  return Verdict::kTail;
}

}  // namespace

Verdict RuleBook::rules_below_256() {
  switch (code()) {
    case 0:
      return code_0(*this);
    case 8:
      return backspace(*this);
    case 9:
      return tab(*this);
    case 13:
      return enter(*this);
    case 30:
      return unit_separator(*this);
    case 31:
      return record_separator(*this);
    case 32:
      return space(*this);
    case 38:
      return ampersand(*this);
    case 39:
      return apostrophe(*this);
    case 40:
    case 41:
      return parenthesis(*this);
    case 45:
      return hyphen(*this);
    case 126:
      return tilde(*this);
    case 77:
      return capital_m(*this);
    case 78:
    case 110:
      return letter_n(*this);
    case 87:
    case 119:
      return letter_w(*this);
    case 97:
      return small_a(*this);
    case 115:
      return small_s(*this);
    case 101:
      return small_e(*this);
    case 114:
      return small_r(*this);
    case 109:
      return small_m(*this);
    case 42:
      return asterisk(*this);
    case 46:
      return full_stop(*this);
    case 47:
      return slash(*this, true);
    case 92:
      return slash(*this, false);
    case 65:
      return capital_a(*this);
    case 68:
      return capital_d(*this);
    case 71:
      return capital_g(*this);
    case 79:
    case 111:
      return round_o(*this);
    case 91:
      return left_bracket(*this);
    case 93:
      return right_bracket(*this);
    case 95:
      return underscore(*this);
    case 98:
      return small_b(*this);
    case 102:
      return small_f(*this);
    case 104:
      return small_h(*this);
    case 116:
      return small_t(*this);
    case 117:
      return small_u(*this);
    case 121:
      return small_y(*this);
    case 123:
    case 125:
      return brace(*this);
    case 29:
      return reject_unless(needs(1) && strokes_on_line() <= 1);
    case 35:
      return reject_unless(needs(4));
    case 36:
      return crossed(*this, 2, true, 2);
    case 43:
      return crossed(*this, 2, false, 0);
    case 215:
      return crossed(*this, 2, false, 0);
    case 44:
      return comma(*this);
    case 49:
      return digit_one(*this);
    case 100:
      return small_d(*this);
    case 64:
      return reject_unless(needs(1));
    case 66:
      return capital_b(*this);
    case 72:
      return capital_h(*this);
    case 73:
    case 108:
      return l_rule();
    case 80:
    case 112:
      return p_rule(*this);
    case 84:
      return capital_t(*this);
    case 85:
    case 86:
      return open_top(*this);
    case 99:
      return shape() == 383 ? open_top(*this) : Verdict::kTail;
    case 90:
    case 122:
      return z_rule(*this);
    case 103:
      if (shape() == 735) pen(50);
      return Verdict::kTail;
    case 163:
      return pound(*this);
    case 167:
      return section(*this);
    default:
      return Verdict::kTail;
  }
}

// ---- The rule of "l" (and of "I" after its own tests).

Verdict RuleBook::l_rule() {
  const std::int32_t tl = t();
  const std::int32_t bl = b();
  const std::int32_t m = (tl + bl) / 2;
  const std::int32_t d = bl - tl >= L() ? L() : (bl - tl + 2 * L()) / 3;
  const bool stem = shape() == 830 || shape() == 708 || (shape() == 142 && H() < 5 * L() / 4);
  if (stem && args().line.mode != 2) {
    if (B() <= m) return Verdict::kReject;
    pen_ramp(ClampedRamp(3 * L() / 4, 1000, false, 13 * L() / 10, 0, true), H());
    pen_ramp(ClampedRamp(tl - L() / 2, 0, true, tl + d / 2, 1000, false), T());
    pen_ramp(ClampedRamp(m, 1000, true, bl - L() / 6, 0, false), B());
    const bool marked_single = n() == 1 && args().first_figure->flag_byte != 0;
    const std::int32_t reach = marked_single ? d : L() / 2;
    pen_ramp(ClampedRamp(bl + L() / 4, 0, false, bl + reach, 1000, true), B());
  }
  if (shape() == 830 && n() == 1) {
    std::int32_t count = 0;
    bool found = false;
    if (!best_partner_count(&count, &found)) return Verdict::kKeep;
    if (found && count < 3) pen(2000);
    if (E() && B() - last().y > H() / 3) pen(3000);
  }
  if (n() == 2 && code() == 108) l_with_a_second_figure();
  if (shape() == 830) {
    for (const FigureRecord* figure : group().figures) {
      if (figure == nullptr) continue;
      const Box16 f = figure->geometry.bounding_box();
      if (f.top >= T() + H() / 4 && f.bottom <= B() - H() / 4 && f.width() >= f.height() &&
          f.height() < H() / 5) {
        pen(1500);
        break;
      }
    }
  }
  if (code() == 108 && n() == 1 && !E())
    pen_ramp(ClampedRamp(tl - L() / 4, 0, true, tl, 200, true), T());
  return Verdict::kTail;
}

// Step 3 of the "l" rule: a short piece hanging beside a tall stem.
void RuleBook::l_with_a_second_figure() {
  const FigureRecord* f1 = group().figures[0];
  const FigureRecord* f2 = group().figures[1];
  if (f1 == nullptr || f2 == nullptr) return;
  const Box16 b1 = f1->geometry.bounding_box();
  const Box16 b2 = f2->geometry.bounding_box();
  const bool second_taller = b2.height() >= b1.height();
  const Box16 tall = second_taller ? b2 : b1;
  const Box16 other = second_taller ? b1 : b2;
  const std::int32_t th = tall.height();
  if (th <= 9 * L() / 10) return;
  if (other.top > tall.top + th / 6 && other.bottom < tall.bottom && other.width() > th / 8 &&
      other.height() < th / 3) {
    pen(400);
  }
}

}  // namespace inkrec

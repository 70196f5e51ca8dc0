// The rules of the control gestures, ASCII and Latin-1 codes, and the
// rule of "l" and "I".

#include <algorithm>
#include <cstdlib>

#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/rules/symbol_rule_book.h"

namespace inkrec {
namespace {

constexpr std::uint32_t kCalculator = 36;
constexpr std::uint32_t kDigits = 3;

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
// distance (its sixth 16-bit value) at most the limit.
Verdict crossed(RuleBook& r, std::int32_t figures, bool at_least, std::int32_t limit) {
  const bool count_ok = at_least ? r.s() >= figures : r.s() == figures;
  if (!count_ok || !r.E()) return Verdict::kReject;
  const PairMetrics* pair = r.args().leading_pair;
  if (r.args().line.figures != nullptr && pair != nullptr && pair->link_distance > limit)
    return Verdict::kReject;
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
    const std::int32_t middle = (r.t() + r.b()) / 2;
    r.pen_ramp(ClampedRamp(r.t() - r.L() / 3, 0, false, middle, 2500, true), r.T());
    r.pen_ramp(ClampedRamp(middle, 2500, false, r.b() + r.L() / 3, 0, true), r.B());
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
    case 39:
      return apostrophe(*this);
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

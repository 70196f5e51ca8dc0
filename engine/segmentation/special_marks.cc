// The rule book of special marks, one row per shape id.

#include "engine/segmentation/special_marks.h"

#include <algorithm>
#include <initializer_list>
#include <span>

#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/records/clamped_ramp.h"
#include "engine/records/letter_fields.h"
#include "engine/records/request_switches.h"
#include "engine/rules/figure_shape_tests.h"
#include "engine/rules/symbol_penalties.h"

namespace inkrec {
namespace {

constexpr std::int32_t kFullQuality = 8200;
constexpr std::uint32_t kCharsetWithoutDashes = 40;

bool in_range(int v, int low, int high) { return low <= v && v <= high; }

std::int32_t ramp(std::int32_t x0, std::int32_t y0, bool c0, std::int32_t x1, std::int32_t y1,
                  bool c1, std::int32_t at) {
  return ClampedRamp(x0, y0, c0, x1, y1, c1).value_at(at);
}

class Judge {
 public:
  Judge(RecognitionContext& context, FigureGroup& group, const GroupMeasures& m,
        const Variant& symbol, const MarkReadings& readings, SpecialMarkTerms& t)
      : context_(context), group_(group), m_(m), symbol_(symbol), readings_(readings), t_(t) {}

  int judge() {
    switch (symbol_.shape_id) {
      case 827: return class_mark(3, half());
      case 828: return dot();
      case 829: return when(m_.mark_class == 2 && m_.quality > 2500, full());
      case 830: return stem(true);
      case 831: return stem(false);
      case 832: return either_class(5);
      case 836: return either_class(9);
      case 840: return either_class(13);
      case 833: return class_mark(6, full());
      case 837: return class_mark(10, full());
      case 838: return class_mark(11, full());
      case 839: return class_mark(12, full());
      case 841: return class_mark(14, full());
      case 842: return class_mark(15, full());
      case 844: return class_mark(16, full());
      case 834: return when(m_.mark_class == 7 && m_.quality > 1500, full());
      case 835: return loop_or_open(8, 7);
      case 848: return when(m_.mark.bend < 270 && in_range(m_.mark_angle, 55, 125), -k() / 4);
      case 849: return flat_dash();
      case 850: return when(m_.second_class != -1 && in_range(m_.mark_angle, 45, 135), -k() / 4);
      case 881: return accent_kept_by(1, true);
      case 886: return accent_kept_by(4, true);
      case 890: return accent_kept_by(4, false);
      case 887: return accent_kept_by(3, true);
      case 888: return accent_kept_by(2, true);
      case 1469: return narrow_accent_no_letter_accent();
      case 882: return accent_882();
      case 883: return accent_over({'o', 'u', 'c'}, true);
      case 1470: return accent_over({'o', 'u'}, false);
      case 885: return accent_885();
      case 893: return double_mark(m_.upper_mark);
      case 894: return double_mark(m_.lower_mark);
      case 1032: return dash_1032();
      case 1033: return quote_1033();
      case 1137: return small_dot_1137();
      case 1272: return low_mark_1272();
      case 1290: return low_mark_1290();
      case 1468: return m_.upper_mark.flag && not_wide() ? accept(0, -m_.upper_mark.penalty) : kOk;
      case 5783: return shape_class_12_alone();
      default: return kOk;
    }
  }

 private:
  std::int32_t k() const { return kFullQuality - m_.quality; }
  std::int32_t full() const { return -k(); }
  std::int32_t half() const { return -k() / 2; }
  bool baselines() const { return m_.band.has_bounds(); }
  std::int32_t upper() const { return m_.band.top; }
  std::int32_t lower() const { return m_.band.bottom; }
  std::int32_t gap() const { return lower() - upper(); }
  PointRecords points() const { return records_of(m_.first_figure->run); }
  std::int32_t w() const { return m_.width; }
  std::int32_t h() const { return m_.height; }
  bool not_wide() const { return w() <= 4 * h() || w() <= m_.size / 3; }

  int accept(std::int32_t mark, std::int32_t extra = 0) {
    t_.accepted = true;
    t_.mark = mark;
    t_.extra = extra;
    return kOk;
  }
  int when(bool condition, std::int32_t mark) { return condition ? accept(mark) : kOk; }
  int class_mark(std::int32_t cls, std::int32_t mark) { return when(m_.mark_class == cls, mark); }
  int either_class(std::int32_t cls) {
    return when(m_.mark_class == cls || m_.second_class == cls, full());
  }
  int loop_or_open(std::int32_t closed, std::int32_t open) {
    if (m_.mark_class == closed) return accept(full());
    if (m_.mark_class == open) return accept(full(), -880);
    return kOk;
  }

  // A one-figure mark starting on the bottom edge with its second point
  // close above it and near the top against its distance to the right
  // edge (or the same from the top edge): a dot drawn as a short tick.
  bool tick_drawn() const {
    const PointRecords p = points();
    if (m_.figure_count != 1 || p.size() < 2) return false;
    const PackedPoint a = p[0].point;
    const PackedPoint b = p[1].point;
    const Box16& box = m_.box;
    const std::int32_t to_right = box.right - b.x;
    if (a.y == box.bottom) return box.bottom - b.y < m_.size / 5 && 2 * (b.y - box.top) < to_right;
    if (a.y == box.top) return b.y - box.top < m_.size / 5 && 2 * (box.bottom - b.y) < to_right;
    return false;
  }

  int dot() {
    const bool flat = 3 * h() < m_.size && 2 * w() > 3 * h();
    const bool level = (m_.second_class == 2 || m_.second_class == 8) &&
                       in_range(m_.mark_angle, -29, 29);
    if (m_.mark_class != 1 && !flat && m_.second_class != 1 && !level) return kOk;
    return accept(tick_drawn() ? half() : full());
  }

  // 830 and 831: an upright stroke, lowered the more its end lies in the
  // upper half.
  int stem(bool prefers_class_3) {
    if (prefers_class_3) {
      if (m_.mark_class == 3) {
        accept(half());
      } else if (m_.mark_class == 4 && m_.mark.winding < 115) {
        t_.penalty -= 1000;
        accept(full());
      }
    } else if (m_.mark_class == 4) {
      accept(full());
    } else if (m_.mark_class == 3) {
      accept(full(), -880);
    }
    if (t_.accepted && !points().empty()) {
      penalise(t_.penalty, ramp(m_.box.bottom, 0, true, m_.box.bottom - h() / 2, 1500, false,
                                points().back().point.y));
    }
    return kOk;
  }

  int flat_dash() {
    if (m_.one_figure_mark == 0 || m_.second_class == -1) return kOk;
    if (!(m_.mark_angle < 45 || m_.mark_angle >= 136)) return kOk;
    std::int32_t mark = half();
    const std::int32_t ref = m_.reference_height;
    if (2 * h() > ref) mark -= ramp(ref / 2, 0, true, ref, 400, false, h());
    return accept(mark);
  }

  int combine(int form, bool* flag) {
    *flag = true;
    switch (form) {
      case 1: return combine_mark_1(group_, readings_, m_.box, m_.size, flag);
      case 2: return combine_mark_2(group_, readings_, m_.box, m_.size, flag);
      case 3: return combine_mark_3(group_, readings_, m_.box, m_.size, flag);
      default: return combine_mark_4(group_, readings_, m_.box, m_.size, flag);
    }
  }

  int accent_kept_by(int form, bool kept) {
    if (!m_.upper_mark.flag) return kOk;
    bool flag = false;
    if (const int status = combine(form, &flag); status != kOk) return status;
    return flag == kept ? accept(0, -m_.upper_mark.penalty) : kOk;
  }

  int narrow_accent_no_letter_accent() {
    if (!m_.upper_mark.flag || !not_wide()) return kOk;
    bool first = false;
    bool third = false;
    if (const int status = combine(1, &first); status != kOk) return status;
    if (first) return kOk;
    if (const int status = combine(3, &third); status != kOk) return status;
    return third ? kOk : accept(0, -m_.upper_mark.penalty);
  }

  bool has_own_answers() const { return !m_.first_figure->candidates[0].answers().empty(); }
  // The letter a mark would join: the figure's own first reading, else
  // the best reading so far; null when there is neither.
  const Answer* reference_letter() const {
    if (has_own_answers()) return &m_.first_figure->candidates[0].answers()[0];
    const DynArray<Answer>& letters = readings_.letters.answers();
    return letters.empty() ? nullptr : &letters[0];
  }
  static bool is_one_of(const Answer* a, std::initializer_list<char16_t> codes) {
    return a != nullptr && std::find(codes.begin(), codes.end(), a->codes[1]) != codes.end();
  }

  int accent_882() {
    if (!m_.upper_mark.flag || m_.figure_count != 1) return kOk;
    const Answer* r = reference_letter();
    const bool over_v = r == nullptr || is_one_of(r, {'v', 'u'});
    const std::int16_t e2 = m_.mark.extent_along;
    const std::int16_t e4 = m_.mark.extent_across;
    if (!over_v && !has_own_answers() && (m_.mark.bend >= 300 || e2 <= e4)) return kOk;
    if (!over_v && has_own_answers() && m_.mark_class != 0 &&
        (m_.mark.bend >= 200 || (in_range(m_.mark_angle, 80, 320) && e2 <= e4) ||
         m_.mark.rise <= -30)) {
      return kOk;
    }
    std::int32_t extra = -m_.upper_mark.penalty;
    const DynArray<Answer>& letters = readings_.letters.answers();
    if (!has_own_answers() && !letters.empty() && is_one_of(&letters[0], {'v', 'u'})) extra += 500;
    return accept(0, extra);
  }

  // 883 (accepted over no letter or one of the codes) and 1470 (with one
  // figure, refused over no letter or one of them).
  int accent_over(std::initializer_list<char16_t> codes, bool over_them) {
    if (!m_.upper_mark.flag) return kOk;
    const Answer* r = reference_letter();
    const bool listed = r == nullptr || is_one_of(r, codes);
    if (over_them ? (m_.figure_count != 1 || !listed) : (m_.figure_count == 1 && listed)) {
      return kOk;
    }
    return accept(0, -m_.upper_mark.penalty);
  }

  int accent_885() {
    if (!m_.upper_mark.flag) return kOk;
    if (7 * std::max(w(), h()) > m_.size && m_.mark_class == -1) return kOk;
    return accept(0, -m_.upper_mark.penalty);
  }

  // Charges empty rows and columns: two parts side by side or stacked.
  std::int32_t apart_charge() const {
    return std::max(ramp(0, 0, true, h() / 3, 2000, false, m_.empty_rows), 0) +
           std::max(ramp(0, 0, true, w() / 3, 2000, false, m_.empty_columns), 0);
  }
  int double_mark(const MarkPlace& place) {
    if (!place.flag || m_.figure_count < 2) return kOk;
    return accept(0, -place.penalty - apart_charge());
  }

  bool charset_active(std::uint32_t id) const {
    const std::span<const std::uint32_t> active = context_.kernel().active_charsets();
    return std::find(active.begin(), active.end(), id) != active.end();
  }

  // A short dash (a hyphen or minus) standing alone.
  int dash_1032() {
    const std::int32_t length = m_.mark.length;
    if (m_.figure_count != 1 || m_.one_figure_mark == 0 || charset_active(kCharsetWithoutDashes) ||
        m_.partner_distance < 2) {
      return kOk;
    }
    if (m_.mark_class != 0 && length > 30 && 3 * length > 2 * m_.size) return kOk;
    std::int32_t e = 0;
    if (length > 14) penalise(e, ramp(w(), 0, true, 2 * w(), 1000, false, h()));
    const bool dotlike = m_.mark_class == 1 || m_.second_class == 1 || m_.second_class == 2 ||
                         m_.second_class == 8;
    if (4 * length > m_.size && dotlike) e -= 500;
    const std::int32_t line_gap = baselines() ? gap() : m_.size;
    const std::int32_t r = std::min(std::min(m_.size, line_gap) / 4, 10);
    const std::int32_t most = m_.mark.end_direction >= 301 ? 1200 : 2600;
    penalise(e, ramp(r + 2, 0, true, std::max(line_gap, m_.size) / 2, most, true, length));
    if (baselines()) {
      const std::int32_t mid = (upper() + lower()) / 2;
      penalise(e, ramp(mid, 1500, false, lower() - gap() / 6, 0, true, m_.top_key));
      penalise(e, ramp(upper(), 2000, true, mid, 0, true, m_.top_key));
    }
    return accept(0, e);
  }

  // Two figures close enough and small enough to be one quote.
  int two_close_figures(bool* close) {
    *close = false;
    FigureRecord& a = *group_.figures[0];
    FigureRecord& b = *group_.figures[1];
    if (a.whole_stroke == 0 || b.whole_stroke == 0) return kOk;
    const PairMetrics* pair = context_.figure_pairs().at(body_index(a), body_index(b));
    if (pair == nullptr) return kBadArgument;
    const std::int32_t shorter =
        std::min(figure_mark_block(a).length, figure_mark_block(b).length);
    *close = 20 * pair->measures[0] <= m_.size && 4 * shorter <= m_.size;
    return kOk;
  }

  // The upper line a quote is measured against: the top of the previous
  // stroke's first piece when that stands higher on the same line.
  std::int32_t quote_upper_line() {
    const FigureRecord& first = *m_.first_figure;
    const std::int32_t line = upper();
    if (!RequestSwitches(context_.kernel().params()).segment() || m_.figure_count != 1 ||
        first.stroke_index == 0 || first.stroke_index == kNoKey16) {
      return line;
    }
    const FigureRecord* before = figure_array_get(
        context_.bodies(), static_cast<std::uint16_t>(first.stroke_index - 1), 0, 0);
    if (before == nullptr || before->line_index != first.line_index) return line;
    return std::min<std::int32_t>(line, before->geometry.bounding_box().top);
  }

  bool quote_accepted(bool close) const {
    const PointRecords p = points();
    const Box16& box = m_.box;
    const std::int32_t cls = m_.mark_class;
    if (m_.one_figure_mark == 0 || !baselines() || p.empty()) return false;
    if (m_.figure_count == 2 && !close) return false;
    if (box.top < upper() || (box.bottom < lower() && h() >= m_.size)) return false;
    if (cls == 1 || cls == 5 || cls == 9 || cls == 10 || cls == 13) return false;
    return p.front().point.y <= p.back().point.y;
  }

  // A quote or apostrophe above the letters.
  int quote_1033() {
    bool close = false;
    if (m_.figure_count == 2 && m_.one_figure_mark != 0) {
      if (const int status = two_close_figures(&close); status != kOk) return status;
    }
    if (!quote_accepted(close)) return kOk;
    const PointRecords p = points();
    const PackedPoint last = p.back().point;
    const Box16& box = m_.box;
    std::int32_t e = m_.figure_count == 2 ? -500 : 0;
    if (m_.mark_class == 0) e -= 3000;
    if (m_.partner_distance < 4) e -= 2000;
    if (symbol_.menuc != 0 && m_.partner_distance >= 4) {
      penalise(e, ramp(20, 2000, true, 40, 0, true, m_.angle_deviation));
    }
    penalise(e, ramp(upper() + 2 * gap() / 3, 0, true, upper(), 2000, false, m_.top_key));
    penalise(e, ramp(m_.size, 0, true, 2 * m_.size, 1000, false, h()));
    penalise(e, ramp(h(), 0, true, 2 * h(), 1500, false, w()));
    const std::int32_t rightward = ramp(box.left, 0, true, box.right, 1000, false, last.x);
    penalise(e, rightward);
    if (m_.figure_count >= 2 || (p.size() >= 3 && last.x > p[p.size() - 2].point.x)) {
      penalise(e, rightward);
    }
    penalise(e, ramp(box.bottom, 0, true, box.top, 1700, false, last.y));
    const std::int32_t u = quote_upper_line();
    const std::int32_t l = lower();
    const std::int32_t mid = (u + l) / 2;
    penalise(e, ramp(mid, 0, true, u, 5500, false, box.top));
    reward(e, ramp(mid, 0, true, l, 1000, false, box.top));
    penalise(e, ramp(170, 0, true, 250, 2000, false, m_.mark.end_direction));
    const std::int32_t q = std::max((l - box.top) * 100 / std::max(h(), 1), 0);
    penalise(e, ramp(0, 0, true, 100, 1600, false, q));
    if (closing_bracket_before()) e += 800;
    return accept(0, e);
  }

  // The reading the group refers to (its own first answer, else the best
  // letter so far) closes a bracket, or the element's rows hold no width.
  bool closing_bracket_before() {
    const Answer* reference = nullptr;
    if (group_.has_answers()) {
      reference = &group_.answers->answers()[0];
    } else if (!readings_.letters.answers().empty()) {
      reference = &readings_.letters.answers()[0];
    }
    if (reference == nullptr) return false;
    const WidthBlock* profile = element_glyph_profile(group_);
    return reference->codes[0] == ')' || (profile != nullptr && profile->rows == 0);
  }

  int small_dot_1137() {
    const bool small = 5 * h() <= m_.size && 5 * w() <= m_.size;
    return when(m_.strokes_on_line >= 2 && baselines() && small, 0);
  }

  // The direction of the chord from the first to the last point lies in
  // 31..149 degrees (it runs down the tablet).
  bool runs_down() const {
    const PointRecords p = points();
    return !p.empty() && in_range(step_direction(p.front().point, p.back().point), 31, 149);
  }
  std::int32_t long_thin_charge() const {
    if (m_.mark.extent_along <= 5 * m_.mark.extent_across) return 0;
    return m_.figure_count == 1 && runs_down() ? 1000 : 2500;
  }
  bool ends_high() const {
    const Box16& box = m_.box;
    return points().back().point.y < box.bottom - (box.bottom - box.top) / 4;
  }

  // A comma on the base line.
  int low_mark_1272() {
    const Box16& box = m_.box;
    if (m_.figure_count != 1 || m_.one_figure_mark == 0 || !baselines() || points().empty() ||
        box.bottom > lower() || h() > gap()) {
      return kOk;
    }
    std::int32_t e = 0;
    if (m_.angle_deviation < 13) e -= 1000;
    if (m_.partner_distance < 4) e -= 1000;
    if (ends_high()) e -= 1000;
    const std::int32_t mid = (upper() + lower()) / 2;
    penalise(e, ramp(mid, 0, true, lower(), 500, false, box.bottom));
    penalise(e, ramp(mid, 0, true, lower(), 1700, false, m_.top_key));
    e -= long_thin_charge();
    return accept(0, e);
  }

  // A full stop or comma low on the line.
  int low_mark_1290() {
    const Box16& box = m_.box;
    const PointRecords p = points();
    if (m_.figure_count != 1 || m_.one_figure_mark == 0 || !baselines() || p.empty()) return kOk;
    if (box.bottom > lower() || (box.top > upper() && h() >= m_.size) || h() > m_.upper_height ||
        p.front().point.y > p.back().point.y || m_.top_key < upper() + 62 * gap() / 100) {
      return kOk;
    }
    std::int32_t e = -2;
    if (m_.angle_deviation <= 12) e -= 1000;
    if (m_.mark_class == 0) e -= 500;
    if (m_.partner_distance < 4) e -= 1000;
    if (ends_high()) e -= 1000;
    penalise(e, ramp((upper() + lower()) / 2, 0, true, lower(), 3000, false, box.bottom));
    penalise(e, ramp(140, 0, true, 200, 3000, false, m_.mark.end_direction));
    e -= long_thin_charge();
    if (m_.mark_class == 0 || m_.second_class == 0) e -= 1000;
    return accept(0, e);
  }

  int shape_class_12_alone() {
    return when(m_.one_figure_mark != 0 && m_.figure_count == 1 && m_.second_class == 12 &&
                    m_.strokes_on_line == 1,
                0);
  }

  RecognitionContext& context_;
  FigureGroup& group_;
  const GroupMeasures& m_;
  const Variant& symbol_;
  const MarkReadings& readings_;
  SpecialMarkTerms& t_;
};

}  // namespace

int judge_special_mark(RecognitionContext& context, FigureGroup& group, const GroupMeasures& m,
                       const Variant& symbol, const MarkReadings& readings,
                       SpecialMarkTerms* terms) {
  *terms = SpecialMarkTerms{};
  return Judge(context, group, m, symbol, readings, *terms).judge();
}

}  // namespace inkrec

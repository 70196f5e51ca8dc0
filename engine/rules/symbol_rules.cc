// The rule book's frame, its helpers and the common tail.

#include "engine/rules/symbol_rules.h"

#include <algorithm>
#include <cstdlib>

#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/records/figure_measures.h"
#include "engine/rules/id_set.h"
#include "engine/rules/symbol_rule_book.h"

namespace inkrec {
namespace {

// Shape ids the tail rejects for a one-figure group by the figure's flag
// word bit 1: clear, and set.
constexpr IdSet<1631> kRejectedWithoutBit1 = {{115, 115}, {473, 473},   {522, 522},  {532, 532},
                                              {554, 554}, {1600, 1600}, {1631, 1631}};
constexpr IdSet<462> kRejectedWithBit1 = {{218, 218}, {280, 280}, {462, 462}};
// Shape ids whose empty columns are weighed against the widest row.
constexpr IdSet<48> kGapShapes = {{12, 15}, {17, 24}, {26, 27}, {37, 37}, {48, 48}};
constexpr IdSet<300> kNarrowTopShapes = {{134, 134}, {138, 140}, {148, 149}, {300, 300}};

}  // namespace

SharedRows shared_rows(const FigureView& a, const FigureView& b) {
  ProfilePairMetrics metrics;
  measure_profile_pair(a, b, metrics);
  return {metrics.common_rows_per_left_height, metrics.common_rows_per_right_height};
}

std::int32_t column_rows(const ProfileRaster& raster, std::int32_t x) {
  const std::int32_t top = raster.column_min(x);
  const std::int32_t bottom = raster.column_max(x);
  return top > bottom ? 0 : bottom - top + 1;
}

std::int32_t fold_to_quarter(std::int32_t angle) {
  std::int32_t a = angle;
  if (a > 180) a = 360 - a;
  if (a > 90) a = 180 - a;
  return a;
}

RuleBook::RuleBook(const SymbolRuleArgs& args, std::int32_t& penalty)
    : a_(args), penalty_(penalty) {}

std::int32_t RuleBook::t() const {
  const ReferenceBand& band = baseline_pair(geometry());
  return band.has_bounds() ? band.top : -1;
}

std::int32_t RuleBook::b() const {
  const ReferenceBand& band = baseline_pair(geometry());
  return band.has_bounds() ? band.bottom : -1;
}

std::int32_t RuleBook::strokes_on_line() const {
  if (a_.line.strokes == nullptr) return 0;
  const std::uint16_t line = a_.first_figure->line_index;
  return static_cast<std::int32_t>(
      std::count_if(a_.line.strokes->begin(), a_.line.strokes->end(),
                    [line](const StrokeRecord& stroke) { return stroke.line_index == line; }));
}

std::int32_t RuleBook::figures_on_line() const {
  return a_.line.figures == nullptr ? 0 : static_cast<std::int32_t>(a_.line.figures->size());
}

StrokeRecord* RuleBook::neighbour_stroke(int step) const {
  if (!a_.line.neighbour_strokes || n() != 1 || a_.line.strokes == nullptr) return nullptr;
  const std::int64_t number = std::int64_t{stroke_number(*a_.first_figure)} + step;
  if (number < 0 || number >= a_.line.strokes->size()) return nullptr;
  StrokeRecord& stroke = (*a_.line.strokes)[static_cast<std::uint32_t>(number)];
  return stroke.line_index == a_.first_figure->line_index ? &stroke : nullptr;
}

std::int32_t RuleBook::spans(std::int32_t y) const {
  std::int32_t count = 0;
  for (FigureRecord* figure : a_.group->figures) {
    if (figure == nullptr) continue;
    PointRun* const one[] = {&figure->run};
    count += figures_extent_y_default(RunList(one), y);
  }
  return count;
}

std::int32_t RuleBook::ink_across_row(std::int32_t y, CrossingRange* range) const {
  std::int32_t count = 0;
  *range = CrossingRange{};
  for (FigureRecord* figure : a_.group->figures) {
    if (figure != nullptr)
      count += count_horizontal_line_crossings(figure->run.span(), y, *range, false);
  }
  return count;
}

std::int32_t RuleBook::ink_across_column(std::int32_t x, CrossingRange* range) const {
  std::int32_t count = 0;
  *range = CrossingRange{};
  for (FigureRecord* figure : a_.group->figures) {
    if (figure != nullptr)
      count += count_vertical_line_crossings(figure->run.span(), x, *range, false);
  }
  return count;
}

std::int32_t RuleBook::least_ink_x(std::int32_t y) const {
  CrossingRange range;
  return ink_across_row(y, &range) > 0 ? range.least : 32767;
}

std::int32_t RuleBook::slanted_overlap(const StrokeRecord& stroke, const Box16& box) const {
  const std::int32_t dy = centre_y(geometry()) - reference_point(stroke.geometry).y;
  const std::int32_t e = scale_by_tangent(std::clamp(a_.line_angle - 90, -89, 89), dy);
  return std::min(Rx() + e, std::int32_t{box.right}) - std::max(Lx() + e, std::int32_t{box.left});
}

bool RuleBook::bowl_rows_crossed() const {
  if (shape() != 66 && shape() != 68) return true;
  const Box16 g = geometry().bounding_box();
  const std::int32_t gh = g.bottom - g.top;
  return spans(g.top + 5 * gh / 100) >= 2 && spans(g.bottom - 25 * gh / 100) >= 2;
}

std::int32_t RuleBook::second_fit_at(std::int32_t x) const {
  return a_.line.text_line == nullptr ? 32767 : a_.line.text_line->fits[1].y_at(x);
}

bool RuleBook::under_neighbour(const StrokeRecord& stroke, const Box16& box, std::int32_t num,
                               std::int32_t den) const {
  return Rx() > box.right && den * (B() - box.top) <= num * H() &&
         3 * (Lx() - box.left) < box.width() &&
         box.top <= second_fit_at(reference_point(stroke.geometry).x);
}

PackedPoint RuleBook::extreme(int k) const {
  const PointRecord* record = geometry().extremes[k - 1];
  return record == nullptr ? PackedPoint{} : record->point;
}

// A one-stroke sign must stand apart: reject when the figure's nearest
// partner counts two or more.
Verdict RuleBook::best_partner_rule() {
  std::int32_t count = 0;
  bool found = false;
  if (!best_partner_count(&count, &found)) return Verdict::kKeep;
  return found && count >= 2 ? Verdict::kReject : Verdict::kTail;
}

std::int32_t RuleBook::glyph_feature(int which, std::int32_t size, std::int32_t closeness) const {
  switch (which) {
    case 1:
      return element_glyph_feature_1(*a_.group, size, closeness);
    case 2:
      return element_glyph_feature_2(*a_.group, size, closeness);
    case 3:
      return element_glyph_feature_3(*a_.group, size, closeness);
    case 4:
      return element_glyph_feature_4(*a_.group, size, closeness);
    default:
      return element_glyph_feature_5(*a_.group, size, closeness);
  }
}

FigureView RuleBook::group_view() const {
  FigureView view;
  view.raster = element_profile_raster(group());
  view.box = geometry().bounding_box();
  view.centroid = &geometry().centroid;
  return view;
}

bool RuleBook::partner_angle_near_reference(std::int32_t* angle, bool* found) {
  const bool by_figure = a_.member_count == 1;
  const PairTable* table = by_figure ? a_.line.figure_pairs : a_.line.stroke_pairs;
  *angle = 0;
  if (found != nullptr) *found = false;
  if (table == nullptr) return true;
  const int key = by_figure ? body_index(*a_.first_figure) : stroke_number(*a_.first_figure);
  const int line = static_cast<std::int16_t>(a_.first_figure->line_index);
  std::int16_t folded = 0;
  int index = -1;
  if (const int status =
          table->partner_nearest_angle(line, key, a_.line.reference_angle, &folded, &index);
      status != kOk) {
    status_ = status;
    return false;
  }
  if (index >= 0) *angle = folded;
  if (found != nullptr) *found = index >= 0;
  return true;
}

bool RuleBook::best_partner_count(std::int32_t* count, bool* found) {
  *found = false;
  if (a_.line.figure_pairs == nullptr) return true;
  PairMetrics entry;
  int index = -1;
  const int line = static_cast<std::int16_t>(a_.first_figure->line_index);
  if (const int status = a_.line.figure_pairs->best_partner_entry(
          line, body_index(*a_.first_figure), &entry, &index);
      status != kOk) {
    status_ = status;
    return false;
  }
  *found = index >= 0;
  *count = static_cast<std::int32_t>(entry.counts[0]);
  return true;
}

Verdict RuleBook::weight_10_rule() {
  if (a_.weights.descending_runs < 2) pen((2 - a_.weights.descending_runs) * 500);
  return Verdict::kTail;
}

Verdict RuleBook::judge() {
  const Verdict verdict = code() < 256 ? rules_below_256() : rules_of_other_scripts();
  return verdict == Verdict::kTail ? tail() : verdict;
}

// ---- The common tail.

Verdict RuleBook::tail() {
  const PropertyFlags p = properties();
  if (!E() && p.bit14() != 0) pen(800);
  if (a_.leading_figure != nullptr && a_.leading_figure->flag_byte == 0 && p.bit15() != 0) pen(800);
  apply_size_penalty(p, a_.flat_column_share, &penalty_);
  if (n() == 1 && a_.one_figure_info != nullptr && a_.penalties != nullptr)
    apply_etalon_penalties(symbol(), penalty_, *a_.penalties);
  if (p.bit21() != 0) penalise(penalty_, a_.weights.small_parts_penalty);
  if (n() == 1 && link_field_1(*a_.first_figure) >= 0) {
    const bool bit1 = (a_.first_figure->flag_word & 2) != 0;
    if (bit1 ? kRejectedWithBit1.contains(shape()) : kRejectedWithoutBit1.contains(shape()))
      return Verdict::kReject;
  }
  if (const RasterGaps* gaps = element_glyph_block_b(group());
      gaps != nullptr && gaps->leading_empty_columns >= 1 && kGapShapes.contains(shape())) {
    const std::int32_t d = W() - gaps->trailing_empty_columns - gaps->greatest_row_width;
    pen_ramp(ClampedRamp(d / 2, 0, true, d, 500, true), gaps->leading_empty_columns);
  }
  return shape_rules();
}

Verdict RuleBook::shape_rules() {
  if (kNarrowTopShapes.contains(shape())) return narrow_top_rule();
  switch (shape()) {
    case 48:
      return minima_pairs_rule();
    case 132:
    case 133:
      return rising_top_rule();
    case 399:
      if (glyph_feature(2, L(), H() / 4) >= 4) pen(200);
      return Verdict::kKeep;
    case 460:
      return stick_beside_rule();
    default:
      return Verdict::kKeep;
  }
}

// The top of a one-figure group must be as wide as a quarter of the box.
Verdict RuleBook::narrow_top_rule() {
  if (n() != 1 || !has_run()) return Verdict::kKeep;
  const PointRecords points = run();
  std::int32_t lowest = points[0].point.y;
  for (std::size_t k = 1; k < points.size() && points[k].point.x >= points[k - 1].point.x; ++k)
    lowest = std::max<std::int32_t>(lowest, points[k].point.y);
  const ProfileRaster* raster = element_profile_raster(group());
  if (raster == nullptr) return Verdict::kKeep;
  std::int32_t widest = 0;
  for (std::int32_t y = T(); y < lowest; ++y)
    widest = std::max<std::int32_t>(widest, raster->row_max(y) - raster->row_min(y));
  if (widest < W() / 4) pen_ramp(ClampedRamp(0, 1400, true, W() / 4, 0, true), widest);
  return Verdict::kKeep;
}

// Shape 48: a group taller than the line takes 300 per further tall
// figure; its top turns must come in close pairs.
Verdict RuleBook::minima_pairs_rule() {
  if (n() > 1 && H() > 4 * a_.line.reference_height / 3) {
    std::int32_t tall = 0;
    for (const FigureRecord* figure : group().figures) {
      if (figure != nullptr && figure->geometry.bounding_box().height() >= H() / 2) ++tall;
    }
    penalise(penalty_, 300 * tall - 300);
  }
  if (a_.group_info == nullptr) return Verdict::kKeep;
  const DynArray<Extremum>& minima = figure_minima(*a_.group_info);
  if (minima.size() < 3) return Verdict::kKeep;
  std::int32_t close = 0;
  std::int32_t apart = 0;
  for (std::uint32_t k = 0; k + 1 < minima.size(); ++k) {
    const std::int32_t dx = minima[k + 1].point.x - minima[k].point.x;
    (dx < W() / 3 && dx < H() / 2 ? close : apart) += 1;
  }
  return close == 0 || apart >= 2 ? Verdict::kReject : Verdict::kKeep;
}

// Shapes 132, 133: after reaching the top, the run must turn somewhere
// (a step's direction above the one before).
Verdict RuleBook::rising_top_rule() {
  if (n() != 1 || !has_run()) return Verdict::kKeep;
  const PointRecords points = run();
  bool at_top = false;
  std::int32_t previous = 180;
  for (std::size_t k = 0; k + 1 < points.size(); ++k) {
    const PackedPoint p = points[k].point;
    if (p.y == B() && at_top) break;
    if (p.y == T()) at_top = true;
    if (!at_top) continue;
    const std::int32_t direction = step_direction(p, points[k + 1].point);
    if (direction > previous) return Verdict::kKeep;
    previous = direction;
  }
  return Verdict::kReject;
}

// Shape 460 of three or more figures whose tallest figure reads as a stick
// (its best reading has shape 830): the other figures must reach left of
// the stick on a tenth of the group's height.
Verdict RuleBook::stick_beside_rule() {
  if (n() < 3) return Verdict::kKeep;
  FigureRecord* tallest = nullptr;
  for (FigureRecord* f : group().figures) {
    if (f == nullptr) return Verdict::kKeep;
    if (tallest == nullptr ||
        f->geometry.bounding_box().height() > tallest->geometry.bounding_box().height()) {
      tallest = f;
    }
  }
  const DynArray<Answer>& readings = tallest->candidates[0].answers();
  if (readings.empty() || answer_shape_id(readings[0]) != 830) return Verdict::kKeep;
  const ProfileRaster* raster = element_profile_raster(group());
  if (raster == nullptr) return Verdict::kKeep;
  const ProfileRaster& own = tallest->glyph_block_a();
  const Box16 box = tallest->geometry.bounding_box();
  std::int32_t differing = 0;
  for (std::int32_t y = box.top; y <= box.bottom; ++y) {
    if (raster->row_min(y) != own.row_min(y)) ++differing;
  }
  if (differing < H() / 10) pen(300);
  return Verdict::kKeep;
}

int apply_symbol_rules(const SymbolRuleArgs& args, std::int32_t& penalty, bool* drop) {
  *drop = false;
  if (args.symbol == nullptr || args.group == nullptr || args.group->geometry == nullptr ||
      args.first_figure == nullptr) {
    return kBadArgument;
  }
  RuleBook book(args, penalty);
  const Verdict verdict = book.judge();
  if (book.status() != kOk) return book.status();
  *drop = verdict == Verdict::kReject;
  return kOk;
}

}  // namespace inkrec

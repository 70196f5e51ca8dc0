// The rule book's working view of one group and one candidate variant,
// shared by the files that hold its rules (symbol_rules*.cc). Not for
// callers: apply_symbol_rules (symbol_rules.h) is the interface.
#pragma once

#include <algorithm>
#include <cstdint>

#include "engine/foundation/point.h"
#include "engine/records/clamped_ramp.h"
#include "engine/records/figure_measures.h"
#include "engine/records/profile_pair.h"
#include "engine/rules/figure_shape_tests.h"
#include "engine/rules/symbol_rule_args.h"

namespace inkrec {

enum class Verdict { kTail, kKeep, kReject };

class RuleBook {
 public:
  RuleBook(const SymbolRuleArgs& args, std::int32_t& penalty);

  // The rules of the variant's code, then the tail unless they ended
  // otherwise. status() tells a failure (the verdict is then kKeep).
  Verdict judge();
  int status() const { return status_; }

  // ---- What the rules read.
  const SymbolRuleArgs& args() const { return a_; }
  const Variant& symbol() const { return *a_.symbol; }
  std::uint16_t code() const { return variant_code(*a_.symbol); }
  std::uint16_t shape() const { return a_.symbol->shape_id; }
  std::uint16_t etalon() const { return a_.symbol->etalon_id; }
  PropertyFlags properties() const { return PropertyFlags(a_.symbol->properties); }
  FigureGroup& group() const { return *a_.group; }
  const GlyphGeometry& geometry() const { return *a_.group->geometry; }
  std::int32_t T() const { return a_.box.top; }
  std::int32_t B() const { return a_.box.bottom; }
  std::int32_t Lx() const { return a_.box.left; }
  std::int32_t Rx() const { return a_.box.right; }
  std::int32_t W() const { return a_.box.width(); }
  std::int32_t H() const { return a_.box.height(); }
  std::int32_t L() const { return a_.size; }
  std::int32_t n() const { return static_cast<std::int32_t>(a_.group->figures.size()); }
  // The group's figure i; null past the count.
  FigureRecord* figure(std::uint32_t i) const {
    return i < a_.group->figures.size() ? a_.group->figures[i] : nullptr;
  }
  std::int32_t s() const { return a_.figure_count; }
  bool E() const { return element_flag(*a_.group) != 0; }
  // The base lines t and b, -1 when unset.
  std::int32_t t() const;
  std::int32_t b() const;
  bool baselines_set() const { return t() >= 0 && b() >= 0; }
  // The run of the first figure.
  PointRecords run() const { return records_of(a_.first_figure->run); }
  PackedPoint first() const { return run().front().point; }
  PackedPoint last() const { return run().back().point; }
  bool has_run() const { return !run().empty(); }
  bool active(std::uint32_t charset) const {
    return std::find(a_.active_charsets.begin(), a_.active_charsets.end(), charset) !=
           a_.active_charsets.end();
  }
  bool hebrew_active() const { return active(26); }
  // The strokes on the group's line, and the figures on it.
  std::int32_t strokes_on_line() const;
  std::int32_t figures_on_line() const;
  // The stroke before / after the figure's (a one-figure group, with the
  // neighbour flag, on the same line); null when there is none.
  StrokeRecord* preceding_stroke() const { return neighbour_stroke(-1); }
  StrokeRecord* following_stroke() const { return neighbour_stroke(1); }
  // The ink crossings of the row y (the figures' extent count), and the
  // least x of the ink on it (32767 for none).
  std::int32_t spans(std::int32_t y) const;
  std::int32_t least_ink_x(std::int32_t y) const;
  // Recorded extreme point k (P1..P8 as k = 1..8) of the group's geometry;
  // (0, 0) when it is missing.
  PackedPoint extreme(int k) const;
  // For shapes 66 and 68 ("b", "в"): whether the ink crosses the row 5 %
  // below the geometry's top and the row 25 % above its bottom twice; true
  // for every other shape.
  bool bowl_rows_crossed() const;
  // Whether a neighbouring stroke's box holds the group the way a letter
  // holds a mark over it: the group ends right of the box, its bottom lies
  // at most `num/den` of its height below the box's top, its left less
  // than a third of the box's width right of the box's left, and the
  // box's top at or above the line's second fit there.
  bool under_neighbour(const StrokeRecord& stroke, const Box16& box, std::int32_t num,
                       std::int32_t den) const;
  // The overlap of the group's x range, moved along the line's slant to
  // the stroke's height, with the stroke's box (negative: apart).
  std::int32_t slanted_overlap(const StrokeRecord& stroke, const Box16& box) const;
  // The ink crossing the row y / the column x: the crossing count, with
  // the least and greatest x (y) of the crossings in *range.
  std::int32_t ink_across_row(std::int32_t y, CrossingRange* range) const;
  std::int32_t ink_across_column(std::int32_t x, CrossingRange* range) const;
  // The y of the line's second fit at x; 32767 without a line.
  std::int32_t second_fit_at(std::int32_t x) const;
  // The box of a stroke record's geometry.
  static Box16 box_of(const StrokeRecord& stroke) { return stroke.geometry.bounding_box(); }
  std::int32_t glyph_feature(int which, std::int32_t size, std::int32_t closeness) const;
  // The group's ink as a view for the profile comparison.
  FigureView group_view() const;

  // ---- What the rules do.
  void pen(std::int32_t v) { penalty_ -= v; }
  void pen_ramp(const ClampedRamp& ramp, std::int32_t x) { penalise(penalty_, ramp.value_at(x)); }
  void bonus_ramp(const ClampedRamp& ramp, std::int32_t x) { reward(penalty_, ramp.value_at(x)); }
  void cap(std::int32_t v) { lower_to(penalty_, v); }
  // Rejects unless the figure count is k and E is set.
  bool needs(std::int32_t k) const { return s() == k && E(); }
  // The partner of the figure nearest the reference angle in the pair
  // table the member count names (0 without one); false with the status
  // set when the query fails.
  bool partner_angle_near_reference(std::int32_t* angle, bool* found = nullptr);
  // Pen 2000 when the figure's best partner in the figure-pair table has an
  // entry count below 3; false with the status set when the query fails.
  bool best_partner_count(std::int32_t* count, bool* found);
  Verdict fail(int status) {
    status_ = status;
    return Verdict::kKeep;
  }

  // ---- The rules.
  Verdict rules_below_256();
  Verdict rules_of_other_scripts();
  Verdict l_rule();
  // Step 3 of the "l" rule, also read by "e": a short piece hanging
  // beside a tall stem.
  void l_with_a_second_figure();
  Verdict best_partner_rule();
  Verdict final_kaf_rule();
  Verdict weight_10_rule();
  Verdict tail();

 private:
  StrokeRecord* neighbour_stroke(int step) const;
  Verdict shape_rules();
  Verdict narrow_top_rule();
  Verdict minima_pairs_rule();
  Verdict rising_top_rule();
  Verdict stick_beside_rule();

  const SymbolRuleArgs& a_;
  std::int32_t& penalty_;
  int status_ = 0;
};

// 0..90: 360 - a above 180, then 180 - a above 90.
std::int32_t fold_to_quarter(std::int32_t angle);

// The rows two profiles share, in percent of the first view's height and
// of the second's (the two counts of measure_profile_pair; negative when
// the views lie apart vertically).
struct SharedRows {
  std::int32_t first = 0;
  std::int32_t second = 0;
};
SharedRows shared_rows(const FigureView& a, const FigureView& b);

// The rows the raster's column x spans from its least to its greatest y;
// 0 for an empty column.
std::int32_t column_rows(const ProfileRaster& raster, std::int32_t x);

}  // namespace inkrec

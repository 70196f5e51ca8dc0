#include "engine/segmentation/line_grouping.h"

#include <algorithm>
#include <cstdlib>

#include "engine/foundation/status.h"
#include "engine/foundation/values.h"
#include "engine/records/letter_fields.h"
#include "engine/records/line_extrema.h"
#include "engine/segmentation/line_merging.h"
#include "engine/segmentation/line_set.h"
#include "engine/segmentation/line_statistics.h"
#include "engine/segmentation/link_scores.h"
#include "engine/segmentation/pair_measures.h"
#include "engine/segmentation/stroke_intake.h"

namespace inkrec {
namespace {

constexpr int kStrongLink = 2000;

int find_stroke_extrema(RecognitionContext& context, int threshold) {
  for (StrokeRecord& stroke : context.strokes()) {
    ExtremumList* list = context.stroke_extrema().push_default();
    if (list == nullptr) return kOutOfMemory;
    if (const int status = find_vertical_extrema(*list, stroke.run.points, stroke.run.count,
                                                 threshold);
        status != kOk) {
      return status;
    }
  }
  return kOk;
}

// The letter heights of the line extrema into one record, with the
// statistics' heights as the defaults of ink without any.
int measure_letter_heights(RecognitionContext& context, int threshold, LineMetrics& out) {
  DynArray<StrokeRecord*> strokes;
  for (StrokeRecord& stroke : context.strokes()) {
    if (strokes.push_back(&stroke) != kOk) return kOutOfMemory;
  }
  LineExtremaStatistics line;
  line.default_small_height = context.statistics().small_height;
  line.default_large_height = context.statistics().tall_height;
  const bool whole_line = context.kernel().params().mode == 2;
  if (const int status = analyse_line_extrema(line, threshold, strokes.span(), whole_line);
      status != kOk) {
    return status;
  }
  out.letter_height = line.small_height;
  out.upper_height = line.large_height;
  return kOk;
}

int measure_stroke_pairs(RecognitionContext& context, bool fresh) {
  const std::uint32_t n = context.strokes().size();
  for (std::uint32_t i = 1; i < n; ++i) {
    for (std::uint32_t j = 0; j < i; ++j) {
      if (const int status = measure_stroke_pair(context, j, i, fresh); status != kOk) {
        return status;
      }
    }
  }
  return kOk;
}

// Every pair of strokes on one line names it; the others name none.
void mark_shared_lines(RecognitionContext& context) {
  DynArray<StrokeRecord>& strokes = context.strokes();
  for (std::uint32_t i = 1; i < strokes.size(); ++i) {
    for (std::uint32_t j = 0; j < i; ++j) {
      PairMetrics* entry = context.pair_table().at(i, j);
      if (entry == nullptr) continue;
      const std::uint16_t k = strokes[i].line_index;
      entry->kind = k != kNoKey16 && k == strokes[j].line_index ? static_cast<std::int16_t>(k) : -1;
    }
  }
}

}  // namespace

int analyse_line_set(RecognitionContext& context, bool fresh) {
  reset_line_pass(context, fresh);
  for (StrokeRecord& stroke : context.strokes()) {
    if (const int status = figure_prepare_glyph(stroke, false); status != kOk) return status;
  }
  if (const int status = measure_height_statistics(context); status != kOk) return status;
  return build_text_lines(context, fresh);
}

int build_text_lines(RecognitionContext& context, bool fresh) {
  const int tolerance = std::max(context.statistics().small_height / 5, 11);
  int status = find_stroke_extrema(context, tolerance);
  if (status == kOk) status = measure_letter_heights(context, tolerance, context.settings());
  if (status == kOk) status = measure_letter_heights(context, tolerance, context.statistics());
  if (status == kOk) status = measure_stroke_pairs(context, fresh);
  if (status == kOk) status = compute_link_scores(context);
  if (status != kOk) return status;
  context.settings().box = context.statistics().box;
  status = group_figures_by_distance(context);
  if (status == kOk) mark_shared_lines(context);
  return status;
}

namespace {

// The best partner of a stroke among some kind of strokes.
struct Partner {
  int stroke = -1;
  int score = -1;
  bool found() const { return stroke >= 0; }
  void offer(int s, int value) {
    if (value > score || !found()) {
      stroke = s;
      score = value;
    }
  }
};

// The first assignment of strokes to lines, in writing order.
class StrokeGrouping {
 public:
  explicit StrokeGrouping(LineSet& lines)
      : lines_(lines),
        h_(lines.height()),
        threshold_(lines.writing_order() ? 1200 : 960),
        slant_(lines.context().line_slant_angle()) {}

  int run() {
    const int n = lines_.stroke_count();
    if (const int status = lines_.open_line(0); status != kOk) return status;
    bool deferred = false;
    for (int pass = 0; pass < 2 && (pass == 0 || deferred); ++pass) {
      first_pass_ = pass == 0;
      p_ = 0;
      q_ = 0;
      fresh_ = false;
      deferred = false;
      deferred_seen_ = false;
      for (int i = 1; i < n; ++i) {
        if (lines_.line_of(i) >= 0) {
          p_ = i;
          continue;
        }
        if (const int status = place(i); status != kOk) return status;
        deferred = deferred || deferred_seen_;
      }
    }
    return kOk;
  }

 private:
  struct Geometry {
    int score;
    int theta;
    int dx;
    int dy;
  };

  Geometry of_pair(int a, int b) {
    const PairMetrics* entry = lines_.pair(a, b);
    const PairGap gap = pair_gap(*entry, lines_.right_to_left());
    return {entry->link_cost, entry->angle, gap.dx, gap.dy};
  }

  int place(int i) {
    if (lines_.pair(p_, i) == nullptr) return kBadArgument;
    const Geometry e = of_pair(p_, i);
    const bool defer_to_q = !deferred_seen_ && fresh_ && lines_.pair(q_, i) != nullptr &&
                            lines_.score(q_, i) >= e.score;
    if (e.score > threshold_ && !defer_to_q && lines_.line_of(p_) >= 0) return follow(i, e);
    return place_by_partners(i, e);
  }

  // Step a: stroke i follows the reference stroke's line (or the last
  // line, when its last stroke links i better).
  int follow(int i, const Geometry& e) {
    int target = lines_.line_of(p_);
    const int last_line = lines_.line_count() - 1;
    if (target != last_line && !deferred_seen_) {
      const int last = lines_.last_stroke(last_line);
      const int last_score = lines_.score(last, i);
      if (last_score > threshold_ && last_score > e.score) target = last_line;
    }
    if (const int status = lines_.add_stroke_to_line(target, i, fresh_); status != kOk) {
      return status;
    }
    fresh_ = false;
    if (lines_.stroke_box(i).height() - 1 > h_ / 10 || p_ < i - 1) p_ = i;
    return kOk;
  }

  int place_by_partners(int i, const Geometry& e) {
    Partner tall_assigned;
    Partner tall_any;
    Partner assigned;
    Partner any;
    for (int j = 0; j < lines_.stroke_count(); ++j) {
      if (j == i) continue;
      const int score = lines_.score(i, j);
      if (score < 0) return kBadArgument;
      const bool tall = lines_.stroke_box(j).height() > 2 * h_;
      const bool has_line = lines_.line_of(j) >= 0;
      (tall ? tall_any : any).offer(j, score);
      if (has_line) (tall ? tall_assigned : assigned).offer(j, score);
    }
    const Partner best_assigned = choose_assigned(assigned, tall_assigned);
    const Partner best_any = choose_any(any, tall_any);
    if (!best_any.found()) return kFigureDistance;
    Partner target = best_any;
    if (lines_.writing_order() && best_assigned.found() && best_assigned.score >= 2001 &&
        lines_.stroke_box(i).left > lines_.stroke_box(best_assigned.stroke).right &&
        i - best_assigned.stroke > 0 && i - best_assigned.stroke < 5) {
      target = best_assigned;
    }
    if (best_any.score > threshold_ && !long_stroke_below(i, target.stroke)) {
      return join_partner(i, target.stroke, best_any.stroke, e);
    }
    return join_nearby(i, e);
  }

  Partner choose_assigned(const Partner& ordinary, const Partner& tall) const {
    if (ordinary.found() &&
        (!tall.found() || ordinary.score >= tall.score ||
         (tall.score < 2001 && ordinary.score >= threshold_))) {
      return ordinary;
    }
    return tall;
  }

  Partner choose_any(const Partner& ordinary, const Partner& tall) const {
    if (!ordinary.found()) return tall;
    if (tall.found() && tall.score > ordinary.score &&
        (tall.score > kStrongLink || ordinary.score < threshold_)) {
      return tall;
    }
    return ordinary;
  }

  // A long stroke written below and behind its partner's right edge (a
  // new line begun under the last one) is not joined to the partner.
  bool long_stroke_below(int i, int target) {
    if (!lines_.writing_order()) return false;
    const GlyphGeometry& g = lines_.stroke(i).geometry;
    const bool is_long = turn_count_1(g) >= 6 && turn_count_2(g) >= 6 &&
                         path_length(g) >= 7u * static_cast<unsigned>(std::max(h_, 0));
    const Box16 b = lines_.stroke_box(i);
    const Box16 t = lines_.stroke_box(target);
    return is_long && b.right < t.right && b.bottom > t.bottom && b.top >= t.top;
  }

  // Step d: stroke i joins its partner's line, or the line of a stroke its
  // partner links strongly, or waits for them, or opens a line.
  int join_partner(int i, int target, int partner, const Geometry& e) {
    int line = lines_.line_of(target);
    if (line < 0) line = line_of_strong_link(i, partner);
    if (line >= 0) {
      if (const int status = lines_.add_stroke_to_line(line, i, fresh_); status != kOk) {
        return status;
      }
      fresh_ = false;
      p_ = i;
      return kOk;
    }
    if (should_wait(i, partner, e)) {
      deferred_seen_ = true;
      fresh_ = true;
      q_ = p_;
      return kOk;
    }
    q_ = p_;
    fresh_ = true;
    p_ = i;
    return lines_.open_line(i);
  }

  int line_of_strong_link(int i, int partner) {
    for (int j = 0; j < lines_.stroke_count(); ++j) {
      if (j == i || j == partner || lines_.score(partner, j) < kStrongLink) continue;
      if (lines_.line_of(j) >= 0) return lines_.line_of(j);
    }
    return -1;
  }

  bool should_wait(int i, int partner, const Geometry& e) {
    if (!first_pass_ || i >= lines_.stroke_count() - 1) return false;
    if (lines_.score(i - 1, i + 1) <= threshold_ || e.dx <= -h_) return false;
    const int off_slant = std::abs(e.theta - slant_);
    const bool near = e.dy < 0 || (4 * e.dx > -h_ && off_slant < 11) ||
                      (off_slant < 31 && e.dx < h_) ||
                      (e.dx >= 1 && e.dx < h_ && 3 * e.dy < 2 * h_);
    if (!near) return false;
    for (int j = 0; j < lines_.stroke_count(); ++j) {
      if (j != i && j != partner && lines_.line_of(j) < 0 &&
          lines_.score(partner, j) >= kStrongLink) {
        return true;
      }
    }
    return false;
  }

  // Step e: a stroke no line links well joins the reference stroke's line
  // when it lies close below it along the slant, else opens a line.
  int join_nearby(int i, const Geometry& e) {
    const int theta = e.theta > 180 ? e.theta - 180 : e.theta;
    const bool close = 70 * std::abs(e.dx) <= 36 * h_ && std::abs(theta - slant_) <= 31 &&
                       36 * lines_.stroke_box(i).height() <= 38 * h_ && e.dy < 1;
    fresh_ = false;
    if (close && lines_.line_of(p_) >= 0) return lines_.add_stroke_to_line(lines_.line_of(p_), i, false);
    p_ = i;
    return lines_.open_line(i);
  }

  LineSet& lines_;
  int h_;
  int threshold_;
  int slant_;
  bool first_pass_ = true;
  int p_ = 0;
  int q_ = 0;
  bool fresh_ = false;
  bool deferred_seen_ = false;
};

int one_line_for_all(LineSet& lines) {
  if (lines.stroke_count() == 0) return lines.fit();
  if (const int status = lines.open_line(0); status != kOk) return status;
  for (int s = 1; s < lines.stroke_count(); ++s) {
    if (const int status = lines.add_stroke_to_line(0, s, false); status != kOk) return status;
  }
  return lines.fit();
}

}  // namespace

int group_figures_by_distance(RecognitionContext& context) {
  LineSet lines(context);
  const int mode = context.kernel().params().mode;
  if (lines.stroke_count() == 0 || 10 * context.settings().box.height() <= 15 * lines.height() ||
      mode == 1 || mode == 2) {
    return one_line_for_all(lines);
  }
  if (const int status = StrokeGrouping(lines).run(); status != kOk) return status;
  if (const int status = lines.fit(); status != kOk) return status;
  if (const int status = line_mean_metric(context); status != kOk) return status;
  return run_merging_passes(lines);
}

}  // namespace inkrec

// The pass "create": every stroke walked once, point by point, and cut into
// alternating bodies and links. A link is a run where the pen moves right
// and up at least as steeply as the link threshold (the connecting
// up-stroke of cursive writing); everything else is body.

#include <cmath>
#include <cstdlib>
#include <optional>

#include "engine/analysis/bodies_and_links.h"
#include "engine/analysis/link_passes.h"
#include "engine/analysis/piece_measures.h"
#include "engine/foundation/polylines.h"
#include "engine/foundation/status.h"
#include "engine/records/recognition_context.h"
#include "engine/records/run_kernel.h"

namespace inkrec {

namespace {

constexpr std::uint32_t kRussianCharset = 4;

// What the pass reads once: the heights, the link threshold and the letter
// flags of the active charsets.
struct CreateSettings {
  explicit CreateSettings(RecognitionContext& context)
      : mean_height(context.mean_height()),
        letter_height(context.letter_height()),
        threshold(link_threshold(context.slant_angle())),
        has_l_or_i(charsets_contain_any(context.kernel(), u"li")),
        has_t(charsets_contain_any(context.kernel(), u"t")),
        has_ftlh(charsets_contain_any(context.kernel(), u"ftlh")) {
    for (const std::uint32_t id : context.kernel().active_charsets()) {
      if (id == kRussianCharset) russian = true;
    }
  }

  // The slant (90 when below 1) plus 9 for slanted writing, else 99.
  static int link_threshold(int slant) {
    const int angle = slant < 1 ? 90 : slant;
    return angle < 90 ? angle + 9 : 99;
  }

  int mean_height;
  int letter_height;
  int threshold;
  bool has_l_or_i;
  bool has_t;
  bool has_ftlh;
  bool russian = false;
};

bool strictly_between(int v, int low, int high) { return low < v && v < high; }

bool is_small_stroke(const StrokeRecord& figure, int h_m, bool has_l_or_i) {
  const Box16 box = box_of(figure);
  const int w = box.width();
  const int h = box.height();
  const int middle = (box.left + box.right) / 2;
  if (w < 11 * h_m / 20 && (!has_l_or_i || h < h_m)) return true;
  if (h < h_m / 6) return true;
  return w < 13 * h_m / 20 &&
         (!has_l_or_i || start_of(figure).x > middle || end_of(figure).x < middle);
}

bool lies_above_line(RecognitionContext& context, const StrokeRecord& figure) {
  TextLine* line = context.text_lines().item_checked(figure.line_index);
  if (line == nullptr) return false;
  return box_of(figure).bottom < line->fits[0].y_at(figure.geometry.centroid.x);
}

bool is_flat_dash(const StrokeRecord& stroke, const CreateSettings& settings) {
  if (!settings.russian) return false;
  const int n = point_count(stroke);
  const double h_m = settings.mean_height;
  if (n > 6) {
    const PointSpan inner = PointSpan::of_records(stroke.run.points + 2, n - 4);
    const Box16 box = points_bounding_box(inner);
    const int dx = inner.back().x - inner.front().x;
    return std::abs(dx - box.width()) < 0.25 * h_m && box.height() < 0.3 * h_m;
  }
  const Box16 box = box_of(stroke);
  const int dx = end_of(stroke).x - start_of(stroke).x;
  return std::abs(dx - box.width()) < 0.4 * h_m && box.height() < 0.5 * h_m;
}

// Makes sure the pair table holds the record of strokes (i, i - 1); its
// contents are the defaults until the pair passes measure it.
int ensure_stroke_pair(RecognitionContext& context, std::uint32_t i) {
  PairTable& table = context.pair_table();
  const int index = pair_index(table, i, std::int64_t{i} - 1);
  if (index < 0) return kBadArgument;
  while (static_cast<std::uint32_t>(index) >= table.entries().size()) {
    if (table.entries().push_default() == nullptr) return kOutOfMemory;
  }
  return kOk;
}

// Appends a piece of stroke i to the bodies or the links.
int append_piece(RecognitionContext& context, bool body, std::uint32_t i, int piece, int first,
                 int count, std::int32_t kind) {
  FigureRecord* slot = append_new_figure(body ? context.bodies() : context.links());
  if (slot == nullptr) return kOutOfMemory;
  return make_piece(context.strokes()[i], static_cast<std::uint16_t>(i), piece, first, count, kind,
                    slot);
}

// The walk along one stroke that is cut: each point wants body or link,
// and the run closes where the wish changes.
class StrokeWalk {
 public:
  StrokeWalk(RecognitionContext& context, const CreateSettings& settings, std::uint32_t i,
             bool continuation)
      : context_(context),
        settings_(settings),
        i_(i),
        stroke_(context.strokes()[i]),
        box_(box_of(stroke_)),
        n_(point_count(stroke_)),
        continuation_(continuation),
        least_y_(start_of(stroke_).y),
        greatest_y_(start_of(stroke_).y) {}

  int run() {
    for (int j = 1; j < n_; ++j) {
      if (const int status = step(j); status != kOk) return status;
    }
    return in_link_ ? absorb_tail() : close_last_body();
  }

 private:
  const PointRecord& record(int j) const { return record_at(stroke_, j); }
  PackedPoint point(int j) const { return point_at(stroke_, j); }

  int step(int j) {
    const PackedPoint p = point(j);
    const PackedPoint q = point(j - 1);
    lower_to(least_y_, p.y);
    raise_to(greatest_y_, p.y);
    if (p == q) {
      ++run_count_;
      return kOk;
    }
    const int d1 = reversed_direction(record(j - 1).trajectory.step_direction);
    const int d2 = j + 1 < n_ ? reversed_direction(record(j).trajectory.step_direction) : 0;
    const int near = settings_.mean_height / 20;
    if (std::abs(p.x - q.x) <= near && std::abs(p.y - q.y) <= near && std::abs(d1 - d2) < 135) {
      ++run_count_;
      return kOk;
    }
    const int threshold = point_threshold(j);
    bool wants_link = false;
    if (const int status = wanted_state(j, d1, d2, threshold, &wants_link); status != kOk) {
      return status;
    }
    previous_wanted_link_ = wants_link;
    if (wants_link != in_link_) {
      const int kind = has_first_partner(record(j - 1)) ? 2 : 0;
      if (const int status = close_run(kind); status != kOk) return status;
      run_first_ = j - 1;
      run_count_ = 1;
      in_link_ = wants_link;
    }
    ++run_count_;
    return kOk;
  }

  // The link threshold, lowered to 95 before a tall rise of a letter with
  // an ascender or at a second crossing.
  int point_threshold(int j) {
    int threshold = settings_.threshold;
    const PackedPoint p = point(j);
    if (!context_.bodies().empty() && !in_link_ && j + 3 < n_ && settings_.has_ftlh &&
        p.x > start_of(stroke_).x) {
      if (!greatest_y_since_cut_ || p.y > *greatest_y_since_cut_) greatest_y_since_cut_ = p.y;
      if (!least_x_since_cut_ || p.x < *least_x_since_cut_) least_x_since_cut_ = p.x;
      if (point(j + 2).x - *least_x_since_cut_ > settings_.letter_height / 3) {
        for (int k = j + 1; k <= j + 3; ++k) {
          const int y = point(k).y;
          if (y<p.y&& * greatest_y_since_cut_ - y> 4 * settings_.letter_height / 3) {
            threshold = 95;
          }
        }
      }
    }
    if (has_second_partner(record(j - 1))) threshold = 95;
    return threshold;
  }

  int wanted_state(int j, int d1, int d2, int threshold, bool* wants_link) {
    const PackedPoint p = point(j);
    const PackedPoint q = point(j - 1);
    const bool right_and_up = p.x > q.x && p.y <= q.y;
    const bool d1_out = !(threshold <= d1 && d1 <= 180);
    const bool d2_out = !(threshold <= d2 && d2 <= 180);
    if (!right_and_up || (d1_out && (d2_out || !previous_wanted_link_))) {
      lock_ = false;
      return kOk;
    }
    if (lock_) return kOk;
    if (has_first_partner(record(j - 1))) {
      lock_ = true;
      return j >= 2 && !in_link_ ? cut_at_crossing(j) : kOk;
    }
    if (n_ - j > 3 || in_link_) {
      if (j > 3 && q.x - box_.left >= settings_.mean_height / 5) {
        *wants_link = true;
      } else if (greatest_y_ - least_y_ < settings_.mean_height / 5 && !continuation_) {
        lock_ = true;
      } else {
        *wants_link = true;
      }
      return kOk;
    }
    *wants_link = ends_in_final_hook(j);
    if (!*wants_link) lock_ = true;
    return kOk;
  }

  // The body run so far, then a two-point link of kind 2 over the crossing
  // step; a new body run starts at point j.
  int cut_at_crossing(int j) {
    int status = append_piece(context_, true, i_, next_piece_, run_first_, run_count_, 0);
    if (status == kOk) status = append_piece(context_, false, i_, next_piece_ + 1, j - 1, 2, 2);
    if (status != kOk) return status;
    next_piece_ += 2;
    run_first_ = j;
    run_count_ = 0;
    greatest_y_since_cut_.reset();
    least_x_since_cut_.reset();
    return kOk;
  }

  // A rise near the end of the stroke is a link only when the stroke goes
  // on to another letter: it is tall enough, ends low or turns down, and
  // reaches the stroke's right edge.
  bool ends_in_final_hook(int j) const {
    const PackedPoint p = point(j);
    const int h_m = settings_.mean_height;
    bool down = false;
    if (box_.height() > h_m / 2 && p.y > box_.top + 2 * (box_.bottom - box_.top) / 3) {
      const StrokeRecord* next = context_.strokes().item_checked(i_ + 1);
      if (next == nullptr || next->line_index != stroke_.line_index) {
        down = true;
      } else {
        const int gap = box_of(*next).left - box_.right;
        down = gap < 0 || gap > 2 * h_m;
      }
    }
    if (n_ > 2 && point(n_ - 1).y - point(n_ - 2).y > h_m / 2) down = true;
    bool reaches_right = false;
    for (int k = j + 1; k < n_; ++k) {
      if (point(k).y > point(k - 1).y) down = true;
      if (point(k).x == box_.right) reaches_right = true;
    }
    return down && reaches_right;
  }

  int close_run(int kind) {
    const int status =
        append_piece(context_, !in_link_, i_, next_piece_, run_first_, run_count_, kind);
    ++next_piece_;
    greatest_y_since_cut_.reset();
    least_x_since_cut_.reset();
    return status;
  }

  int close_last_body() {
    if (run_count_ < 1) return kOk;
    const int status = append_piece(context_, true, i_, next_piece_, run_first_, run_count_, 0);
    if (status == kOk && next_piece_ == 0) context_.bodies().back().whole_stroke = 1;
    return status;
  }

  // A rising tail is no link: the last body takes it, or the part of it
  // that does not pass the stroke's rightmost ink when it is the cut-off
  // tail of a last letter.
  int absorb_tail() {
    if (run_count_ < 1) return kOk;
    DynArray<FigureRecord>& bodies = context_.bodies();
    if (bodies.empty() || bodies.back().stroke_index != i_) return kBadArgument;
    FigureRecord& last_body = bodies.back();
    if (last_body.piece == 0) last_body.whole_stroke = 1;
    int grow = run_count_ - 1;
    if (is_cut_tail(last_body)) {
      int rightmost = kUnsetGreatest;
      for (int k = 0; k < run_first_; ++k) raise_to(rightmost, point(k).x);
      int m = 0;
      while (m < run_count_ && point(run_first_ + m).x < rightmost) ++m;
      grow = m >= 2 ? m - 1 : 0;
    }
    last_body.run.count += grow;
    return prepare_piece(last_body);
  }

  bool is_cut_tail(const FigureRecord& last_body) const {
    const int h_m = settings_.mean_height;
    const int h = box_.height();
    const PackedPoint first = point(run_first_);
    const PackedPoint last = point(n_ - 1);
    const int rise = first.y - last.y;
    if (h <= h_m / 2 || box_of(last_body).height() <= h_m / 2) return false;
    if (first.y <= box_.top + 3 * h / 4 || last.y >= box_.top + 2 * h / 3) return false;
    if (rise <= 0 || 3 * rise >= 2 * (last.x - first.x)) return false;
    if (later_stroke_starts_near(2 * h_m)) return false;
    for (int k = run_first_; k < n_; ++k) {
      if (has_partner(record(k))) return false;
    }
    return !(last_body.first_point == 0 && never_rises(last_body));
  }

  static bool never_rises(const FigureRecord& body) {
    for (int k = 1; k < point_count(body); ++k) {
      if (point_at(body, k).y < point_at(body, k - 1).y) return false;
    }
    return true;
  }

  bool later_stroke_starts_near(int distance) const {
    const DynArray<StrokeRecord>& strokes = context_.strokes();
    for (std::uint32_t k = i_ + 1; k < strokes.size(); ++k) {
      if (strokes[k].line_index != stroke_.line_index) continue;
      const int gap = box_of(strokes[k]).left - box_.right;
      if (gap >= 0 && gap <= distance) return true;
    }
    return false;
  }

  RecognitionContext& context_;
  const CreateSettings& settings_;
  const std::uint32_t i_;
  const StrokeRecord& stroke_;
  const Box16 box_;
  const int n_;
  const bool continuation_;
  bool in_link_ = false;
  int run_first_ = 0;
  int run_count_ = 1;
  int next_piece_ = 0;
  int least_y_;
  int greatest_y_;
  bool lock_ = false;
  bool previous_wanted_link_ = true;
  std::optional<int> greatest_y_since_cut_;
  std::optional<int> least_x_since_cut_;
};

// The long stroke above its line (a bar across several letters) is cut at
// its centroid into two bodies joined by a one-point link of kind 1.
int cut_long_stroke(RecognitionContext& context, std::uint32_t i) {
  const StrokeRecord& stroke = context.strokes()[i];
  const int n = point_count(stroke);
  int k = 0;
  while (k < n && point_at(stroke, k).x < stroke.geometry.centroid.x) ++k;
  if (k == n) return append_stroke_body(context.bodies(), &stroke, static_cast<std::uint16_t>(i));
  int status = append_piece(context, true, i, 0, 0, k + 1, 0);
  if (status == kOk) status = append_piece(context, false, i, 1, k, 1, 1);
  if (status == kOk) status = append_piece(context, true, i, 2, k, n - k, 0);
  return status;
}

int create_stroke(RecognitionContext& context, const CreateSettings& settings, std::uint32_t i) {
  DynArray<StrokeRecord>& strokes = context.strokes();
  const StrokeRecord& stroke = strokes[i];
  const auto index = static_cast<std::uint16_t>(i);
  TextLine* line = context.text_lines().item_checked(stroke.line_index);
  if (line == nullptr) return kBadArgument;
  // Every stroke after the first gets its pair record with the one before,
  // whichever way it is cut: the later passes read the pairs of all
  // neighbouring strokes.
  if (i > 0) {
    if (const int status = ensure_stroke_pair(context, i); status != kOk) return status;
  }
  if (point_count(stroke) < 1) return append_stroke_body(context.bodies(), &stroke, index);

  const Box16 box = box_of(stroke);
  const StrokeRecord* previous = i > 0 ? &strokes[i - 1] : nullptr;
  const Box16 previous_box = previous != nullptr ? box_of(*previous) : Box16();
  const bool previous_edge_inside =
      previous != nullptr && (strictly_between(previous_box.left, box.left, box.right) ||
                              strictly_between(previous_box.right, box.left, box.right));
  const bool above_line = lies_above_line(context, stroke);
  const int h_m = settings.mean_height;
  if ((!previous_edge_inside &&
       (is_small_stroke(stroke, h_m, settings.has_l_or_i) || above_line)) ||
      (line->strokes.size() < 4 && line->box.height() > line->box.width() &&
       box.height() < line->box.height() / 3)) {
    return append_stroke_body(context.bodies(), &stroke, index);
  }
  if (settings.has_t && above_line && box.width() > 3 * h_m) return cut_long_stroke(context, i);

  const bool continuation =
      previous != nullptr && previous_box.right > box.left && previous_box.bottom >= box.top;
  const PackedPoint first = start_of(stroke);
  if ((first.x - end_of(stroke).x > 0.4 * h_m && box.right - first.x < h_m / 3) ||
      is_flat_dash(stroke, settings)) {
    return append_stroke_body(context.bodies(), &stroke, index);
  }
  return StrokeWalk(context, settings, i, continuation).run();
}

}  // namespace

int create_bodies_and_links(RecognitionContext& context) {
  const CreateSettings settings(context);
  for (std::uint32_t i = 0; i < context.strokes().size(); ++i) {
    if (const int status = create_stroke(context, settings, i); status != kOk) return status;
  }
  return kOk;
}

}  // namespace inkrec

// "remove_undoubted_links": the broad judgement of each link against its
// bodies, its stroke, the strokes before and after it and its text line,
// run three times among the splitter's passes. Rules are tried in order;
// the first that decides removes the link or keeps it. Two rules may step
// back to the link before after a removal, and one hands the end of a link
// to the body after it without deciding.

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "engine/analysis/link_passes.h"
#include "engine/analysis/piece_measures.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/records/clamped_ramp.h"
#include "engine/records/recognition_context.h"
#include "engine/records/request_switches.h"
#include "engine/records/run_kernel.h"

namespace inkrec {

namespace {

enum class Decision { kKeep, kRemove, kRemoveAndStepBack };

int count_points(const StrokeRecord& figure, bool (*has)(const PointRecord&)) {
  int count = 0;
  for (int j = 0; j < point_count(figure); ++j) count += has(record_at(figure, j)) ? 1 : 0;
  return count;
}

// Whether every inner point of the figure lies above the chord from its
// first to its last point.
bool bows_above_chord(const StrokeRecord& figure) {
  const PackedPoint a = start_of(figure);
  const PackedPoint b = end_of(figure);
  const ClampedRamp chord(a.x, a.y, false, b.x, b.y, false);
  for (int k = 1; k < point_count(figure) - 1; ++k) {
    if (point_at(figure, k).y >= chord.value_at(point_at(figure, k).x)) return false;
  }
  return true;
}

int octagonal_size(const Box16& box) {
  return octagonal_length(box.right - box.left, box.bottom - box.top);
}

struct LetterFlags {
  explicit LetterFlags(const RunKernel& kernel)
      : m_l_ya(charsets_contain_any(kernel, u"\u043C\u043B\u044F")),
        i_j_d(charsets_contain_any(kernel, u"ijd")) {}

  bool m_l_ya;  // "м", "л" or "я"
  bool i_j_d;
};

// The examination of link i.
class UndoubtedExamination {
 public:
  UndoubtedExamination(RecognitionContext& context, const LetterFlags& flags, std::uint32_t i)
      : context_(context), flags_(flags), i_(i), h_(context.letter_height()) {}

  int run(Decision* decision) {
    *decision = Decision::kKeep;
    if (const int status = gather(); status != kOk) return status;
    std::optional<Decision> decided = by_tall_bodies();
    if (!decided) decided = by_profile_shapes();
    if (!decided) decided = by_stroke_start();
    if (!decided) {
      const int status = by_remaining_rules(&decided);
      if (status != kOk) return status;
    }
    if (decided) *decision = *decided;
    return kOk;
  }

 private:
  int gather() {
    if (link_neighbours(context_, i_, &n_) != kOk) return kBadArgument;
    s_ = n_.link->stroke_index;
    p_ = n_.link->piece;
    DynArray<StrokeRecord>& strokes = context_.strokes();
    stroke_ = strokes.item_checked(s_);
    line_ = context_.text_lines().item_checked(n_.link->line_index);
    if (stroke_ == nullptr || line_ == nullptr) return kBadArgument;
    if (s_ > 0) {
      previous_ = &strokes[s_ - 1];
      pair_ = context_.pair_table().at(s_, s_ - 1);
      if (pair_ == nullptr) return kBadArgument;
      previous_box_ = box_of(*previous_);
    }
    next_stroke_ = strokes.item_checked(s_ + 1);
    l_ = box_of(*n_.link);
    b1_ = box_of(*n_.before);
    b2_ = box_of(*n_.after);
    stroke_box_ = box_of(*stroke_);
    back_ = link_at(context_, s_, p_ - 2);
    on_ = link_at(context_, s_, p_ + 2);
    next_first_ = body_at(context_, s_ + 1, 0);
    c1_ = point_count(*n_.before);
    c2_ = point_count(*n_.after);
    cl_ = point_count(*n_.link);
    return kOk;
  }

  int pair_value() const { return pair_->pair_value(); }

  // ---- Tall bodies side by side.
  std::optional<Decision> by_tall_bodies() {
    if (c1_ < 2 || c2_ < 2) return std::nullopt;
    if (tall_bodies()) {
      if (back_ != nullptr && l_.left - box_of(*back_).right > 7 * h_ / 10) return Decision::kKeep;
      return Decision::kRemove;
    }
    const int h1 = b1_.height();
    const int h2 = b2_.height();
    if (cl_ >= 2 && h1 > 2 * h_ / 3 && h2 > 2 * h_ / 3 && !(h1 >= 4 * h2 / 3 && h1 > h_) &&
        b2_.right <= b1_.right) {
      const int start = number_at(*n_.link, 0);
      for (int j = 0; j < c2_; ++j) {
        const PointRecord& p = record_at(*n_.after, j);
        if (has_second_partner(p) && p.trajectory.second_partner < start) return Decision::kRemove;
      }
    }
    return std::nullopt;
  }

  bool tall_bodies() const {
    if (b1_.height() / b1_.width() < 3 || c2_ < 11) return false;
    const int crossings1 = count_points(*n_.before, has_first_partner);
    const int crossings2 = count_points(*n_.after, has_second_partner);
    if (crossings1 > 1 || crossings2 > 1 || (crossings1 == 0 && crossings2 > 0)) return false;
    const PackedPoint end2 = end_of(*n_.after);
    const int low2 = std::max<int>(b2_.bottom, end2.y);
    const bool aligned = std::abs(b2_.left - b1_.left) < h_ / 3 &&
                         start_of(*n_.before).y - h_ / 5 <= low2 && low2 <= b1_.bottom &&
                         end2.y >= b1_.top - h_ / 2;
    const PackedPoint start2 = start_of(*n_.after);
    const PackedPoint link_end = end_of(*n_.link);
    const bool returns = (start2.x - end2.x >= h_ * 0.5 && b2_.right - start2.x < h_ / 5) ||
                         (link_end.x - b2_.left > h_ * 0.5 && end2.x > link_end.x);
    return aligned && returns;
  }

  // ---- The shapes of the bodies against each other.
  std::optional<Decision> by_profile_shapes() {
    metrics_ = profile_pair(*n_.before, *n_.after);
    if (c1_ < 4) return std::nullopt;
    if (c2_ >= 3 && metrics_.least_gap < 0 && close_ends()) return Decision::kRemove;
    if (c2_ >= 3 && similar_bodies()) return Decision::kRemove;
    if (hook()) return Decision::kRemove;
    return std::nullopt;
  }

  bool close_ends() const {
    const int near = h_ / 5;
    const GlyphGeometry& g1 = n_.before->geometry;
    const GlyphGeometry& gl = n_.link->geometry;
    const PackedPoint start1 = start_of(*n_.before);
    const PackedPoint link_start = start_of(*n_.link);
    const PackedPoint link_end = end_of(*n_.link);
    const bool right_of_b1 = gl.band_centroid.x > g1.band_centroid.x;
    const bool e1 = right_of_b1 && std::abs(link_end.x - start1.x) <= near &&
                    std::abs(link_end.y - start1.y) <= near;
    const bool e2 =
        right_of_b1 && gl.band_centroid.y >= g1.band_centroid.y &&
        std::abs(b1_.right - link_end.x) <= near && std::abs(b1_.top - link_end.y) <= near &&
        std::abs(b1_.left - link_start.x) <= near && std::abs(b1_.bottom - link_start.y) <= near;
    if (!(e1 || e2) || polylines_cross(*n_.after, *n_.link)) return false;
    return tall_middle_sits_on_b1();
  }

  // The middle part of B2 stands tall and close right of B1.
  bool tall_middle_sits_on_b1() const {
    int first = 0;
    int count = c2_;
    if (c2_ >= 10) {
      first = c2_ / 3;
      count = c2_ - 2 * (c2_ / 3);
    } else if (c2_ >= 5) {
      count = c2_ - 2;
    }
    FigureRecord middle;
    if (make_piece(*n_.after, n_.after->stroke_index, 0, first, count, 0, &middle) != kOk) {
      return false;
    }
    const Box16 t = box_of(middle);
    const PackedPoint centre = middle.geometry.band_centroid;
    return t.height() / t.width() > 2 && t.height() < b1_.height() + h_ / 3 &&
           t.width() < h_ / 5 + std::abs(end_of(middle).x - start_of(middle).x) &&
           centre.x - b1_.right < h_ / 8 &&
           std::abs(centre.y - n_.before->geometry.band_centroid.y) < h_ / 5;
  }

  bool similar_bodies() const {
    if (b1_.height() / b1_.width() <= 2 || b2_.height() / b2_.width() <= 2) return false;
    if (end_of(*n_.after).y > end_of(*n_.link).y - h_ / 2) return false;
    const bool whole =
        n_.before->first_point == 0 && n_.after->first_point + c2_ == point_count(*stroke_);
    return whole || (std::abs(start_of(*n_.before).y - end_of(*n_.after).y) <= h_ / 4 &&
                     std::abs(b1_.width() - b2_.width()) <= h_ / 3 &&
                     std::abs(b1_.height() - b2_.height()) <= h_ / 3);
  }

  bool hook() const {
    if (cl_ == 1 || start_of(*n_.before).y <= b2_.bottom - 2 * h_ / 3) return false;
    const int h1 = b1_.height();
    const int h2 = b2_.height();
    if (b2_.width() >= h_ / 2 || h2 >= h_ / 2) return false;
    if (h1 <= 2 * h2 || b1_.top > std::min(b2_.top, l_.top) - h_ / 3 ||
        std::abs(b1_.bottom - b2_.bottom) > l_.height()) {
      return false;
    }
    if (b2_.left >= l_.right || !turns_down()) return false;
    return least_row_gap() < h_ / 4 &&
           n_.after->geometry.band_centroid.x - n_.before->geometry.band_centroid.x < h_ / 3;
  }

  // Whether B2 turns down before it passes below the link's chord right of
  // the link's centre.
  bool turns_down() const {
    const PackedPoint a = start_of(*n_.link);
    const PackedPoint b = end_of(*n_.link);
    const ClampedRamp chord(a.x, a.y, false, b.x, b.y, false);
    for (int j = 1; j < c2_; ++j) {
      const PackedPoint p = point_at(*n_.after, j);
      const PackedPoint q = point_at(*n_.after, j - 1);
      if (p.y < q.y) continue;
      return !(p.y > chord.value_at(p.x) && q.y >= chord.value_at(q.x) && p.x > l_.center_x());
    }
    return false;
  }

  // The least gap between B1's ink and B2's ink to its right over the
  // rows they share.
  int least_row_gap() const {
    const ProfileRaster& r1 = n_.before->glyph_block_a();
    const ProfileRaster& r2 = n_.after->glyph_block_a();
    int least = INT32_MAX;
    for (int y = std::max(b1_.top, b2_.top); y < std::min(b1_.bottom, b2_.bottom); ++y) {
      least = std::min(least, r2.row_min(y) - r1.row_max(y));
    }
    return least;
  }

  // ---- A short first body at the stroke's start.
  std::optional<Decision> by_stroke_start() const {
    if (n_.before->first_point != 0 || c1_ > 3) return std::nullopt;
    const bool one_point = c1_ == 1;
    const PackedPoint dot = start_of(*n_.before);
    if (previous_ != nullptr) {
      const Box16& p = previous_box_;
      const PackedPoint p_end = end_of(*previous_);
      if (p.right < stroke_box_.left ||
          (p.left > stroke_box_.right && p.bottom < stroke_box_.top)) {
        if (one_point) return Decision::kRemove;
      } else if (pair_value() > 2 && p.left < stroke_box_.left && one_point &&
                 (dot.x >= p_end.x || dot.y <= p_end.y)) {
        return Decision::kRemove;
      }
      if (p_ == 1 && pair_value() >= 3 && b1_.top >= l_.bottom &&
          l_.left <= b1_.left + b1_.width() / 8 &&
          (stroke_box_.left >= p.right || b1_.right > l_.left + l_.width() / 2) &&
          b1_.height() < h_ / 5) {
        return Decision::kRemove;
      }
    }
    return std::nullopt;
  }

  // ---- The remaining rules, in order; the three on a stroke's last link
  // only there.
  int by_remaining_rules(std::optional<Decision>* decided) {
    int status = kOk;
    if ((status = low_entry_into_m_l_ya(decided)) != kOk || *decided) return status;
    if ((*decided = facing_bodies())) return kOk;
    if ((status = hand_end_to_next_stroke()) != kOk) return status;
    for (auto rule : {&UndoubtedExamination::stacked_bodies, &UndoubtedExamination::tiny_last_body,
                      &UndoubtedExamination::tiny_first_body, &UndoubtedExamination::stem_and_hook,
                      &UndoubtedExamination::bowed_rise_along_slant}) {
      if ((*decided = (this->*rule)())) return kOk;
    }
    if (on_ == nullptr) {
      if ((*decided = final_turn())) return kOk;
      if ((status = finishing_stroke(decided)) != kOk || *decided) return status;
      if ((*decided = final_small_pieces())) return kOk;
    }
    for (auto rule : {&UndoubtedExamination::knot_at_top, &UndoubtedExamination::wraps_round_b1,
                      &UndoubtedExamination::loops_beyond_b1}) {
      if ((*decided = (this->*rule)())) return kOk;
    }
    return kOk;
  }

  // A low link into м, л or я from a small entry body.
  int low_entry_into_m_l_ya(std::optional<Decision>* decided) {
    if (!flags_.m_l_ya || cl_ < 2 || c2_ < 2) return kOk;
    const int h1 = b1_.height();
    const int hl = l_.height();
    const int d_l = direction_at(*n_.link, cl_ - 2);
    const int d_b2 = direction_at(*n_.after, 0);
    bool candidate = false;
    if ((h1 <= hl / 2 && h1 < h_ / 2) || (h1 <= h_ / 3 && n_.link->link_kind == 2)) {
      candidate = ((d_l > 270 && d_b2 <= d_l - 180) || n_.link->link_kind == 2) &&
                  start_of(*n_.before).y - b1_.top <= h1 / 7 &&
                  b1_.bottom - end_of(*n_.before).y <= h1 / 8;
    } else if (h1 < h_ / 3 && b1_.top > n_.link->geometry.reference_band().bottom - h_ / 2) {
      if (p_ == 1) {
        candidate = true;
      } else {
        const FigureRecord* earlier = body_at(context_, s_, p_ - 3);
        if (earlier == nullptr) return kBadArgument;
        candidate = end_of(*earlier).y > b1_.top;
      }
    }
    if (!candidate) return kOk;
    if (p_ >= 3) {
      if (back_ == nullptr || body_at(context_, s_, p_ - 3) == nullptr) return kBadArgument;
      return kOk;
    }
    if (previous_ == nullptr || previous_->line_index != stroke_->line_index) {
      *decided = Decision::kRemove;
    } else if (RequestSwitches(context_.kernel().params()).stroke_order()) {
      const bool touching = previous_box_.right - stroke_box_.left < h_ / 10 &&
                            end_of(*previous_).y >= end_of(*stroke_).y;
      if (touching || stroke_box_.left - previous_box_.right > h_ / 4) *decided = Decision::kRemove;
    }
    return kOk;
  }

  // Bodies that face each other across the link like the two sides of
  // one letter; a tiny first body after a gap.
  std::optional<Decision> facing_bodies() const {
    const ProfilePairMetrics& q = metrics_;
    const int h1 = b1_.height();
    const int h2 = b2_.height();
    if (q.common_rows_per_left_height > 0 && q.common_rows_per_right_height > 0) {
      if (q.mean_left_distance < -1 && l_.top < std::min(b1_.bottom, b2_.bottom)) {
        return Decision::kRemove;
      }
      if (q.closed_rows >= h_ / 4 && h1 > 3 * h_ / 4 && h2 > 3 * h_ / 4 &&
          q.common_rows_per_left_height >= 70 && q.common_rows_per_right_height >= 71 &&
          l_.right <= b2_.left + b2_.width() / 2 && q.mean_gap <= h_ / 10) {
        return Decision::kRemove;
      }
    }
    const int h_m = context_.mean_height();
    if (n_.before->piece == 0 && n_.before->piece_key == 0 && previous_ != nullptr &&
        previous_box_.right <= stroke_box_.left && h1 <= h_m / 5 && b1_.width() <= h_m / 5) {
      return Decision::kRemove;
    }
    return std::nullopt;
  }

  // A link that runs on under the first body of the next stroke hands
  // its end to B2.
  int hand_end_to_next_stroke() {
    if (next_stroke_ == nullptr || !RequestSwitches(context_.kernel().params()).stroke_order()) {
      return kOk;
    }
    if (next_first_ == nullptr) return kBadArgument;
    const Box16 next = box_of(*next_first_);
    const int v = std::min(next.bottom, l_.bottom) - std::max(next.top, l_.top);
    const int w = std::min(next.right, l_.right) - std::max(next.left, l_.left);
    const PackedPoint next_start = start_of(*next_first_);
    const PackedPoint next_end = end_of(*next_first_);
    if (!(v > h_ / 2 && (w > l_.width() / 2 || w > next.width() / 2) &&
          next.top < l_.top + h_ / 4 && next_start.x < next_end.x && next_start.y < next_end.y &&
          l_.left < next.center_x() && start_of(*n_.link).x < end_of(*n_.link).x && cl_ >= 3)) {
      return kOk;
    }
    int handed = 0;
    for (int k = cl_ - 2; k >= 1; --k) {
      ++handed;
      if (point_at(*n_.link, k).x < next.left) break;
    }
    if (const int status = move_joint(*n_.link, *n_.after, -handed); status != kOk) return status;
    cl_ = point_count(*n_.link);
    c2_ = point_count(*n_.after);
    n_.link->link_kind = has_first_partner(record_at(*n_.link, cl_ - 1)) ? 2 : 0;
    return kOk;
  }

  // Bodies stacked one over the other.
  std::optional<Decision> stacked_bodies() const {
    if (flags_.i_j_d) return std::nullopt;
    const int o = b1_.right - b2_.left;
    const int t = b2_.top - b1_.bottom;
    if (t > -(std::max(b2_.bottom - b1_.top, h_) / 5) && t > -(h_ / 3) && o > h_ / 3 &&
        (o > b1_.width() / 2 || o > b2_.width() / 2) && b1_.height() > h_ / 4 &&
        b2_.height() > h_ / 2 &&
        (l_.bottom > b2_.top + b2_.height() / 5 || b1_.bottom - b2_.top < h_ / 10)) {
      return Decision::kRemove;
    }
    return std::nullopt;
  }

  // A tiny last body close before the next stroke.
  std::optional<Decision> tiny_last_body() const {
    if (!RequestSwitches(context_.kernel().params()).stroke_order() || next_first_ == nullptr) {
      return std::nullopt;
    }
    if (octagonal_size(b2_) >= h_ / 4 || body_at(context_, s_, p_ + 3) != nullptr ||
        point_count(*next_first_) <= 2 || start_of(*n_.after).y < end_of(*n_.after).y) {
      return std::nullopt;
    }
    if (profile_pair(*n_.after, *next_first_).least_gap > h_ / 20) return Decision::kRemove;
    return std::nullopt;
  }

  // A tiny first body and short link at the start of a stroke apart
  // from the previous one.
  std::optional<Decision> tiny_first_body() const {
    if (previous_ == nullptr) return std::nullopt;
    if (octagonal_size(b1_) < h_ / 4 && octagonal_size(l_) < h_ / 3 && p_ == 1 &&
        (previous_box_.right <= stroke_box_.left || previous_box_.left > stroke_box_.left)) {
      return Decision::kRemove;
    }
    return std::nullopt;
  }

  // A thin stem, a hook that turns back under it and a bowed rise
  // between them.
  std::optional<Decision> stem_and_hook() const {
    const int w1 = b1_.width();
    const int vertical = n_.after->geometry.direction.vertical_direction;
    const bool thin =
        (b1_.height() / w1 >= 3 && vertical >= 70 && vertical <= 110 &&
         (b1_.bottom > b2_.bottom + h_ / 2 || b1_.top < b2_.top - h_ / 2) && w1 <= h_ / 2) ||
        (w1 < h_ / 4 && n_.before->piece == 0);
    const PackedPoint start2 = start_of(*n_.after);
    const PackedPoint end2 = end_of(*n_.after);
    const bool hooked = b1_.center_x() < b2_.center_x() &&
                        b2_.center_x() < b1_.center_x() + 4 * h_ / 5 && b2_.height() < 2 * h_ &&
                        end2.y - start2.y > h_ / 5 && start2.x - end2.x > h_ / 5;
    const int d = step_direction(start_of(*n_.link), end_of(*n_.link));
    const bool bowed = cl_ > 2 && d >= 290 && d <= 345 && bows_above_chord(*n_.link);
    if (thin && hooked && bowed) return Decision::kRemove;
    return std::nullopt;
  }

  // A link that rises along the slant from a body's low end, bowed up:
  // the stroke of a letter, not a connection.
  std::optional<Decision> bowed_rise_along_slant() const {
    const int hl = l_.height();
    if (cl_ < 4 || c1_ < 2 || hl < h_ / 2) return std::nullopt;
    int u = c1_ - 1;
    while (u > 1 && point_at(*n_.before, u - 1).y < point_at(*n_.before, u).y) --u;
    const PackedPoint start = start_of(*n_.link);
    const int a_u = step_direction(start, point_at(*n_.before, u));
    PackedPoint m = start;
    for (int k = 1; k < cl_; ++k) {
      if (point_at(*n_.link, k).y > l_.top + hl / 2) m = point_at(*n_.link, k);
    }
    const int a_m = step_direction(start, m);
    const ClampedRamp chord(start.x, start.y, false, end_of(*n_.link).x, end_of(*n_.link).y, false);
    int inner = 0;
    int above_sum = 0;
    int above_most = 0;
    int below_sum = 0;
    for (int k = 1; k <= cl_ - 2; ++k) {
      const PackedPoint p = point_at(*n_.link, k);
      const int above = chord.value_at(p.x) - p.y;
      ++inner;
      if (above > 0) {
        above_sum += above;
        above_most = std::max(above_most, above);
      } else {
        below_sum -= above;
      }
    }
    if (below_sum != 0 || inner == 0) return std::nullopt;
    const int alpha = context_.slant_angle();
    const int e_u = std::abs(alpha - a_u + 180);
    const int e_m = std::abs(alpha - a_m + 180);
    const int band_low = n_.before->geometry.reference_band().bottom + 2 * h_ / 3;
    const int mean_above = above_sum / inner;
    if ((e_u <= 10 && e_m <= 7 && a_m - a_u <= 15 && above_most >= h_ / 5 &&
         mean_above >= h_ / 10 && b1_.bottom < band_low) ||
        (e_u <= 7 && e_m <= 14 && a_m - a_u <= 21 && above_most >= h_ / 5 &&
         mean_above >= h_ / 10 && b1_.bottom < band_low && b2_.bottom < l_.top + hl / 3) ||
        (e_u <= 12 && e_m <= 17 && a_m - a_u <= 5 && above_most >= h_ / 12 &&
         mean_above >= h_ / 12 && b2_.right <= b1_.right - b1_.width() / 3)) {
      return Decision::kRemove;
    }
    return std::nullopt;
  }

  // The stroke's last link ends in a turn back or below its bodies.
  std::optional<Decision> final_turn() const {
    if (l_.right == stroke_box_.right && l_.bottom > b2_.bottom && c2_ >= 2 &&
        (stroke_box_.width() <= 3 * stroke_box_.height() / 4 ||
         l_.left > b2_.left + b2_.width() / 4) &&
        step_direction(point_at(*n_.after, 0), point_at(*n_.after, 1)) >= 170) {
      return Decision::kRemove;
    }
    const PackedPoint end2 = end_of(*n_.after);
    if (l_.bottom >= b2_.bottom && l_.bottom >= b1_.bottom && end2.x <= l_.right &&
        end2.x <= n_.before->glyph_block_a().row_min(end2.y) && l_.right < b1_.right) {
      return Decision::kRemove;
    }
    return std::nullopt;
  }

  // The stroke's last link rises into a small final body: a finishing
  // stroke, unless the next stroke starts over it close by.
  int finishing_stroke(std::optional<Decision>* decided) {
    const int hl = l_.height();
    const int h2 = b2_.height();
    const int w2 = b2_.width();
    const bool examined = hl > h_ / 3 || (hl <= h_ / 3 && h2 > h_ / 10) ||
                          (h2 == h_ / 10 && w2 > h_ / 10 && b2_.bottom > l_.top + hl / 5);
    if (!examined) {
      *decided = Decision::kRemoveAndStepBack;
      return kOk;
    }
    if (!(hl >= h_ / 5 && b2_.right - l_.right <= w2 / 5 && b2_.bottom <= l_.top + hl / 3 &&
          end_of(*n_.after).x <= l_.left + 2 * l_.width() / 3)) {
      return kOk;
    }
    if (next_stroke_ != nullptr && box_of(*next_stroke_).left < stroke_box_.right) {
      const PairMetrics* pair = context_.pair_table().at(s_, s_ + 1);
      if (pair == nullptr) return kBadArgument;
      if (pair->pair_value() < 1) return kOk;
    }
    *decided = Decision::kRemoveAndStepBack;
    return kOk;
  }

  // The stroke's last link with a body above it or tiny pieces.
  std::optional<Decision> final_small_pieces() const {
    const int hl = l_.height();
    const int h2 = b2_.height();
    const int x0 = start_of(*n_.link).x;
    if ((hl >= h_ / 3 && b2_.bottom <= l_.top && b2_.left < l_.right - l_.width() / 2 &&
         (l_.bottom <= line_->fits[2].y_at(x0) + h_ / 5 || b1_.bottom <= l_.bottom)) ||
        (hl <= h_ / 8 && h2 <= h_ / 8 && l_.bottom <= line_->fits[0].y_at(x0)) ||
        (cl_ == 1 && l_.bottom <= b2_.top && h2 <= 4 * h_ / 10) ||
        (l_.top <= b2_.top && h2 < h_ / 4 && l_.right < b1_.right - b1_.width() / 3 &&
         b1_.bottom <= l_.bottom)) {
      return Decision::kRemoveAndStepBack;
    }
    return std::nullopt;
  }

  // B2 a small knot at the top of the link.
  std::optional<Decision> knot_at_top() const {
    const bool over =
        (cl_ >= 2 && l_.left + l_.width() / 2 >= b2_.left) || (cl_ == 1 && l_.left > b2_.left);
    if (!over || b2_.bottom >= l_.top + b2_.width() / 10 ||
        (b1_.left + b1_.width() / 4 < b2_.left && b1_.width() >= h_ / 10)) {
      return std::nullopt;
    }
    const PackedPoint a = start_of(*n_.after);
    const PackedPoint b = end_of(*n_.after);
    if (std::abs(a.x - b.x) < h_ / 5 && std::abs(a.y - b.y) < h_ / 5) return Decision::kRemove;
    return std::nullopt;
  }

  // B2 wraps round B1 from above.
  std::optional<Decision> wraps_round_b1() const {
    if (l_.top <= b2_.top && l_.bottom <= b1_.top && b2_.right <= l_.right &&
        b2_.left <= b1_.left && b2_.top < b1_.top && b1_.bottom < b2_.bottom) {
      return Decision::kRemove;
    }
    return std::nullopt;
  }

  // A one-point link after a body that loops on beyond its end.
  std::optional<Decision> loops_beyond_b1() const {
    if (cl_ != 1 || b2_.right - b2_.width() / 2 > b1_.right ||
        b2_.height() > 3 * b1_.height() / 4) {
      return std::nullopt;
    }
    const int last = number_at(*n_.before, c1_ - 1);
    int beyond = 0;
    for (int j = 0; j < c1_; ++j) {
      const PointRecord& p = record_at(*n_.before, j);
      if (has_first_partner(p) && p.trajectory.first_partner != 0xFFFF &&
          p.trajectory.first_partner > last) {
        ++beyond;
      }
    }
    if (beyond > 1) return Decision::kRemove;
    return std::nullopt;
  }

  RecognitionContext& context_;
  const LetterFlags& flags_;
  const std::uint32_t i_;
  const int h_;
  LinkNeighbours n_;
  int s_ = 0;
  int p_ = 0;
  const StrokeRecord* stroke_ = nullptr;
  const StrokeRecord* previous_ = nullptr;
  const StrokeRecord* next_stroke_ = nullptr;
  const PairMetrics* pair_ = nullptr;
  TextLine* line_ = nullptr;
  const FigureRecord* back_ = nullptr;
  const FigureRecord* on_ = nullptr;
  FigureRecord* next_first_ = nullptr;
  Box16 l_;
  Box16 b1_;
  Box16 b2_;
  Box16 stroke_box_;
  Box16 previous_box_;
  int c1_ = 0;
  int c2_ = 0;
  int cl_ = 0;
  ProfilePairMetrics metrics_;
};

}  // namespace

int remove_undoubted_links(RecognitionContext& context) {
  const LetterFlags flags(context.kernel());
  for (std::uint32_t i = 0; i < context.links().size();) {
    if (context.links()[i].link_kind == 1) {
      ++i;
      continue;
    }
    Decision decision = Decision::kKeep;
    if (const int status = UndoubtedExamination(context, flags, i).run(&decision); status != kOk) {
      return status;
    }
    if (decision == Decision::kKeep) {
      ++i;
      continue;
    }
    if (const int status = remove_link(context, i); status != kOk) return status;
    if (decision == Decision::kRemoveAndStepBack && i > 0) --i;
  }
  return kOk;
}

}  // namespace inkrec

// The loop rules: links removed, or moved onto the crossing point, by the
// loops the ink forms next to them (the bowl of an o or a, the loop of an
// l, e or g, the closed loops of U, Z and D shapes).

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "engine/analysis/link_passes.h"
#include "engine/analysis/piece_measures.h"
#include "engine/foundation/clamped_ramp.h"
#include "engine/foundation/point_runs.h"
#include "engine/foundation/polylines.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/kernel/kernel.h"
#include "engine/segmentation/recognition_context.h"

namespace inkrec {

namespace {

constexpr std::uint16_t kNoPartner = 0xFFFF;

int run_index(const StrokeRecord& figure, int number) {
  return run_index_of_point_number(figure.run.points, figure.run.count, number);
}

// ---- The loop move.

// Step 1: B1's last point (from its end back to its point 1) that crosses
// into B2, with the crossing partner's number.
struct LoopCrossing {
  int k = -1;
  int partner = 0;
};

LoopCrossing find_crossing_into(const StrokeRecord& before, const StrokeRecord& after) {
  for (int k = point_count(before) - 1; k >= 1; --k) {
    const PointRecord& p = record_at(before, k);
    if (has_first_partner(p) && run_index(after, p.trajectory.first_partner) != -1) {
      return {k, p.trajectory.first_partner};
    }
    if (has_second_partner(p) && run_index(after, p.trajectory.second_partner) != -1) {
      return {k, p.trajectory.second_partner};
    }
  }
  return {};
}

// Step 2: the loop must start at a crossing, at a top point of the stroke,
// or at the stroke's start.
bool loop_has_start(const StrokeRecord& stroke, const FigureRecord& before, int k, int depth) {
  for (int j = k - 1; j >= 1; --j) {
    if (has_partner(record_at(before, j)) || is_top_point(stroke, before.first_point + j, depth)) {
      return true;
    }
  }
  return before.first_point == 0 || is_top_point(stroke, before.first_point, depth);
}

// One of the steps into stroke points g - 1, g and g + 1 goes right.
bool steps_right_near(const StrokeRecord& stroke, int g) {
  for (int x = g - 1; x <= g + 1; ++x) {
    const PackedPoint a = point_at(stroke, x - 1);
    const PackedPoint b = point_at(stroke, x);
    const auto dx = static_cast<std::int16_t>(b.x - a.x);
    const auto dy = static_cast<std::int16_t>(b.y - a.y);
    if (dx >= 0 && dx >= std::abs(dy)) return true;
  }
  return false;
}

// The ink from stroke point g up to the point numbered n (or the next
// greater number present) has its centroid right of point g.
int loop_lies_right(const StrokeRecord& stroke, std::uint16_t stroke_number, int g, int n,
                    bool* right) {
  *right = false;
  int end = g;
  while (end < point_count(stroke) && number_at(stroke, end) < n) ++end;
  if (end == point_count(stroke) || end <= g) return kOk;
  FigureRecord loop;
  if (const int status = make_piece(stroke, stroke_number, 0, g, end - g, 0, &loop);
      status != kOk) {
    return status;
  }
  *right = loop.geometry.centroid.x > point_at(stroke, g).x;
  return kOk;
}

// A loop of a letter written on (B1 and L advance right, B2 returns left)
// whose crossing step rises at the slant of the writing.
bool end_direction_test(const StrokeRecord& before, const StrokeRecord& link,
                        const StrokeRecord& after) {
  int a = -1;
  for (int j = 0; j < point_count(before); ++j) {
    if (has_first_partner(record_at(before, j))) a = j;
  }
  bool after_crosses = false;
  for (int j = 0; j < point_count(after); ++j) {
    after_crosses = after_crosses || has_second_partner(record_at(after, j));
  }
  if (a < 0 || !after_crosses || point_count(before) < 3) return false;
  if (end_of(before).x <= start_of(before).x || end_of(link).x <= start_of(link).x ||
      end_of(after).x >= start_of(after).x) {
    return false;
  }
  const int d = direction_at(before, a < 2 ? a : a - 2);
  return d >= 270 && d <= 315;
}

// Puts the link onto the crossing point of a loop that B1 closes in B2:
// B1 keeps its ink up to the crossing, the link becomes that point alone
// and B2 takes the loop, the old link and its own ink. *made tells whether
// the move was made; a geometry error is returned (not made).
int try_loop_move(RecognitionContext& context, FigureRecord& before, FigureRecord& link,
                  FigureRecord& after, bool* made) {
  *made = false;
  const StrokeRecord* stroke = context.strokes().item_checked(link.stroke_index);
  if (stroke == nullptr) return kBadArgument;
  const int h = context.letter_height();
  const LoopCrossing crossing = find_crossing_into(before, after);
  if (crossing.k < 0 || !loop_has_start(*stroke, before, crossing.k, h / 10)) return kOk;
  const int g = before.first_point + crossing.k;
  const int count = point_count(*stroke);
  if (g == 1) return kOk;
  if (g <= count - 2) {
    bool right = false;
    if (const int status = loop_lies_right(*stroke, stroke->number, g, crossing.partner, &right);
        status != kOk) {
      return status;
    }
    const Box16 b1 = box_of(before);
    if (!steps_right_near(*stroke, g) || !right || end_direction_test(before, link, after) ||
        (before.piece == 0 && b1.height() <= h / 4 && b1.width() <= h / 4)) {
      return kOk;
    }
  }
  const int after_count =
      point_count(before) - crossing.k + point_count(link) + point_count(after) - 2;
  before.run.count = crossing.k + 1;
  link.run.set(stroke->run.points + g, 1);
  link.first_point = static_cast<std::uint16_t>(g);
  after.run.set(stroke->run.points + g, after_count);
  after.first_point = static_cast<std::uint16_t>(g);
  for (FigureRecord* piece : {&link, &before, &after}) {
    if (const int status = prepare_piece(*piece); status != kOk) return status;
  }
  *made = true;
  return kOk;
}

// ---- remove_loop_links.

// 1000 x the tangent of the bodies' common slant off the vertical: the mean
// of the bodies' vertical directions (46..134) that lie closer to their
// mean than their spread; 0 when none does.
int slant_factor(const DynArray<FigureRecord>& bodies) {
  std::int64_t sum = 0;
  std::int64_t count = 0;
  const auto counts = [](int v) { return v >= 46 && v <= 134; };
  for (const FigureRecord& body : bodies) {
    if (counts(body.geometry.direction.vertical_direction)) {
      sum += body.geometry.direction.vertical_direction;
      ++count;
    }
  }
  if (count == 0) return 0;
  const std::int64_t mean = sum / count;
  std::int64_t squares = 0;
  for (const FigureRecord& body : bodies) {
    const int v = body.geometry.direction.vertical_direction;
    if (counts(v)) squares += (v - mean) * (v - mean);
  }
  const std::int64_t spread =
      int_sqrt(static_cast<std::int32_t>(std::min<std::int64_t>(squares, INT32_MAX))) / count;
  std::int64_t near_sum = 0;
  std::int64_t near_count = 0;
  for (const FigureRecord& body : bodies) {
    const int v = body.geometry.direction.vertical_direction;
    if (counts(v) && v > mean - spread && v < mean + spread) {
      near_sum += v;
      ++near_count;
    }
  }
  if (near_count == 0) return 0;
  return scale_by_tangent(static_cast<int>(near_sum / near_count) - 90, 1000);
}

// Whether B2, followed from its start while it turns gently, comes back
// left of the slanted line through the link's start (a loop closing on the
// link).
bool turns_back_into_loop(const LinkNeighbours& n, int slope, int h, int divisor) {
  const StrokeRecord& after = *n.after;
  const PackedPoint start = start_of(*n.link);
  const int count = point_count(after);
  for (int j = 0; j < count; ++j) {
    const PackedPoint p = point_at(after, j);
    const int c = record_at(after, j).trajectory.score;
    const PackedPoint previous =
        j == 0 ? point_at(*n.link, point_count(*n.link) - 2) : point_at(after, j - 1);
    const int turn = j == count - 1 ? 0 : cosine_at(previous, p, point_at(after, j + 1));
    if (c / divisor > 10 || c / divisor < -500 || turn > 990 ||
        (j >= 1 && p.x > point_at(after, j - 1).x && c >= 1)) {
      return false;
    }
    const std::int64_t line_x = start.x + std::int64_t{start.y - p.y} * slope / 1000;
    if (p.x < line_x) return true;
    const PackedPoint entry = start_of(after);
    if (p.x > line_x && box_of(*n.before).width() > h / 2 && entry.x - p.x > h / 3 &&
        entry.y < p.y) {
      return true;
    }
  }
  return false;
}

}  // namespace

int remove_loop_links(RecognitionContext& context) {
  const int h = context.letter_height();
  const int divisor = height_divisor(context);
  const int slope = slant_factor(context.bodies());
  for (std::uint32_t i = 0; i < context.links().size();) {
    const FigureRecord& current = context.links()[i];
    if (current.link_kind == 1 || point_count(current) <= 1) {
      ++i;
      continue;
    }
    LinkNeighbours n;
    if (const int status = link_neighbours(context, i, &n); status != kOk) return status;
    if (!turns_back_into_loop(n, slope, h, divisor)) {
      ++i;
      continue;
    }
    if (const FigureRecord* next = context.links().item_checked(i + 1);
        next != nullptr && start_of(*next).x <= end_of(*n.link).x &&
        end_of(*next).x >= start_of(*n.link).x &&
        body_at(context, next->stroke_index, next->piece + 1) == nullptr) {
      return kBadArgument;
    }
    bool made = false;
    if (const int status = try_loop_move(context, *n.before, *n.link, *n.after, &made);
        status != kOk) {
      return status;
    }
    if (made || !polylines_cross(*n.before, *n.after)) {
      ++i;
      continue;
    }
    if (const int status = remove_link(context, i); status != kOk) return status;
  }
  return kOk;
}

// ---- remove_links_above_loops_of_uzd.

namespace {

// The box of the closed loop in B2 that a link of a U, Z or D shape lies
// above: B2's points between a first and a second crossing at least 5
// points apart and close together, or B2 itself when it has no crossing
// and ends the stroke.
std::optional<Box16> closed_loop_box(RecognitionContext& context, const FigureRecord& link,
                                      const StrokeRecord& after) {
  const int h = context.letter_height();
  int a = -1;
  int b = -1;
  for (int j = 0; j < point_count(after) && (a < 0 || b < 0); ++j) {
    if (a < 0 && has_first_partner(record_at(after, j))) a = j;
    if (b < 0 && has_second_partner(record_at(after, j))) b = j;
    if (a >= 0 && b >= 0 && b - a < 5) a = b = -1;
  }
  if (b < 0) {
    if (a >= 0 || link_at(context, link.stroke_index, link.piece + 2) != nullptr) return std::nullopt;
    return box_of(after);
  }
  if (a < 0) return std::nullopt;
  const PackedPoint pa = point_at(after, a);
  const PackedPoint pb = point_at(after, b);
  if (std::abs(pa.x - pb.x) > h / 4 || std::abs(pa.y - pb.y) > h / 4) return std::nullopt;
  return points_bounding_box(PointSpan::of_records(after.run.points + a, b - a + 1));
}

bool lies_above_closed_loop(const LinkNeighbours& n, const Box16& loop, int h) {
  const Box16 l = box_of(*n.link);
  const Box16 b1 = box_of(*n.before);
  if (loop.contains(end_of(*n.link)) && loop.center_x() > l.right + h / 4) return false;
  const bool deep = loop.bottom - l.bottom > h / 2 &&
                    !(loop.right >= l.right + h / 2 && loop.left >= l.right);
  int crossing = -1;
  for (int j = 0; j < point_count(*n.before) && crossing < 0; ++j) {
    if (has_partner(record_at(*n.before, j))) crossing = j;
  }
  const bool plain_start =
      crossing < 0 || (point_count(*n.link) == 1 && crossing == point_count(*n.before) - 1);
  const bool small_entry = b1.width() <= 2 * h / 3 && b1.width() <= 2 * loop.width() &&
                           end_of(*n.before).y - start_of(*n.before).y > h / 7 && plain_start &&
                           3 * b1.height() < 2 * loop.height();
  const bool short_rise =
      point_count(*n.link) == 1 ||
      (point_count(*n.link) < 5 && step_direction(start_of(*n.link), end_of(*n.link)) >= 300);
  return deep && small_entry && short_rise;
}

}  // namespace

int remove_links_above_loops_of_uzd(RecognitionContext& context) {
  const int h = context.letter_height();
  for (std::uint32_t i = 0; i < context.links().size();) {
    LinkNeighbours n;
    const bool whole = link_neighbours(context, i, &n) == kOk;
    bool remove = false;
    if (whole && n.link->link_kind != 1 &&
        link_at(context, n.link->stroke_index, n.link->piece - 2) == nullptr) {
      const std::optional<Box16> loop = closed_loop_box(context, *n.link, *n.after);
      remove = loop && lies_above_closed_loop(n, *loop, h);
    }
    if (!remove) {
      ++i;
      continue;
    }
    if (const int status = remove_link(context, i); status != kOk) return status;
  }
  return kOk;
}

// ---- remove_links_inside_loops.

namespace {

enum class Verdict { kKeep, kRemove };

// A link examined inside the loop of its stroke from the point numbered a
// to the point numbered b.
class InsideLoopExamination {
 public:
  InsideLoopExamination(RecognitionContext& context, const StrokeRecord& stroke,
                        std::uint32_t i, int a, int a_index, int b, bool has_r)
      : context_(context),
        stroke_(stroke),
        i_(i),
        a_(a),
        a_index_(a_index),
        b_(b),
        has_r_(has_r),
        h_(context.letter_height()) {}

  int run(Verdict* verdict) {
    *verdict = Verdict::kKeep;
    if (link_neighbours(context_, i_, &n_) != kOk) return kOk;
    link_ = box_of(*n_.link);
    b1_ = box_of(*n_.before);
    b2_ = box_of(*n_.after);
    band_top_ = n_.link->geometry.reference_band().top;
    band_bottom_ = n_.link->geometry.reference_band().bottom;
    f_ = number_at(*n_.link, 0);
    l_ = number_at(*n_.link, point_count(*n_.link) - 1);
    if (keeps_before_final_test()) return kOk;
    return final_test(verdict);
  }

 private:
  const PointRecord& at(int index) const { return record_at(stroke_, index); }
  PackedPoint point(int index) const { return point_at(stroke_, index); }
  int count() const { return point_count(stroke_); }

  bool keeps_before_final_test() {
    const int jb = index_of_number(stroke_, b_, a_ + 1);
    if (jb < 0) return true;
    if (point_count(*n_.link) == 1 && f_ == b_ && has_first_partner(at(jb))) return true;
    if (!find_c1()) return true;
    const int jl = index_of_number(stroke_, l_, 1);
    if (jl < 0) return true;
    if (point_count(*n_.link) == 1 && has_second_partner(record_at(*n_.link, 0))) {
      if (jl + 1 >= count()) return true;
      if (point(jl + 1).y < start_of(*n_.link).y && b2_.top < band_top_ - h_ / 4) return true;
    }
    if (has_r_ && link_.bottom < band_top_ + h_ / 3 && loop_entry_reaches_left()) return true;
    if (b2_.right - b1_.right > h_ || b2_.right - b1_.left >= 2 * h_) return true;
    c2_ = jl;
    while (c2_ < count() && !has_partner(at(c2_))) ++c2_;
    if (c2_ < count()) {
      if (keeps_at_second_crossing()) return true;
      if (keeps_at_two_first_crossings()) return true;
    }
    return keeps_by_previous_crossing();
  }

  // Step 2: c1, the crossing before the link, walking back from the point
  // before its first.
  bool find_c1() {
    int start = index_of_number(stroke_, f_, 1);
    if (start == n_.link->first_point) --start;
    for (int j = start; j >= 0; --j) {
      const TrajectoryRecord& t = at(j).trajectory;
      if (has_first_partner(at(j)) ||
          (has_second_partner(at(j)) && (t.second_partner < f_ || t.second_partner <= a_))) {
        c1_ = j;
        return true;
      }
    }
    return false;
  }

  // Step 5: an r whose stroke reaches back left of the link above it.
  bool loop_entry_reaches_left() const {
    int greatest = link_.bottom;
    for (int j = point_count(*n_.before) - 1; j >= 0; --j) {
      const PackedPoint p = point_at(*n_.before, j);
      if (p.y > band_top_ + h_ / 3) return false;
      if (p.y < greatest && link_.left - p.x > h_ / 10) return true;
      raise_to(greatest, p.y);
    }
    return false;
  }

  // Step 8.
  bool keeps_at_second_crossing() {
    if (!has_second_partner(at(c1_)) || !has_first_partner(at(c2_)) ||
        point(c2_).x < link_.right) {
      return false;
    }
    const int partner = at(c1_).trajectory.second_partner;
    if (partner == kNoPartner) return true;
    const int jq = index_of_number(stroke_, partner, 1);
    if (jq < 1 || jq >= c1_) return true;
    for (int j = jq; j < c1_; ++j) {
      if (point(j).x > point(c2_).x) return false;
    }
    return !(b2_.left < b1_.right && after_passes_before());
  }

  bool after_passes_before() const {
    const ProfileRaster& raster = n_.before->glyph_block_a();
    for (int j = 0; j < point_count(*n_.after); ++j) {
      const PackedPoint p = point_at(*n_.after, j);
      if (p.x > raster.row_max(p.y)) return true;
    }
    return false;
  }

  // Step 9.
  bool keeps_at_two_first_crossings() {
    if (!has_first_partner(at(c1_)) || !has_first_partner(at(c2_))) return false;
    const TrajectoryRecord& t1 = at(c1_).trajectory;
    const TrajectoryRecord& t2 = at(c2_).trajectory;
    const int c1_second = has_second_partner(at(c1_)) ? t1.second_partner : kNoPartner;
    if (t2.point_number <= c1_second && std::abs(point(c1_).x - point(c2_).x) <= h_ / 4 &&
        point(c2_).y - point(c1_).y >= h_ / 2) {
      return true;
    }
    const PackedPoint start = start_of(*n_.link);
    if (t2.first_partner > t1.first_partner &&
        (start_of(*n_.before).y >= band_top_ + h_ / 2 || link_.left - b1_.left <= h_ / 2)) {
      return false;
    }
    return start.y > band_top_ + h_ / 2 ||
           n_.after->glyph_block_a().row_max(link_.top) - link_.right > h_ / 3;
  }

  // Steps 10 to 13: a crossing before c1 belongs to a loop of an earlier
  // letter unless one of the waivers holds.
  bool keeps_by_previous_crossing() {
    c0_ = c1_ - 1;
    while (c0_ >= 0 && !has_partner(at(c0_))) --c0_;
    if (i_ == 0) return c0_ >= 0;
    const FigureRecord& previous = context_.links()[i_ - 1];
    if (previous.stroke_index != n_.link->stroke_index || c0_ < 0) return false;
    if (link_.top < band_top_ + h_ / 3 && b1_.bottom > band_bottom_ + h_ / 2) return false;
    const TrajectoryRecord& t0 = at(c0_).trajectory;
    const int r = has_first_partner(at(c0_)) ? t0.first_partner : t0.second_partner;
    if (r == kNoPartner) return true;
    const int jr = index_of_number(stroke_, r, 1);
    if (waived_by_crossings(jr) || waived_by_start() || waived_by_directions() ||
        waived_by_returning_loop()) {
      return false;
    }
    return c0_ != 0 && number_at(stroke_, c0_) > number_at(previous, 0);
  }

  // F2 and F3.
  bool waived_by_crossings(int jr) {
    const PackedPoint start = start_of(*n_.link);
    const bool f2 = jr > c2_ && jr >= 0 && point(jr).y < start.y &&
                    b1_.bottom < n_.before->geometry.reference_band().bottom + h_ / 4;
    bool f3 = false;
    if (has_second_partner(at(c0_)) && jr > 0) {
      const ProfileRaster& raster = n_.before->glyph_block_a();
      bool right = false;
      bool left = false;
      for (int j = jr; j < c0_; ++j) {
        right = right || point(j).x > link_.right;
        left = left || point(j).x < link_.left;
      }
      f3 = start.x >= raster.row_min(start.y) &&
           raster.column_max(start.x + 1) - link_.bottom > -(h_ / 10) && right && left;
    }
    return f2 || f3;
  }

  // F4.
  bool waived_by_start() const {
    const int span = point(c1_).x - point(c0_).x;
    const PackedPoint start = start_of(*n_.link);
    return span > 0 && point(c1_).x - start.x > 2 * span / 3 && start.y < point(c0_).y;
  }

  // F5.
  bool waived_by_directions() {
    if (point_count(*n_.before) < 2 || point_count(*n_.after) < 2) return false;
    const int d1 = direction_at(*n_.before, point_count(*n_.before) - 2);
    const int d2 = direction_at(*n_.after, 0);
    const FigureRecord* further = body_at(context_, n_.link->stroke_index, n_.link->piece + 3);
    return link_.top - b2_.top < h_ / 6 && b2_.left - link_.left > -(h_ / 3) &&
           (further == nullptr || box_of(*further).top >= link_.top - h_ / 6) && d2 > 40 &&
           d1 >= 41 && d1 <= 319;
  }

  // F6.
  bool waived_by_returning_loop() {
    if (b2_.left >= b1_.right || b1_.bottom >= band_bottom_ + h_ / 3 ||
        point_count(*n_.after) < 1) {
      return false;
    }
    const ProfileRaster& raster = n_.before->glyph_block_a();
    const int c1_number = number_at(stroke_, c1_);
    bool holds = false;
    for (int j = 0; j < point_count(*n_.after); ++j) {
      const PointRecord& t = record_at(*n_.after, j);
      if (!has_second_partner(t) || t.trajectory.second_partner == kNoPartner) continue;
      const int u = t.trajectory.second_partner;
      const bool left = j > 0 && t.point.x < point_at(*n_.after, j - 1).x;
      if (!left && t.point.x - raster.row_min(t.point.y) <= h_ / 10 &&
          link_.top - b1_.top >= h_ / 5) {
        continue;
      }
      if (u < c1_number) {
        holds = true;
      } else if (u == c1_number) {
        const int end = n_.after->first_point + j - 1;
        const std::int64_t length =
            end > c1_ ? path_length(PointSpan::of_records(stroke_.run.points, count()), c1_, end)
                      : 0;
        if (length > h_ && b2_.left - link_.left > -(h_ / 3)) return true;
      }
    }
    return holds;
  }

  // Step 14.
  int final_test(Verdict* verdict) {
    const int ai = a_index_;
    int bi = ai;
    while (bi < count() && number_at(stroke_, bi) != b_) ++bi;
    const PackedPoint pa = point(ai);
    const PackedPoint pb = bi < count() ? point(bi) : PackedPoint{0, 0};
    if (ends_parallel(pa, pb) && b2_.left >= link_.right && pa.x >= b1_.right - h_ / 10) {
      return kOk;
    }
    if (figures_cross(*n_.before, *n_.after)) return kOk;
    PackedPoint crossing;
    if ((has_internal_crossing(*n_.before) || has_internal_crossing(*n_.after)) &&
        polylines_cross(*n_.before, *n_.after, &crossing) &&
        crossing.y > n_.link->geometry.centroid.y) {
      return kOk;
    }
    bool made = false;
    if (const int status = try_loop_move(context_, *n_.before, *n_.link, *n_.after, &made);
        status != kOk) {
      return status;
    }
    if (!made) *verdict = Verdict::kRemove;
    return kOk;
  }

  static int first_index_at(const StrokeRecord& figure, PackedPoint p) {
    for (int j = 0; j < point_count(figure); ++j) {
      if (point_at(figure, j) == p) return j;
    }
    return -1;
  }

  bool ends_parallel(PackedPoint pa, PackedPoint pb) const {
    if (pa == pb) return true;
    const int i1 = first_index_at(*n_.before, pa);
    const int i2 = first_index_at(*n_.after, pb);
    if (i1 < 1 || i1 > point_count(*n_.before) - 2 || i2 < 1 || i2 > point_count(*n_.after) - 2) {
      return false;
    }
    const int d = step_direction(point_at(*n_.before, i1 - 1), point_at(*n_.before, i1 + 1)) -
                  step_direction(point_at(*n_.after, i2 - 1), point_at(*n_.after, i2 + 1));
    return std::min({std::abs(d), std::abs(d - 180), std::abs(d + 180)}) <= 25;
  }

  RecognitionContext& context_;
  const StrokeRecord& stroke_;
  const std::uint32_t i_;
  const int a_;
  const int a_index_;
  const int b_;
  const bool has_r_;
  const int h_;
  LinkNeighbours n_;
  Box16 link_;
  Box16 b1_;
  Box16 b2_;
  int band_top_ = 0;
  int band_bottom_ = 0;
  int f_ = 0;
  int l_ = 0;
  int c0_ = -1;
  int c1_ = -1;
  int c2_ = 0;
};

}  // namespace

int remove_links_inside_loops(RecognitionContext& context) {
  const bool has_r = charsets_contain_any(context.kernel(), u"r");
  std::uint32_t i = 0;
  DynArray<StrokeRecord>& strokes = context.strokes();
  for (std::uint32_t s = 0; s < strokes.size(); ++s) {
    const StrokeRecord& stroke = strokes[s];
    for (int pa = 0; pa < point_count(stroke); ++pa) {
      const PointRecord& opening = record_at(stroke, pa);
      if (!has_first_partner(opening) || opening.trajectory.first_partner == kNoPartner) continue;
      const int a = opening.trajectory.point_number;
      const int b = opening.trajectory.first_partner;
      while (i < context.links().size()) {
        const FigureRecord& link = context.links()[i];
        if (link.stroke_index > s) break;
        if (link.stroke_index < s || link.link_kind == 1) {
          ++i;
          continue;
        }
        const int f = number_at(link, 0);
        const int l = number_at(link, point_count(link) - 1);
        if (!(a < f && l <= b)) {
          if (f >= b) break;
          ++i;
          continue;
        }
        Verdict verdict = Verdict::kKeep;
        InsideLoopExamination examination(context, stroke, i, a, pa, b, has_r);
        if (const int status = examination.run(&verdict); status != kOk) return status;
        if (verdict == Verdict::kKeep) {
          ++i;
          continue;
        }
        if (const int status = remove_link(context, i); status != kOk) return status;
      }
    }
  }
  return kOk;
}

// ---- remove_loops_links.

namespace {

// Step 1: a one-point link at a crossing whose loop in B2 is tiny, or that
// follows a short hook.
bool closes_small_loop(RecognitionContext& context, const LinkNeighbours& n, TextLine& line) {
  const int h = context.letter_height();
  const PointRecord& point = record_at(*n.link, 0);
  const Box16 b1 = box_of(*n.before);
  const int n1 = point_count(*n.before);
  if (n1 < 3 && b1.height() < h / 8 && b1.width() < h / 8 &&
      point.point.y >= line.fits[1].y_at(point.point.x)) {
    return true;
  }
  Box16 loop;
  loop.set_from_points(point.point, point.point);
  for (int j = 1; j < point_count(*n.after); ++j) {
    loop.include_point(point_at(*n.after, j));
    if (number_at(*n.after, j) >= point.trajectory.first_partner) break;
  }
  if ((loop.height() <= h / 7 && loop.width() <= h / 7) ||
      (loop.height() <= h / 5 && loop.width() <= h / 4 && n1 <= 2 && b1.height() <= h / 5 &&
       b1.width() <= h / 4)) {
    return true;
  }
  if (n1 < 4 && loop.height() <= h / 3 && loop.width() <= h / 2) {
    for (int k = n1 - 1; k >= 1; --k) {
      const int d = step_direction(point_at(*n.before, k - 1), point_at(*n.before, k));
      if (!(d >= 265 || (d <= 30 && b1.height() <= h / 5))) return false;
    }
    return true;
  }
  return false;
}

// Step 2: a link that starts where B1 crossed back over itself.
bool starts_at_back_crossing(RecognitionContext& context, const LinkNeighbours& n) {
  const int h = context.letter_height();
  const StrokeRecord& before = *n.before;
  const StrokeRecord& after = *n.after;
  const Box16 l = box_of(*n.link);
  const Box16 b1 = box_of(before);
  const Box16 b2 = box_of(after);
  const bool one_point = point_count(*n.link) == 1;
  const bool one_point_rule = one_point && b1.right > b2.right && b2.top >= l.bottom &&
                              b2.right <= l.right;
  const int n1 = point_count(before);
  const PointRecord& q = record_at(before, n1 - 2);
  const PointRecord& start = record_at(*n.link, 0);
  if (!has_second_partner(start) && !has_second_partner(q)) return false;
  if (b1.right - b1.width() / 4 <= l.right) return one_point_rule;
  if (point_count(after) == 1) return false;
  int u = 0;
  int a = 0;
  if (has_second_partner(start)) {
    u = start.trajectory.second_partner;
    a = step_direction(start.point, one_point ? point_at(after, 1) : point_at(*n.link, 1));
  } else {
    u = q.trajectory.second_partner;
    a = step_direction(q.point, start.point);
  }
  if (number_at(before, 1) > u) return false;
  int b = a - 1;
  for (int k = 1; k < n1; ++k) {
    if (number_at(before, k) >= u) {
      b = step_direction(point_at(before, k), point_at(before, k - 1));
      break;
    }
  }
  if ((a >= 180 && a <= b && (b <= 300 || one_point)) ||
      (point_count(after) <= 2 && a < 90 && b2.height() < h / 6)) {
    return true;
  }
  return one_point_rule;
}

}  // namespace

int remove_loops_links(RecognitionContext& context) {
  return remove_links_where(context, [&context](const LinkNeighbours& n, int* status) {
    TextLine* line = context.text_lines().item_checked(n.link->line_index);
    if (line == nullptr) {
      *status = kBadArgument;
      return false;
    }
    if (point_count(*n.link) == 1 && has_first_partner(record_at(*n.link, 0)) &&
        closes_small_loop(context, n, *line)) {
      return true;
    }
    return point_count(*n.before) >= 3 && starts_at_back_crossing(context, n);
  });
}

}  // namespace inkrec

// "remove_links_inside_loops": links that lie inside a loop of their
// stroke, examined loop by loop, merged away unless the ink around the
// loop shows them to be a connection, or moved onto the loop's crossing.

#include <algorithm>
#include <cstdlib>

#include "engine/analysis/link_passes.h"
#include "engine/analysis/loop_move.h"
#include "engine/analysis/piece_measures.h"
#include "engine/foundation/status.h"
#include "engine/records/point_runs.h"
#include "engine/records/recognition_context.h"

namespace inkrec {

namespace {

constexpr std::uint16_t kNoPartner = 0xFFFF;

enum class Verdict { kKeep, kRemove };

// A link examined inside the loop of its stroke from the point numbered a
// to the point numbered b.
class InsideLoopExamination {
 public:
  InsideLoopExamination(RecognitionContext& context, const StrokeRecord& stroke, std::uint32_t i,
                        int a, int a_index, int b, bool has_r)
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

  // c1, the crossing before the link, walking back from the point
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

  // An r whose stroke reaches back left of the link above it.
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

  // The loop closes round the link at a second crossing before it and a
  // first crossing right of it.
  bool keeps_at_second_crossing() {
    if (!has_second_partner(at(c1_)) || !has_first_partner(at(c2_)) || point(c2_).x < link_.right) {
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

  // Two first crossings around the link.
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

  // A crossing before c1 belongs to a loop of an earlier
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

  // Waived by the crossing before c1: its partner lies after the link
  // above it, or its loop encloses the link.
  bool waived_by_crossings(int jr) {
    const PackedPoint start = start_of(*n_.link);
    const bool after_link = jr > c2_ && jr >= 0 && point(jr).y < start.y &&
                            b1_.bottom < n_.before->geometry.reference_band().bottom + h_ / 4;
    bool encloses = false;
    if (has_second_partner(at(c0_)) && jr > 0) {
      const ProfileRaster& raster = n_.before->glyph_block_a();
      bool right = false;
      bool left = false;
      for (int j = jr; j < c0_; ++j) {
        right = right || point(j).x > link_.right;
        left = left || point(j).x < link_.left;
      }
      encloses = start.x >= raster.row_min(start.y) &&
                 raster.column_max(start.x + 1) - link_.bottom > -(h_ / 10) && right && left;
    }
    return after_link || encloses;
  }

  // Waived when the link starts high, well left of c1.
  bool waived_by_start() const {
    const int span = point(c1_).x - point(c0_).x;
    const PackedPoint start = start_of(*n_.link);
    return span > 0 && point(c1_).x - start.x > 2 * span / 3 && start.y < point(c0_).y;
  }

  // Waived when the link leaves B1 and enters B2 in the writing's
  // directions, level with B2.
  bool waived_by_directions() {
    if (point_count(*n_.before) < 2 || point_count(*n_.after) < 2) return false;
    const int d1 = direction_at(*n_.before, point_count(*n_.before) - 2);
    const int d2 = direction_at(*n_.after, 0);
    const FigureRecord* further = body_at(context_, n_.link->stroke_index, n_.link->piece + 3);
    return link_.top - b2_.top < h_ / 6 && b2_.left - link_.left > -(h_ / 3) &&
           (further == nullptr || box_of(*further).top >= link_.top - h_ / 6) && d2 > 40 &&
           d1 >= 41 && d1 <= 319;
  }

  // Waived when B2 comes back to cross the ink before c1, or to c1 itself
  // after a long way.
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

  // The loop's ends run parallel beside the link, or the bodies cross:
  // kept; else the link moves onto the crossing or goes.
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

}  // namespace inkrec

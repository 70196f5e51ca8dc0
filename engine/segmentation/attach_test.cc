#include "engine/segmentation/attach_test.h"

#include <algorithm>

#include "engine/foundation/polylines.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/records/letter_fields.h"
#include "engine/records/request_switches.h"

namespace inkrec {
namespace {

constexpr int kSmallFigure = 200;

std::int32_t size_of(StrokeRecord& figure) { return mark_length(figure_mark_block(figure)); }
bool is_small(StrokeRecord& figure) { return size_of(figure) < kSmallFigure; }
bool kind_3(const GlyphGeometry& g) { return mark_class(g) == 3 || second_class(g) == 3; }
bool is_flat(const Box16& box) { return box.width() > 2 * box.height(); }
bool link_or_first_piece(const FigureRecord& f) { return link_flag(f) || piece_number(f) == 0; }

// The folded angle: above 180 loses 180.
int folded(int angle) { return angle > 180 ? angle - 180 : angle; }

AngleWindow window_about(int slant, int half, int low, int high) {
  if (slant >= 46 && slant <= 134) return {slant - half, slant + half};
  return {low, high};
}

}  // namespace

struct AttachTest::Pair {
  FigureRecord& i;
  FigureRecord& j;
  Box16 a;  // i's box
  Box16 b;  // j's box
  PackedPoint ref_i;
  PackedPoint ref_j;
  int distance = 0;
  int angle = 0;
  int shift = 0;
  int overlap = 0;  // percent of j's width under i moved along the slant
  int limit = 0;
  int side = 0;
};

AttachTest::AttachTest(FragmentState& state)
    : state_(state),
      h_(std::max<int>(state.context.letter_height(), 1)),
      s_(state.context.settings().upper_height) {
  const int a = state.context.line_slant_angle();
  slant_ = a < 180 ? a : 360 - a;
  near_ = 4 * h_ / 5;
  side_ = 2 * h_ / 5;
  wide_ = window_about(slant_, 32, 60, 130);
  middle_ = window_about(slant_, 16, 75, 105);
  narrow_ = window_about(slant_, 8, 85, 95);
}

int AttachTest::slant_shift(int dy) const {
  return dy * scale_by_tangent(slant_ - 90, 1000) / 1000;
}

int AttachTest::test(FigureRecord& i, FigureRecord& j, int limit, bool* attached) {
  *attached = false;
  const PairMetrics* entry = state_.context.figure_pairs().at(body_index(i), body_index(j));
  if (entry == nullptr) return kBadArgument;
  Pair p{i, j, i.geometry.bounding_box(), j.geometry.bounding_box(),
         reference_point(i.geometry), reference_point(j.geometry)};
  p.distance = entry->link_distance;
  p.angle = folded(entry->angle);
  p.shift = slant_shift(p.ref_i.y - p.ref_j.y);
  const int common = std::min(p.a.right + p.shift, int{p.b.right}) -
                     std::max(p.a.left + p.shift, int{p.b.left});
  // A figure without width lies wholly under the anchor or not at all.
  const int width = p.b.right - p.b.left;
  if (width == 0) {
    p.overlap = common >= 0 ? 100 : 0;
  } else {
    p.overlap = std::max(common, 0) * 100 / width;
  }
  p.limit = limit;
  const bool small = is_small(j);
  if (small && is_flat(p.b) &&
      (p.overlap <= 0 || (RequestSwitches(state_.context.kernel().params()).stroke_joining() &&
                          stroke_number(j) < stroke_number(i)))) {
    p.limit /= 2;
  }
  p.side = kind_3(j.geometry) && small ? 2 * side_ : side_;
  if (link_flag(j)) {
    std::uint8_t keep = 1;
    if (const int status = reject_small_link(state_, i, j, &keep); status != kOk) return status;
    if (keep == 0) return kOk;
  }
  if (const int status = attached_by_place(p, attached); status != kOk || *attached) return status;
  if (const int status = attached_on_strokes(p, attached); status != kOk || *attached) {
    return status;
  }
  *attached = attached_in_cone(p) || attached_beside_neighbour(p, -2) ||
              attached_beside_neighbour(p, 2);
  return kOk;
}

// Near the anchor, in one of the angle windows, or under or over it.
int AttachTest::attached_by_place(Pair& p, bool* attached) {
  if (p.distance <= p.limit) return *attached = true, kOk;
  if (link_or_first_piece(p.j) &&
      ((p.distance < p.side && wide_.holds(p.angle)) ||
       (p.distance < near_ && middle_.holds(p.angle)) ||
       (p.distance < 4 * (h_ + s_) / 5 && narrow_.holds(p.angle)))) {
    return *attached = true, kOk;
  }
  if (link_flag(p.i) && p.ref_i.y < p.ref_j.y &&
      ((p.ref_j.x < p.a.right + p.limit / 2 + p.shift && p.overlap >= 25) ||
       (p.b.right < p.a.right + h_ / 3 && p.overlap >= 35 && p.a.left < p.b.left + h_ / 3 &&
        is_small(p.j)))) {
    return *attached = true, kOk;
  }
  if (p.overlap >= 45 && p.ref_i.y > p.ref_j.y && p.b.height() < h_ && link_flag(p.j)) {
    return *attached = true, kOk;
  }
  *attached = p.overlap == 100 && link_or_first_piece(p.j);
  return kOk;
}

// On the anchor's stroke, or on the stroke written just before or after.
int AttachTest::attached_on_strokes(Pair& p, bool* attached) {
  const int si = stroke_number(p.i);
  const int sj = stroke_number(p.j);
  if (si == sj) {
    const int apart = std::abs(piece_number(p.i) - piece_number(p.j));
    *attached = apart == 2 || Box16::united(p.a, p.b).width() <= 3 * state_.mean_height;
    return kOk;
  }
  if (sj != si - 1 && sj != si + 1) return kOk;
  const PairMetrics* strokes = state_.context.pair_table().at(si, sj);
  if (strokes == nullptr) return kBadArgument;
  if (strokes->pair_value() >= 2) return kOk;
  DynArray<FigureRecord>& bodies = state_.context.bodies();
  if (sj == si - 1) {
    const StrokeRecord* stroke = find_stroke_record_b(state_.context.strokes(), p.j.stroke_index);
    if (stroke == nullptr) return kBadArgument;
    *attached = piece_number(p.i) == 2 &&
                piece_start_selector(p.j) + p.j.run.count == stroke->run.count;
    return kOk;
  }
  const bool second_on = figure_array_get2(bodies, p.i.stroke_index, end_key(p.i) + 4) != nullptr;
  *attached = (piece_number(p.j) == 0 || piece_number(p.j) == 2) && !second_on;
  return kOk;
}

// Within the cone of the wide window opening upwards from the anchor.
bool AttachTest::attached_in_cone(const Pair& p) const {
  if (p.distance >= (p.side + near_) / 2 || p.ref_i.y <= p.ref_j.y || !link_or_first_piece(p.j) ||
      wide_.low == 90 || wide_.high == 90 || p.j.run.empty()) {
    return false;
  }
  const PackedPoint first = p.j.run.points[0].point;
  const PackedPoint last = p.j.run.points[p.j.run.count - 1].point;
  const bool backwards = first.x >= last.x;
  const PackedPoint e = backwards ? last : first;
  const int start = backwards ? p.b.left : e.x;
  const int end = backwards ? e.x : p.b.right;
  const int tan_low = scale_by_tangent(wide_.low, 1000);
  const int tan_high = scale_by_tangent(wide_.high, 1000);
  if (tan_low == 0 || tan_high == 0) return false;
  const int dy = p.ref_i.y - e.y;
  const int x_low = p.ref_i.x - dy * 1000 / tan_low;
  const int x_high = p.ref_i.x - dy * 1000 / tan_high;
  return std::min(x_high, end) - std::max(start, x_low) > (x_high - x_low) / 3 && e.y < p.ref_i.y;
}

// Beside the anchor and the body two pieces before (or after) it on its
// stroke, when the two stand high in the line.
bool AttachTest::attached_beside_neighbour(const Pair& p, int piece_offset) {
  if (piece_number(p.i) < 2 || p.ref_i.y >= p.ref_j.y) return false;
  const FigureRecord* neighbour = figure_array_get2(state_.context.bodies(), p.i.stroke_index,
                                                    static_cast<std::uint16_t>(piece_number(p.i) + piece_offset));
  if (neighbour == nullptr) return false;
  const ReferenceBand& band = p.i.geometry.reference_band();
  const int m = std::max(h_, band.has_bounds() ? band.bottom - band.top : 0);
  const Box16 u = Box16::united(neighbour->geometry.bounding_box(), p.a);
  const int v = std::max(Box16::united(u, p.b).height(), m);
  const StrokeRecord* stroke = find_stroke_record_b(state_.context.strokes(), p.j.stroke_index);
  if (stroke == nullptr) return false;
  const Box16 stroke_box = points_bounding_box(stroke->run.span());
  return u.bottom < band.top + m / 2 && p.ref_j.y > u.top && u.width() < 3 * m &&
         p.b.left >= u.left - v / 2 && p.b.right <= u.right + v / 2 &&
         stroke_box.overlaps_x(u);
}

int reject_small_link(FragmentState& state, const FigureRecord& a, const FigureRecord& b,
                      std::uint8_t* flag) {
  const int t = std::max<int>(state.context.letter_height(), 1) / 5;
  const int limit = std::clamp(t, 3, 15);
  const Box16 box = b.geometry.bounding_box();
  if (box.height() > limit || box.width() > limit) return kOk;
  const PairMetrics* entry = state.context.figure_pairs().at(body_index(a), body_index(b));
  if (entry == nullptr) return kBadArgument;
  if (entry->link_distance < std::max(t, 6)) return kOk;
  *flag = 0;
  return kOk;
}

}  // namespace inkrec

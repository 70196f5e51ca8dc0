#include "engine/segmentation/pair_measures.h"

#include <algorithm>
#include <cstdlib>

#include "engine/foundation/polylines.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/foundation/values.h"
#include "engine/records/figure_measures.h"
#include "engine/records/letter_fields.h"
#include "engine/records/request_switches.h"

namespace inkrec {
namespace {

// The entry of (i, j), the table filled up with unmeasured entries when it
// is still short of it; null when it cannot grow or the pair is outside.
PairMetrics* entry_of(PairTable& table, std::uint32_t i, std::uint32_t j) {
  const int index = pair_index(table, i, j);
  if (index < 0) return nullptr;
  DynArray<PairMetrics>& entries = table.entries();
  const auto needed = static_cast<std::uint32_t>(index) + 1;
  if (entries.size() < needed && entries.resize(needed) != kOk) return nullptr;
  return &entries[static_cast<std::uint32_t>(index)];
}

int missing_entry_status(const PairTable& table, std::uint32_t i, std::uint32_t j) {
  return pair_index(table, i, j) < 0 ? kBadArgument : kOutOfMemory;
}

PointSpan points_of(const StrokeRecord& record) { return record.run.span(); }

// The measures shared by stroke and figure pairs: angle, vertical relation
// and link cost, and the distances when asked for.
void measure_common(const StrokeRecord& a, const StrokeRecord& b, bool distances,
                    PairMetrics& entry) {
  const Box16 box_a = a.geometry.bounding_box();
  const Box16 box_b = b.geometry.bounding_box();
  if (distances) {
    const PolylineDistances d =
        polyline_distances_boxed(points_of(a), box_a, points_of(b), box_b);
    entry.measures[0] = d.overall;
    entry.measures[1] = d.end_a_to_b;
    entry.measures[2] = d.start_a_to_b;
    entry.measures[3] = d.start_b_to_a;
    entry.link_distance = d.overall;
  }
  entry.angle = static_cast<std::int16_t>(
      step_direction(reference_point(a.geometry), reference_point(b.geometry)));
  entry.vertical_relation.compute(box_a.top, box_a.bottom, box_b.top, box_b.bottom);
  entry.link_cost = 0;
}

// Appends the points first .. last - 1 of the span.
int append_points(PointSpan points, std::int32_t first, std::int32_t last,
                  DynArray<PackedPoint>& out) {
  for (std::int32_t k = first; k < last; ++k) {
    if (out.push_back(points[k]) != kOk) return kOutOfMemory;
  }
  return kOk;
}

// The body's points with those of the links next to it on its stroke
// before and after them (each link's joint point left out).
int extended_points(RecognitionContext& context, const FigureRecord& body,
                    DynArray<PackedPoint>& out) {
  out.clear();
  DynArray<FigureRecord>& links = context.links();
  const FigureRecord* before =
      body.piece > 0 && body.piece != kNoKey16
          ? figure_array_get2(links, body.stroke_index, static_cast<std::uint16_t>(body.piece - 1))
          : nullptr;
  const FigureRecord* after =
      links.empty() || body.piece == kNoKey16
          ? nullptr
          : figure_array_get2(links, body.stroke_index, static_cast<std::uint16_t>(body.piece + 1));
  const PointSpan own = points_of(body);
  const PointSpan head = before == nullptr ? PointSpan() : points_of(*before);
  const PointSpan tail = after == nullptr ? PointSpan() : points_of(*after);
  if (append_points(head, 0, head.size() - 1, out) != kOk ||
      append_points(own, 0, own.size(), out) != kOk ||
      append_points(tail, 1, tail.size(), out) != kOk) {
    return kOutOfMemory;
  }
  return kOk;
}

bool one_link_apart(const FigureRecord& a, const FigureRecord& b) {
  return a.stroke_index == b.stroke_index && std::abs(int{a.piece} - int{b.piece}) == 2;
}

// A half of the pair's band measure: the box, the middle x (as a 16-bit
// pattern) and the ink length of one body inside the band.
void keep_half(const BandExtent& extent, Box16& box, std::uint16_t (&half)[2]) {
  box = extent.box;
  half[0] = static_cast<std::uint16_t>(extent.centre.x);
  half[1] = static_cast<std::uint16_t>(std::clamp(extent.amount, 0, 0xFFFF));
}

// The extents of the two bodies over the rows they share.
int measure_bands(RecognitionContext& context, const FigureRecord& fi, const FigureRecord& fj,
                  std::uint32_t i, std::uint32_t j, PairMetrics& entry) {
  const Box16 bi = fi.geometry.bounding_box();
  const Box16 bj = fj.geometry.bounding_box();
  const int top = std::max(bi.top, bj.top);
  const int bottom = std::min(bi.bottom, bj.bottom);
  if (top >= bottom) return kOk;
  const bool i_left = reference_point(fi.geometry).x < reference_point(fj.geometry).x;
  const FigureRecord& left = i_left ? fi : fj;
  const FigureRecord& right = i_left ? fj : fi;
  entry.left_index = static_cast<std::int16_t>(i_left ? i : j);
  entry.right_index = static_cast<std::int16_t>(i_left ? j : i);
  const int slant = context.line_slant_angle();
  BandExtent a;
  BandExtent b;
  const int sa = figure_band_extent(left, top, bottom - top, slant, a);
  if (sa < 0) return sa;
  const int sb = figure_band_extent(right, top, bottom - top, slant, b);
  if (sb < 0) return sb;
  if (sa > 0) keep_half(a, entry.band_a, entry.half_measures[0]);
  if (sb > 0) keep_half(b, entry.band_b, entry.half_measures[1]);
  return kOk;
}

}  // namespace

int measure_stroke_pair(RecognitionContext& context, std::uint32_t j, std::uint32_t i,
                        bool distances) {
  const StrokeRecord* a = context.strokes().item_checked(j);
  const StrokeRecord* b = context.strokes().item_checked(i);
  if (a == nullptr || b == nullptr) return kBadArgument;
  PairMetrics* entry = entry_of(context.pair_table(), i, j);
  if (entry == nullptr) return missing_entry_status(context.pair_table(), i, j);
  measure_common(*a, *b, distances, *entry);
  return kOk;
}

int measure_figure_pair(RecognitionContext& context, std::uint32_t j, std::uint32_t i) {
  const FigureRecord* fj = context.bodies().item_checked(j);
  const FigureRecord* fi = context.bodies().item_checked(i);
  if (fi == nullptr || fj == nullptr) return kBadArgument;
  PairMetrics* entry = entry_of(context.figure_pairs(), i, j);
  if (entry == nullptr) return missing_entry_status(context.figure_pairs(), i, j);
  measure_common(*fj, *fi, true, *entry);
  entry->kind = fi->line_index == fj->line_index && fi->line_index != kNoKey16
                    ? static_cast<std::int16_t>(fi->line_index)
                    : -1;
  if (one_link_apart(*fi, *fj)) {
    entry->link_distance = -1;
  } else {
    DynArray<PackedPoint> run_i;
    DynArray<PackedPoint> run_j;
    if (extended_points(context, *fi, run_i) != kOk ||
        extended_points(context, *fj, run_j) != kOk) {
      return kOutOfMemory;
    }
    const PolylineDistances d =
        polyline_distances(PointSpan(run_i.data(), static_cast<std::int32_t>(run_i.size())),
                           PointSpan(run_j.data(), static_cast<std::int32_t>(run_j.size())));
    entry->link_distance = std::min(entry->link_distance, d.overall);
  }
  return measure_bands(context, *fi, *fj, i, j, *entry);
}

int apply_baselines_to_figures(RecognitionContext& context) {
  if (!RequestSwitches(context.kernel().params()).body_and_link()) {
    PairTable& figures = context.figure_pairs();
    const int status = figures.reserve(context.pair_table().figure_count());
    if (status != kOk) return status;
    return figures.entries().assign(context.pair_table().entries());
  }
  const std::uint32_t n = context.bodies().size();
  for (std::uint32_t i = 1; i < n; ++i) {
    for (std::uint32_t j = 0; j < i; ++j) {
      if (const int status = measure_figure_pair(context, j, i); status != kOk) return status;
    }
  }
  return kOk;
}

}  // namespace inkrec

// Chord, turning and end features: "06-DugolChord" counts raster points by
// the bend of the chords 13 raster points before and after them (and leaves
// the chord measures in the raster records), "07-SumDug" and "18-NewSumDug"
// classify the summed turning of the strokes and of the chords, and
// "08-Konchi" counts where strokes start and end.

#include <algorithm>
#include <array>
#include <cstdlib>
#include <span>

#include "engine/analysis/raf_extractors.h"
#include "engine/analysis/raf_grid.h"
#include "engine/analysis/raf_walk.h"
#include "engine/foundation/segments.h"
#include "engine/foundation/trigonometry.h"

namespace inkrec {
namespace {

constexpr std::uint32_t kChordReach = 13;
constexpr std::uint32_t kSmoothingReach = 3;
constexpr int kGreatestSummedTurn = 140;
constexpr int kSharpBend = 170;
constexpr int kSharpBendChordDifference = 7;
constexpr int kShortestBendChord = 2;

PackedPoint minus(PackedPoint a, PackedPoint b) {
  return {static_cast<std::int16_t>(a.x - b.x), static_cast<std::int16_t>(a.y - b.y)};
}

int direction_of(PackedPoint v) { return direction_degrees(v.y, v.x); }

// Bend classes of the smoothed chord turn: 0 straight up to 5 sharpest.
int bend_class(int magnitude) {
  constexpr std::array<int, 4> kBelow = {13, 31, 61, 121};
  for (std::size_t c = 0; c < kBelow.size(); ++c) {
    if (magnitude < kBelow[c]) return static_cast<int>(c);
  }
  return magnitude <= kSharpBend ? 4 : 5;
}

// The side toward which p bulges from the midpoint of its chord: 0 +x,
// 1 +y, 2 -x, 3 -y; the upright sides take the ties, a zero vector is 1.
int bulge_side(PackedPoint p, PackedPoint a, PackedPoint b) {
  const int dx = p.x - (a.x + b.x) / 2;
  const int dy = p.y - (a.y + b.y) / 2;
  if (dx > std::abs(dy)) return 0;
  if (-dx > std::abs(dy)) return 2;
  return dy < 0 ? 3 : 1;
}

// First pass over one stroke's raster span [start, end): the chord
// direction, turn and lengths at every point but the last.
void measure_chords(RafWorkArea& work, std::uint32_t start, std::uint32_t end) {
  for (std::uint32_t i = start; i + 1 < end; ++i) {
    const bool near_start = i < start + kChordReach;
    const PackedPoint a = work.points[near_start ? start : i - kChordReach];
    const PackedPoint b = work.points[i + kChordReach < end ? i + kChordReach : end - 1];
    const PackedPoint p = work.points[i];
    SegmentRecord& record = work.raster_segments[i];
    record.chord_direction = direction_of(minus(b, p));
    const int back_direction = near_start ? direction_of(minus(p, a))
                                          : work.raster_segments[i - kChordReach].chord_direction;
    record.chord_turn =
        static_cast<std::int16_t>(angle_difference(back_direction, record.chord_direction));
    record.back_chord = near_start ? octagonal_length(minus(p, a))
                                   : work.raster_segments[i - kChordReach].forward_chord;
    record.forward_chord = octagonal_length(minus(b, p));
    record.chord_weight = std::min(record.forward_chord, record.back_chord);
  }
}

// The weighted mean chord turn over raster records i - 3 .. i + 3 (the
// lower end bounded by the raster's start, the upper by the stroke's last
// raster point).
std::int32_t smoothed_turn(const RafWorkArea& work, std::uint32_t i, std::uint32_t end) {
  const std::uint32_t low = i >= kSmoothingReach ? i - kSmoothingReach : 0;
  const std::uint32_t high = std::min(i + kSmoothingReach, end - 1);
  std::int64_t weighted = 0;
  std::int64_t weights = 0;
  for (std::uint32_t k = low; k <= high; ++k) {
    weighted +=
        std::int64_t{work.raster_segments[k].chord_turn} * work.raster_segments[k].chord_weight;
    weights += work.raster_segments[k].chord_weight;
  }
  return weights == 0 ? 0 : static_cast<std::int32_t>(weighted / weights);
}

// The plane of raster point i of the span, or -1 when it is not counted.
int bend_plane(const RafWorkArea& work, std::uint32_t i, std::uint32_t start, std::uint32_t end) {
  const SegmentRecord& record = work.raster_segments[i];
  const PackedPoint a = work.points[i < start + kChordReach ? start : i - kChordReach];
  const PackedPoint b = work.points[i + kChordReach < end ? i + kChordReach : end - 1];
  const PackedPoint p = work.points[i];
  const int magnitude = std::abs(record.smoothed_turn);
  const int bend = bend_class(magnitude);
  if (magnitude > kSharpBend &&
      std::abs(record.forward_chord - record.back_chord) > kSharpBendChordDifference) {
    return -1;
  }
  if (bend == 0) return std::abs(b.x - a.x) >= std::abs(b.y - a.y) ? 0 : 1;
  if (record.back_chord < kShortestBendChord || record.forward_chord < kShortestBendChord ||
      record.chord_turn == 0) {
    return -1;
  }
  if (point_segment_distance(p, a, b, record.back_chord, record.forward_chord) < 1) return -1;
  return 4 * bend - 2 + bulge_side(p, a, b);
}

// Adds 1 at `offset` + class of the signed sum S and at nx + class of the
// back-and-forth D = A - S; 7007 when the second counter leaves the block.
int count_turning_classes(RafBlock& block, std::int64_t signed_sum, std::int64_t absolute_sum,
                          std::span<const int> sum_limits, std::span<const int> spread_limits) {
  const auto class_of = [](std::int64_t v, std::span<const int> limits) {
    std::int64_t c = 0;
    while (c < static_cast<std::int64_t>(limits.size()) && v >= limits[static_cast<std::size_t>(c)])
      ++c;
    return c;
  };
  const std::int64_t s = std::llabs(signed_sum);
  if (const int status = block.add(class_of(s, sum_limits)); status != kOk) return status;
  return block.add(block.nx() + class_of(absolute_sum - s, spread_limits));
}

void add_turn(int turn, std::int64_t& signed_sum, std::int64_t& absolute_sum) {
  if (std::abs(turn) > kGreatestSummedTurn) return;
  signed_sum += turn;
  absolute_sum += std::abs(turn);
}

}  // namespace

int count_chord_bends(const RafDescriptor& descriptor, RafContext& context) {
  RafWorkArea& work = context.work;
  if (work.raster_segments.size() != work.points.size() + 1) return kBadArgument;
  RafBlock block(context.vector.values, descriptor.raf, 22);
  return for_each_stroke(work, [&](std::uint32_t, std::uint32_t first, std::uint32_t count) {
    RasterRange span;
    if (!stroke_raster_of(work, first, count, &span)) return kBadArgument;
    measure_chords(work, span.begin, span.end);
    for (std::uint32_t i = span.begin + 1; i + 1 < span.end; ++i) {
      work.raster_segments[i].smoothed_turn = smoothed_turn(work, i, span.end);
      const int plane = bend_plane(work, i, span.begin, span.end);
      if (plane < 0) continue;
      if (const int status = count_point(work, block, plane, work.points[i]); status != kOk) {
        return status;
      }
    }
    return kOk;
  });
}

int count_turning_sum(const RafDescriptor& descriptor, RafContext& context) {
  const RafWorkArea& work = context.work;
  std::int64_t signed_sum = 0;
  std::int64_t absolute_sum = 0;
  const int status =
      for_each_stroke(work, [&](std::uint32_t, std::uint32_t first, std::uint32_t count) {
        if (first + count > work.segments.size()) return kBadArgument;
        for (std::uint32_t k = first; k < first + count; ++k) {
          add_turn(work.segments[k].turn, signed_sum, absolute_sum);
        }
        return kOk;
      });
  if (status != kOk) return status;
  static constexpr int kSumLimits[] = {60, 100, 250, 350, 500, 700, 1000, 1300};
  static constexpr int kSpreadLimits[] = {5, 30, 100, 200, 300, 450, 600, 800, 1200};
  RafBlock block(context.vector.values, descriptor.raf);
  return count_turning_classes(block, signed_sum, absolute_sum, kSumLimits, kSpreadLimits);
}

int count_chord_turning_sum(const RafDescriptor& descriptor, RafContext& context) {
  const RafWorkArea& work = context.work;
  if (work.raster_segments.size() != work.points.size() + 1) return kBadArgument;
  std::int64_t signed_sum = 0;
  std::int64_t absolute_sum = 0;
  const int status =
      for_each_stroke(work, [&](std::uint32_t, std::uint32_t first, std::uint32_t count) {
        RasterRange span;
        if (!stroke_raster_of(work, first, count, &span)) return kBadArgument;
        for (std::uint32_t i = span.begin; i + 1 < span.end; ++i) {
          add_turn(work.raster_segments[i].smoothed_turn, signed_sum, absolute_sum);
        }
        return kOk;
      });
  if (status != kOk) return status;
  static constexpr int kSumLimits[] = {150, 300, 600, 1200, 1700, 2900, 3700, 4800, 5900};
  static constexpr int kSpreadLimits[] = {10, 100, 700, 1700, 2000, 3000, 3600, 4500, 6000};
  RafBlock block(context.vector.values, descriptor.raf);
  return count_turning_classes(block, signed_sum, absolute_sum, kSumLimits, kSpreadLimits);
}

int count_stroke_ends(const RafDescriptor& descriptor, RafContext& context) {
  const RafWorkArea& work = context.work;
  const RafEndSwitches* switches = descriptor.end_switches;
  const bool starts = switches == nullptr || switches->starts != 0;
  const bool ends = switches == nullptr || switches->ends != 0;
  RafBlock block(context.vector.values, descriptor.raf, 2);
  for (const StrokeView& view : work.strokes) {
    if (view.points == nullptr || view.count < 1) continue;
    const PackedPoint start = view.points[0];
    int status = starts ? count_point(work, block, 0, start) : check_point_row(work, start);
    if (status != kOk) return status;
    if (view.count < 2) continue;
    const PackedPoint end = view.points[view.count - 1];
    status = ends ? count_point(work, block, 1, end) : check_point_row(work, end);
    if (status != kOk) return status;
  }
  return kOk;
}

}  // namespace inkrec

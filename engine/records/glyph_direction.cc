// The direction pass of the shape analysis: how a figure's ink is oriented,
// summed in twelve sectors of 30 degrees; how compact it is; its overall
// direction; and the shape class that direction and the figure's ends give.

#include "engine/records/glyph_direction.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/foundation/values.h"
#include "engine/records/clamped_ramp.h"
#include "engine/records/trajectory_record.h"
#include "engine/records/vertical_extrema.h"

namespace inkrec {
namespace {

constexpr int kFullConfidence = 8200;
constexpr int kNoExtremumScore = 10000;

// The weight of a set of sectors and the weighted sum of their folded
// directions.
struct DirectionSum {
  DirectionSum operator+(const DirectionSum& other) const {
    return {weight + other.weight, sum + other.sum};
  }
  DirectionSum percent(int p) const { return {weight * p / 100, sum * p / 100}; }
  int mean(int none) const { return weight == 0 ? none : static_cast<int>(sum / weight); }

  std::int64_t weight = 0;
  std::int64_t sum = 0;
};

class SectorTable {
 public:
  // Direction in 0..359; the sums take it folded into 0..179.
  void add(int direction, std::int64_t weight) {
    const int sector = std::clamp(direction / 30, 0, 11);
    const int folded = direction >= 180 ? direction - 180 : direction;
    sectors_[sector].weight += weight;
    sectors_[sector].sum += weight * folded;
    total_ += weight;
  }

  // Sector k with `shift` added to each of its folded directions.
  DirectionSum sector(int k, int shift = 0) const {
    return {sectors_[k].weight, sectors_[k].sum + shift * sectors_[k].weight};
  }
  std::int64_t total() const { return total_; }

 private:
  DirectionSum sectors_[12];
  std::int64_t total_ = 0;
};

// What one walk over the runs collects.
struct InkPass {
  int measure(const PointRun& run, int threshold, bool trajectory_mode);

  SectorTable sectors;
  ReversalCounts reversals;
  std::int64_t least_score = kNoExtremumScore;
};

int InkPass::measure(const PointRun& run, int threshold, bool trajectory_mode) {
  ExtremumList extrema;
  if (const int status = find_vertical_extrema(extrema, run.points, run.count, threshold);
      status != kOk) {
    return status;
  }
  for (const Extremum& e : extrema.entries) {
    if (!e.is_turning_point() || e.is_start() || e.is_end()) continue;
    least_score = std::min<std::int64_t>(least_score, std::llabs(e.record->trajectory.score));
  }
  int vertical_sign = 0;
  for (std::int32_t i = 0; i + 1 < run.count; ++i) {
    const PointRecord& from = run.points[i];
    const PackedPoint p = from.point;
    const PackedPoint q = run.points[i + 1].point;
    const int weight =
        trajectory_mode ? from.trajectory.step_length : octagonal_length(q.x - p.x, q.y - p.y);
    if (weight <= 0) continue;
    const int sign = q.y > p.y ? 1 : q.y < p.y ? -1 : 0;
    if (sign != 0) {
      if (vertical_sign < 0 && sign > 0) ++reversals.up_to_down;
      if (vertical_sign > 0 && sign < 0) ++reversals.down_to_up;
      vertical_sign = sign;
    }
    sectors.add(trajectory_mode ? from.trajectory.step_direction : step_direction(p, q), weight);
  }
  return kOk;
}

// Compactness (percent) and diameter of the ink: the area the ink sweeps
// about the box centre and the area of the octagon of the eight extreme
// points, averaged and taken in percent of the squared greatest octagonal
// distance of a point from the centre; the diameter is twice that distance.
// Of the ways to combine the two areas measured on real letters, the mean
// suits the shape-class thresholds best (bench/README.md).
struct PolygonMeasure {
  std::int64_t compactness = 0;
  std::int64_t diameter = 0;
};

std::int64_t cross_about(PackedPoint c, PackedPoint p, PackedPoint q) {
  return (std::int64_t{p.x} - c.x) * (std::int64_t{q.y} - c.y) -
         (std::int64_t{p.y} - c.y) * (std::int64_t{q.x} - c.x);
}

PolygonMeasure measure_polygon(const GlyphGeometry& geometry, RunList runs, const Box16& box) {
  const PackedPoint centre{box.center_x(), box.center_y()};
  std::int64_t radius = 0;
  std::int64_t ink_area2 = 0;  // twice the area
  for (const PointRun* run : runs) {
    const PointSpan points = run->span();
    std::int64_t swept = 0;
    for (std::int32_t i = 0; i < points.size(); ++i) {
      const PackedPoint p = points[i];
      radius = std::max<std::int64_t>(radius, octagonal_length(p.x - centre.x, p.y - centre.y));
      if (i + 1 < points.size()) swept += cross_about(centre, p, points[i + 1]);
    }
    ink_area2 += std::llabs(swept);
  }
  std::int64_t octagon_area2 = 0;
  for (int k = 0; k < GlyphGeometry::kExtremeCount; ++k) {
    const PointRecord* a = geometry.extremes[k];
    const PointRecord* b = geometry.extremes[(k + 1) % GlyphGeometry::kExtremeCount];
    if (a != nullptr && b != nullptr) octagon_area2 += cross_about(centre, a->point, b->point);
  }
  octagon_area2 = std::llabs(octagon_area2);
  PolygonMeasure measure;
  measure.diameter = 2 * radius;
  // The mean of the two areas is (ink + octagon) / 2, each area being half
  // its doubled shoelace sum.
  if (radius > 0) measure.compactness = 100 * (ink_area2 + octagon_area2) / 4 / (radius * radius);
  return measure;
}

// Where a figure's first and last points lie in its box.
struct EndPositions {
  bool start_right = false;
  bool start_lower = false;
  bool end_right = false;
  bool end_lower = false;
};

EndPositions end_positions(RunList runs, const Box16& box) {
  const PointRun* first = nullptr;
  const PointRun* last = nullptr;
  for (const PointRun* run : runs) {
    if (run->empty()) continue;
    if (first == nullptr) first = run;
    last = run;
  }
  EndPositions ends;
  if (first == nullptr) return ends;
  const PackedPoint s = first->span().front();
  const PackedPoint e = last->span().back();
  ends.start_right = s.x - box.left >= box.right - s.x;
  ends.start_lower = s.y - box.top >= box.bottom - s.y;
  ends.end_right = e.x - box.left >= box.right - e.x;
  ends.end_lower = e.y - box.top >= box.bottom - e.y;
  return ends;
}

// The shape class of a figure of overall direction d (-30..179): a line or
// an arc running one of four ways, open (1..8) or closed (9..16), told
// apart by where it starts.
int shape_table_class(int d, const EndPositions& ends, std::int64_t ink_length,
                      std::int64_t vertical_weight) {
  const int sr = ends.start_right;
  const int sl = ends.start_lower;
  const int er = ends.end_right;
  const int el = ends.end_lower;
  bool closed = ink_length < 45;
  if (sr + el == sl + er) {
    if (sr == er) closed = true;
  } else if (sr + er == sl + el) {
    closed = false;
  }
  if (!closed) {
    if ((d <= 25 && vertical_weight < 40) || d >= 156) return sr ? 5 : 1;
    if (d < 68) return sl ? (sr ? 6 : 8) : (sr ? 4 : 2);
    if (d <= 115) return sl ? 7 : 3;
    return sl ? 8 : 4;
  }
  if (d <= 25 || d >= 156) return sr ? 13 : 9;
  if (d < 65) return sl ? 14 : 10;
  if (d <= 115) return sl ? 15 : 11;
  return sl ? 16 : 12;
}

// A direction group: its mean and its weight in per mille of the ink.
struct Group {
  int mean = 0;
  std::int64_t weight = 0;
};

Group make_group(const DirectionSum& sum, int none, std::int64_t total) {
  return {sum.mean(none), 1000 * sum.weight / total};
}

// The overall direction, folded into -30..179.
int overall_direction(const Group& horizontal, const Group& vertical, const Group& first,
                      const Group& second) {
  std::int64_t d;
  if (horizontal.weight <= vertical.weight) {
    const int horizontal_mean = horizontal.mean < 0 ? horizontal.mean + 180 : horizontal.mean;
    const std::int64_t weights = first.weight + second.weight + vertical.weight + horizontal.weight;
    d = weights == 0 ? 0
                     : (second.mean * second.weight + first.mean * first.weight +
                        vertical.mean * vertical.weight + horizontal_mean * horizontal.weight) /
                           weights;
  } else {
    const std::int64_t weights = first.weight + horizontal.weight;
    d = first.weight == 0
            ? horizontal.mean
            : (first.mean * first.weight + horizontal.mean * horizontal.weight) / weights;
    if (second.weight != 0) {
      d = (weights * (d + 180) + second.mean * second.weight) / (second.weight + weights);
    }
  }
  if (d < -30) d += 180;
  if (d >= 180) d -= 180;
  return static_cast<int>(d);
}

// What the shape class is decided from, besides the compactness.
struct ShapeMeasures {
  int width = 0;
  int height = 0;
  std::int64_t aspect = 0;
  std::int64_t per_diameter = 0;
  std::int64_t least_score = kNoExtremumScore;  // over the interior turning points
  std::int64_t horizontal_weight = 0;
  std::int64_t vertical_weight = 0;
  std::size_t runs = 0;
};

// Sets the shape class, the deferred class and the confidence: tiny
// figures, flat or tall ones and simple ones take the table's class; a
// figure of several runs, a compact or long one, or a steep one turning
// sharply takes none; the rest defer the table's class with a confidence
// that falls with the compactness. Returns the compactness, raised by 110
// for a figure left without a class after a sharp turn.
std::int64_t classify_shape(const ShapeMeasures& m, std::int64_t compactness, int table_class,
                            DirectionStatistics& stats) {
  bool unclassified = false;
  if (m.width <= 10 && m.height <= 10) {
    stats.shape_class = 0;
    stats.shape_confidence = kFullConfidence;
  } else if ((m.aspect < 14 && m.per_diameter < 280) || m.aspect >= 771) {
    stats.shape_class = table_class;
    stats.shape_confidence = kFullConfidence;
  } else if (m.runs > 1 || compactness > 200 || m.per_diameter >= 350) {
    unclassified = true;
  } else if (compactness <= 45 || (compactness < 101 && m.least_score > 1500)) {
    stats.shape_class = table_class;
    stats.shape_confidence = kFullConfidence;
  } else if (m.least_score <= 5000 && m.horizontal_weight <= m.vertical_weight) {
    unclassified = true;
  } else {
    const std::int64_t confidence =
        ClampedRamp(100, kFullConfidence, true, 200, 0, false)
            .value_at(saturate_int16(compactness)) +
        ClampedRamp(100, 0, false, 1000, 400, true).value_at(saturate_int16(m.horizontal_weight));
    stats.shape_confidence =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(confidence, 0, kFullConfidence));
    stats.deferred_shape_class = table_class;
  }
  if (!unclassified) return compactness;
  stats.shape_class = -1;
  stats.shape_confidence = 0;
  return m.least_score <= 5000 && compactness < 200 ? compactness + 110 : compactness;
}

}  // namespace

int compute_direction_statistics(GlyphGeometry& geometry, RunList runs, bool trajectory_mode) {
  if (has_missing_run(runs)) return kBadArgument;
  const Box16 box = geometry.bounding_box();
  const int width = box.width();
  const int height = box.height();
  const int threshold = height < 20 ? 2 : height / 10;
  InkPass pass;
  for (const PointRun* run : runs) {
    if (const int status = pass.measure(*run, threshold, trajectory_mode); status != kOk) {
      return status;
    }
  }
  const std::int64_t total = pass.sectors.total();
  if (total == 0) return kPaneEmptySegment;

  const DirectionStatistics none = DirectionStatistics::no_direction();
  const SectorTable& s = pass.sectors;
  const Group horizontal =
      make_group(s.sector(0) + s.sector(5, -180) + s.sector(6) + s.sector(11, -180),
                 none.horizontal_direction, total);
  const Group vertical =
      make_group(s.sector(2) + s.sector(3) + (s.sector(8) + s.sector(9)).percent(40),
                 none.vertical_direction, total);
  const Group first = make_group(s.sector(1) + s.sector(7), none.first_diagonal_direction, total);
  const Group second =
      make_group(s.sector(4) + s.sector(10), none.second_diagonal_direction, total);

  const std::int64_t ink_length = geometry.ink_length;
  const PolygonMeasure polygon = measure_polygon(geometry, runs, box);
  const std::int64_t compactness = polygon.compactness;
  const std::int64_t per_diameter = ink_length * 100 / std::max<std::int64_t>(polygon.diameter, 1);

  // The combined vertical direction: the steep groups together, or none for
  // a flat figure that is compact or short for its size.
  const std::int64_t steep = vertical.weight + (first.weight + second.weight) / 5;
  const bool flat = steep <= 100 && first.weight + second.weight <= 500 &&
                    (steep < 1 || compactness < 131 || per_diameter < 131);
  const std::int64_t combined =
      flat ? 0
           : (vertical.mean * vertical.weight +
              (second.mean * second.weight + first.mean * first.weight) / 5) /
                 steep;
  const Group vertical_for_overall{flat ? 0 : vertical.mean, vertical.weight};
  const int overall = overall_direction(horizontal, vertical_for_overall, first, second);

  DirectionStatistics stats;
  stats.horizontal_direction = saturate_int16(horizontal.mean);
  stats.horizontal_weight = saturate_int16(horizontal.weight);
  stats.vertical_direction = saturate_int16(combined);
  stats.vertical_weight = saturate_int16(vertical.weight);
  stats.first_diagonal_direction = saturate_int16(first.mean);
  stats.first_diagonal_weight = saturate_int16(first.weight);
  stats.second_diagonal_direction = saturate_int16(second.mean);
  stats.second_diagonal_weight = saturate_int16(second.weight);
  stats.steepness_weight = saturate_int16(steep == 0 ? 1 : steep / 5);
  stats.aspect = saturate_int16(std::int64_t{height} * 100 / width);
  stats.compactness_score = static_cast<std::uint16_t>(std::clamp<std::int64_t>(
      ClampedRamp(100, 10, true, 500, 20, false).value_at(saturate_int16(compactness)), 0, 65535));
  stats.spread_score = static_cast<std::uint16_t>(std::clamp<std::int64_t>(
      ClampedRamp(120, 15, true, 300, 45, false).value_at(saturate_int16(per_diameter)), 0, 65535));
  stats.overall_direction = saturate_int16(overall);
  stats.length_per_diameter = saturate_int16(per_diameter);
  stats.diameter = static_cast<std::uint16_t>(std::min<std::int64_t>(polygon.diameter, 65535));

  const ShapeMeasures measures{.width = width,
                               .height = height,
                               .aspect = stats.aspect,
                               .per_diameter = per_diameter,
                               .least_score = pass.least_score,
                               .horizontal_weight = horizontal.weight,
                               .vertical_weight = vertical.weight,
                               .runs = runs.size()};
  const int table_class =
      shape_table_class(overall, end_positions(runs, box), ink_length, vertical.weight);
  stats.compactness = saturate_int16(classify_shape(measures, compactness, table_class, stats));

  geometry.direction = stats;
  geometry.reversals = pass.reversals;
  return kOk;
}

}  // namespace inkrec

// PairScene: what the pair-rule tests read of one pair of neighbouring
// letter results, prepared once per evaluation, and the measures the tests
// share.
//
// A is the later result of the pair, B the earlier. Boxes are inclusive
// (heights and widths count both bounds); rows are y coordinates. The
// scene points at the results, their figures and their readings and owns
// nothing; it lives for one call of evaluate_pair_rules. Every test
// subtracts its penalties from the caller's accumulator through pen().
#pragma once

#include <cstdint>
#include <span>

#include "engine/foundation/box16.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/point.h"
#include "engine/records/clamped_ramp.h"
#include "engine/records/figure_group.h"
#include "engine/records/figure_records.h"
#include "engine/records/glyph_direction.h"
#include "engine/records/pair_records.h"
#include "engine/records/profile_pair.h"
#include "engine/records/profile_raster.h"
#include "engine/records/recognition_context.h"
#include "engine/records/trajectory_record.h"

namespace inkrec {

struct PairScene {
  // ---- The call.
  FigureGroup* a_group = nullptr;  // A: the later result
  FigureGroup* b_group = nullptr;  // B: the earlier one
  const Answer* reading_a = nullptr;
  const Answer* reading_b = nullptr;
  std::int32_t s = 0;  // the line's letter size
  std::int32_t c = 0;  // the count the pair scoring passes through
  RecognitionContext* context = nullptr;
  std::int32_t* accumulator = nullptr;

  // ---- Prepared once a rule applies.
  Box16 a, b;  // the results' boxes
  std::int32_t hA = 0, wA = 0, hB = 0, wB = 0, minH = 0, maxH = 0;
  std::int32_t joint_height = 0, joint_width = 0;  // without the +1
  const ProfileRaster* RA = nullptr;
  const ProfileRaster* RB = nullptr;
  std::uint16_t code_a = 0, code_b = 0;  // the readings' second codes
  std::uint16_t current_a = 0;           // the current code of A's reading
  std::int32_t t = 90;                   // the line slant, degrees
  FigureRecord* linked_b = nullptr;      // the linked pair (B's figure, A's figure)
  FigureRecord* linked_a = nullptr;
  FigureRecord* fa = nullptr;  // the first figures
  FigureRecord* fb = nullptr;
  Box16 fA, fB;  // their boxes
  std::int32_t hAf = 0, wAf = 0, hBf = 0, wBf = 0;
  TextLine* line = nullptr;  // the text line of A's first figure
  FigureGroup* J = nullptr;  // the joined group
  const Answer* plain = nullptr;
  const Answer* marked = nullptr;
  Box16 j;

  void pen(std::int32_t amount) const { *accumulator -= amount; }
  FigureGroup& A() const { return *a_group; }
  FigureGroup& B() const { return *b_group; }
  std::uint32_t figures_a() const { return a_group->figures.size(); }
  std::uint32_t figures_b() const { return b_group->figures.size(); }
  std::uint32_t figures_j() const { return J->figures.size(); }
  bool linked() const { return linked_a != nullptr; }
  // The stroke key of a result's only figure, else -1.
  std::int32_t single_key_a() const;
  std::int32_t single_key_b() const;
  // A and B each one figure, of the same stroke.
  bool same_stroke() const;
  // Some row of [max top, min bottom) where RA.min - RB.max < 1.
  bool touch() const;
  // 1 to 5 as A reaches below B's foot by half to all of B's height: the
  // divisor of kinds 3 and 20.
  std::int32_t foot_divisor() const;
  // The common rows of A and B: from the greater top to the lesser bottom.
  std::int32_t common_top() const { return a.top > b.top ? a.top : b.top; }
  std::int32_t common_bottom() const { return a.bottom < b.bottom ? a.bottom : b.bottom; }
};

// The measures of the scene that do not depend on the readings, for the
// later result A and the earlier B: the boxes of both and of their first
// figures and the linked pair. 0; -2 when A or B has no figure, a null
// figure or one without points, no geometry or no raster (the layout is
// then partly written).
int measure_scene_layout(FigureGroup& later, FigureGroup& earlier, PairLayout& layout);

// Fills the scene's boxes, codes (the readings' codes before their last
// rewrite where `previous_*` is set), rasters, linked pair, first figures and
// slant: 0; -2 when A or B has no figure, a null figure or one without
// points, no geometry or no raster.
int prepare_pair_scene(PairScene& scene, bool previous_a, bool previous_b);
// The same from a layout measure_scene_layout gave for the scene's A and B
// (kept from an earlier scene of the same two results): -2 when a result
// has no raster or no figure.
int prepare_pair_scene(PairScene& scene, const PairLayout& layout, bool previous_a,
                       bool previous_b);

// ---- Figures and points.
std::span<const PointRecord> points_of(const FigureRecord& f);
PackedPoint point_at(const FigureRecord& f, std::int32_t k);
PackedPoint first_point(const FigureRecord& f);
PackedPoint last_point(const FigureRecord& f);
std::int32_t point_count(const FigureRecord& f);
// The index of the first point at row y (from `from` on), -1 when none.
std::int32_t first_point_on_row(const FigureRecord& f, std::int32_t y, std::int32_t from = 0);
// The index of the first point of greatest x among points from..to.
std::int32_t rightmost_point(const FigureRecord& f, std::int32_t from, std::int32_t to);
Box16 box_of(const FigureRecord& f);
// The stroke key of a figure; -1 while unset.
std::int32_t stroke_key(const FigureRecord& f);
std::int32_t inner_centroid_y(const FigureRecord& f);
FigureRecord* figure_of(const FigureGroup& g, std::uint32_t i);
FigureRecord* last_figure(const FigureGroup& g);
std::span<FigureRecord* const> figure_span(FigureGroup& g);
// The first figure of the group with that stroke key, null when none.
FigureRecord* figure_with_stroke(const FigureGroup& g, std::int32_t key);
// Point marks: flag 1 and flag 2 of a point record; its step's length
// (the point weight) and direction.
bool point_flag_1(const PointRecord& p);
bool point_flag_2(const PointRecord& p);
std::int32_t point_weight(const PointRecord& p);
std::int32_t point_direction(const PointRecord& p);
// An angle turned by 180 degrees into 0..359.
std::int32_t turned_around(std::int32_t angle);
// The whole-degree direction of a vector, y against x.
std::int32_t direction_of(PackedPoint from, PackedPoint to);
std::int32_t octagonal_distance(PackedPoint p, PackedPoint q);

// ---- Measures.
// ClampedRamp(x0, y0, c0, x1, y1, c1) at x. Read in the header: the pair
// score's terms ask it millions of times a word, mostly with constant ends.
inline std::int32_t ramp(std::int32_t x0, std::int32_t y0, bool c0, std::int32_t x1,
                         std::int32_t y1, bool c1, std::int32_t x) {
  return ClampedRamp(x0, y0, c0, x1, y1, c1).value_at(x);
}
// 100 * value / divisor, a divisor below 1 read as 1.
std::int32_t per_cent(std::int32_t value, std::int32_t divisor);
std::int32_t abs32(std::int32_t v);
// The overlap of two boxes' x-ranges (negative: the gap between them).
std::int32_t x_overlap(const Box16& p, const Box16& q);

// The down-runs a figure's geometry keeps for the letter size, copied into
// `runs`: 0, or -1 when the list cannot grow.
int down_runs(FigureRecord& f, std::int32_t s, DynArray<DirectionRun>& runs);
// The profile comparison of two results: 0, or the status of a view.
int profile_pair(FigureGroup& left, FigureGroup& right, ProfilePairMetrics& out);

// The least of RAf.min(y) - RBf.max(y) over the first figures' common rows
// (both bounds included) that lie above `limit` (exclusive); 2147483647 when
// there is none.
std::int32_t least_figure_gap(PairScene& scene, std::int32_t limit);

// The fields of a profile comparison as the rules count them.
inline std::int32_t first_field(const ProfilePairMetrics& m) { return m.least_gap; }
inline std::int32_t fifth_field(const ProfilePairMetrics& m) { return m.gap_per_wider_width; }
// The sixteenth 16-bit field and the seventeenth field are both the mean
// gap, the last field of the comparison.
inline std::int32_t mean_gap_field(const ProfilePairMetrics& m) { return m.mean_gap; }
inline std::uint8_t flag_byte(const ProfilePairMetrics& m) { return m.touching; }

}  // namespace inkrec

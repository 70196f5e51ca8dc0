#include "engine/rules/pair_rule_scene.h"

#include <algorithm>
#include <climits>

#include "engine/foundation/interval_relation.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/foundation/values.h"
#include "engine/records/letter_fields.h"

namespace inkrec {
namespace {

// The second code of a reading, or its code before the last rewrite when
// the reading was asked for by -1.
std::uint16_t second_code(const Answer& reading, bool previous) {
  return previous ? reading.saved_codes[1] : reading.codes[1];
}

// The first pair (figure of B, figure of A) of one stroke where A's figure
// is the next body after one link, as places in the figure lists.
void find_linked_pair(const FigureGroup& later, const FigureGroup& earlier, PairLayout& layout) {
  for (std::uint32_t ib = 0; ib < earlier.figures.size(); ++ib) {
    const FigureRecord* fb = earlier.figures[ib];
    if (fb == nullptr) continue;
    for (std::uint32_t ia = 0; ia < later.figures.size(); ++ia) {
      const FigureRecord* fa = later.figures[ia];
      if (fa == nullptr) continue;
      if (fa->stroke_index == fb->stroke_index && fa->piece == fb->piece_key + 2) {
        layout.linked_earlier = static_cast<std::uint16_t>(ib);
        layout.linked_later = static_cast<std::uint16_t>(ia);
        return;
      }
    }
  }
}

// Every figure of the group is there and has points.
bool figures_whole(const FigureGroup& group) {
  if (group.figures.empty()) return false;
  for (const FigureRecord* f : group.figures) {
    if (f == nullptr || f->run.empty()) return false;
  }
  return true;
}

}  // namespace

int measure_scene_layout(FigureGroup& later, FigureGroup& earlier, PairLayout& layout) {
  if (!figures_whole(later) || !figures_whole(earlier)) return kBadArgument;
  if (later.geometry == nullptr || earlier.geometry == nullptr) return kBadArgument;
  if (element_profile_raster(later) == nullptr || element_profile_raster(earlier) == nullptr) {
    return kBadArgument;
  }
  layout.later_box = later.geometry->bounding_box();
  layout.earlier_box = earlier.geometry->bounding_box();
  layout.later_first_box = box_of(*later.figures.front());
  layout.earlier_first_box = box_of(*earlier.figures.front());
  find_linked_pair(later, earlier, layout);
  return kOk;
}

int prepare_pair_scene(PairScene& scene, const PairLayout& layout, bool previous_a,
                       bool previous_b) {
  FigureGroup& A = scene.A();
  FigureGroup& B = scene.B();
  scene.RA = element_profile_raster(A);
  scene.RB = element_profile_raster(B);
  if (scene.RA == nullptr || scene.RB == nullptr || A.figures.empty() || B.figures.empty()) {
    return kBadArgument;
  }
  scene.fa = A.figures.front();
  scene.fb = B.figures.front();
  scene.a = layout.later_box;
  scene.b = layout.earlier_box;
  scene.hA = scene.a.height();
  scene.wA = scene.a.width();
  scene.hB = scene.b.height();
  scene.wB = scene.b.width();
  scene.minH = std::min(scene.hA, scene.hB);
  scene.maxH = std::max(scene.hA, scene.hB);
  scene.joint_height =
      std::max(scene.a.bottom, scene.b.bottom) - std::min(scene.a.top, scene.b.top);
  scene.joint_width = std::max(scene.a.right, scene.b.right) - std::min(scene.a.left, scene.b.left);
  scene.code_a = second_code(*scene.reading_a, previous_a);
  scene.code_b = second_code(*scene.reading_b, previous_b);
  scene.current_a = scene.reading_a->codes[0];
  scene.t = scene.context->line_slant_angle();
  if (layout.linked_later != PairLayout::kNoFigure) {
    scene.linked_a = A.figures.item_checked(layout.linked_later);
    scene.linked_b = B.figures.item_checked(layout.linked_earlier);
  }
  scene.fA = layout.later_first_box;
  scene.fB = layout.earlier_first_box;
  scene.hAf = scene.fA.height();
  scene.wAf = scene.fA.width();
  scene.hBf = scene.fB.height();
  scene.wBf = scene.fB.width();
  return kOk;
}

int prepare_pair_scene(PairScene& scene, bool previous_a, bool previous_b) {
  PairLayout layout;
  if (const int status = measure_scene_layout(scene.A(), scene.B(), layout); status != kOk) {
    return status;
  }
  return prepare_pair_scene(scene, layout, previous_a, previous_b);
}

std::int32_t PairScene::single_key_a() const { return figures_a() == 1 ? stroke_key(*fa) : -1; }

std::int32_t PairScene::single_key_b() const { return figures_b() == 1 ? stroke_key(*fb) : -1; }

bool PairScene::same_stroke() const {
  return figures_a() == 1 && figures_b() == 1 && stroke_key(*fa) == stroke_key(*fb);
}

bool PairScene::touch() const {
  for (std::int32_t y = common_top(); y < common_bottom(); ++y) {
    if (RA->row_min(y) - RB->row_max(y) < 1) return true;
  }
  return false;
}

std::int32_t PairScene::foot_divisor() const {
  return std::max(ramp(hB / 2, 1, true, hB, 5, true, a.bottom - b.bottom), 1);
}

std::span<const PointRecord> points_of(const FigureRecord& f) {
  if (f.run.empty()) return {};
  return {f.run.points, static_cast<std::size_t>(f.run.count)};
}

std::int32_t point_count(const FigureRecord& f) { return f.run.empty() ? 0 : f.run.count; }

PackedPoint point_at(const FigureRecord& f, std::int32_t k) { return f.run.points[k].point; }
PackedPoint first_point(const FigureRecord& f) { return point_at(f, 0); }
PackedPoint last_point(const FigureRecord& f) { return point_at(f, point_count(f) - 1); }

std::int32_t first_point_on_row(const FigureRecord& f, std::int32_t y, std::int32_t from) {
  for (std::int32_t k = std::max(from, 0); k < point_count(f); ++k) {
    if (point_at(f, k).y == y) return k;
  }
  return -1;
}

std::int32_t rightmost_point(const FigureRecord& f, std::int32_t from, std::int32_t to) {
  std::int32_t best = from;
  for (std::int32_t k = from + 1; k <= to && k < point_count(f); ++k) {
    if (point_at(f, k).x > point_at(f, best).x) best = k;
  }
  return best;
}

Box16 box_of(const FigureRecord& f) { return f.geometry.bounding_box(); }
std::int32_t stroke_key(const FigureRecord& f) {
  return f.stroke_index == kNoKey16 ? -1 : f.stroke_index;
}
std::int32_t inner_centroid_y(const FigureRecord& f) { return inner_centroid(f.geometry).y; }

FigureRecord* figure_of(const FigureGroup& g, std::uint32_t i) { return g.figures.item_checked(i); }

FigureRecord* last_figure(const FigureGroup& g) {
  return g.figures.empty() ? nullptr : g.figures[g.figures.size() - 1];
}

std::span<FigureRecord* const> figure_span(FigureGroup& g) {
  return {g.figures.data(), g.figures.size()};
}

FigureRecord* figure_with_stroke(const FigureGroup& g, std::int32_t key) {
  for (FigureRecord* f : g.figures) {
    if (f != nullptr && stroke_key(*f) == key) return f;
  }
  return nullptr;
}

bool point_flag_1(const PointRecord& p) {
  return p.trajectory.has_any_flag(TrajectoryRecord::kFirstCrossing);
}
bool point_flag_2(const PointRecord& p) {
  return p.trajectory.has_any_flag(TrajectoryRecord::kSecondCrossing);
}
std::int32_t point_weight(const PointRecord& p) { return hypothesis_value_a(p); }
std::int32_t point_direction(const PointRecord& p) { return p.trajectory.step_direction; }

std::int32_t turned_around(std::int32_t angle) { return angle < 180 ? angle + 180 : angle - 180; }

std::int32_t direction_of(PackedPoint from, PackedPoint to) {
  return direction_degrees(to.y - from.y, to.x - from.x);
}

std::int32_t octagonal_distance(PackedPoint p, PackedPoint q) {
  return octagonal_length(q.x - p.x, q.y - p.y);
}

std::int32_t per_cent(std::int32_t value, std::int32_t divisor) {
  return static_cast<std::int32_t>(std::int64_t{100} * value / std::max(divisor, 1));
}

std::int32_t abs32(std::int32_t v) { return v < 0 ? -v : v; }

std::int32_t x_overlap(const Box16& p, const Box16& q) {
  IntervalRelation relation;
  return make_interval_relation(relation, p.left, p.right, q.left, q.right).overlap();
}

int down_runs(FigureRecord& f, std::int32_t s, DynArray<DirectionRun>& runs) {
  return f.glyph_block_e(s, s / 4, runs);
}

int profile_pair(FigureGroup& left, FigureGroup& right, ProfilePairMetrics& out) {
  FigureView a;
  FigureView b;
  if (const int status = a.init_from_element(left); status != kOk) return status;
  if (const int status = b.init_from_element(right); status != kOk) return status;
  out.init();
  measure_profile_pair(a, b, out);
  return kOk;
}

std::int32_t least_figure_gap(PairScene& scene, std::int32_t limit) {
  const ProfileRaster& ra = scene.fa->glyph_block_a();
  const ProfileRaster& rb = scene.fb->glyph_block_a();
  const std::int32_t top = std::max(scene.fA.top, scene.fB.top);
  const std::int32_t bottom = std::min<std::int32_t>({scene.fA.bottom, scene.fB.bottom, limit - 1});
  std::int32_t least = INT32_MAX;
  for (std::int32_t y = top; y <= bottom; ++y)
    least = std::min(least, ra.row_min(y) - rb.row_max(y));
  return least;
}

}  // namespace inkrec

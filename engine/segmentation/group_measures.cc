// The measures of a stroke group taken before its candidates are judged.

#include "engine/segmentation/group_measures.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/records/clamped_ramp.h"
#include "engine/records/request_switches.h"
#include "engine/rules/figure_shape_tests.h"
#include "engine/rules/group_shape_tests.h"

namespace inkrec {
namespace {

constexpr std::int32_t kSmallPartPenalty = 450;
constexpr std::int32_t kEndHookPenalty = 400;
// Bounds with which every extremum of a figure enters its record.
constexpr int kEveryMinimum = std::numeric_limits<std::int32_t>::max();
constexpr int kEveryMaximum = std::numeric_limits<std::int16_t>::min();

std::int32_t line_kind(const FigureRecord& figure) {
  return figure.line_index == kNoKey16 ? -1 : figure.line_index;
}

// The letter size of the group's line: the line's own once the letter
// search measured it (its part flag), else the line information's.
std::int32_t letter_size(RecognitionContext& context, const TextLine* line) {
  const std::int32_t size = line != nullptr && line->part_flag() != 0
                                ? line->body_height
                                : context.settings().letter_height;
  return std::max(size, 1);
}

// The widest gap between two strokes of the group: over consecutive
// members of different strokes, the smaller of the pair's two distances.
int measure_stroke_gap(RecognitionContext& context, const FigureGroup& group, GroupMeasures* m) {
  std::uint32_t member = 0;
  const FigureRecord* before = nullptr;
  for (bool more = group.members.lowest_bit(&member); more;
       ++member, more = group.members.next_bit(&member)) {
    const FigureRecord* figure = context.bodies().item_checked(member);
    if (figure == nullptr) return kBadArgument;
    if (before != nullptr && before->stroke_index != figure->stroke_index) {
      const PairMetrics* pair = context.pair_table().at(before->stroke_index, figure->stroke_index);
      if (pair == nullptr) return kBadArgument;
      m->stroke_gap = std::max<std::int32_t>(m->stroke_gap,
                                             std::min(pair->measures[0], pair->measures[1]));
    }
    before = figure;
  }
  return kOk;
}

int measure_frame(RecognitionContext& context, FigureGroup& group, GroupMeasures* m) {
  if (group.figures.empty() || group.geometry == nullptr) return kBadArgument;
  for (const FigureRecord* figure : group.figures) {
    if (figure == nullptr) return kBadArgument;
  }
  m->first_figure = group.figures[0];
  m->figure_count = static_cast<std::int32_t>(group.figures.size());
  m->member_count = static_cast<std::int32_t>(group.members.count());
  m->one_figure_mark = group.one_figure_mark;
  m->box = group.geometry->bounding_box();
  m->width = m->box.width();
  m->height = m->box.height();
  m->text_line = context.text_lines().item_checked(m->first_figure->line_index);
  m->size = letter_size(context, m->text_line);
  m->line_angle = context.line_slant_angle();
  m->upper_height = context.settings().upper_height;
  m->reference_height = context.settings().letter_height;
  m->band = baseline_pair(*group.geometry);
  m->top_key = top_key(*group.geometry);
  if (m->figure_count >= 2) {
    const PairMetrics* second = nullptr;
    const int status = group.leading_pairs(context.figure_pairs(), &m->leading_pair,
                                           m->figure_count > 2 ? &second : nullptr);
    if (status != kOk) return status;
  }
  if (const int status = measure_stroke_gap(context, group, m); status != kOk) return status;
  m->leading_figure = m->first_figure;
  for (const FigureRecord* figure : group.figures) {
    if (top_key(figure->geometry) < top_key(m->leading_figure->geometry)) m->leading_figure = figure;
  }
  const GlyphGeometry& g = *group.geometry;
  m->mark_class = mark_class(g);
  m->second_class = second_class(g);
  m->quality = mark_quality(g);
  m->mark_angle = mark_angle(g);
  int status = kOk;
  m->mark = element_mark_block(group, &status);
  return status;
}

// The nearest partner of a one-member group in the figure pairs, or of the
// one stroke of a group of several members in the stroke pairs, on the
// group's line.
int measure_partners(RecognitionContext& context, const FigureGroup& group, GroupMeasures* m) {
  const PairTable* table = nullptr;
  int i = -1;
  if (m->member_count == 1) {
    std::uint32_t member = 0;
    group.members.lowest_bit(&member);
    table = &context.figure_pairs();
    i = static_cast<int>(member);
  } else if (m->member_count > 1) {
    int strokes = 0;
    for (const FigureRecord* figure : group.figures) {
      if (figure->stroke_index == kNoKey16) continue;
      ++strokes;
      i = figure->stroke_index;
    }
    if (strokes == 1) table = &context.pair_table();
  }
  if (table != nullptr) {
    const int kind = line_kind(*m->first_figure);
    int index = -1;
    std::int16_t value = 0;
    if (const int status = table->best_partner(i, kind, nullptr, &index, &value); status != kOk) {
      return status;
    }
    if (index >= 0) m->partner_distance = value;
    std::int16_t angle = 0;
    index = -1;
    if (const int status = table->partner_nearest_angle(kind, i, m->line_angle, &angle, &index);
        status != kOk) {
      return status;
    }
    if (index >= 0) m->partner_angle = angle;
  }
  m->angle_deviation = std::abs(m->line_angle - m->partner_angle);
  return kOk;
}

std::int32_t total_length(const DynArray<PackedPoint>& runs) {
  std::int32_t total = 0;
  for (const PackedPoint run : runs) total += run.y;
  return total;
}

// A flat bridge: the longest run of flat columns, well inside the box,
// with taller columns far enough out on both sides.
std::int32_t bridge_percent(const GroupMeasures& m, std::int32_t start, std::int32_t end,
                            std::int32_t leftmost_tall, std::int32_t rightmost_tall) {
  const std::int32_t third = m.size / 3;
  const std::int32_t length = end - start + 1;
  if (length <= 0 || start - m.box.left <= third || m.box.right - end < third) return 0;
  if (leftmost_tall > start - third / 2 || rightmost_tall < end + third / 2) return 0;
  return length * 100 / m.size;
}

int measure_profile(FigureGroup& group, GroupMeasures* m) {
  const ProfileRaster* raster = element_profile_raster(group);
  if (raster == nullptr) return kOutOfMemory;
  DynArray<PackedPoint> runs;
  if (raster->empty_row_runs(ProfileRaster::Envelope::kMin, runs) != kOk) return kOutOfMemory;
  m->empty_rows = total_length(runs);
  if (raster->empty_column_runs(ProfileRaster::Envelope::kMin, runs) != kOk) return kOutOfMemory;
  m->empty_columns = total_length(runs);
  std::int32_t flat = 0, run = 0, best = 0, best_end = 0;
  std::int32_t leftmost_tall = std::numeric_limits<std::int32_t>::max();
  std::int32_t rightmost_tall = std::numeric_limits<std::int32_t>::min();
  for (std::int32_t x = m->box.left; x <= m->box.right; ++x) {
    const std::int32_t extent = std::int32_t{raster->column_max(x)} - raster->column_min(x);
    if (extent > m->size / 3) {
      leftmost_tall = std::min(leftmost_tall, x);
      rightmost_tall = x;
    }
    run = extent == 0 ? run + 1 : 0;
    flat += extent == 0 ? 1 : 0;
    if (run > best) {
      best = run;
      best_end = x;
    }
  }
  m->flat_column_share = flat * 100 / std::max(m->width, 1);
  m->longest_flat_run = best * 100 / m->size;
  m->bridge = bridge_percent(*m, best_end - best + 1, best_end, leftmost_tall, rightmost_tall);
  return kOk;
}

// The group's extrema record and the places of a mark above or below.
int measure_marks(RecognitionContext& context, FigureGroup& group, GroupMeasures* m) {
  std::int32_t hysteresis = std::min(m->size / 5, m->height / 5);
  if (hysteresis < 12) hysteresis = 11;
  const std::int32_t span = m->box.bottom - m->box.top;
  const std::int32_t upper = m->box.top + span * 30 / 100;
  const std::int32_t lower = m->box.top + span * 70 / 100;
  DynArray<PointRun*> runs;
  if (const int status = group_run_list(group, runs); status != kOk) return status;
  if (const int status =
          element_figure_flags(runs.span(), m->box, hysteresis, upper, lower, m->group_info);
      status != kOk) {
    return status;
  }
  m->upper_mark = upper_mark_place(group, m->box, m->size, context.bodies());
  return lower_mark_place(group, m->box, m->size, context.bodies(), &m->lower_mark);
}

// The body of the same stroke `offset` pieces on (bodies alternate with
// links, so a neighbouring body is two pieces away); null when none.
const FigureRecord* stroke_piece(RecognitionContext& context, const FigureRecord& figure,
                                 int offset) {
  if (figure.piece == kNoKey16) return nullptr;
  const int piece = figure.piece + offset;
  if (piece < 0 || piece >= kNoKey16) return nullptr;
  const auto key = static_cast<std::uint16_t>(piece);
  return figure_array_get(context.bodies(), figure.stroke_index, key, key);
}

// The shape penalties of a one-figure group.
int measure_one_figure(RecognitionContext& context, GroupMeasures* m) {
  const FigureRecord& figure = *m->first_figure;
  const int status = figure_extrema_pass(figure, m->size / 8, kEveryMinimum, kEveryMaximum,
                                         m->one_figure_info, &m->box);
  if (status != kOk) return status;
  const FigureInfo& info = m->one_figure_info;
  const PointRecords points = records_of(figure.run);
  PenaltyBlock& p = m->penalties;
  p[kEndRampSlot] = end_ramp_penalty(info, points, m->size);
  p[kTailSlot] = tail_penalty(info, points, m->size);
  if (!figure_maxima(info).empty()) p[kEndDropSlot] = end_drop_penalty(info, points, m->box);
  if (points.size() >= 3) {
    p[kEndCurlSlot] = end_curl_penalty(points, figure_mark_block(*m->first_figure).end_direction,
                                       m->size);
  }
  if (figure_maxima(info).size() >= 2 && figure_minima(info).size() >= 2) {
    p[kUpperSideSlot] = upper_side_penalty(info, points, m->size);
    p[kLowerSideSlot] = lower_side_penalty(info, points, m->size);
    p[kLastSideSlot] = last_side_penalty(info, points, m->box, m->size);
  }
  if (points.empty()) return kOk;
  const std::int32_t centre = m->box.center_y();
  const std::int32_t first_y = points.front().point.y;
  const std::int32_t last_y = points.back().point.y;
  m->preceding_piece = stroke_piece(context, figure, -2);
  if (m->preceding_piece != nullptr) {
    p[kPrecedingPieceSlot] =
        ClampedRamp(centre, 0, true, m->box.bottom, 500, false).value_at(first_y);
  }
  if (stroke_piece(context, figure, 2) != nullptr) {
    p[kFollowingPieceSlot] = ClampedRamp(m->box.top, 500, false, centre, 0, true).value_at(last_y);
  }
  p[kDescendingEndSlot] =
      ClampedRamp(centre - m->size / 4, 0, true, m->box.bottom, 500, false).value_at(last_y);
  return kOk;
}

// The descending runs, the overlap flag, the profile penalty, the width of
// two figures, the small parts and the piece that continues a stroke.
int measure_group_tests(RecognitionContext& context, FigureGroup& group, GroupMeasures* m) {
  SymbolWeights& w = m->weights;
  if (const int status = count_descending_runs(group, &w.descending_runs); status != kOk) {
    return status;
  }
  bool overlap = false;
  if (const int status = group_overlap_flag(group, context.pair_table(), &overlap);
      status != kOk) {
    return status;
  }
  w.overlap = overlap ? 1 : 0;
  if (const int status = add_profile_penalty(group, m->box, &w.profile_penalty); status != kOk) {
    return status;
  }
  const RequestSwitches switches(context.kernel().params());
  w.spaced_as_one =
      two_figures_spaced_as_one(group, m->box, m->size, switches.segment(), context.bodies()) ? 1
                                                                                             : 0;
  for (const FigureRecord* figure : group.figures) {
    if (m->figure_count < 2 || group.one_figure_mark != 0) break;
    const Box16 b = figure->geometry.bounding_box();
    if (!link_flag(*figure) && 2 * b.width() <= m->width && 2 * b.height() <= m->height) {
      w.small_parts_penalty += kSmallPartPenalty;
    }
  }
  for (const FigureRecord* figure : group.figures) {
    if (!switches.body_and_link()) break;
    m->following_piece = stroke_piece(context, *figure, 2);
    if (m->following_piece != nullptr) {
      m->following_box = m->following_piece->geometry.bounding_box();
      break;
    }
  }
  return kOk;
}

// The stroke records beside the group's: after and before the one stroke
// of a one-figure group, the first record for a larger group; a record's
// box only when it stands on the group's line.
void measure_neighbours(RecognitionContext& context, GroupMeasures* m) {
  DynArray<StrokeRecord>& strokes = context.strokes();
  const std::uint16_t line = m->first_figure->line_index;
  const auto box_on_line = [line](const StrokeRecord* s) {
    return s != nullptr && s->line_index == line ? s->geometry.bounding_box() : Box16{};
  };
  if (m->figure_count == 1) {
    const std::uint32_t s = m->first_figure->stroke_index;
    m->next_stroke = strokes.item_checked(s + 1);
    m->previous_stroke = s == 0 ? nullptr : strokes.item_checked(s - 1);
  } else {
    m->next_stroke = strokes.item_checked(0);
  }
  m->next_box = box_on_line(m->next_stroke);
  m->previous_box = box_on_line(m->previous_stroke);
  for (const StrokeRecord& stroke : strokes) {
    if (stroke.line_index == line) ++m->strokes_on_line;
  }
}

void measure_segments(FigureGroup& group, GroupMeasures* m) {
  const int size = m->size;
  const int closeness = m->size / 4;
  m->segment_count = element_glyph_feature_1(group, size, closeness);
  m->segment_masks[0] = element_glyph_feature_3(group, size, closeness);
  m->segment_masks[1] = element_glyph_feature_4(group, size, closeness);
  m->fifth_feature = element_glyph_feature_5(group, size, closeness);
  m->second_count = element_glyph_feature_2(group, size, closeness) + 1;
}

bool in_range(int v, int low, int high) { return low <= v && v <= high; }

// A final stroke pulled back left under a one-figure letter whose ink
// starts in its left half: walking back from the end while the ink runs
// leftward, low in the box, the hook is charged once its stretch is longer
// than a sixth of the letter when it points back left.
std::int32_t end_hook_penalty(FigureGroup& group, const GroupMeasures& m) {
  const PointRecords points = records_of(m.first_figure->run);
  if (m.figure_count != 1 || points.size() < 4 || points.front().point.x >= m.box.center_x()) {
    return 0;
  }
  const ProfileRaster* raster = element_profile_raster(group);
  if (raster == nullptr) return 0;
  const PackedPoint last = points.back().point;
  const auto at_right_edge = [raster](PackedPoint p) { return p.x >= raster->row_max(p.y); };
  const std::int32_t reach = std::max(m.height, m.size) / 6;
  for (std::size_t k = points.size() - 2; k >= 2; --k) {
    const PackedPoint p = points[k].point;
    const PackedPoint before = points[k - 1].point;
    const int direction = step_direction(before, last);
    const bool edge = at_right_edge(p);
    if (p.x >= before.x || (!in_range(direction, 150, 210) && edge) ||
        p.y < m.box.top + m.size / 3) {
      return 0;
    }
    if (octagonal_length(last.x - before.x, last.y - before.y) > reach) {
      const bool hooked = (in_range(direction, 136, 224) && !at_right_edge(last)) ||
                          (in_range(direction, 91, 224) && !edge);
      return hooked ? kEndHookPenalty : 0;
    }
  }
  return 0;
}

}  // namespace

int measure_group(RecognitionContext& context, FigureGroup& group, GroupMeasures* m) {
  int status = measure_frame(context, group, m);
  if (status == kOk) status = measure_partners(context, group, m);
  if (status == kOk) status = measure_profile(group, m);
  if (status == kOk) status = measure_marks(context, group, m);
  if (status == kOk && context.kernel().stop_flag()) status = kStopped;
  if (status == kOk && m->figure_count == 1) status = measure_one_figure(context, m);
  if (status == kOk) status = measure_group_tests(context, group, m);
  if (status != kOk) return status;
  measure_neighbours(context, m);
  measure_segments(group, m);
  m->end_hook = end_hook_penalty(group, *m);
  return kOk;
}

}  // namespace inkrec

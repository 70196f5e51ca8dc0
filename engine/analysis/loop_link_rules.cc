// Loop rules: links removed, or moved onto the crossing point, by the loops
// the ink forms next to them (the loop of an l, e or g closing on the link,
// the closed loops of U, Z and D shapes, tiny loops at a crossing).

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "engine/analysis/link_passes.h"
#include "engine/analysis/loop_move.h"
#include "engine/analysis/piece_measures.h"
#include "engine/foundation/polylines.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/records/recognition_context.h"

namespace inkrec {

namespace {

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
    // Whether or not the next link overlaps this one, a link whose move is
    // not made goes when B1 and B2 cross.
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
    const bool goes_on = link_at(context, link.stroke_index, link.piece + 2) != nullptr;
    if (a >= 0 || goes_on) return std::nullopt;
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
  const bool deep =
      loop.bottom - l.bottom > h / 2 && !(loop.right >= l.right + h / 2 && loop.left >= l.right);
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

// ---- remove_loops_links.

namespace {

// A one-point link at a crossing whose loop in B2 is tiny, or that
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

// A link (after a B1 of three points or more) that starts where B1 crossed back over itself.
bool starts_at_back_crossing(RecognitionContext& context, const LinkNeighbours& n) {
  const int h = context.letter_height();
  const StrokeRecord& before = *n.before;
  const StrokeRecord& after = *n.after;
  const Box16 l = box_of(*n.link);
  const Box16 b1 = box_of(before);
  const Box16 b2 = box_of(after);
  const bool one_point = point_count(*n.link) == 1;
  const bool one_point_rule =
      one_point && b1.right > b2.right && b2.top >= l.bottom && b2.right <= l.right;
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

// The loop move: a link put onto the crossing point of the loop that the
// body before it closes in the body after it.

#include "engine/analysis/loop_move.h"

#include <cstdlib>

#include "engine/analysis/piece_measures.h"
#include "engine/foundation/status.h"
#include "engine/records/point_runs.h"
#include "engine/records/recognition_context.h"

namespace inkrec {

namespace {

int run_index(const StrokeRecord& figure, int number) {
  return run_index_of_point_number(figure.run.points, figure.run.count, number);
}

// B1's last point (from its end back to its point 1) that crosses
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

// The loop must start at a crossing, at a top point of the stroke,
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

}  // namespace

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

}  // namespace inkrec

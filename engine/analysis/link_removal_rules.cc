// The link removal rules: links that "create" made of ink that belongs to
// a letter (a crossing step that goes nowhere, the bowl of a b, the arm of
// a k, a small step down a line, a one-point link at a stroke's start).

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "engine/analysis/link_passes.h"
#include "engine/analysis/piece_measures.h"
#include "engine/foundation/interval_relation.h"
#include "engine/foundation/trigonometry.h"
#include "engine/records/recognition_context.h"

namespace inkrec {

namespace {

// The direction of the vector from point i to point j of a figure.
int direction_between(const StrokeRecord& figure, int i, int j) {
  return step_direction(point_at(figure, i), point_at(figure, j));
}

}  // namespace

int remove_point_links(RecognitionContext& context) {
  return remove_links_where(context, [](const LinkNeighbours& n, int*) {
    return n.link->link_kind == 2 && start_of(*n.link) == end_of(*n.link);
  });
}

int remove_links_when_start_n_end_match(RecognitionContext& context) {
  const int near = context.mean_height() / 5;
  return remove_links_where(context, [near](const LinkNeighbours& n, int*) {
    const PackedPoint start = start_of(*n.before);
    const PackedPoint end = end_of(*n.after);
    return point_count(*n.link) > 1 && std::abs(start.x - end.x) < near &&
           std::abs(start.y - end.y) < near && !has_internal_crossing(*n.before) &&
           !has_internal_crossing(*n.after);
  });
}

int remove_b_links(RecognitionContext& context) {
  const int h = context.letter_height();
  return remove_links_where(context, [h](const LinkNeighbours& n, int*) {
    const Box16 l = box_of(*n.link);
    const Box16 b1 = box_of(*n.before);
    const Box16 b2 = box_of(*n.after);
    return has_first_partner(record_at(*n.link, point_count(*n.link) - 1)) &&
           l.right >= b2.right - b2.width() / 5 && b2.bottom - l.top <= l.height() / 2 &&
           b1.right > b2.right && b1.height() >= 3 * h / 2;
  });
}

int remove_k_links(RecognitionContext& context) {
  const int h = context.letter_height();
  return remove_links_where(context, [h](const LinkNeighbours& n, int*) {
    const Box16 b1 = box_of(*n.before);
    const Box16 b2 = box_of(*n.after);
    if (b1.right - b2.left <= h / 4 || b1.left > b2.left) return false;
    const ProfileRaster& r1 = n.before->glyph_block_a();
    const ProfileRaster& r2 = n.after->glyph_block_a();
    const int lo = std::max(b1.left, b2.left);
    const int hi = std::min(b1.right, b2.right);
    // The gap between B1's ink and B2's ink below it in a column.
    const auto gap = [&](int x) { return lo < hi ? r2.column_min(x) - r1.column_max(x) : 0; };
    const int gap_lo = std::abs(gap(lo));
    const int gap_hi = gap(hi);
    return start_of(*n.after).y - b2.top < h / 10 && gap_hi > h / 3 && gap_lo < h / 5 &&
           gap_lo < gap_hi / 3 && b2.height() < 2 * h / 3 &&
           r1.column_max(lo) - r1.column_min(lo) < h / 4;
  });
}

int remove_small_links_ind_down_line(RecognitionContext& context) {
  const int h = context.letter_height();
  return remove_links_where(context, [h](const LinkNeighbours& n, int*) {
    const StrokeRecord& b1 = *n.before;
    const StrokeRecord& b2 = *n.after;
    const Box16 l = box_of(*n.link);
    const Box16 box1 = box_of(b1);
    const Box16 box2 = box_of(b2);
    const int n1 = point_count(b1);
    const bool single = point_count(*n.link) == 1;
    if (!single && l.height() <= h / 3 && l.width() < h / 4 &&
        box1.bottom - box2.top <= l.height() && l.height() < box1.height() / 3 &&
        l.height() < box2.height() / 2 && box2.width() < box2.height() &&
        box1.width() < 2 * box1.height() / 3 && n1 >= 2 &&
        (direction_between(b1, n1 - 1, n1 - 2) > 210 ||
         point_at(b1, n1 - 1).x - point_at(b1, n1 - 2).x < h / 10)) {
      return true;
    }
    if (!single) return false;
    const int overlap = box1.bottom - box2.top;
    if (overlap <= h / 10 && box1.height() + box2.height() >= 2 * h / 3 && box1.height() >= h / 5 &&
        box2.height() >= h / 5 && !has_first_partner(record_at(*n.link, 0))) {
      return true;
    }
    if (overlap <= h / 5 && box1.height() >= h / 2 && box2.height() >= h / 2 &&
        box2.bottom - box1.top <= 7 * h / 4) {
      return true;
    }
    if (point_count(b2) == 2) {
      const int d = direction_between(b2, 0, 1);
      if (d > 330 || d < 30) return true;
    }
    if (n1 == 2) {
      const int d = direction_between(b1, 0, 1);
      if (d < 5 || d > 330) return true;
    }
    return false;
  });
}

int remove_start_point_links(RecognitionContext& context) {
  const int h = context.letter_height();
  return remove_links_where(context, [h, &context](const LinkNeighbours& n, int*) {
    if (point_count(*n.link) != 1) return false;
    const Box16 l = box_of(*n.link);
    const Box16 b1 = box_of(*n.before);
    const Box16 b2 = box_of(*n.after);
    const int w1 = b1.width();
    const int w2 = b2.width();
    std::optional<ProfilePairMetrics> measured;
    const auto metrics = [&]() -> const ProfilePairMetrics& {
      if (!measured) measured = profile_pair(*n.before, *n.after);
      return *measured;
    };
    if (n.link->piece == 1) {
      if (w1 < h && w2 < h && b1.right - l.left > w1 / 4 && b1.right > b2.left &&
          l.top < b1.top + b1.height() / 2 && l.top < b2.top + b2.height() / 2 &&
          metrics().least_gap < 0) {
        return true;
      }
      const int common = std::min(b1.bottom, b2.bottom) - std::max(b1.top, b2.top) + 1;
      if (l.right <= b1.left + w1 / 3 && 6 * common >= 5 * b1.height() &&
          6 * common >= 5 * b2.height() && b1.right >= b2.left + w2 / 2 &&
          b2.left <= b1.right - w1 / 2) {
        return true;
      }
    }
    if (b1.top >= b2.top && b1.bottom <= b2.bottom && b2.left - b1.left <= w1 / 3 &&
        b2.left - b1.left < h / 8) {
      const ProfilePairMetrics& m = metrics();
      if (m.common_rows_per_left_height >= 98 && m.least_gap < 0 &&
          m.closed_rows >= 2 * b1.height() / 3) {
        return true;
      }
    }
    IntervalRelation across;
    across.compute(b1.left, b1.right, b2.left, b2.right);
    if (b2.top >= b1.top && b2.bottom <= b1.bottom && across.overlap() + 1 >= w2 &&
        b1.right >= b2.right) {
      const ProfilePairMetrics& m = metrics();
      if (m.common_rows_per_right_height >= 98 && m.least_gap < 0) {
        const PackedPoint end = end_of(*n.after);
        if (m.closed_rows >= b2.height() / 2 || b1.right - w1 / 3 >= b2.right ||
            end.x <= n.before->glyph_block_a().row_max(end.y)) {
          return true;
        }
      }
    }
    if (point_count(*n.before) == 2 && b1.height() < h / 3) {
      const int d = direction_between(*n.before, 1, 0);
      const FigureRecord* back = link_at(context, n.link->stroke_index, n.link->piece - 2);
      if (d >= 251 && d <= 289 && back != nullptr && point_count(*back) >= 2) return true;
    }
    return false;
  });
}

}  // namespace inkrec

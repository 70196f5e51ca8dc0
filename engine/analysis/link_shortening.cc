// Link shortening, splitting and body rules: where a link begins and ends,
// points moved between a link and its bodies, a link cut in two at a
// hidden one-point body, and bodies that are only the turning point of a
// connection.

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "engine/analysis/link_passes.h"
#include "engine/analysis/piece_measures.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/records/clamped_ramp.h"
#include "engine/records/recognition_context.h"
#include "engine/records/request_switches.h"
#include "engine/records/run_kernel.h"

namespace inkrec {

namespace {

// The direction of the absolute components of the segment into point k.
int segment_slope(const StrokeRecord& figure, int k) {
  const PackedPoint a = point_at(figure, k - 1);
  const PackedPoint b = point_at(figure, k);
  return direction_degrees(std::abs(b.y - a.y), std::abs(b.x - a.x));
}

bool any_point_has_partner(const StrokeRecord& figure) {
  for (int k = 0; k < point_count(figure); ++k) {
    if (has_partner(record_at(figure, k))) return true;
  }
  return false;
}

// The crossings in a link: the first point with a first partner, and one more
// than the last point up to it with a second partner.
struct LinkCrossings {
  std::optional<int> first;
  int after_second = -1;
};

LinkCrossings find_link_crossings(const StrokeRecord& link) {
  LinkCrossings found;
  for (int k = 0; k < point_count(link); ++k) {
    if (has_second_partner(record_at(link, k))) found.after_second = k + 1;
    if (has_first_partner(record_at(link, k))) {
      found.first = k;
      break;
    }
  }
  return found;
}

// Whether B2 is a short steep rise from its bottom, or a flat step before
// another link: no letter ink, so its link is no connection.
bool ends_in_bare_stroke(RecognitionContext& context, const FigureRecord& link,
                         const FigureRecord& after) {
  if (link.link_kind == 1 || any_point_has_partner(after)) return false;
  const Box16 box = box_of(after);
  const int d = step_direction(start_of(after), end_of(after));
  const int n = point_count(after);
  if (n < 4 && box.height() > 3 * box.width() && d >= 271 && d < 320 &&
      start_of(after).y == box.bottom) {
    return true;
  }
  return n == 2 && link_at(context, link.stroke_index, link.piece + 2) != nullptr &&
         (d < 10 || d >= 351);
}

}  // namespace

int shorten_links_by_crosses(RecognitionContext& context) {
  for (std::uint32_t i = 0; i < context.links().size();) {
    FigureRecord& link = context.links()[i];
    if (point_count(link) < 1) {
      ++i;
      continue;
    }
    const int stroke = link.stroke_index;
    const int piece = link.piece;
    const LinkCrossings crossings = find_link_crossings(link);
    FigureRecord* after = body_at(context, stroke, piece + 1);
    if (crossings.first) {
      if (after == nullptr) return kBadArgument;
      const int m = point_count(link) - *crossings.first - 1;
      if (const int status = move_joint(link, *after, -m); status != kOk) return status;
    }
    if (crossings.after_second < 1 || piece < 1) {
      ++i;
      continue;
    }
    FigureRecord* before = body_at(context, stroke, piece - 1);
    if (before == nullptr) return kBadArgument;
    const int c = std::min(crossings.after_second, point_count(link) - 1);
    if (c > 0) {
      if (const int status = move_joint(*before, link, c); status != kOk) return status;
    }
    if (after != nullptr && ends_in_bare_stroke(context, link, *after)) {
      if (const int status = remove_link(context, i); status != kOk) return status;
      continue;
    }
    ++i;
  }
  return kOk;
}

int shorten_links_for_body_tales_and_sharp(RecognitionContext& context) {
  const int h = context.letter_height();
  const int sharp = 30000 / height_divisor(context);
  for (std::uint32_t i = 0; i < context.links().size(); ++i) {
    FigureRecord& link = context.links()[i];
    const int n = point_count(link);
    if (n < 5) continue;
    const int last_y = end_of(link).y;
    std::optional<int> turn_end;
    bool turned = false;
    std::optional<int> sharp_end;
    std::optional<int> sharp_start;
    for (int k = n - 2; k >= 1; --k) {
      const int change = segment_slope(link, k) - segment_slope(link, k + 1);
      if (!turn_end && change < -4) turn_end = k + 1;
      if (!turn_end && change >= 6) turned = true;
      const int score = record_at(link, k).trajectory.score;
      if (!sharp_end) {
        if (point_at(link, k).y > last_y && score < -sharp) sharp_end = k;
      } else if (!sharp_start && score > sharp) {
        sharp_start = k;
      }
    }

    // The tail: the pen goes on at the link's end (the cosine of its turn
    // there is positive), or the link turned before its last kink.
    if (record_at(link, n - 1).trajectory.ratio > 0 || (turn_end && turned)) {
      int m = n / 4;
      if (turn_end) m = std::min(m, n - *turn_end - 1);
      if (m > 0 && end_of(link).x - point_at(link, n - 1 - m).x < h / 5) {
        FigureRecord* after = body_at(context, link.stroke_index, link.piece + 1);
        if (after == nullptr) return kBadArgument;
        if (const int status = move_joint(link, *after, -m); status != kOk) return status;
      }
    }

    if (sharp_start && *sharp_end < point_count(link) - 1 && *sharp_end > *sharp_start &&
        point_at(link, *sharp_end).y - point_at(link, *sharp_start).y > h / 5) {
      if (const int status = split_link(context, i, *sharp_start, *sharp_end); status != kOk) {
        return status;
      }
    }
  }
  return kOk;
}

int shorten_links_for_body_tales_2(RecognitionContext& context) {
  const int h = context.letter_height();
  for (FigureRecord& link : context.links()) {
    if (link.piece < 1 || point_count(link) < 3) continue;
    FigureRecord* before = body_at(context, link.stroke_index, link.piece - 1);
    FigureRecord* after = body_at(context, link.stroke_index, link.piece + 1);
    if (before == nullptr || after == nullptr) return kBadArgument;
    const int band_bottom = link.geometry.reference_band().bottom;
    const int n1 = point_count(*before);
    const int d1 = n1 >= 2 ? direction_at(*before, n1 - 2) : 0;

    if (!record_at(link, 0).trajectory.has_any_flag(TrajectoryRecord::kSecondCrossingEnd) &&
        d1 >= 30 && d1 < 181 && end_of(link).y > point_at(*before, n1 - 2).y - h / 3) {
      const Box16 b1 = box_of(*before);
      const Box16 b2 = box_of(*after);
      const int n2 = point_count(*after);
      bool drops_near_right = false;
      for (int k = 2; k < n2; ++k) {
        if (point_at(*after, k).y > point_at(*after, k - 1).y &&
            b2.right - point_at(*after, k).x <= h / 4) {
          drops_near_right = true;
        }
      }
      int status = kOk;
      if (n2 > 2 && end_of(*after).y > start_of(*after).y &&
          start_of(*after).x - end_of(*after).x > h / 3 &&
          point_at(*after, 1).y < start_of(*after).y && start_of(link).y > b2.bottom &&
          !drops_near_right) {
        status = move_joint(link, *after, -1);
      } else if (n1 > 1 && point_at(link, 1).x - start_of(link).x < 2 * b1.width() / 3) {
        status = move_joint(*before, link, 1);
      }
      if (status != kOk) return status;
    }

    const int n = point_count(link);
    if (n >= 3) {
      const PackedPoint start = start_of(link);
      bool reaches_below = false;
      for (int k = 1; k < n; ++k) reaches_below = reaches_below || point_at(link, k).y > start.y;
      if (start.y > band_bottom - h / 3 && reaches_below &&
          end_of(*before).y < box_of(*before).bottom && end_of(link).y < band_bottom - h / 2 &&
          point_at(link, n - n / 2).x - box_of(*before).right > h / 4) {
        if (const int status = move_joint(link, *after, -(n - n / 2)); status != kOk) {
          return status;
        }
      }
    }

    const Box16 l = box_of(link);
    const Box16 b1 = box_of(*before);
    if (point_count(*before) >= 2 && point_count(link) >= 2 && b1.width() < l.width() / 2 &&
        l.width() > h / 2 && point_at(link, 1).x - start_of(link).x < l.width() / 4 &&
        l.bottom > b1.top + b1.height() / 2) {
      const int m1 = point_count(*before);
      const PackedPoint last = point_at(*before, m1 - 1);
      const PackedPoint previous = point_at(*before, m1 - 2);
      const bool turns_back = step_direction(last, previous) < 225 && last.x - previous.x >= h / 10;
      if (!turns_back) {
        if (const int status = move_joint(*before, link, 1); status != kOk) return status;
      }
    }
  }
  return kOk;
}

int make_continuation_for_links(RecognitionContext& context) {
  for (FigureRecord& link : context.links()) {
    const int n = point_count(link);
    if (n < 1 || has_partner(record_at(link, n - 1))) continue;
    FigureRecord* after = body_at(context, link.stroke_index, link.piece + 1);
    if (after == nullptr) continue;
    int e = -1;
    if (n >= 2) {
      e = direction_at(link, n - 2);
    } else if (const FigureRecord* before = body_at(context, link.stroke_index, link.piece - 1);
               before != nullptr && point_count(*before) >= 2) {
      e = direction_at(*before, point_count(*before) - 2);
    }
    const int n2 = point_count(*after);
    int k = 1;
    int f = -1;
    while (k < n2) {
      f = direction_at(*after, k - 1);
      if (f < 270 || has_first_partner(record_at(*after, k))) break;
      e = f;
      ++k;
    }
    if (k >= n2 - 1 || e < 0 || f > e) continue;
    const int g = reversed_direction(direction_at(*after, k));
    if (g <= f && f - g <= 30) {
      if (const int status = move_joint(link, *after, k); status != kOk) return status;
    }
  }
  return kOk;
}

namespace {

// The body of stroke s with the greatest even piece, found by stepping
// 0, 2, 4, ...
const FigureRecord* last_body_of(RecognitionContext& context, int stroke) {
  const FigureRecord* last = nullptr;
  for (int piece = 0;; piece += 2) {
    const FigureRecord* body = body_at(context, stroke, piece);
    if (body == nullptr) return last;
    last = body;
  }
}

// A first point written under the end of
// the previous stroke (the dot of a continued letter) takes the link's
// points up to that stroke's right edge. Whether it took any.
int join_previous_stroke(RecognitionContext& context, FigureRecord& body, FigureRecord& link,
                         bool* joined) {
  *joined = false;
  const int h = context.letter_height();
  if (!RequestSwitches(context.kernel().params()).stroke_order() || body.stroke_index == 0 ||
      point_count(link) < 2) {
    return kOk;
  }
  const FigureRecord* last = last_body_of(context, body.stroke_index - 1);
  if (last == nullptr || last->line_index != link.line_index) return kOk;
  const Box16 p = box_of(*last);
  const PackedPoint start = start_of(link);
  if (start.x - h / 25 > p.center_x() || p.top > start.y - h / 4 || p.bottom < start.y + h / 6) {
    return kOk;
  }
  int taken = 0;
  while (taken < point_count(link) - 1 && point_at(link, taken).x <= p.right) ++taken;
  if (taken == 0) return kOk;
  *joined = true;
  return move_joint(body, link, taken);
}

}  // namespace

int remove_point_bodies(RecognitionContext& context) {
  const int h = context.letter_height();
  for (std::uint32_t b = 0; b < context.bodies().size();) {
    FigureRecord& body = context.bodies()[b];
    FigureRecord* link = link_at(context, body.stroke_index, body.piece + 1);
    if (point_count(body) != 1 || body.first_point != 0 || link == nullptr) {
      ++b;
      continue;
    }
    bool joined = false;
    if (const int status = join_previous_stroke(context, body, *link, &joined); status != kOk) {
      return status;
    }
    const Box16 l = box_of(*link);
    if (joined || l.height() >= h) {
      ++b;
      continue;
    }
    const FigureRecord* next = body_at(context, link->stroke_index, link->piece + 1);
    if (next == nullptr) return kBadArgument;
    const bool last_short =
        point_count(*next) < 3 && link_at(context, link->stroke_index, link->piece + 2) == nullptr;
    if (!last_short && l.width() > 3 * h / 4) {
      if (const int status = move_joint(body, *link, point_count(*link) - 1); status != kOk) {
        return status;
      }
      ++b;
      continue;
    }
    const std::uint32_t index = piece_index(context.links(), link->stroke_index, link->piece);
    if (const int status = remove_link(context, index); status != kOk) return status;
  }
  return kOk;
}

int remove_median_body(RecognitionContext& context) {
  const int h = context.letter_height();
  for (std::uint32_t b = 0; b < context.bodies().size();) {
    FigureRecord& body = context.bodies()[b];
    const FigureRecord* l1 = link_at(context, body.stroke_index, body.piece - 1);
    const FigureRecord* l2 = link_at(context, body.stroke_index, body.piece + 1);
    if (l1 == nullptr || l2 == nullptr) {
      ++b;
      continue;
    }
    TextLine* line = context.text_lines().item_checked(body.line_index);
    if (line == nullptr) return kBadArgument;
    const Box16 box = box_of(body);
    const Box16 a = box_of(*l1);
    const Box16 c = box_of(*l2);
    const int height = box.height();
    const int width = box.width();
    bool moves_right = true;
    for (int k = 1; k < point_count(body); ++k) {
      moves_right = moves_right && point_at(body, k).x > point_at(body, k - 1).x;
    }
    const PackedPoint l2_start = start_of(*l2);
    bool removed =
        a.top >= box.bottom && c.bottom <= box.top + height / 2 && height <= h / 3 && moves_right;
    if (!removed) {
      const bool stays =
          height > h / 5 || width > h / 5 || box.top != a.top || box.bottom != c.bottom ||
          line->fits[2].y_at(l2_start.x) - l2_start.y < h / 10 || height > 2 * a.height() / 5 ||
          start_of(body).y > l2_start.y || point_count(body) < 2 || c.height() < height ||
          c.height() < h / 4 || (width >= height && width >= h / 8);
      removed = !stays;
    }
    if (!removed) {
      ++b;
      continue;
    }
    if (const int status = remove_body(context, b); status != kOk) return status;
  }
  return kOk;
}

namespace {

// A turn where a link of a slanted connection bends down (or up) into a
// letter stroke hidden in it: the split point, when the bend is deep
// enough and nothing of the link rises above the line from the bend.
struct TurnSplit {
  int point = -1;
  bool up = false;
  bool down = false;
};

bool none_above(const StrokeRecord& link, int from, int to, const ClampedRamp& line, int depth) {
  for (int k = from; k <= to; ++k) {
    if (line.value_at(point_at(link, k).x) - point_at(link, k).y > depth) return false;
  }
  return true;
}

TurnSplit find_turn(const StrokeRecord& link, const StrokeRecord& before, int h) {
  const int n = point_count(link);
  const PackedPoint first = start_of(link);
  const PackedPoint last = end_of(link);
  const PackedPoint lead = point_at(before, point_count(before) - 2);
  for (int k = 0; k <= n - 3; ++k) {
    const int a = direction_at(link, k);
    const int b = direction_at(link, k + 1);
    const bool down = (a < 20 && b > a + 250 && b < 300) || (a >= 340 && b > a - 70 && b < 300);
    const bool up = a >= 270 && ((b > a + 30 && b >= 330) || (b < 21 && a - b < 330));
    const PackedPoint turn = point_at(link, k + 1);
    if (down && !up && turn.y - last.y >= h / 5 && last.x - turn.x >= h / 5) {
      const PackedPoint from = point_at(link, k);
      const ClampedRamp line(from.x, from.y, false, last.x, last.y, false);
      if (none_above(link, k, n - 1, line, h / 10)) return {k + 1, false, true};
    }
    if (up && first.y - turn.y >= h / 5 && last.x - turn.x >= h / 5) {
      const ClampedRamp line(lead.x, lead.y, false, turn.x, turn.y, false);
      if (none_above(link, 0, k, line, h / 10)) return {k + 1, true, down};
    }
  }
  return {};
}

// The neighbours of link i when both exist with at least 2 points.
bool has_two_point_neighbours(RecognitionContext& context, std::uint32_t i, LinkNeighbours* out) {
  return link_neighbours(context, i, out) == kOk && point_count(*out->before) >= 2 &&
         point_count(*out->after) >= 2;
}

}  // namespace

int split_links_at_turns(RecognitionContext& context) {
  const int h = context.letter_height();
  for (std::uint32_t i = 0; i < context.links().size(); ++i) {
    LinkNeighbours n;
    if (point_count(context.links()[i]) < 3 || !has_two_point_neighbours(context, i, &n)) {
      continue;
    }
    const int entry = direction_at(*n.after, 0);
    if ((entry >= 131 && entry <= 334) ||
        (entry < 10 && record_at(*n.after, 0).trajectory.step_length >= h / 4)) {
      continue;
    }
    const TurnSplit turn = find_turn(*n.link, *n.before, h);
    if (turn.point < 0) continue;
    const int y = point_at(*n.link, turn.point).y;
    const int b2_height = box_of(*n.after).height();
    if ((turn.up && b2_height < (start_of(*n.link).y - y) / 2) ||
        (turn.down && b2_height < (y - end_of(*n.link).y) / 2)) {
      continue;
    }
    if (const int status = split_link(context, i, turn.point, turn.point); status != kOk) {
      return status;
    }
  }
  return kOk;
}

int split_links_at_long_steps(RecognitionContext& context) {
  const int h = context.letter_height();
  for (std::uint32_t i = 0; i < context.links().size(); ++i) {
    LinkNeighbours n;
    const FigureRecord& link = context.links()[i];
    const int count = point_count(link);
    if (count < 3 || box_of(link).width() < 5 * h / 6 ||
        !has_two_point_neighbours(context, i, &n)) {
      continue;
    }
    for (int k = 1; k <= count - 2; ++k) {
      if (direction_at(link, k) == 0 && point_at(link, k + 1).x - point_at(link, k).x >= h / 3) {
        if (const int status = split_link(context, i, k, k); status != kOk) return status;
        break;
      }
    }
  }
  return kOk;
}

}  // namespace inkrec

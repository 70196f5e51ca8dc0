// The hysteresis search for vertical extrema, the lists of several runs and
// the counting of distinct extrema.

#include "engine/records/vertical_extrema.h"

#include <cstdlib>
#include <optional>
#include <utility>

#include "engine/foundation/point_span.h"
#include "engine/foundation/status.h"
#include "engine/records/trajectory_record.h"

namespace inkrec {
namespace {

// The search over one run. Differences of y are taken in int, so that no
// coordinate pair can wrap them around.
class ExtremaFinder {
 public:
  ExtremaFinder(ExtremumList& out, PointSpan points, const PointRecord* records, int threshold)
      : out_(out), points_(points), records_(records), t_(threshold) {}

  int run();

 private:
  int y(std::int32_t i) const { return points_[i].y; }

  // The entry of point i with `bit` set on it, appended when the list has
  // none yet; null when the list cannot grow.
  Extremum* add_or_mark(std::int32_t i, std::uint8_t bit);

  // What the first move of at least t from the first point shows: the
  // first point itself is the first turn (first_bit), or a later point is
  // (turn, turn_bit); the searches then go on from there.
  struct Opening {
    std::uint8_t first_bit = 0;
    std::int32_t turn = -1;
    std::uint8_t turn_bit = 0;
    bool next_is_maximum = true;
  };
  // Nothing when the stroke never moves by t.
  std::optional<Opening> scan_opening() const;

  // The next maximum of y after s (sign 1) or the next minimum (sign -1);
  // -1 when there is none.
  std::int32_t next_turn(std::int32_t s, int sign) const;

  ExtremumList& out_;
  PointSpan points_;
  const PointRecord* records_;
  int t_;
};

Extremum* ExtremaFinder::add_or_mark(std::int32_t i, std::uint8_t bit) {
  DynArray<Extremum>& entries = out_.entries;
  for (std::uint32_t k = entries.size(); k > 0; --k) {
    Extremum& entry = entries[k - 1];
    if (entry.index == static_cast<std::uint32_t>(i)) {
      entry.set_flag(bit, true);
      return &entry;
    }
    if (entry.index < static_cast<std::uint32_t>(i)) break;
  }
  Extremum entry;
  entry.point = points_[i];
  entry.record = records_ == nullptr ? nullptr : records_ + i;
  entry.index = static_cast<std::uint32_t>(i);
  entry.flags = bit;
  return entries.push_back_ptr(entry);
}

std::optional<ExtremaFinder::Opening> ExtremaFinder::scan_opening() const {
  const int y0 = y(0);
  int highest = y0;
  int lowest = y0;
  std::int32_t highest_at = 0;
  std::int32_t lowest_at = 0;
  Opening opening;
  for (std::int32_t i = 1; i < points_.size(); ++i) {
    const int yi = y(i);
    if (yi > highest) {
      highest = yi;
      highest_at = i;
    }
    if (yi < lowest) {
      lowest = yi;
      lowest_at = i;
    }
    if (yi - y0 >= t_) {
      // Rising: the minimum before the rise, or the first point itself.
      if (lowest >= y0) {
        opening.first_bit = Extremum::kMinimum;
      } else {
        opening.turn = lowest_at;
        opening.turn_bit = Extremum::kMinimum;
      }
      return opening;
    }
    if (yi - y0 <= -t_) {
      if (highest <= y0) {
        opening.first_bit = Extremum::kMaximum;
      } else {
        opening.turn = highest_at;
        opening.turn_bit = Extremum::kMaximum;
      }
      opening.next_is_maximum = false;
      return opening;
    }
    if (highest - lowest >= t_) {
      // The earlier of the two extremes; the search goes on for a maximum,
      // which from a maximum finds that same point again.
      const bool minimum_first = lowest_at < highest_at;
      opening.turn = minimum_first ? lowest_at : highest_at;
      opening.turn_bit = minimum_first ? Extremum::kMinimum : Extremum::kMaximum;
      return opening;
    }
  }
  return std::nullopt;
}

std::int32_t ExtremaFinder::next_turn(std::int32_t s, int sign) const {
  const std::int32_t n = points_.size();
  std::int32_t i = s;
  while (i + 1 < n && sign * y(i + 1) > sign * y(i)) ++i;
  int best = sign * y(i);
  std::int32_t best_at = i;
  for (std::int32_t j = i + 1; j < n; ++j) {
    const int v = sign * y(j);
    if (v <= best - t_) return best_at;
    if (v > best) {
      best = v;
      best_at = j;
    }
  }
  return best - sign * y(s) > t_ ? best_at : -1;
}

int ExtremaFinder::run() {
  out_.entries.clear();
  out_.threshold = t_;
  const std::int32_t n = points_.size();
  if (n == 0) return kOk;
  if (!out_.entries.reserve(8)) return kOutOfMemory;
  if (add_or_mark(0, Extremum::kStart) == nullptr) return kOutOfMemory;
  if (n == 1) {
    out_.entries[0].set_end(true);
    return kOk;
  }
  const std::optional<Opening> opening = scan_opening();
  if (!opening) {
    out_.entries[0].set_end(true);
    return kOk;
  }
  if (opening->first_bit != 0) out_.entries[0].set_flag(opening->first_bit, true);
  if (opening->turn >= 0 && add_or_mark(opening->turn, opening->turn_bit) == nullptr) {
    return kOutOfMemory;
  }

  // Alternate searches. A search that finds its own starting point twice in
  // a row (a threshold of 0 or less on a flat stretch) ends them.
  std::int32_t s = opening->turn < 0 ? 0 : opening->turn;
  bool maximum = opening->next_is_maximum;
  bool stalled = false;
  for (;;) {
    const std::int32_t found = next_turn(s, maximum ? 1 : -1);
    if (found < 0 || (found == s && stalled)) break;
    stalled = found == s;
    if (add_or_mark(found, maximum ? Extremum::kMaximum : Extremum::kMinimum) == nullptr) {
      return kOutOfMemory;
    }
    s = found;
    maximum = !maximum;
  }

  Extremum* last = add_or_mark(n - 1, Extremum::kEnd);
  if (last == nullptr) return kOutOfMemory;
  const DynArray<Extremum>& entries = out_.entries;
  if (entries.size() >= 2) {
    const int rise = last->point.y - entries[entries.size() - 2].point.y;
    if (rise <= -t_) last->set_minimum(true);
    if (rise >= t_) last->set_maximum(true);
  }
  return kOk;
}

}  // namespace

int find_vertical_extrema(ExtremumList& out, const PointRecord* points, std::int32_t count,
                          int threshold) {
  const PointSpan span = PointSpan::of_records(points, count);
  return ExtremaFinder(out, span, points, threshold == 0 ? 1 : threshold).run();
}

int find_packed_point_extrema(ExtremumList& out, const PackedPoint* points, std::int32_t count,
                              int threshold) {
  return ExtremaFinder(out, PointSpan(points, count), nullptr, threshold).run();
}

int collect_vertical_extrema(DynArray<ExtremumList>& lists, const PointRun& stroke, int threshold) {
  ExtremumList list;
  if (const int status = find_vertical_extrema(list, stroke.points, stroke.count, threshold);
      status != kOk) {
    return status;
  }
  return lists.push_back(std::move(list));
}

int collect_vertical_extrema(DynArray<ExtremumList>& lists, RunList strokes, int threshold) {
  for (const PointRun* stroke : strokes) {
    if (stroke == nullptr) return kBadArgument;
    if (const int status = collect_vertical_extrema(lists, *stroke, threshold); status != kOk) {
      return status;
    }
  }
  return kOk;
}

ExtremumCounts count_distinct_extrema(std::span<const Extremum> list, bool include_ends,
                                      int tolerance) {
  const auto counted = [include_ends](const Extremum& e) {
    return include_ends || (e.flags & (Extremum::kStart | Extremum::kEnd)) == 0;
  };
  // Whether an earlier counted entry of the same kind lies within the
  // tolerance of entry i.
  const auto seen_before = [&](std::size_t i, std::uint8_t kind) {
    if (tolerance < 0) return false;
    const PackedPoint p = list[i].point;
    for (std::size_t k = 0; k < i; ++k) {
      const Extremum& e = list[k];
      if ((e.flags & kind) == 0 || !counted(e)) continue;
      if (std::abs(e.point.x - p.x) <= tolerance && std::abs(e.point.y - p.y) <= tolerance) {
        return true;
      }
    }
    return false;
  };
  ExtremumCounts counts;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const Extremum& e = list[i];
    if (!counted(e)) continue;
    if (e.is_minimum() && !seen_before(i, Extremum::kMinimum)) ++counts.minima;
    if (e.is_maximum() && !seen_before(i, Extremum::kMaximum)) ++counts.maxima;
  }
  return counts;
}

std::int64_t total_point_count(RunList runs) {
  std::int64_t total = 0;
  for (const PointRun* run : runs) {
    if (run != nullptr && run->count > 0) total += run->count;
  }
  return total;
}

}  // namespace inkrec

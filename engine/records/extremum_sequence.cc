// Cutting figures from their strokes' extremum lists, the height statistics
// of a sequence and its height profile.

#include "engine/records/extremum_sequence.h"

#include <cstdlib>

#include "engine/foundation/status.h"
#include "engine/foundation/values.h"
#include "engine/records/figure_records.h"
#include "engine/records/trajectory_record.h"

namespace inkrec {
namespace {

const ExtremumList* list_of(const FigureRecord& figure, const DynArray<ExtremumList>& lists) {
  return lists.item_checked(figure.stroke_index);
}

Extremum boundary_entry(const PointRun& figure, std::int32_t i, std::uint32_t first_point,
                        std::uint8_t flags) {
  Extremum entry;
  entry.point = figure.points[i].point;
  entry.record = figure.points + i;
  entry.index = first_point + static_cast<std::uint32_t>(i);
  entry.flags = flags;
  return entry;
}

}  // namespace

ExtremumSequence::ExtremumSequence(const PointRun& figure, std::uint32_t first_point,
                                   const ExtremumList* stroke_list) {
  status = cut(figure, first_point, stroke_list, 0, 0);
  measure_heights();
}

ExtremumSequence::ExtremumSequence(const FigureRecord& figure, const DynArray<ExtremumList>& lists)
    : ExtremumSequence(figure.run, figure.first_point, list_of(figure, lists)) {}

ExtremumSequence ExtremumSequence::from_strokes(std::span<FigureRecord* const> figures,
                                                const DynArray<ExtremumList>& lists) {
  ExtremumSequence sequence;
  sequence.status = kOk;
  for (const FigureRecord* figure : figures) {
    sequence.status = figure == nullptr
                          ? kBadArgument
                          : sequence.cut(figure->run, figure->first_point, list_of(*figure, lists),
                                         Extremum::kStart, Extremum::kEnd);
    if (sequence.status != kOk) break;
  }
  sequence.measure_heights();
  return sequence;
}

int ExtremumSequence::cut(const PointRun& figure, std::uint32_t first_point,
                          const ExtremumList* stroke_list, std::uint8_t start_flags,
                          std::uint8_t end_flags) {
  if (stroke_list == nullptr || figure.empty()) return kBadArgument;
  const int t = stroke_list->threshold;
  const std::uint32_t last_point = first_point + static_cast<std::uint32_t>(figure.count) - 1;
  Extremum start = boundary_entry(figure, 0, first_point, start_flags);
  Extremum end = boundary_entry(figure, figure.count - 1, first_point, end_flags);
  std::uint32_t appended = 0;
  const auto append = [&](const Extremum& entry) {
    ++appended;
    return entries.push_back(entry);
  };

  for (const Extremum& e : stroke_list->entries) {
    if (e.index < first_point) continue;
    if (e.index > last_point) break;
    if (appended == 0 && e.point != start.point) {
      // The figure starts between extrema: its first point turns when the
      // stroke's next extremum lies far enough the other way.
      if (e.is_maximum() && e.point.y - start.point.y > t) {
        start.set_minimum(true);
      } else if (e.is_minimum() && start.point.y - e.point.y > t) {
        start.set_maximum(true);
      }
      if (append(start) != kOk) return kOutOfMemory;
    }
    Extremum entry = e;
    if (e.index == first_point) {
      entry = start;
      entry.flags = e.flags | Extremum::kStart;
    } else if (e.index == last_point) {
      entry = end;
      entry.flags = e.flags | Extremum::kEnd;
    }
    if (append(entry) != kOk) return kOutOfMemory;
  }

  if (entries.empty()) {
    // No extremum at all: the two ends turn when the figure moves by more
    // than t from one to the other.
    if (start.point.y - end.point.y > t) {
      start.set_maximum(true);
      end.set_minimum(true);
    } else if (end.point.y - start.point.y > t) {
      start.set_minimum(true);
      end.set_maximum(true);
    }
    if (append(start) != kOk || append(end) != kOk) return kOutOfMemory;
    return kOk;
  }
  if (appended > 0 && entries.back().index == last_point) return kOk;
  const Extremum& last = entries.back();
  if (last.is_maximum() && last.point.y - end.point.y > t) {
    end.set_minimum(true);
  } else if (last.is_minimum() && end.point.y - last.point.y > t) {
    end.set_maximum(true);
  }
  return append(end);
}

void ExtremumSequence::measure_heights() {
  mean_height = 0;
  max_height = 0;
  const std::uint32_t n = entries.size();
  std::uint32_t j = 0;
  while (j < n && !entries[j].is_turning_point()) ++j;
  std::int64_t sum = 0;
  std::int64_t count = 0;
  int greatest = 0;
  for (; j + 1 < n && entries[j + 1].is_turning_point(); ++j) {
    const int d = std::abs(entries[j + 1].point.y - entries[j].point.y);
    if (d == 0) continue;
    sum += d;
    ++count;
    if (d > greatest) greatest = d;
  }
  if (count == 0) return;
  mean_height = saturate_int16(sum / count);
  max_height = saturate_int16(greatest);
}

namespace {

// The raw heights: from a stroke's first turning point or from the interior
// turning point before, to the next turning point that ends a height.
int collect_heights(std::span<const Extremum> entries, DynArray<std::int32_t>& heights) {
  bool has_reference = false;
  int reference = 0;
  bool has_interior = false;
  bool previous_was_maximum = false;
  const auto emit = [&](int y) { return heights.push_back(std::abs(reference - y)); };
  for (const Extremum& e : entries) {
    if (!e.is_turning_point()) continue;
    const int y = e.point.y;
    if (e.is_start()) {
      reference = y;
      has_reference = true;
    } else if (e.is_end()) {
      if (has_reference && emit(y) != kOk) return kOutOfMemory;
      has_reference = false;
    } else {
      const bool turns = !has_interior || e.is_maximum() != previous_was_maximum;
      if (has_reference && turns && emit(y) != kOk) return kOutOfMemory;
      reference = y;
      has_reference = true;
      has_interior = true;
      previous_was_maximum = e.is_maximum();
    }
  }
  return kOk;
}

// Zeroes every height that neither the forward nor the backward pass marks
// as standing above a neighbour: 0, or -1 when the marks cannot be made.
int remove_dips(DynArray<std::int32_t>& d) {
  const std::uint32_t n = d.size();
  if (n < 2) return kOk;
  DynArray<std::uint8_t> forward;
  DynArray<std::uint8_t> backward;
  if (forward.resize(n, 1) != kOk || backward.resize(n, 1) != kOk) return kOutOfMemory;
  for (std::uint32_t i = 0; i + 1 < n; ++i) {
    if (d[i + 1] < d[i]) {
      forward[i] = 1;
      forward[i + 1] = 0;
    } else if (d[i + 1] > d[i]) {
      forward[i] = 0;
      forward[i + 1] = 1;
    }
  }
  for (std::uint32_t k = n - 1; k >= 1; --k) {
    if (d[k - 1] < d[k]) {
      backward[k - 1] = 0;
      backward[k] = 1;
    } else if (d[k - 1] > d[k]) {
      backward[k - 1] = 1;
      backward[k] = 0;
    }
  }
  for (std::uint32_t i = 0; i < n; ++i) {
    if (forward[i] == 0 && backward[i] == 0) d[i] = 0;
  }
  return kOk;
}

}  // namespace

int extrema_profile(const ExtremumSequence& sequence, DynArray<std::int32_t>& heights) {
  heights.clear();
  if (sequence.status != kOk) return kBadArgument;
  if (const int status = collect_heights(sequence.entries.span(), heights); status != kOk) {
    return status;
  }
  return remove_dips(heights);
}

}  // namespace inkrec

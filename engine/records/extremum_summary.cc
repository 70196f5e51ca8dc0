// Building extremum summaries.

#include "engine/records/extremum_summary.h"

#include <cstdlib>

#include "engine/foundation/status.h"
#include "engine/foundation/values.h"
#include "engine/records/figure_records.h"

namespace inkrec {
namespace {

// The pass over the lists of one build: the turning points seen so far, to
// tell duplicates, with room for 32 of each kind.
class SummaryBuilder {
 public:
  SummaryBuilder(int upper, int lower, ExtremumSummary& summary, const Box16& box)
      : upper_(upper), lower_(lower), summary_(summary), box_(box) {}

  int start() {
    if (maxima_seen_.reserve_total(32) != kOk || minima_seen_.reserve_total(32) != kOk ||
        summary_.low_extrema.reserve_total(16) != kOk ||
        summary_.high_extrema.reserve_total(16) != kOk) {
      return kOutOfMemory;
    }
    return kOk;
  }

  int add_list(std::span<const Extremum> list) {
    for (std::size_t i = 0; i < list.size(); ++i) {
      if (const int status = add(list, i); status != kOk) return status;
    }
    return kOk;
  }

 private:
  int add(std::span<const Extremum> list, std::size_t i);
  // Whether e is near one of `seen`; it joins them either way.
  int check_duplicate(const Extremum& e, DynArray<Extremum>& seen, bool& duplicate) const;
  std::int16_t position(std::size_t i) const {
    return saturate_int16(static_cast<std::int64_t>(i) - summary_.duplicates);
  }

  int upper_;
  int lower_;
  ExtremumSummary& summary_;
  Box16 box_;
  DynArray<Extremum> maxima_seen_;
  DynArray<Extremum> minima_seen_;
};

int SummaryBuilder::check_duplicate(const Extremum& e, DynArray<Extremum>& seen,
                                    bool& duplicate) const {
  duplicate = false;
  for (const Extremum& other : seen) {
    if (points_near(e, other, box_.height())) {
      duplicate = true;
      break;
    }
  }
  return seen.push_back(e);
}

int SummaryBuilder::add(std::span<const Extremum> list, std::size_t i) {
  const Extremum& e = list[i];
  ExtremumSummary& s = summary_;
  if (!e.is_turning_point()) {
    ++s.visited;
    return kOk;
  }
  const bool minimum = e.is_minimum();
  bool duplicate = false;
  if (const int status = check_duplicate(e, minimum ? minima_seen_ : maxima_seen_, duplicate);
      status != kOk) {
    return status;
  }
  if (duplicate) {
    ++s.duplicates;
    return kOk;
  }
  ++s.accepted;
  ++s.visited;
  if (minimum) {
    if (e.point.y > upper_) return kOk;
    if (s.first_high == -1) s.first_high = position(i);
    s.last_high = position(i);
    const bool last_of_stroke = e.is_end() && i + 1 == list.size();
    const bool right_third = e.point.x >= box_.right - (box_.right - box_.left) / 3;
    if (last_of_stroke && right_third) {
      if (e.point.y <= box_.top + box_.height() / 6) s.final_hook = 1;
      return kOk;
    }
    return s.high_extrema.push_back(e);
  }
  if (e.point.y < lower_) return kOk;
  if (s.first_low == -1) s.first_low = position(i);
  s.last_low = position(i);
  if (e.is_start() && i == 0) return kOk;
  return s.low_extrema.push_back(e);
}

}  // namespace

bool points_near(const Extremum& a, const Extremum& b, int d) {
  const int limit = d / 10;
  return std::abs(a.point.x - b.point.x) < limit && std::abs(a.point.y - b.point.y) < limit;
}

int build_extremum_summary(const DynArray<ExtremumList>& lists, int upper, int lower,
                           ExtremumSummary& summary, const Box16& box) {
  SummaryBuilder builder(upper, lower, summary, box);
  if (const int status = builder.start(); status != kOk) return status;
  for (const ExtremumList& list : lists) {
    if (const int status = builder.add_list(list.entries.span()); status != kOk) return status;
  }
  return kOk;
}

int build_extremum_summary_one(std::span<const Extremum> list, int upper, int lower,
                               ExtremumSummary& summary, const Box16& box) {
  SummaryBuilder builder(upper, lower, summary, box);
  if (const int status = builder.start(); status != kOk) return status;
  return builder.add_list(list);
}

int figure_extrema_pass(const StrokeRecord& figure, int threshold, int upper, int lower,
                        ExtremumSummary& summary, const Box16* box) {
  ExtremumList list;
  if (const int status =
          find_vertical_extrema(list, figure.run.points, figure.run.count, threshold);
      status != kOk) {
    return status;
  }
  const Box16 own = figure.geometry.bounding_box();
  return build_extremum_summary_one(list.entries.span(), upper, lower, summary,
                                    box != nullptr ? *box : own);
}

int build_figure_flags(std::span<FigureRecord* const> figures, const DynArray<ExtremumList>& lists,
                       const Box16& group_box, int upper, int lower, ExtremumSummary& summary) {
  const ExtremumSequence sequence = ExtremumSequence::from_strokes(figures, lists);
  if (sequence.status != kOk) return sequence.status;
  return build_extremum_summary_one(sequence.entries.span(), upper, lower, summary, group_box);
}

int element_figure_flags(RunList runs, const Box16& group_box, int threshold, int upper, int lower,
                         ExtremumSummary& summary) {
  DynArray<ExtremumList> lists;
  if (const int status = collect_vertical_extrema(lists, runs, threshold); status != kOk) {
    return status;
  }
  return build_extremum_summary(lists, upper, lower, summary, group_box);
}

}  // namespace inkrec

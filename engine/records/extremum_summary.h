// ExtremumSummary: which vertical turning points of a figure reach above an
// upper line or below a lower line (the letter rules ask it of ascenders,
// descenders and the tops of letters), with duplicates dropped.
//
// Two turning points of the same kind closer than a tenth of the box height
// in both axes count once. A minimum at the very end of a stroke, in the
// right third and top sixth of the box, is a final hook rather than a high
// point. The caller owns the summary and may build it over several lists
// in turn; the counts and positions carry on from one build to the next.
#pragma once

#include <cstdint>
#include <span>

#include "engine/foundation/box16.h"
#include "engine/foundation/dyn_array.h"
#include "engine/records/extremum_sequence.h"
#include "engine/records/point_run.h"
#include "engine/records/vertical_extrema.h"

namespace inkrec {

struct FigureRecord;
struct StrokeRecord;

struct ExtremumSummary {
  // Entries that are not turning points, plus turning points not dropped.
  std::uint16_t visited = 0;
  // Turning points not dropped as duplicates.
  std::uint16_t accepted = 0;
  // Maxima of y at or below the lower line, and minima at or above the
  // upper line (the first point of a stroke is never a low extremum).
  DynArray<Extremum> low_extrema;
  DynArray<Extremum> high_extrema;
  // Positions (in the entry's list, less the duplicates dropped so far) of
  // the first and last such maximum and minimum; -1 while there is none.
  std::int16_t first_low = -1;
  std::int16_t last_low = -1;
  std::int16_t first_high = -1;
  std::int16_t last_high = -1;
  std::uint16_t duplicates = 0;
  std::uint8_t final_hook = 0;
};

// |ax - bx| < d / 10 and |ay - by| < d / 10.
bool points_near(const Extremum& a, const Extremum& b, int d);

// Adds the entries of the lists (one per stroke) to the summary, against
// the lines y = upper and y = lower and the figure's box. 0, or -1 when an
// array cannot grow.
int build_extremum_summary(const DynArray<ExtremumList>& lists, int upper, int lower,
                           ExtremumSummary& summary, const Box16& box);
// The same over one list.
int build_extremum_summary_one(std::span<const Extremum> list, int upper, int lower,
                               ExtremumSummary& summary, const Box16& box);

// The extrema of the figure's run with the threshold, summarised in the
// given box or, without one, the figure's own.
int figure_extrema_pass(const StrokeRecord& figure, int threshold, int upper, int lower,
                        ExtremumSummary& summary, const Box16* box = nullptr);

// The forms over a group of figures taken as one letter candidate, with the
// group's box: over the extremum sequence of the figures, cut from their
// strokes' lists (-2 for a missing figure or list); and over the extrema of
// every run of the group found afresh with the threshold (-2 for a missing
// run).
int build_figure_flags(std::span<FigureRecord* const> figures, const DynArray<ExtremumList>& lists,
                       const Box16& group_box, int upper, int lower, ExtremumSummary& summary);
int element_figure_flags(RunList runs, const Box16& group_box, int threshold, int upper, int lower,
                         ExtremumSummary& summary);

}  // namespace inkrec

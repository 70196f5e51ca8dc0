// FragmentState: the letter search's state of one text line for one sweep
// of the line loop, the first argument of every pass of the line's search,
// of the cover and of the letter rules; and the two measures of the line's
// figures that the passes read through it: their mean sizes and their
// order along the writing direction.
//
// The state refers to, and never owns, the run's context, the line and the
// results of the line's chosen reading. It is built on the caller's stack
// for one sweep and is never copied. The means stay 0 until
// estimate_fragment_sizes sets them.
#pragma once

#include <cstdint>

#include "engine/foundation/ptr_array.h"
#include "engine/records/figure_group.h"
#include "engine/records/recognition_context.h"
#include "engine/records/text_line.h"

namespace inkrec {

class FragmentState {
 public:
  // Both must outlive the state.
  FragmentState(RecognitionContext& context, TextLine& line) : context(context), line(line) {}
  FragmentState(const FragmentState&) = delete;
  FragmentState& operator=(const FragmentState&) = delete;

  RecognitionContext& context;
  TextLine& line;
  // The letter results the chosen reading of the line uses, in writing
  // order (filled by the cover); not owned.
  PtrArray<FigureGroup> chosen_results{16, false};
  std::int32_t mean_width = 0;
  std::int32_t mean_height = 0;
};

// The mean width of the line's candidates that are at least a third of the
// letter height wide (3/4 of the letter height when none is), and the mean
// height of those not read as a space or a hyphen (the letter height when
// none is). Nothing is set for a line without candidates. 0; -2 at a null
// candidate.
int estimate_fragment_sizes(FragmentState& state);

// Sorts the line's candidates along the writing direction (right to left
// when the kernel reads so) by their sort-key points and numbers their
// positions 0, 1, 2, ... Two candidates whose x lie within the tolerance,
// max(mean height / 15, 2), of each other either way go top to bottom. 0;
// -2 at a null candidate.
int order_fragment_candidates(FragmentState& state);

// Sorts letter results of the line the same way, by the sort-key points
// of their geometries. 0; -2 at a null result or one without geometry.
int sort_results_in_writing_order(FragmentState& state, PtrArray<FigureGroup>& results);

}  // namespace inkrec

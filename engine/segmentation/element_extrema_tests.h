// The extrema tests that refuse a run of ink as (part of) one letter: too
// many turns of the pen, too many turns around its loops, or bottoms and
// tops that reach far beyond the text line, as a run of several letters
// has and one letter has not.
//
// Turns are the vertical extrema of the run (vertical_extrema.h). Three
// kinds are counted: every turning point (the first kind), the maxima of
// y, where the pen turns from going down to going up (the second kind:
// bottoms), and the minima of y (the third kind: tops). The line's first
// fit is taken as its upper line, the second as its middle and the third
// as its baseline; an empty fit refuses nothing. h is the letter height
// and s the upper height of the line set. Every test answers kOk to let the
// run stand, kRejected to refuse it, or the status of a list that could
// not be made.
#pragma once

#include <cstdint>
#include <span>

#include "engine/foundation/box16.h"
#include "engine/records/point_run.h"
#include "engine/records/text_line.h"
#include "engine/records/vertical_extrema.h"

namespace inkrec {

// The line measures the tests read.
struct ExtremaLine {
  TextLine* line = nullptr;
  int h = 1;      // the letter height
  int s = 1;      // the upper height
  int slant = 90; // whole degrees, 90 upright
};

// The turns of runs of ink counted by kind.
struct TurnCounts {
  int turns = 0;    // every turning point
  int bottoms = 0;  // maxima of y
  int tops = 0;     // minima of y
};

// The extrema of the runs with the hysteresis, one list each, appended to
// `lists` (emptied first); 0, -2 at a null run, -1 when a list cannot grow.
int find_run_extrema(RunList runs, int hysteresis, DynArray<ExtremumList>& lists);
TurnCounts count_turns(const DynArray<ExtremumList>& lists);

// The count tests of a new element (its one run, its stroke span's box):
// with the coarse hysteresis max(h/4, min(h/2, box height/2)) more than 9
// turns, or 5 bottoms or more with more than 3 tops, refuse it; unless the
// box is upright and narrow (height >= 5/7 of its width and h >= 3/7 of
// it), a finer count (hysteresis max(h/4, min(box height/2, 5h/13))) with
// 5 or more bottoms or 5 or more tops refuses it, unless two neighbouring
// extrema of that kind lie less than h/10 apart horizontally.
int test_element_turns(const PointRun& run, const Box16& box, const ExtremaLine& line);

// Turns before and after the loop points of an element (point indices in
// its run, negative when unset): too many turns on one side of a loop, or
// around it, refuse it (limits 3, 2, 2, 3 and 3, 4 for the turns around
// the first and the second loop; 4, 2, 2, 3 and 4, 3 for the bottoms). A
// first loop point that is unset is taken from the last turn lying more
// than 11h/12 below the baseline, when the element has 2 turns or more
// and that turn's bottom lies at least 2h/3 below the element's top.
int test_loop_turns(std::span<const Extremum> extrema, std::int32_t first_loop,
                    std::int32_t second_loop, const ExtremaLine& line);

// The bottoms at least h/6 below the middle line (deep), or the tops at
// least h/6 above it (high), taken along the slant: more than 4 distinct
// ones refuse the ink, and so does one that reaches at least 2h/3 and s/2
// beyond the baseline (the upper line for tops) with more than 3 others
// before it or more than 3 from it on. Nothing is tested with fewer than 3
// extrema of the kind.
int test_far_extrema(const DynArray<ExtremumList>& lists, bool bottoms, const ExtremaLine& line);

// The tests of a group on several strokes as a whole: a group much wider
// than high (wider than 24/10 of its height, or than 3/2 of it and 35h/10)
// needs fewer than 10 turns and 5 bottoms, or fewer than 5 tops; then the
// far-extrema tests over all its runs.
int test_group_turns(RunList runs, const Box16& box, const ExtremaLine& line);

}  // namespace inkrec

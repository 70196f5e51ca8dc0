// The pair test: whether one letter result of a text line may follow
// another in a reading at all (the later after the earlier in the writing
// direction), judged by their boxes, their strokes, their readings, how
// their ink lies over the rows they share and, on one line, how the
// pieces of their strokes approach each other.
//
// The searches over readings ask it for every pair of neighbouring results
// they would put side by side, the later first. The cached form remembers
// the answer of a pair in the earlier result's test cache, keyed by the
// later result's id; a result's cache goes with it and is emptied when the
// result is reset, and the first answer stands for the rest of the run.
#pragma once

namespace inkrec {

class FigureGroup;
class RecognitionContext;

// Sets *refused to 1 when `later` cannot follow `earlier` and leaves it
// as it was when it may. The context gives the kernel's switches and
// writing direction, the line information (letter height and slant) and
// the figure and stroke pair tables. A result without ink to measure (no
// figures, no geometry, a figure without points) is not judged. 0; -2 for
// a null argument, a null figure, a result without raster, or a
// pair-table entry that cannot be formed or is missing; -1 when the figure
// pair table cannot grow to an entry it reads.
int test_element_pair(RecognitionContext& context, FigureGroup& later, FigureGroup& earlier,
                      int* refused);

// test_element_pair through the earlier result's test cache. Results whose
// first figures lie on different text lines are not judged: 0 with
// *refused as it was. Otherwise *refused is set to 0 first and then to the
// cached or computed answer. 0, or the test's status (then nothing is
// stored); -1 when the cache cannot grow.
int test_element_pair_cached(RecognitionContext* context, FigureGroup* later, FigureGroup* earlier,
                             int* refused);

}  // namespace inkrec

// The cached pair test of the pair rules: whether one figure group may
// follow another in a reading at all.
//
// The searches over readings ask it for every pair of neighbouring groups
// they would put side by side, the later group first. The answer of a pair
// is remembered in the earlier group's test cache, keyed by the later
// group's index, and goes with the earlier group.
#pragma once

namespace inkrec {

class FigureGroup;
class RecognitionContext;

// Sets *refused to 1 when `later` may not follow `earlier`, to 0 when it
// may; groups whose first figures lie on different text lines are not
// judged and *refused keeps its value. Returns 0, or the test's non-zero
// status (then nothing is remembered).
int test_element_pair_cached(RecognitionContext* context, FigureGroup* later, FigureGroup* earlier,
                             int* refused);

}  // namespace inkrec

// The tests of the pair-rule kinds, by table: kinds 1 to 66 and 84 for
// rules matched against the joined group's plain reading, kinds 67 to 83
// for those matched against its marked reading.
//
// A test reads the prepared PairScene, subtracts what it finds through
// PairScene::pen and returns 0, or the status of a measurement that failed
// (-2 for a missing record). Each file of tests answers for its own kinds
// and gives null for any other.
#pragma once

#include "engine/rules/pair_rule_scene.h"

namespace inkrec {

using PairRuleTest = int (*)(PairScene&);

PairRuleTest stroke_shape_test(int kind);     // 1 to 16
PairRuleTest joined_shape_test(int kind);     // 17 to 40
PairRuleTest neighbour_shape_test(int kind);  // 41 to 66 and 84
PairRuleTest marked_reading_test(int kind);   // 67 to 83

}  // namespace inkrec

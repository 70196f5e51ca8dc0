// The pair merge test: whether two letter results of a text line stand to
// each other as the parts of one composite character (a letter with its
// dot or mark, a punctuation sign of two parts), by the relation kinds
// their placement shows and the kernel's composite-letter rules.
//
// A result R is tested against a partner O. The relation kinds found
// (RelationKind bits) say where R stands against O; a composite-letter
// rule names where its second part stands by side flags, and
// relation_kinds_of_sides translates those into relation kinds (the one
// place the two numberings meet). Nothing here changes the results.
#pragma once

#include <cstdint>

#include "engine/database/data_records.h"
#include "engine/records/answer_list.h"
#include "engine/records/figure_group.h"
#include "engine/records/fragment_state.h"

namespace inkrec {

// Relation kinds of R against its partner O.
enum RelationKind : std::uint32_t {
  kStacked = 1,   // over (or under) O, close in position and height
  kLeftOfO = 4,   // R before O along the line
  kRightOfO = 8,  // R after O along the line
  kInsideO = 16,  // R's box lies within O's
};

// The relation kinds that a composite's side flags (bit 0 top, 1 bottom,
// 2 left, 3 right) admit: top is kStacked; bottom is kStacked with
// kInsideO, which also lets a part stand lower than its partner's top;
// left and right are kLeftOfO and kRightOfO.
std::uint32_t relation_kinds_of_sides(std::uint32_t sides);

// Whether a reading of a partner is the first part of the composite rule:
// mode 0 a reading made from a code whose sub-key (shape id) is the
// rule's first component; mode 1 a reading made from a letter candidate
// whose key (variant id) is; other modes any reading. The second part is
// a reading whose sub-key is the rule's second component.
bool reading_is_first_part(const ComplexVariant& rule, const Answer& reading);
bool reading_is_second_part(const ComplexVariant& rule, const Answer& reading);

// Tests R against the partner O. Sets *merge to 1 when they form a
// composite: with a rule, when the relation kinds found meet the rule's
// and decide_pair_merge accepts; without one (rule null), when the kinds
// allowed by the kernel's composite sides are found and one of the
// kernel's composite rules of the found kinds accepts (a rule of kind 1 at
// once; another when O has a reading of its first part, R of its second,
// and decide_pair_merge accepts). *penalty collects decide_pair_merge's
// penalties (not reset here); *kinds receives the kinds found. 0; 4034
// when the stop flag is seen; -2 when either result has no member or no
// position, or no geometry; statuses of decide_pair_merge.
int test_pair_merge(FragmentState& state, FigureGroup& other, FigureGroup& result,
                    const ComplexVariant* rule, std::uint8_t* merge, std::int32_t* penalty,
                    std::uint32_t* kinds);

}  // namespace inkrec

// The compound test: what a group of two to four separate pieces costs as
// one letter when its pieces are wide, stacked, or lie apart.
//
// Two pieces lie apart when their least distance exceeds a tenth of the
// line's reference height (and their link distance is not negative). A
// group of n = 2..4 pieces pays (n + 1) * 100 on the readings made from
// letter candidates or with property bit 6 when a piece is as wide as two
// thirds of the group, or when the pieces stand one above the other (each
// later piece ending left of the first's right edge and lying more than
// 5/12 of its width under the first piece, moved along the line's slant)
// in a group narrower than twice the reference height. A group formed as
// a single mark pays the same on every reading when none of its pieces
// lies apart from the piece before it, or one piece lies apart from none
// of the others, unless the group is wide (5/2 of the reference height and
// 7/4 of its own height). The charge lowers the readings' totals.
//
// Whole strokes take their distance from the line's figure-pair table (by
// body index); pieces of strokes are measured afresh.
#pragma once

#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/records/answer_list.h"
#include "engine/records/figure_group.h"
#include "engine/records/pair_table.h"

namespace inkrec {

struct CompoundLine {
  std::int32_t reference_height = 0;  // the line's reference letter height
  std::int32_t angle = 90;            // the line's slant, degrees (90 upright)
  const PairTable* figure_pairs = nullptr;
};

// Charges the letter list and the full letter list. kOk; kBadArgument for a
// null figure or a whole-stroke pair missing from the table (or no table);
// kOutOfMemory; or the status of a list's charge.
int apply_compound_test(const FigureGroup& group, const Box16& box, const CompoundLine& line,
                        AnswerList& letters, AnswerList& full_letters);

}  // namespace inkrec

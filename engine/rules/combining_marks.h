// The combining handlers: whether a small mark may be read as a combining
// accent (a dot, an acute, a grave, a ring) of the letter the ink already
// shows, rather than as a letter of its own.
//
// Each handler judges a group formed as a single mark against the reading
// it would join: the reference reading is the first reading of the mark's
// own figure (its own letter list) when it has readings, else the best of
// the letter list the evaluation is building. A form that finds the mark
// unsuitable clears the flag; otherwise the flag is kept as the caller
// set it. A group not formed as a single mark clears it at once.
//   1: a mark above a letter, drawn steeply (90..150 degrees), not over a
//      "v" or "u" that is flat on top, not one of the shape-878 readings;
//   2: a mark that reads well as the dot shape (828) at the score of its
//      reference reading less 900;
//   3: a mark drawn at 25..89 degrees, as large as a seventh of the size;
//   4: a mark that reads well as one of the accent shapes 237, 238, 239,
//      241, 250, 728, 770, 865.
// A reading's shape id is its sub-key (the variant's shape id the letter
// evaluation stores with it); its code is its second code.
#pragma once

#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/records/answer_list.h"
#include "engine/records/figure_group.h"

namespace inkrec {

// The readings the evaluation of the group has collected so far.
struct MarkReadings {
  const AnswerList& letters;
  const AnswerList& marks;
};

// kOk, or kBadArgument for a group without figures or with a null first
// figure, or the status of the mark block.
int combine_mark_1(FigureGroup& group, const MarkReadings& readings, const Box16& box,
                   std::int32_t size, bool* flag);
int combine_mark_2(FigureGroup& group, const MarkReadings& readings, const Box16& box,
                   std::int32_t size, bool* flag);
int combine_mark_3(FigureGroup& group, const MarkReadings& readings, const Box16& box,
                   std::int32_t size, bool* flag);
int combine_mark_4(FigureGroup& group, const MarkReadings& readings, const Box16& box,
                   std::int32_t size, bool* flag);

}  // namespace inkrec

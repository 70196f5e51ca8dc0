// Applying the readings the word search chose: the figure output is
// rewritten in the reading order of the word boxes' results.
//
// Each step of a box's result contributes the groups of its letter path,
// each with the reading the path chose moved to the head of its list (a
// reading taken through the first reading's saved codes makes those codes
// current again); or, for a plain reading (no letter path, or a weak one
// named as the link's first), the groups of the output that lie in its
// stretch; or one new group for each code the step carries itself. A step
// marked to pass over adds nothing. The group that ends each word gets its
// end flag, which is the space after it in the text. A word's first letter
// read by a capital way of writing but no taller than a small letter is
// output in lower case, unless the word list holds the word with that
// capital.
//
// The chosen reading ranks first by its total alone: it is raised to one
// point above the reading that headed the list (a perfect first reading is
// lowered by one first), and keeps its own flags and codes.
#pragma once

#include "engine/foundation/ptr_array.h"
#include "engine/records/letter_result.h"
#include "engine/segmentation/word_boxes.h"

namespace inkrec {

class FigureGroup;
class RecognitionContext;

// What a step means when it names nothing to apply: a target at the very
// start of the text.
inline constexpr int kNothingToApply = -3;

// Replaces `output` (the run's figure output, whose lines are the
// context's) by the readings of the boxes' results. Groups made for
// a step's own codes are appended to `made`, which owns them. With no box
// the output stays. 0; -2 for a broken index; kNothingToApply for a step
// whose target lies at the start of the first line; -1 when memory runs
// out. On any failure the output stays as it was.
int recognize_segments(RecognitionContext& context, WordBoxList& list,
                       PtrArray<FigureGroup>& output, PtrArray<LetterResult>& made);

}  // namespace inkrec

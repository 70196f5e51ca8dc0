// The words of the word boxes as the result delivery offers them to the
// caller, and the caller's choices taken back into the boxes.
//
// Each word box becomes a line record; each segment record of the box a
// place of it; each step of the box's result a word, from the place of its
// record to the place of its target (or the record's end). A word read by
// a letter path offers the letter paths of its link, best first, as its
// readings (each scored by the path's value); a plain word offers none and
// is read letter by letter. The caller may choose another reading of the
// link, drop the word, or return a text that replaces it.
#pragma once

#include "engine/foundation/ptr_array.h"
#include "engine/segmentation/line_records.h"
#include "engine/segmentation/word_boxes.h"

namespace inkrec {

// Replaces `records` by the line records of the boxes: 0, or -1 when
// memory runs out (the records are then empty); -2 for a step naming a
// record or link that does not exist.
int build_line_records(const WordBoxList& list, PtrArray<LineRecord>& records);

// Takes the caller's choice of each word into its box's result step: a
// reading chosen among the link's paths, a dropped word (passed over), or
// a returned text (the step's own codes). Records and boxes must be those
// build_line_records made. 0; -1 when memory runs out.
int apply_word_choices(const PtrArray<LineRecord>& records, WordBoxList& list);

}  // namespace inkrec

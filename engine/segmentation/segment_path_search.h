// The segment path search: the one reading of a word box, chosen over the
// letter paths that the letter search stored in the box's segment records.
//
// The search runs from the box's last record back to its first. At each
// record it reads the plain reading (each stroke group's first answer) from
// the box's start through the record's own groups, keeps its sums in the
// record and in the links that end where the plain reading has come to,
// and marks as weak a link's first letter path that reads many letters
// through later answers while the plain reading of its strokes is clearly
// better. Then the record keeps its best SegmentPath: one of its letter
// paths joined to the best path of the record it leads to (with penalties
// for line breaks, hyphens and wide gaps on the way, and the pair score
// where the two meet), the plain reading up to a later record joined to
// that record's best path, or the plain reading to the box's end. The
// first record's best path becomes the box's result.
//
// Nothing is allocated per candidate beyond the paths kept.
#pragma once

#include <cstdint>

#include "engine/foundation/char_classes.h"
#include "engine/foundation/ptr_array.h"
#include "engine/segmentation/word_boxes.h"

namespace inkrec {

class FigureGroup;
class RecognitionContext;

// What the search reads besides the box: the run's context (its line
// settings, its text lines, the pair scorer's context), the run's stroke
// groups in their order, the gap statistics of the word boxes and the
// character classes.
struct PathSearchScope {
  RecognitionContext& context;
  const PtrArray<FigureGroup>& groups;
  const WordBoxStatistics& statistics;
  const CharClassTables& classes;
};

// Marks the letter path weak, or unmarks it, against the plain reading of
// its strokes, whose value sum and pair sum up to the path's end are given.
void mark_weak_path(LetterPath& path, std::int32_t value_sum, std::int32_t pair_sum);

// Searches records `index` down to 0 of the box and sets its result. 0;
// -2 when index is not below the record count, the box's last position is
// negative, or an index read on the way is out of range or names nothing;
// the status of a pair scorer or of an array otherwise (-1 on memory).
int search_paths(PathSearchScope& scope, WordBox& box, std::uint32_t index);

}  // namespace inkrec

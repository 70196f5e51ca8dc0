// The cutting of a recognition's text into word boxes and of each box into
// segment records, before the letter search over the boxes.
//
// The gaps between neighbouring elements of the figure output give the
// statistics: the mean gap and its spread, the mean profile gap (measure)
// and its spread, and the least distances. A walk over the candidates of
// every text line then measures how far each candidate lies from the
// strokes written after it and opens a new box at a clear word break, or
// puts a segment record where a word may start inside the box (a narrower
// gap, a wide stroke, a mark that may end a word). Pieces of one stroke
// never get a record or a break between them, and a stroke met again
// takes back the records (or the box) opened since it was first met.
// Boxes of a few candidates at a line's end or start are merged with their
// neighbour, and records inside runs of punctuation are pruned. Every text
// line after the first starts with a record in the box current at the end
// of the line before.
//
// A run with no text line, or with a text line without candidates, gets no
// word box.
#pragma once

#include <cstdint>

#include "engine/foundation/char_classes.h"
#include "engine/foundation/ptr_array.h"
#include "engine/segmentation/word_boxes.h"

namespace inkrec {

class FigureGroup;
class RecognitionContext;

// Empties the list, then builds the boxes of the run from its text lines,
// its figure output (`groups`), the gaps between the output's elements and
// the character classes (which marks end words).
// 0; -2 for a broken index or a missing entry (a candidate without its
// own letter result, a stroke or gap record that is missing); -1 when
// memory runs out.
int prepare_segmentation(RecognitionContext& context, const PtrArray<FigureGroup>& groups,
                         const CharClassTables& classes, WordBoxList& list);

// Box i takes box i + 1's end and records (its first record becomes a
// merged start with box i + 1's measure), and box i + 1 goes. 0, or -2
// when there is no box i + 1.
int merge_word_boxes(WordBoxList& list, std::uint32_t i);

}  // namespace inkrec

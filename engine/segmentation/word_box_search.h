// The letter search over word boxes: the dictionary-guided reading of the
// words of a recognition.
//
// After the line loop every text line holds its letter results (stroke
// groups evaluated as letters, each with its readings). The preparation
// (word_box_preparation.h) cuts the text into word boxes and each box into
// segment records, the places where a word may start. From every record a
// depth-first search strings letter results together along the line, one
// reading of each, taking only letters that the word lists allow after the
// letters read so far; each path that ends where a word may end is kept in
// the record, in the link towards the record (or box end) it reaches, ranked
// with a bonus from the word's level in the dictionaries. A memo of the
// places already searched (continuation_memo.h) spares searching a place
// twice with the same letters when the second path can only read worse
// what the first found from there; so a long joined word, which reaches
// the same places through a great many ways of cutting its strokes, is
// searched in work that grows with its places, not with its ways. The
// segment path search (segment_path_search.h) then picks each box's reading.
//
// Every reading of a group takes part, in list order: the letter
// evaluation's readings and the composite letters alike; a reading's
// ordinal is its place in the list, so a step read through a later
// reading counts as such both by its index and by its ordinal. The quick
// flag holds each level of the search to three groups and three readings
// of each, and ends the search from a record once it holds more than two
// paths; the stop flag ends it with 4034. The search from one record also
// ends, keeping what it holds, after a fixed number of places. A path
// takes at most kBandReadingsPerPath readings of the band below the usual
// margin, and one more once it holds kSecondBandReadingSteps steps.
#pragma once

#include <cstdint>

#include "engine/foundation/char_classes.h"
#include "engine/foundation/char_slot_map.h"
#include "engine/foundation/ptr_array.h"
#include "engine/segmentation/allowed_letter_memo.h"
#include "engine/segmentation/allowed_letters.h"
#include "engine/segmentation/continuation_memo.h"
#include "engine/segmentation/reading_digest.h"
#include "engine/segmentation/word_boxes.h"

namespace inkrec {

class FigureGroup;
class RecognitionContext;

// What the search works with: the run's context (its text lines with their
// letter results, its gaps and settings), the figure output (the plain
// reading), the word boxes, the character classes and the word lists.
struct WordSearchScope {
  // The code index (a slot per character code) must outlive the scope.
  WordSearchScope(RecognitionContext& run, PtrArray<FigureGroup>& output, WordBoxList& boxes,
                  const DynArray<std::uint32_t>& code_index, const CharClassTables& tables,
                  const WordSource& word_lists)
      : context(run),
        groups(output),
        list(boxes),
        letter_index(&code_index),
        classes(tables),
        words(word_lists),
        digests(&code_index) {
    start_letters.init(letter_index);
  }

  RecognitionContext& context;
  PtrArray<FigureGroup>& groups;
  WordBoxList& list;
  const DynArray<std::uint32_t>* letter_index;
  const CharClassTables& classes;
  WordSource words;
  CharSlotMap start_letters;  // the letters a word may start with
  ContinuationMemo memo;
  ReadingDigests digests;  // of the groups of the box searched
  AllowedLetterMemo allowed;  // the letters after the prefixes the box's search asked about
  LetterPath offered;  // the path a link judges before it keeps a copy (insert_letter_path)
  std::uint64_t places_searched = 0;  // the search's work: the places it visited
};

// The places the search from one segment record visits at most; past them
// it keeps the paths it holds and goes no further.
inline constexpr std::uint32_t kRecordPlaceBudget = 4000000;

// The readings of the band (more than the usual margin, 500, below their
// group's first reading; the letter evaluation keeps them for the word
// search down to 1000 below) one path may take: the paths through several
// of them are most of the band's work and few of its words.
inline constexpr std::uint32_t kBandReadingsPerPath = 1;
// The steps a path holds before it may take one more reading of the band:
// a long joined word has more letters cut out of its strokes that read far
// below their best, and few paths grow so long.
inline constexpr std::uint32_t kSecondBandReadingSteps = 6;

// The status of a single-group shortcut whose reading cannot be a path.
inline constexpr int kNoShortcut = -5;

// The whole search: prepares the boxes, searches each, and lets a single
// group's clearly better first reading stand for the box. 0 (also with no
// text line, no candidates or no box); -2 for a broken index or a box
// bound left negative; 4034 when stopped; a step's status otherwise.
int recognize_word_boxes(WordSearchScope& scope);

// Searches from each segment record of the box, then sets the box's
// result: 0, -2, 4034 or a step's status.
int recognize_word_box(WordSearchScope& scope, WordBox& box);

// When the run's figure output is a single group whose first reading's
// total beats the average of the only box's result by more than 120, that
// reading is made the box's result. 0 when the result stays or is
// replaced; kNoShortcut when the reading cannot be a path; -1 or -2 on a
// failure.
int take_single_group_shortcut(WordSearchScope& scope);

// Stores a finished letter path in the record's link towards `target`,
// making the link when none leads there (see insert_letter_path). 0; -1
// when memory runs out.
int add_letter_path_to_record(WordSearchScope& scope, BoxSegment& record, const LetterPath& path,
                              std::int16_t target, std::uint32_t step_limit,
                              std::int32_t* placed = nullptr);

// Puts a copy of the path into the link's list, greatest average first,
// with its base: 110 per stroke for a word the dictionaries do not know,
// 11 x (level - 8) for a known word, each divided by 4 for one code and by
// 3 for two or three (a known word's only above level 8). A path that would rank behind a full link's last, or
// behind a path reading the same letters (in the same case or another:
// "Soon" and "soon" hold one place, each judged with its own word's base),
// is refused and its states are closed; a full link drops its last path
// for it, and a path reading the same letters gives way to it. The continuations of its states from the
// fifth step up to `step_limit` are kept in the memo. *placed, when given,
// is its index in the link, -1 when refused. 0; -1 when memory runs out.
int insert_letter_path(WordSearchScope& scope, SegmentLink& link, const LetterPath& path,
                       std::uint32_t step_limit, std::int32_t* placed = nullptr);

// The search's weak mark of a path it stores: most of its letters read
// through later readings, clearly worse than the first (a second value of
// 800 or more with a least first value of 6600 or less; or, over four
// steps or more, 701 and a value sum above 490 a step, a least first value
// below 6100 and later readings on more than two fifths of the steps).
void mark_weak_letters(LetterPath& path);

// Closes the states a path of five steps or more passed from its fifth
// step on.
void close_states(ContinuationMemo& memo, const LetterPath& path);

}  // namespace inkrec

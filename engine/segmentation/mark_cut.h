// Where the reading of a word box may set a mark beside a letter.
//
// A piece of a letter (a short leg, a dot of ink, the tail of a stroke)
// often reads as a full stop, a comma, a bracket or a plus; read so, it
// would end a word and the rest of the letters would start another ("the"
// read as "t. he"), or cling to the word ("join" read as "you:"). Between
// two words with no word gap the cut is refused: a mark at the end of a
// word stands before a word gap, at the end of a line, or beside another
// mark. Inside a word a mark and its neighbour come from strokes of their
// own, and operator signs stand beside no letter.
#pragma once

#include <cstdint>

namespace inkrec {

// Whether the code is a letter of the alphabets the engine reads (any
// code from U+0100 on counts as one).
bool is_letter_code(std::uint16_t code);

// Whether the code is a mark: a character below U+0100 that is neither a
// letter, a digit nor a space.
bool is_mark_code(std::uint16_t code);

// Whether a word ending with `last` may be followed, with no word gap
// between, by a word beginning with `next`: false when `last` is a mark and
// `next` a letter.
bool may_cut_without_gap(std::uint16_t last, std::uint16_t next);

// Whether `next` may follow `last` inside one word, `one_stroke` telling
// whether their ink takes pieces of one stroke. Not a mark beside anything
// in one stroke: a mark is written with a pen lift, so a piece of a
// letter's stroke read as one is part of that letter (the tail of "n" read
// as ","). Nor a letter beside an operator sign (+ * = ^ _ \ < > | ~),
// which handwriting sets apart from words ("+o" is the "t" of "to").
bool may_stand_in_one_word(std::uint16_t last, std::uint16_t next, bool one_stroke);

}  // namespace inkrec

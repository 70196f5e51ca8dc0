// Whether the reading of a word box may end one word with a mark and begin
// the next with a letter where the box holds no word gap.
//
// A piece of a letter (a short leg, a dot of ink, the tail of a stroke)
// often reads as a full stop, a comma, a bracket or a plus; read so, it
// would end a word and the rest of the letters would start another ("the"
// read as "t. he"). Between the two no word gap stands, so the cut is
// refused: a mark at the end of a word stands before a word gap, at the end
// of a line, or beside another mark.
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

}  // namespace inkrec

// AllowedLetterMemo: the letters the word lists allow after a path's
// codes, kept for each prefix (with the weight of its last step) the word
// search has asked about. The search reaches the same prefixes again and
// again through the many ways of cutting a word's strokes into letters;
// with the memo it asks the lists once for each and copies nothing after.
//
// A map handed out stays where it is until clear(), however many prefixes
// are added after it; the word lists must not change while the memo lives
// (the word search clears it for each box). clear() keeps the room of the
// prefixes and their maps (code_sequence_table.h): once it has grown to
// what a box needs, a new prefix allocates nothing.
#pragma once

#include <cstdint>
#include <span>

#include "engine/foundation/char_classes.h"
#include "engine/foundation/char_slot_map.h"
#include "engine/foundation/dyn_array.h"
#include "engine/segmentation/allowed_letters.h"
#include "engine/segmentation/code_sequence_table.h"

namespace inkrec {

class AllowedLetterMemo {
 public:
  // The letters allowed after the codes of a path whose last step was read
  // with `weight`: a map made with the code index and filled by
  // allowed_letters_for_prefix, the first time only.
  const CharSlotMap& letters_after(const WordSource& words, std::span<const std::uint16_t> codes,
                                   std::uint32_t weight, const DynArray<std::uint32_t>* code_index,
                                   const CharClassTables& classes);
  // Forgets every prefix; keeps the room.
  void clear() { maps_.clear(); }

 private:
  CodeSequenceTable<CharSlotMap> maps_;  // keyed by the weight and the codes
};

}  // namespace inkrec

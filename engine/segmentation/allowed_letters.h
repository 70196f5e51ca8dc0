// What the word lists say about the letters read so far: the word they
// form, the letters that may follow them, and the level of that word.
//
// The letter search reads a path of letters one code at a time. Its codes
// form a word by these rules, over the character classes of the charset
// (CharClassTables::punctuation_class, bits 1, 2 and 4): at most the first
// 31 codes are read, a 0 code ends them; leading codes with bit 1 (spaces,
// quotes, opening brackets, hyphens) are passed over; a code with neither
// bit 2 nor bit 4 is a letter of the word; a code with bit 2 or 4 is passed
// over, and ends the leading codes unless it has bit 1. A code with bit 4
// but not bit 2 (a space, a full stop) breaks the word, except a first code
// with bit 1, and a letter after a break means the codes are no word at
// all. An apostrophe after the first code is a letter while English
// (charset 5) is active.
//
// A word written with a capital first letter is also read as the word
// with that letter in lower case: the letters that follow either, and the
// level of either, count (most words stand in the lists in lower case).
//
// The letters allowed after the codes come back in a CharSlotMap: 255 for
// a letter that may not follow, else the weight of the step that reads it
// (2 where a word may end). Everything here works in fixed buffers and
// allocates nothing, so the letter search may ask at every step.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "engine/foundation/char_classes.h"
#include "engine/foundation/char_slot_map.h"

namespace inkrec {

class DictionarySet;
class RunKernel;

// What the word lists are read with: the active charsets and the
// dictionaries (none when null).
struct WordSource {
  std::span<const std::uint32_t> active_charsets;
  DictionarySet* dictionaries = nullptr;
};
// The kernel's active charsets and dictionaries.
WordSource word_source(const RunKernel& kernel);

// The word formed by the codes of a letter path.
struct WordText {
  static constexpr std::uint32_t kMaxCodes = 31;

  std::u16string_view view() const { return {units, length}; }

  char16_t units[kMaxCodes + 1] = {};
  std::uint32_t length = 0;
  // A space or a mark that ends words was read after the word began.
  bool broken = false;
};

// The word the codes form, into *word: 0, or -100 when the codes cannot form
// a word (a letter follows a break).
int word_from_codes(std::span<const std::uint32_t> active_charsets,
                    std::span<const std::uint16_t> codes, const CharClassTables& classes,
                    WordText* word);

// Fills `letters` with the letters allowed after the codes of a path whose
// last step was read with `weight` (the slot value of its last letter, 2
// where a word may end). The map is left as it was when the codes form no
// word, or when the weight is 0 and there are codes. Otherwise it becomes
// class table 0 (weight 2, or no codes) or table 1; a break adds tables 3
// and 4 and ends there; an empty word adds tables 4, 2 and 3, and a word
// that may end here tables 4 and 3; then the word list and the user
// dictionary add the letters that continue the word. Always 0.
int allowed_letters_for_prefix(const WordSource& words, std::span<const std::uint16_t> codes,
                               std::uint32_t weight, CharSlotMap& letters,
                               const CharClassTables& classes);

// The level of the word the codes form, 0 (rare) to 18 (frequent) in the
// word list, or the user dictionary's number for a word only the user
// dictionary holds; -1 when no dictionary knows the word or the codes form
// none. Always 0.
// *as_written (when given) tells whether a dictionary holds the word with
// the capitals it was read with; *small_first_listed (when given) whether,
// for such a word that begins with a capital, one holds it with a small
// first letter too ("Case" and "case"), so that its first letter's case
// is the writer's choice rather than the word's.
int word_level(const WordSource& words, std::span<const std::uint16_t> codes,
               const CharClassTables& classes, std::int32_t* level, bool* as_written = nullptr,
               bool* small_first_listed = nullptr);

}  // namespace inkrec

// UserDictionary: the words a user added for one charset, each with a
// probability, and the alphabet they are written in.
//
// The alphabet says of each character whether it is a letter or a
// separator, to which character it folds, and where it sorts: its weight
// packs three levels (primary = weight >> 6, secondary = bits 2..5,
// tertiary = bits 0..1); an unordered letter sorts by its code, after every
// ordered one. The words are kept in this collation order, no two equal.
//
// Besides the words the dictionary keeps their segments: the runs of
// letters between separators, folded, each with the sum of the
// probabilities of the words that hold it, in plain UTF-16 order. The
// recognition looks words and letter continuations up in the segments.
//
// Every edit is checked first and done whole: a refused edit leaves the
// words and the segments as they were. Statuses: user_dictionary_status.h.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "engine/foundation/char_slot_map.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/wide_string.h"

namespace inkrec {

struct AlphabetEntry {
  std::uint16_t code;
  std::uint16_t folded;  // the character the letter becomes in a segment
  std::uint8_t separator;
};

struct CollationEntry {
  std::uint16_t code;
  std::uint32_t weight;  // below kWeightLimit
  std::uint8_t unordered;
};

struct UserWord {
  WideString text;
  std::uint32_t probability = 0;

  int assign(const UserWord& other);
};

// The words in collation order and the collation entries of the alphabet.
struct WordTable {
  DynArray<UserWord> entries;
  DynArray<CollationEntry> collation;
};

class UserDictionary {
 public:
  static constexpr std::uint32_t kMaxWordLength = 50;
  static constexpr std::uint32_t kMaxProbability = 100000;
  static constexpr std::uint32_t kWeightLimit = 0x20000;

  UserDictionary() = default;
  explicit UserDictionary(std::uint32_t charset_id) : charset_id_(charset_id) {}

  std::uint32_t charset_id() const { return charset_id_; }
  // Empties the alphabet, the words and the segments and takes a new id.
  void reset(std::uint32_t charset_id);

  // Alphabet. A letter is inserted before any entry with the same code, so
  // lookups find the newest. Each edit empties the words and the segments.
  std::uint32_t letter_count() const { return alphabet_.size(); }
  const AlphabetEntry& letter_at(std::uint32_t i) const { return alphabet_[i]; }
  const CollationEntry& collation_at(std::uint32_t i) const { return words_.collation[i]; }
  bool has_letter(char16_t code) const { return find_letter(code) >= 0; }
  int add_letter(std::uint32_t weight, char16_t code, char16_t folded, bool separator,
                 bool unordered);
  // Adds each code that has no letter yet as an unordered letter folding to
  // itself (weight 0), as the codes of a stored dictionary are added; one
  // sort and one merge however many codes come.
  int add_plain_letters(std::span<const char16_t> codes);
  int set_letter_weight(std::uint32_t i, std::uint32_t weight);
  int set_letter_code(std::uint32_t i, char16_t code);
  int remove_letter(std::uint32_t i);

  // Words.
  std::uint32_t word_count() const { return words_.entries.size(); }
  const UserWord& word_at(std::uint32_t i) const { return words_.entries[i]; }
  int word_length(std::uint32_t i, std::uint32_t* out) const;
  // Copies the units and a 0 unit; the buffer holds length + 1 units.
  int word_text(std::uint32_t i, char16_t* buffer) const;
  int word_probability(std::uint32_t i, std::uint32_t* out) const;
  // out = 1 when the text has 1..50 units, each with a collation entry.
  int check_text(std::u16string_view text, std::uint8_t* out) const;
  int add_word(std::u16string_view text, std::uint32_t probability);
  // Fills a dictionary that has no words yet (-2 otherwise) as add_word on
  // each word in turn would, refused words left out, but in n log n: the
  // first refusal's status, else 0. -1 leaves the dictionary as it was.
  int fill_words(DynArray<UserWord>& words);
  int remove_word(std::uint32_t i);
  int set_probability(std::uint32_t i, std::uint32_t probability);
  // Gives word i a new text (it moves to its collation place); another word
  // that collates equal to the new text refuses it with 12.
  int set_text(std::uint32_t i, std::u16string_view text);
  // Where text stands, or would be inserted, in collation order; -3 when a
  // unit has no collation entry.
  int search(std::u16string_view text, std::uint32_t* position, bool* found) const;

  // Segments.
  std::uint32_t segment_count() const { return segments_.size(); }
  bool find_segment(std::u16string_view text, std::uint32_t* position) const;
  int segment_length(std::uint32_t i, std::uint32_t* out) const;
  int segment_text(std::uint32_t i, std::u16string_view* out) const;
  int segment_probability(std::uint32_t i, std::uint32_t* out) const;
  // The number of significant bits of the segment's probability (1..17).
  int segment_bit_length(std::uint32_t i, std::uint32_t* out) const;
  // Whether a segment begins with text and is length units long (any
  // length when length is 0).
  bool has_segment(std::u16string_view text, std::uint32_t length) const;
  // The indices of the segments equal to text, at most maximum; 9 unless
  // length is 1..50.
  int find_segments(std::u16string_view text, std::uint32_t length, std::uint32_t* indices,
                    std::uint32_t maximum, std::uint32_t* count) const;
  // Marks the letters that follow prefix in the segments: kWordEnds when the
  // segment ends with that letter, else kLetterContinues.
  void letters_after(std::u16string_view prefix, CharSlotMap& map) const;

 private:
  // Index of the newest alphabet entry of code; -1 when there is none.
  std::int64_t find_letter(char16_t code) const;
  int insert_letter(const AlphabetEntry& letter, const CollationEntry& collation);
  void forget_words();
  // Collation order of two texts (negative, 0, positive) in *order; -3 when
  // a unit has no collation entry.
  int collate(std::u16string_view a, std::u16string_view b, int* order) const;
  bool covers(std::u16string_view text) const;
  // The status add_word gives a word before it looks at the others.
  int check_word(std::u16string_view text, std::uint32_t probability) const;
  // The folded letter runs of text; -10 when a unit has no alphabet entry.
  int segments_of(std::u16string_view text, DynArray<WideString>* out) const;
  int add_segments(std::u16string_view text, std::uint32_t probability,
                   DynArray<UserWord>& segments) const;
  int take_segments(std::u16string_view text, std::uint32_t probability,
                    DynArray<UserWord>& segments) const;

  std::uint32_t charset_id_ = 0;
  DynArray<AlphabetEntry> alphabet_;
  WordTable words_;
  DynArray<UserWord> segments_;
};

}  // namespace inkrec

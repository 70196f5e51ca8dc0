// LongPrefixMemo: the letters a word list lets follow the long prefixes
// already asked about, so that the letter search, which comes back to the
// same prefixes along the different readings of a word, decodes the list
// once for each prefix rather than once for each ask.
//
// For a prefix it keeps each letter that followed it once, with the
// strongest state it was marked with (kWordEnds over kLetterContinues).
// Marked into a map, in any order, these leave the map as the list's own
// marks leave it, whatever it held before: a mark never lowers kWordEnds,
// so a slot ends at kWordEnds when it held kWordEnds or any mark said so,
// else at kLetterContinues. The memo holds at most kMaxPrefixes prefixes
// and refuses more; it belongs to one list and is emptied with it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "engine/foundation/dyn_array.h"

namespace inkrec {

class LongPrefixMemo {
 public:
  struct Mark {
    std::uint16_t letter = 0;
    std::uint16_t state = 0;
  };
  static constexpr std::uint32_t kMaxPrefixes = 16384;
  static constexpr std::size_t kMaxPrefixUnits = 0xFFFF;

  void clear();
  void swap(LongPrefixMemo& other) noexcept;

  // The letters held for prefix; false when the prefix is not held.
  bool find(std::u16string_view prefix, std::span<const Mark>* marks) const;
  // Holds the letters for prefix (not held yet); false, holding nothing
  // new, when the prefix is too long, the memo is full or memory runs out.
  bool add(std::u16string_view prefix, std::span<const Mark> marks);

 private:
  struct Slot {
    std::uint32_t hash = 0;
    std::uint32_t units = 0;  // the prefix in units_
    std::uint32_t marks = 0;  // its letters in marks_
    std::uint16_t length = 0;
    std::uint16_t count = 0;
    bool used = false;
  };

  static std::uint32_t hash_of(std::u16string_view prefix);
  std::u16string_view prefix_of(const Slot& slot) const;
  // The slot of the prefix, or the free slot where it would go.
  std::uint32_t slot_for(std::u16string_view prefix, std::uint32_t hash) const;
  bool grow();

  DynArray<Slot> slots_;  // open addressing; a power of two, at most half used
  DynArray<char16_t> units_;
  DynArray<Mark> marks_;
  std::uint32_t held_ = 0;
};

// The letters of one ask gathered as the memo holds them: each once, with
// its strongest state, up to kRoom letters (more make it full, and a full
// set is not held).
class LetterMarkSet {
 public:
  static constexpr std::size_t kRoom = 128;

  void add(std::uint16_t letter, std::uint16_t state);
  bool full() const { return full_; }
  std::span<const LongPrefixMemo::Mark> marks() const { return {marks_, count_}; }

 private:
  LongPrefixMemo::Mark marks_[kRoom];
  std::size_t count_ = 0;
  bool full_ = false;
};

}  // namespace inkrec

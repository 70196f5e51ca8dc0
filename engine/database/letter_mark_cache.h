// LetterMarkCache: the letters a word list lets follow the prefixes it was
// already asked about, so that the letter search, which comes back to the
// same prefixes again and again along the different readings of a word,
// decodes the list once for each prefix rather than once for each ask.
//
// For a prefix it keeps the marks (letter and state) that were put into a
// map for it, in the order they were given. Replayed into a map in that
// order they leave it as the list's own marks leave it. A set of marks
// gathered by LetterMarkSet (each letter once, with its strongest state)
// may be held too: a mark never lowers kWordEnds, so such a set leaves a
// map as the marks it stands for leave it, in any order.
//
// The cache holds at most kMaxPrefixes prefixes of up to kMaxPrefixUnits
// units and refuses more; it belongs to one list and is emptied with it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "engine/foundation/dyn_array.h"

namespace inkrec {

class LetterMarkCache {
 public:
  struct Mark {
    std::uint16_t letter = 0;
    std::uint32_t state = 0;
  };
  static constexpr std::uint32_t kMaxPrefixes = 32768;
  static constexpr std::size_t kMaxPrefixUnits = 0xFFFF;
  static constexpr std::size_t kMaxMarks = 0xFFFF;

  void clear();
  void swap(LetterMarkCache& other) noexcept;

  // The marks held for prefix; false when the prefix is not held.
  bool find(std::u16string_view prefix, std::span<const Mark>* marks) const;
  // Holds the marks for prefix (not held yet); false, holding nothing new,
  // when the prefix or the marks are too long, the cache is full or memory
  // runs out.
  bool add(std::u16string_view prefix, std::span<const Mark> marks);

 private:
  struct Slot {
    std::uint32_t hash = 0;
    std::uint32_t units = 0;  // the prefix in units_
    std::uint32_t marks = 0;  // its marks in marks_
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

// The marks of one ask gathered for the cache: each letter once, with its
// strongest state, up to kRoom letters (more make it full, and a full set
// is not held).
class LetterMarkSet {
 public:
  static constexpr std::size_t kRoom = 128;

  void add(std::uint16_t letter, std::uint32_t state);
  bool full() const { return full_; }
  std::span<const LetterMarkCache::Mark> marks() const { return {marks_, count_}; }

 private:
  LetterMarkCache::Mark marks_[kRoom];
  std::size_t count_ = 0;
  bool full_ = false;
};

}  // namespace inkrec

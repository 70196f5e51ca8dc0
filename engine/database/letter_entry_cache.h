// LetterEntryCache: what a word list's letter entries say after the short
// prefixes already asked about, so that the letter search, which asks for
// the same few prefixes again and again, decodes each only once.
//
// For a prefix of at most kMaxPrefixUnits units it keeps the marks (letter
// and state) the entries gave, in the order they gave them; replayed into a
// map they make the same map the entries make. The cache holds at most
// kMaxPrefixes prefixes and refuses more; it belongs to one list and is
// emptied with it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "engine/foundation/dyn_array.h"

namespace inkrec {

class LetterEntryCache {
 public:
  struct Mark {
    std::uint16_t letter = 0;
    std::uint32_t state = 0;
  };
  static constexpr std::size_t kMaxPrefixUnits = 4;
  static constexpr std::uint32_t kMaxPrefixes = 16384;

  void clear();
  void swap(LetterEntryCache& other) noexcept;

  // The marks held for prefix; false when the prefix is not held.
  bool find(std::u16string_view prefix, std::span<const Mark>* marks) const;
  // Holds the marks for prefix (not held yet); false, holding nothing new,
  // when the prefix is too long, the cache is full or memory runs out.
  bool add(std::u16string_view prefix, std::span<const Mark> marks);

 private:
  struct Slot {
    std::uint64_t units = 0;  // the prefix, a unit per 16 bits
    std::uint32_t first = 0;  // its marks in marks_
    std::uint32_t count = 0;
    std::uint8_t length = 0;
    bool used = false;
  };

  static std::uint64_t packed(std::u16string_view prefix);
  // The slot of the prefix, or the free slot where it would go.
  std::uint32_t slot_for(std::uint64_t units, std::uint8_t length) const;
  bool grow();

  DynArray<Slot> slots_;  // open addressing; a power of two, at most half used
  DynArray<Mark> marks_;
  std::uint32_t held_ = 0;
};

}  // namespace inkrec

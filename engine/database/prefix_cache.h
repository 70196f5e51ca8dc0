// PrefixCache: the words of a word list that begin with one long prefix,
// kept as the parts behind that prefix, so that the letter search, which
// asks for a prefix growing one letter at a time, scans a short list instead
// of decoding the word list again.
//
// The prefix is held only up to kMaxUnits units and each suffix is cut at
// kMaxUnits units; covers() accepts only the prefixes whose answer the held
// units decide.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "engine/foundation/char_slot_map.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/wide_string_order.h"

namespace inkrec {

struct PrefixCacheEntry {
  char16_t suffix[30];
  std::uint32_t suffix_length;  // the full length, which may pass 30
};
static_assert(sizeof(PrefixCacheEntry) == 64);

class PrefixCache {
 public:
  static constexpr std::uint32_t kMaxUnits = 30;

  PrefixCache();

  bool is_empty() const { return prefix_length_ == 0; }
  void clear();
  void swap(PrefixCache& other) noexcept;
  // Starts a cache for prefix (empty, with room for 32 entries); false, with
  // the cache left empty, when the prefix is too long to be held.
  bool reset(std::u16string_view prefix);
  // Adds the part of a word behind the cached prefix, in list order; false,
  // with the cache left empty, when it cannot grow.
  bool append(std::u16string_view suffix);

  // Whether the cached prefix begins text and the held units decide text's
  // continuations.
  bool covers(std::u16string_view text) const;
  // Marks the letters that follow text (which the cache covers).
  void mark_letters_after(std::u16string_view text, CharSlotMap& map) const {
    for_each_letter_after(text, [&map](char16_t letter, std::uint32_t state) {
      map.mark(letter, state);
    });
  }
  // Hands each of those marks, in list order, to mark(letter, state).
  template <typename Marker>
  void for_each_letter_after(std::u16string_view text, Marker&& mark) const {
    const std::u16string_view rest = text.substr(prefix_length_);
    const std::size_t r = rest.size();
    for (const PrefixCacheEntry& entry : entries_) {
      if (entry.suffix_length <= r) continue;
      const std::u16string_view suffix(entry.suffix, std::min(entry.suffix_length, kMaxUnits));
      const int order = wide_string_compare_n(rest, suffix, r);
      if (order < 0) return;
      if (order == 0) {
        mark(suffix[r], entry.suffix_length == r + 1 ? CharSlotMap::kWordEnds
                                                     : CharSlotMap::kLetterContinues);
      }
    }
  }

 private:
  char16_t prefix_[kMaxUnits] = {};
  std::uint32_t prefix_length_ = 0;
  DynArray<PrefixCacheEntry> entries_;
};

}  // namespace inkrec

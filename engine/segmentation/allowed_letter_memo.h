// AllowedLetterMemo: the letters the word lists allow after a path's
// codes, kept for each prefix (with the weight of its last step) the word
// search has asked about. The search reaches the same prefixes again and
// again through the many ways of cutting a word's strokes into letters;
// with the memo it asks the lists once for each and copies nothing after.
//
// A map handed out stays where it is until clear(), however many prefixes
// are added after it; the word lists must not change while the memo lives
// (the word search clears it for each box).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "engine/foundation/char_classes.h"
#include "engine/foundation/char_slot_map.h"
#include "engine/foundation/dyn_array.h"
#include "engine/segmentation/allowed_letters.h"

namespace inkrec {

class AllowedLetterMemo {
 public:
  // The letters allowed after the codes of a path whose last step was read
  // with `weight`: a map made with the code index and filled by
  // allowed_letters_for_prefix, the first time only.
  const CharSlotMap& letters_after(const WordSource& words, std::span<const std::uint16_t> codes,
                                   std::uint32_t weight, const DynArray<std::uint32_t>* code_index,
                                   const CharClassTables& classes);
  // Forgets every prefix and frees the room.
  void clear() { maps_ = Maps(); }

 private:
  struct Prefix {
    std::uint32_t weight = 0;
    std::span<const std::uint16_t> codes;
  };
  struct StoredPrefix {
    std::uint32_t weight = 0;
    std::vector<std::uint16_t> codes;
  };
  struct PrefixHash {
    using is_transparent = void;
    std::size_t operator()(const Prefix& prefix) const;
    std::size_t operator()(const StoredPrefix& prefix) const;
  };
  struct PrefixEqual {
    using is_transparent = void;
    template <typename A, typename B>
    bool operator()(const A& a, const B& b) const {
      return a.weight == b.weight &&
             std::equal(a.codes.begin(), a.codes.end(), b.codes.begin(), b.codes.end());
    }
  };
  using Maps = std::unordered_map<StoredPrefix, CharSlotMap, PrefixHash, PrefixEqual>;

  Maps maps_;
};

}  // namespace inkrec

// The rule between an apostrophe or a hyphen and the figure group that
// follows it: whether the two may stand next to each other as read.
//
// For two neighbouring groups, the first read with its candidate i and the
// second with its candidate j (-1 means candidate 0), the flag becomes 1 when
//   - the first is an apostrophe and the second reaches, by the middle of its
//     box, right of the first's left edge; or
//   - the first is a hyphen or a tilde, the second is neither a comma nor a
//     full stop, and the first lies wholly above the second (its bottom at or
//     above the second's top).
// Otherwise, and when either candidate is missing, the flag is 0.
//
// A group type G provides, found by argument-dependent lookup:
//   int candidate_code(const G&, int index)   code of candidate `index`, -1
//                                             when there is none
//   Box16 glyph_box(const G&)                 the box of its glyph geometry
//   figures_of(const G&)                      its figures (record_access.h)
//   std::uint32_t group_index(const G&)       its number in the segmentation
//   std::uint32_t* punctuation_cache_slot(G&, std::uint32_t other, std::uint32_t key)
//                                             its cached value for group
//                                             `other` and key, 0 when new;
//                                             null when the cache cannot grow
#pragma once

#include <concepts>
#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/foundation/status.h"
#include "engine/records/record_access.h"

namespace inkrec {

// The flag for two candidate codes (-1: no candidate) and their groups' boxes.
int punctuation_flag(int first_code, const Box16& first_box, int second_code,
                     const Box16& second_box);

// Whether a first candidate with this code can raise the flag at all: the
// rule speaks about apostrophes, hyphens and tildes alone.
constexpr bool punctuation_rule_applies(int first_code) {
  return first_code == '\'' || first_code == '-' || first_code == '~';
}

// The key of a pair of candidate indices in a group's punctuation cache.
constexpr std::uint32_t punctuation_cache_key(std::uint32_t i, std::uint32_t j) {
  return (i & 0x7FFF) | (j & 0x7FFF) << 15;
}

template <typename G>
concept PunctuationGroup = FigureCollection<G> && requires(const G& g, G& m, int i) {
  { candidate_code(g, i) } -> std::convertible_to<int>;
  { glyph_box(g) } -> std::convertible_to<Box16>;
  { group_index(g) } -> std::convertible_to<std::uint32_t>;
  { punctuation_cache_slot(m, std::uint32_t{}, std::uint32_t{}) } -> std::same_as<std::uint32_t*>;
};

// Writes the flag; always returns 0.
template <PunctuationGroup G>
int apply_punctuation_rule(const G& first, const G& second, int i, int j, int* flag) {
  if (i == -1) i = 0;
  if (j == -1) j = 0;
  *flag = punctuation_flag(candidate_code(first, i), glyph_box(first), candidate_code(second, j),
                           glyph_box(second));
  return kOk;
}

// The same, remembered in the second group's cache for (first group, i, j)
// so that each pair is judged once; groups whose first figures lie on
// different lines are not judged (flag 0). A cache entry holds the flag + 1.
// A first candidate the rule does not speak about gives 0 without the
// cache: the word search asks for millions of such pairs, and looking one
// up costs more than reading its code.
template <PunctuationGroup G>
int apply_punctuation_rule_cached(const G& first, G& second, int i, int j, int* flag) {
  *flag = 0;
  if (first_line_number(first) != first_line_number(second)) return kOk;
  if (i == -1) i = 0;
  if (j == -1) j = 0;
  if (!punctuation_rule_applies(candidate_code(first, i))) return kOk;
  std::uint32_t* cached = punctuation_cache_slot(
      second, group_index(first),
      punctuation_cache_key(static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(j)));
  if (cached != nullptr && *cached != 0) {
    *flag = static_cast<int>(*cached - 1);
    return kOk;
  }
  apply_punctuation_rule(first, second, i, j, flag);
  if (cached != nullptr) *cached = static_cast<std::uint32_t>(*flag + 1);
  return kOk;
}

}  // namespace inkrec

// The rules that tell a word's gap from a letter's gap between two
// neighbouring elements of one line, given the measures of the pair and
// the spacing statistics of the line set (estimate_gaps, line_spacing.h).
#pragma once

#include <cstdint>

namespace inkrec {

// What the rules read of a pair (a, b) on one line and of the line set.
struct BreakMeasures {
  std::int32_t advance = 0;          // D0: reference x of b less a's, less half rises
  std::int32_t least = 0;            // lg: the least link distance of the pair
  std::int32_t profile = 0;          // pg: the pair's profile gap (32767: none)
  std::int32_t x_gap = 0;            // the least reference-x distance of the pair
  std::int32_t mean_advance = 0;     // M
  std::int32_t letter_height = 0;    // lh
  std::int32_t letter_distance = 0;  // ld
  std::int32_t mean_profile = 0;     // pgm
  std::int32_t word_gap = 0;
};

// The rule for a pair whose second element does not reach beyond the first:
// both the reference-x gap and the link distance well above the line's.
bool simple_word_break(const BreakMeasures& m);

// The rule for a pair whose second element reaches beyond the first: the
// advance and the gaps against the line's mean advance, letter height,
// letter distance and mean profile gap.
bool full_word_break(const BreakMeasures& m);

}  // namespace inkrec

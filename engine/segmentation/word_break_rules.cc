#include "engine/segmentation/word_break_rules.h"

#include "engine/records/gap_record.h"

namespace inkrec {
namespace {

constexpr std::int32_t kNoGap = GapRecord::kNoProfileGap;

// The blended gap of the advance rule must pass the line's mean advance by
// this many tenths. The mean advance counts every pair of the line: on a
// line of several words the word gaps raise it, but a word written alone
// gives it from its letters only, where a gap a tenth above the mean is an
// ordinary letter gap; two tenths keep such a word whole.
constexpr std::int32_t kAdvanceTenths = 12;

// The advance and the gaps blended into one gap.
std::int32_t blended_gap(const BreakMeasures& m) {
  const std::int32_t d0 = m.advance;
  const std::int32_t lg = m.least;
  const std::int32_t pg = m.profile;
  if (lg <= 0) return d0;
  if (lg < d0 / 2 && lg < pg / 2 && pg >= 1 && pg < kNoGap) return (d0 + lg + pg) / 3;
  return (d0 + lg) / 2;
}

}  // namespace

bool simple_word_break(const BreakMeasures& m) {
  return m.x_gap > m.word_gap * 107 / 100 && m.least > m.letter_distance * 120 / 100;
}

bool full_word_break(const BreakMeasures& m) {
  const std::int32_t g = blended_gap(m);
  const std::int32_t big_m = m.mean_advance;
  const std::int32_t lg = m.least;
  const std::int32_t pg = m.profile;
  const std::int32_t pgm = m.mean_profile;
  const std::int32_t lh = m.letter_height;
  const bool apart = lg > big_m / 2 && big_m >= 3;
  return (apart && g >= big_m * kAdvanceTenths / 10 && g > lh) ||
         (apart && lg > 4 * m.letter_distance && pg > pgm * 14 / 10 && lg > pgm * 3 / 4) ||
         (lg > big_m / 3 && big_m > 3 && lg > 2 * m.letter_distance && pg > pgm * 14 / 10 &&
          m.advance > big_m * 15 / 10) ||
         (apart && pgm * 16 / 10 < pg && pg < kNoGap && pg > lh * 7 / 10) ||
         (m.advance > big_m * 15 / 10 && pg > pgm * 16 / 10 && lg > lh / 4);
}

}  // namespace inkrec

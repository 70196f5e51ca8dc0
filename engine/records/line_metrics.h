// LineMetrics: the measures of a set of text lines (the run's settings) or
// of all the ink (the run's statistics): the united box of the strokes,
// the slant of the writing and the letter heights, then the spacing
// measures the word breaks are decided by.
//
// Heights and gaps are tablet units; the slant is whole degrees with 90
// for upright writing, and a slant below 1 reads as 90. A cleared record
// holds zeros and an upright slant.
#pragma once

#include <cstdint>

#include "engine/foundation/box16.h"

namespace inkrec {

struct LineMetrics {
  Box16 box;
  std::int16_t slant_angle = 90;
  std::int16_t upper_height = 0;   // of the tall letters, from the line's extrema
  std::int16_t letter_height = 0;  // of the small letters, from the line's extrema
  std::int16_t small_height = 0;   // the mean of the strokes lower than the mean
  std::int16_t tall_height = 0;    // the mean of the strokes taller than the tall ones' mean
  std::int16_t mean_height = 0;    // the mean stroke height, at least 11 once measured
  std::int16_t word_gap = 0;
  std::int16_t letter_distance = 0;
  std::int16_t profile_gap = 0;
  std::int16_t raise_mean = 0;
  std::int16_t mean_advance = 0;
};

}  // namespace inkrec

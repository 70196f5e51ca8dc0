// The letter heights of a text line, read from the heights between the
// vertical turning points of its strokes: the line pass sizes its letters
// with them.
//
// Each stroke's extrema are found with the caller's hysteresis threshold
// and cut into the stroke's extremum sequence. Heights are in tablet units.
#pragma once

#include <cstdint>
#include <span>

namespace inkrec {

struct StrokeRecord;

// The greatest height between successive extrema of any stroke of the line,
// and the typical one: the mean of the strokes' mean heights, or two thirds
// of the greatest when a few tall strokes stand out.
struct LetterHeights {
  std::int16_t greatest = 0;
  std::int16_t typical = 0;
};
// 0; -2 for a null stroke; -1 when memory runs out.
int line_typical_height(std::span<StrokeRecord* const> strokes, int threshold, LetterHeights& out);

// The line statistics. The heights between extrema are sorted against an
// estimate E of the letter height into classes: small (below E/5), middle
// (E/5 .. E, above 10), upper (E .. 5E/2) and large (above 5E/2); E is
// refined from the middle and upper means in up to three passes.
struct LineExtremaStatistics {
  // Given by the caller: the heights of a line without any height.
  std::int16_t default_small_height = 0;
  std::int16_t default_large_height = 0;

  // The height of small letters and of tall ones.
  std::int16_t small_height = 0;
  std::int16_t large_height = 0;
  // Set when the line had fewer than two heights to go by.
  std::uint8_t few_heights = 0;
  // The share in percent of the heights from strokes of a confidently known
  // shape when the first pass blended their estimate in; else -1.
  std::int16_t confident_share = -1;
  // The final estimate, and the classes of the last pass: their counts
  // and the means of the middle and upper class (E when empty).
  std::int16_t estimate = 0;
  std::int16_t small_count = 0;
  std::int16_t middle_count = 0;
  std::int16_t upper_count = 0;
  std::int16_t large_count = 0;
  std::int16_t middle_mean = 0;
  std::int16_t upper_mean = 0;
};
// Fills the statistics from the strokes; with `use_greatest` the small
// height is the greatest height of any stroke's sequence. 0; -2 for a null
// stroke; -1 when memory runs out.
int analyse_line_extrema(LineExtremaStatistics& line, int threshold,
                         std::span<StrokeRecord* const> strokes, bool use_greatest);

}  // namespace inkrec

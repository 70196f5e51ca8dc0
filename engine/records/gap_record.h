// GapRecord: how far apart two neighbouring elements of the figure output
// lie, measured over the figures of the two: the least horizontal distance
// of their reference points, the least link distance of a figure pair (with
// that pair's angle) and the gap between the elements' profiles.
//
// Record i is the pair (element i, element i + 1). For elements on
// different lines the three distances are kOtherLine; a distance no figure
// pair measured is kUnmeasured, and a profile gap that could not be
// measured is kNoProfileGap.
#pragma once

#include <cstdint>

namespace inkrec {

struct GapRecord {
  static constexpr std::int16_t kOtherLine = -1;
  static constexpr std::int16_t kUnmeasured = -1;
  static constexpr std::int16_t kNoProfileGap = 32767;

  std::int16_t x_gap = kUnmeasured;
  // Shortened to 7/10 when the pair's angle is steep (36..154 or 216..324).
  std::int16_t least_distance = kUnmeasured;
  std::int16_t angle = 0;  // whole degrees
  std::int16_t profile_gap = kNoProfileGap;
};

}  // namespace inkrec

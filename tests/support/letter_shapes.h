// Synthetic letters for tests that build and train etalons: a few capital
// letters drawn as polylines, and shapes holding samples of them, each
// sample moved and stretched a little.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/foundation/point.h"
#include "engine/foundation/tagged_records.h"
#include "tests/support/figure_ink.h"

namespace inkrec::test {

// The strokes of 'L', 'V', 'N', 'Z' or 'T' in a box of about 40 x 60 units
// at (x, y), stretched by stretch / 10 across.
inline std::vector<Points> letter_strokes(char letter, int x = 100, int y = 200, int stretch = 10) {
  auto at = [&](int dx, int dy) {
    return PackedPoint{static_cast<std::int16_t>(x + dx * stretch / 10),
                       static_cast<std::int16_t>(y + dy)};
  };
  switch (letter) {
    case 'L':
      return {polyline({at(0, 0), at(0, 60), at(30, 60)}, 4)};
    case 'V':
      return {polyline({at(0, 0), at(20, 60), at(40, 0)}, 4)};
    case 'N':
      return {polyline({at(0, 60), at(0, 0), at(40, 60), at(40, 0)}, 4)};
    case 'Z':
      return {polyline({at(0, 0), at(40, 0), at(0, 60), at(40, 60)}, 4)};
    default:  // 'T'
      return {polyline({at(0, 0), at(40, 0)}, 4), polyline({at(20, 0), at(20, 60)}, 4)};
  }
}

inline Stroke stroke_of(const Points& points) {
  Stroke stroke;
  stroke.append_n(points.data(), static_cast<std::uint32_t>(points.size()));
  return stroke;
}

// One written sample of the letter.
inline Sample letter_sample(char letter, int variation = 0) {
  Sample sample;
  sample.first_guide = static_cast<std::int16_t>(200 + variation);
  sample.second_guide = static_cast<std::int16_t>(260 + variation);
  for (const Points& points :
       letter_strokes(letter, 100 + 7 * variation, 200 + 3 * variation, 10 + variation)) {
    sample.strokes.push_back(stroke_of(points));
  }
  return sample;
}

// A shape named after the letter with `samples` samples of it.
inline Shape letter_shape(char letter, int samples = 2) {
  Shape shape;
  shape.info.name[0] = letter;
  for (int s = 0; s < samples; ++s) shape.samples.push_back(letter_sample(letter, s));
  return shape;
}

}  // namespace inkrec::test

// Ink for tests: synthetic lines of zigzag strokes ("mmmm") that look like
// cursive writing to the line measures, and the real handwriting lines of
// the fixture "unipen_lines.txt"; either can be turned by a tilt.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "engine/foundation/point.h"
#include "engine/foundation/stroke.h"

namespace inkrec::testing {

using InkStroke = std::vector<PackedPoint>;
using Ink = std::vector<InkStroke>;

// Turns (dx, dy) by `tilt` degrees (positive turns +x towards +y, so a line
// descends to the right) and adds the origin, rounding to tablet units.
inline PackedPoint tilted(double dx, double dy, double tilt, double x0, double y0) {
  const double turn = tilt * std::numbers::pi / 180;
  return {static_cast<std::int16_t>(std::lround(x0 + dx * std::cos(turn) - dy * std::sin(turn))),
          static_cast<std::int16_t>(std::lround(y0 + dx * std::sin(turn) + dy * std::cos(turn)))};
}

struct WrittenLine {
  int strokes = 3;      // words, written left to right
  int humps = 8;        // up-and-down swings per stroke
  int hump_width = 16;  // tablet units
  int height = 40;      // of the humps
  int gap = 30;         // between strokes
  double tilt = 0;      // degrees; positive descends to the right (y grows downward)
  double x = 1000;      // where the line starts, on its base line
  double y = 1000;
};

// The line's strokes, sampled every two units along x and turned by the
// tilt about the line's start.
inline Ink write_line(const WrittenLine& line) {
  Ink ink;
  double start = 0;
  for (int s = 0; s < line.strokes; ++s) {
    InkStroke stroke;
    const int width = line.humps * line.hump_width;
    for (int dx = 0; dx <= width; dx += 2) {
      // A triangle wave: 0 on the base line, -height at the middle of a hump.
      const double phase = static_cast<double>(dx % line.hump_width) / line.hump_width;
      const double up = phase < 0.5 ? 2 * phase : 2 * (1 - phase);
      stroke.push_back(tilted(start + dx, -up * line.height, line.tilt, line.x, line.y));
    }
    ink.push_back(stroke);
    start += width + line.gap;
  }
  return ink;
}

// One word of the line's humps: a stroke of `humps` swings 40 high whose
// base line is y, starting at x.
inline InkStroke hump_word(int x, int y, int humps = 6) {
  WrittenLine line;
  line.strokes = 1;
  line.humps = humps;
  line.x = x;
  line.y = y;
  return write_line(line)[0];
}

// A straight stroke from (x0, y0) to (x1, y1), a point every two units.
inline InkStroke straight_stroke(int x0, int y0, int x1, int y1) {
  InkStroke stroke;
  const int steps = std::max(std::max(std::abs(x1 - x0), std::abs(y1 - y0)) / 2, 1);
  for (int k = 0; k <= steps; ++k) {
    stroke.push_back({static_cast<std::int16_t>(x0 + (x1 - x0) * k / steps),
                      static_cast<std::int16_t>(y0 + (y1 - y0) * k / steps)});
  }
  return stroke;
}

// A dot: two points two units apart.
inline InkStroke dot_stroke(int x, int y) {
  return {{static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)},
          {static_cast<std::int16_t>(x + 2), static_cast<std::int16_t>(y + 1)}};
}

// The strokes of a followed by those of b.
inline Ink join(Ink a, const Ink& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The handwriting lines of the fixture "unipen_lines.txt", each turned by
// `tilt` about its top left corner and placed at (2000, 2000).
inline std::vector<Ink> read_fixture_lines(double tilt) {
  std::ifstream in(std::string(INKREC_TEST_DATA_DIR) + "/unipen_lines.txt");
  std::vector<Ink> lines;
  std::string text;
  while (std::getline(in, text)) {
    if (text.empty() || text[0] == '#') continue;
    std::stringstream strokes(text.substr(text.rfind('\t') + 1));
    Ink ink;
    std::string stroke_text;
    while (std::getline(strokes, stroke_text, ';')) {
      std::stringstream points(stroke_text);
      InkStroke stroke;
      std::string point;
      while (points >> point) {
        int x = 0;
        int y = 0;
        if (std::sscanf(point.c_str(), "%d,%d", &x, &y) == 2) {
          stroke.push_back(tilted(x, y, tilt, 2000, 2000));
        }
      }
      ink.push_back(stroke);
    }
    lines.push_back(ink);
  }
  return lines;
}

// Views of the ink's strokes, as the caller of the engine hands them in.
inline std::vector<StrokeView> views_of(const Ink& ink) {
  std::vector<StrokeView> views;
  for (const InkStroke& stroke : ink) {
    views.push_back({stroke.data(), static_cast<std::int32_t>(stroke.size())});
  }
  return views;
}

}  // namespace inkrec::testing

// Handwriting of a writer the default database was not trained on: the
// held-out samples of the fixture "letter_samples.txt", one per character,
// each a list of strokes in the fixture's units (a letter about 160 high).
#pragma once

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "inkrec/inkrec.h"

namespace ductra::testing {

using WrittenStroke = std::vector<crPoint>;

// The fixture's lines: "CHAR<TAB>train|heldout<TAB>WRITER<TAB>STROKES", the
// strokes split by ';', each "x,y x,y ...".
inline std::map<char16_t, std::vector<WrittenStroke>> held_out_letters() {
  std::map<char16_t, std::vector<WrittenStroke>> letters;
  std::ifstream in(std::string(DUCTRA_TEST_DATA_DIR) + "/letter_samples.txt");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string code, side, writer, ink;
    std::getline(fields, code, '\t');
    std::getline(fields, side, '\t');
    std::getline(fields, writer, '\t');
    std::getline(fields, ink);
    if (side != "heldout" || code.empty()) continue;
    std::vector<WrittenStroke>& strokes = letters[static_cast<char16_t>(code[0])];
    std::istringstream stroke_texts(ink);
    std::string stroke_text;
    while (std::getline(stroke_texts, stroke_text, ';')) {
      WrittenStroke stroke;
      std::istringstream coordinates(stroke_text);
      int x = 0, y = 0;
      char comma = 0;
      while (coordinates >> x >> comma >> y) {
        stroke.push_back({static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)});
      }
      strokes.push_back(stroke);
    }
  }
  return letters;
}

// A dot of four points written `above` (or below) the stroke's box, 40 units
// from it, at the middle of its width.
inline WrittenStroke dot_beside(const WrittenStroke& stroke, bool above) {
  int left = 32767, right = -32768, top = 32767, bottom = -32768;
  for (const crPoint p : stroke) {
    left = std::min<int>(left, p.x);
    right = std::max<int>(right, p.x);
    top = std::min<int>(top, p.y);
    bottom = std::max<int>(bottom, p.y);
  }
  const int x = (left + right) / 2;
  const int y = above ? top - 40 : bottom + 40;
  WrittenStroke dot;
  for (const auto& [dx, dy] : {std::pair{0, 0}, {3, 2}, {5, 5}, {6, 8}}) {
    dot.push_back({static_cast<std::int16_t>(x + dx), static_cast<std::int16_t>(y + dy)});
  }
  return dot;
}

}  // namespace ductra::testing

// The words of the fixture "unipen_cursive_words.txt": real cursive
// handwriting for the bodies-and-links split.
#pragma once

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/split_ink.h"

namespace inkrec::testing {

struct WrittenWord {
  std::string label;
  Ink ink;
};

// The words of the fixture, each stroke decoded from its first point and
// steps.
inline std::vector<WrittenWord> read_cursive_words() {
  std::ifstream in(std::string(INKREC_TEST_DATA_DIR) + "/unipen_cursive_words.txt");
  std::vector<WrittenWord> words;
  std::string text;
  while (std::getline(in, text)) {
    if (text.empty() || text[0] == '#') continue;
    WrittenWord word;
    word.label = text.substr(0, text.find('\t'));
    std::stringstream strokes(text.substr(text.rfind('\t') + 1));
    std::string stroke_text;
    while (std::getline(strokes, stroke_text, ';')) {
      std::stringstream steps(stroke_text);
      InkStroke stroke;
      std::string step;
      int x = 0;
      int y = 0;
      while (steps >> step) {
        int dx = 0;
        int dy = 0;
        if (std::sscanf(step.c_str(), "%d,%d", &dx, &dy) != 2) continue;
        x += dx;
        y += dy;
        stroke.push_back({static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)});
      }
      word.ink.push_back(stroke);
    }
    words.push_back(std::move(word));
  }
  return words;
}

}  // namespace inkrec::testing

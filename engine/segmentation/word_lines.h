// Where the letters of a written word stand: the base line they sit on and
// the top of the word's small letters, measured on the word's own letters,
// and from them whether the word's first letter stands as a small letter or
// as a capital.
//
// A capital stands about as tall as the tall letters (b, d, h, k, l) above
// the base line and sits on it; a small c, o, s, u, v, w, x or z stands at
// the height of the small letters beside it, and a small g, j, p, q or y
// reaches below the base line. The line a joined word was written on tells
// little of this (a writer's words rise and fall, their sizes differ), so
// the word is measured by its own letters after the first: the base line is
// the median bottom of its small and tall letters, the small letters' top
// the median top of its small letters.
#pragma once

#include <cstdint>

#include "engine/segmentation/letter_path.h"

namespace inkrec {

struct WordLines {
  std::int32_t x_height() const { return base - small_top; }

  bool measured = false;  // the word has a small letter after its first
  std::int32_t base = 0;
  std::int32_t small_top = 0;
};

// The lines of the path's letters after its first, by the codes the path
// read them as. Not measured when no small letter follows the first, or the
// small letters stand no taller than 0.
WordLines measure_word_lines(const LetterPath& path);

// Whether the first letter of a path of two letters or more, read by the
// capital of a letter whose two forms share one shape (case kind 3) or by a
// capital way of writing of a letter whose small form reaches below the
// base line (g, j, p, q, y), stands as its small letter among the word's
// letters: the shared shape rises less than 1.7 small letters' heights
// above the base line; the other reaches below it by two fifths of that
// height or more and rises less than 1.6 of it. (Chosen on the training
// writers' written words, bench/README.md.) False when the word's
// lines cannot be measured or the first reading is not such a capital.
bool first_letter_stands_small(const LetterPath& path);

}  // namespace inkrec

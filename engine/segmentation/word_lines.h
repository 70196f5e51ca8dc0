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

// Whether the first letter of a path of two letters or more, read by a
// capital way of writing chosen upper case, stands as its small letter
// among the word's letters:
// - g, j, p, q, y: it reaches below the base line by two fifths of the
//   small letters' height or more and rises less than 1.6 of it; a p also
//   when it reaches 0.7 of that height below and rises less than 2.5 of it
//   (a capital P sits on the base line);
// - a, e, m, n, r: it rises less than 1.2 small letters' heights above the
//   base line, or, in a word with no small letter after it to measure by,
//   its box stands less than 0.7 as tall as the tallest letter after it.
// (Chosen on the training writers' written words, bench/README.md.) False
// when the first reading is not such a capital, or when the word's lines
// cannot be measured and the letter is not an a, e, m, n or r.
bool first_letter_stands_small(const LetterPath& path);

// The case a word's first letter stands in, by its size among the word's
// letters.
enum class FirstLetterStand { kUnmeasured, kSmall, kCapital };

// The stand of the first letter of a path of two letters or more read by a
// letter whose two forms share one shape (case kind 3: c, o, s, u, v, w, x,
// z), whichever case it was chosen: a capital when it rises at least 1.7
// small letters' heights above the word's base line, at least 0.95 as high
// as the tallest b, d, h, k, l or t after it, and its box is at least 1.5
// `reference` heights tall (the height its case is chosen against, see
// case_reference_height); a small letter otherwise. A writer who starts a
// word with a big small letter still writes its tall letters taller.
// (Chosen on the training writers' written words, bench/README.md.)
// kUnmeasured when the word's lines cannot be measured or the first reading
// is not of such a letter.
FirstLetterStand shared_shape_first_letter(const LetterPath& path, std::int32_t reference);

}  // namespace inkrec

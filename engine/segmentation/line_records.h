// The line records of the dictionary word search: for each line, the
// places between its figures where words start or end, the word hypotheses
// found from each place, and the words chosen. The word search fills them;
// the result delivery reads all of it and writes each word's choice and
// returned text.
#pragma once

#include <cstdint>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/ptr_array.h"

namespace inkrec {

// One element (a letter) of a word hypothesis's path.
struct HypothesisElement {
  std::int16_t cost = 0;
};

struct LetterPath;

// A reading of the ink from one place on, as a path of letters.
struct WordHypothesis {
  const LetterPath* path = nullptr;      // its letters; owned by the word box
  PtrArray<HypothesisElement> elements;  // not owning; null entries are passed over
  std::int32_t base_cost = 0;
  std::int32_t total = 0;
  std::int32_t count = 0;          // total / count is the mean cost of the path
  std::int16_t end_position = -1;  // the place where the reading ends
};

// A place of a line record: before the figure `figure` of TextLine `line`.
struct WordPosition {
  std::uint16_t line = 0;
  std::uint16_t figure = 0;
  PtrArray<WordHypothesis> hypotheses{PtrArray<WordHypothesis>::kDefaultCapacity, true};
};

// A word of a line record.
struct WordEntry {
  std::uint32_t start = 0;       // its first place
  std::int16_t end = -1;         // the place it ends before; -1: the end of the line record
  std::int16_t hypothesis = -1;  // its reading among the start place's hypotheses; -1: none
  std::int32_t chosen = -1;      // set from the result callback
  DynArray<char16_t> text;       // returned by the result callback
};

struct LineRecord {
  // The last figure of the record: TextLine number and figure index.
  std::int16_t end_line = 0;
  std::int16_t end_figure = 0;
  DynArray<WordPosition> positions;
  DynArray<WordEntry> words;
};

}  // namespace inkrec

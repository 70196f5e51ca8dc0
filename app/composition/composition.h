// Composition: a base letter followed by one to three mark figures (a, o or
// u followed by two dots). The marks are a CodePattern whose characters stay
// empty; the letters are the base letters that start the composition when
// the engine's answer holds one of them. Copies are deep; allocation failure
// throws std::bad_alloc.
#pragma once

#include "app/composition/code_pattern.h"
#include "app/composition/constant_entries.h"
#include "app/composition/letter_list.h"

namespace ductra {

class Composition {
 public:
  static constexpr std::size_t kMaxMarks = 3;

  // The constant's letters and its first kMaxMarks positions (ending at the
  // first empty one).
  explicit Composition(const CompositionEntry& entry);

  const CodePattern& pattern() const { return pattern_; }
  const LetterList& letters() const { return letters_; }

 private:
  CodePattern pattern_;
  LetterList letters_;
};

}  // namespace ductra

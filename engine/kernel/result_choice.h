// ResultChoice: what the recognition asks the caller's callback to choose
// among, a record shared with the application (crResultChoice).
//
// The engine builds one per question and frees it after the call; the
// callback reads the candidates and the box and writes `chosen` (and, for a
// word, `returned_text`).
#pragma once

#include <cstdint>

#include "engine/foundation/dyn_array.h"

namespace inkrec {

struct ResultChoice {
  static constexpr std::uint32_t kLetter = 0;
  static constexpr std::uint32_t kWord = 1;
  // Callback answers besides a candidate's index.
  static constexpr std::int32_t kKeep = -1;
  static constexpr std::int32_t kDrop = -3;

  DynArray<DynArray<char16_t>> candidates;  // best first
  std::uint32_t kind = kLetter;
  // The box of the ink concerned, in the caller's coordinates; empty while
  // left > right.
  std::int32_t left = INT32_MAX;
  std::int32_t top = INT32_MAX;
  std::int32_t right = INT32_MIN;
  std::int32_t bottom = INT32_MIN;
  std::int32_t chosen = kKeep;
  DynArray<char16_t> returned_text;
};

}  // namespace inkrec

// MatchResult: what one matching step of the composition tables says about
// the strokes seen since the candidates were last reset. The values 0 to 5
// are fixed: the segmenter decides on them.
#pragma once

#include <cstdint>

namespace ductra {

enum MatchResult : std::uint32_t {
  // Nothing started; nothing completed or continues although patterns were
  // pending, or something completed that disagrees with the answer.
  kMatchRejected = 0,
  // Nothing started, completed or continues, and no pattern was pending.
  kMatchIdle = 1,
  // Something completed and agrees with the answer; nothing continues.
  kMatchComplete = 2,
  // Nothing started or completed; something continues.
  kMatchContinuing = 3,
  // A composition started and something completed or continues; or, without
  // a start, something completed and something continues.
  kMatchAmbiguous = 4,
  // A composition started and nothing completed or continues.
  kMatchStarted = 5,
};

}  // namespace ductra

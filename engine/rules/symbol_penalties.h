// The penalty a candidate writing variant pays for a stroke group: the
// score operations, and the shape penalties of a one-figure group charged
// by the classes of the variant's etalon.
//
// A variant's penalty P starts at 0; penalties subtract from it and
// bonuses add to it, so lower is worse. The letter evaluation measures the
// group's shape once into a PenaltyBlock; each candidate variant then pays
// the slots its etalon class says its shape should not show. A slot of 0
// or less never changes a score.
#pragma once

#include <array>
#include <cstdint>

#include "engine/database/knowledge_base_records.h"

namespace inkrec {

// The shape penalties of a one-figure group, in slot order.
enum PenaltySlot : int {
  kTailSlot = 0,        // a tail hooked back at the end: 0, 499 or 1000
  kEndRampSlot,         // a narrow stroke added at the end: 0..1500
  kEndDropSlot,         // a start falling straight down: 0 or 399
  kEndCurlSlot,         // an end curling back: 0 or 499
  kUpperSideSlot,       // ink above the top chord: 0 or 199
  kLowerSideSlot,       // ink below the bottom chord: 0 or 199
  kLastSideSlot,        // ink above the last chord: 0 or 349
  kPrecedingPieceSlot,  // the stroke went on before the figure: 0..
  kFollowingPieceSlot,  // the stroke goes on after it: 0..
  kDescendingEndSlot,   // the figure ends low: 0..
  kPenaltySlotCount
};

struct PenaltyBlock {
  std::array<std::int32_t, kPenaltySlotCount> slots{};

  std::int32_t operator[](PenaltySlot slot) const { return slots[slot]; }
  std::int32_t& operator[](PenaltySlot slot) { return slots[slot]; }
};

// score -= v when v > 0.
inline void penalise(std::int32_t& score, std::int32_t v) {
  if (v > 0) score -= v;
}
// score += v when v > 0.
inline void reward(std::int32_t& score, std::int32_t v) {
  if (v > 0) score += v;
}
// limit = v when v < limit.
inline void lower_to(std::int32_t& limit, std::int32_t v) {
  if (v < limit) limit = v;
}

// Charges the symbol the slots its etalon class asks for: the tail unless
// property bit 22 is set, the end ramp unless bit 23 is set, the end drop
// for class a, the end curl for class b, the upper side for class c or
// else the lower side for class d, the last side for class f, the
// preceding piece for class g, the following piece for class h and the
// descending end for class j. Returns whether the etalon is of class h.
bool apply_etalon_penalties(const Variant& symbol, std::int32_t& score, const PenaltyBlock& block);

}  // namespace inkrec

// The etalon-class penalties.

#include "engine/rules/symbol_penalties.h"

#include "engine/database/property_flags.h"
#include "engine/rules/symbol_classes.h"

namespace inkrec {

bool apply_etalon_penalties(const Variant& symbol, std::int32_t& score, const PenaltyBlock& block) {
  const PropertyFlags p = properties_of(symbol);
  if (p.bit22() == 0) penalise(score, block[kTailSlot]);
  if (p.bit23() == 0) penalise(score, block[kEndRampSlot]);
  if (is_etalon_class_a(symbol)) penalise(score, block[kEndDropSlot]);
  if (is_etalon_class_b(symbol)) penalise(score, block[kEndCurlSlot]);
  const int cd = etalon_class_cd(symbol);
  if (cd == 1) {
    penalise(score, block[kUpperSideSlot]);
  } else if (cd == 0) {
    penalise(score, block[kLowerSideSlot]);
  }
  if (is_etalon_class_f(symbol)) penalise(score, block[kLastSideSlot]);
  if (is_etalon_class_g(symbol)) penalise(score, block[kPrecedingPieceSlot]);
  const bool class_h = is_etalon_class_h(symbol);
  if (class_h) penalise(score, block[kFollowingPieceSlot]);
  if (is_etalon_class_j(symbol)) penalise(score, block[kDescendingEndSlot]);
  return class_h;
}

}  // namespace inkrec

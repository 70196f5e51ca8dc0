// SlotFill: one step of building the composition tables, the charset slot
// it fills, what the slot starts from and the constants it appends, patterns
// to the pattern slot and compositions to the composition slot, in order.
// The steps themselves, in building order, are in table_fills.h.
#pragma once

#include <span>

#include "app/composition/constant_entries.h"

namespace ductra {

enum class SlotStart {
  kEmpty,       // the slot starts empty
  kCommonSet,   // a copy of the common pattern set
  kCopyOfSlot,  // a copy of another pattern slot as it stands at this step
};

struct SlotFill {
  int charset;
  SlotStart start;
  int source_slot;  // the slot copied, for kCopyOfSlot
  std::span<const PatternEntry* const> patterns;
  std::span<const CompositionEntry* const> compositions;
};

}  // namespace ductra

// CharSlotMap.

#include "engine/foundation/char_slot_map.h"

#include <algorithm>

namespace inkrec {

void CharSlotMap::init(const DynArray<std::uint32_t>* table) {
  table_ = table;
  std::fill(std::begin(slots_), std::end(slots_), kEmpty);
  spare_ = kEmpty;
}

std::uint32_t& CharSlotMap::slot_ref(std::uint32_t c) {
  const int index = char_index(c);
  if (index >= 0) return slots_[index];
  spare_ = kEmpty;
  return spare_;
}

void CharSlotMap::mark(std::uint32_t c, std::uint32_t state) {
  std::uint32_t& slot = slot_ref(c);
  if (slot == kWordEnds && state == kLetterContinues) return;
  slot = state;
}

void CharSlotMap::merge_missing(const CharSlotMap& other) {
  // Without a branch, so that the compiler can merge several slots a step.
  for (std::uint32_t i = 0; i < kSlotCount; ++i) {
    slots_[i] = slots_[i] == kEmpty ? other.slots_[i] : slots_[i];
  }
}

void CharSlotMap::copy_slots(const CharSlotMap& other) {
  std::copy(std::begin(other.slots_), std::end(other.slots_), std::begin(slots_));
}

bool CharSlotMap::is_empty() const {
  return std::all_of(std::begin(slots_), std::end(slots_),
                     [](std::uint32_t v) { return v == kEmpty; });
}

}  // namespace inkrec

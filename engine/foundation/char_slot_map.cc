// CharSlotMap.

#include "engine/foundation/char_slot_map.h"

#include <algorithm>

namespace inkrec {

void CharSlotMap::init(const DynArray<std::uint32_t>* table) {
  table_ = table;
  std::fill(std::begin(slots_), std::end(slots_), kEmpty);
  spare_ = kEmpty;
}

int CharSlotMap::char_index(std::uint32_t c) const {
  if (table_ == nullptr || c >= table_->size()) return -1;
  const std::uint32_t index = (*table_)[c];
  return index < kSlotCount ? static_cast<int>(index) : -1;
}

std::uint32_t& CharSlotMap::slot_ref(std::uint32_t c) {
  const int index = char_index(c);
  if (index >= 0) return slots_[index];
  spare_ = kEmpty;
  return spare_;
}

std::uint32_t CharSlotMap::slot_value(std::uint32_t c) const {
  const int index = char_index(c);
  return index >= 0 ? slots_[index] : kEmpty;
}

void CharSlotMap::mark(std::uint32_t c, std::uint32_t state) {
  std::uint32_t& slot = slot_ref(c);
  if (slot == kWordEnds && state == kLetterContinues) return;
  slot = state;
}

void CharSlotMap::merge_missing(const CharSlotMap& other) {
  for (std::uint32_t i = 0; i < kSlotCount; ++i) {
    if (slots_[i] == kEmpty) slots_[i] = other.slots_[i];
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

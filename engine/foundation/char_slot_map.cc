#include "engine/foundation/char_slot_map.h"

#include <algorithm>

namespace inkrec {

void CharSlotMap::init(const DynArray<std::uint32_t>* table) {
  table_ = table;
  clear();
}

std::int64_t CharSlotMap::char_index(char16_t c) const {
  if (table_ == nullptr || c >= table_->size()) return -1;
  return (*table_)[c];
}

std::uint32_t CharSlotMap::index_of(char16_t c) const {
  const std::int64_t index = char_index(c);
  return index < 0 || index >= kSlotCount ? kSlotCount : static_cast<std::uint32_t>(index);
}

std::uint32_t& CharSlotMap::slot_ref(char16_t c) {
  const std::uint32_t index = index_of(c);
  if (index < kSlotCount) return slots_[index];
  spare_ = kUnknown;
  return spare_;
}

std::uint32_t CharSlotMap::slot_value(char16_t c) const {
  const std::uint32_t index = index_of(c);
  return index < kSlotCount ? slots_[index] : kUnknown;
}

void CharSlotMap::mark(char16_t c, std::uint32_t state) {
  std::uint32_t& slot = slot_ref(c);
  if (slot == kWordEnds && state == kLetterContinues) return;
  slot = state;
}

void CharSlotMap::merge_missing(const CharSlotMap& other) {
  for (std::uint32_t i = 0; i < kSlotCount; ++i) {
    if (slots_[i] == kUnknown) slots_[i] = other.slots_[i];
  }
}

bool CharSlotMap::is_empty() const {
  return std::all_of(slots_.begin(), slots_.end(), [](std::uint32_t s) { return s == kUnknown; });
}

}  // namespace inkrec

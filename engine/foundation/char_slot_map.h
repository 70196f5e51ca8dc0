// CharSlotMap: a value for each of 128 letter slots, addressed by character.
//
// A character-index table (a DynArray of u32 indexed by character code; an
// entry of 0xFFFFFFFF means no index) turns a code into a slot index. The map
// only refers to the table, which must outlive it. A code without a usable
// index (past the table's end, marked, or not below 128) answers through a
// spare slot that is reset to 255 each time it is handed out. An empty slot
// holds 255. The dictionaries write kLetterContinues (words go on through
// the letter) or kWordEnds (a word ends with it) and never lower a
// kWordEnds (mark()).
#pragma once

#include <cstdint>

#include "engine/foundation/dyn_array.h"

namespace inkrec {

class CharSlotMap {
 public:
  static constexpr std::uint32_t kSlotCount = 128;
  static constexpr std::uint32_t kEmpty = 255;
  static constexpr std::uint32_t kLetterContinues = 1;
  static constexpr std::uint32_t kWordEnds = 2;

  CharSlotMap() { init(nullptr); }

  // Refers to the table and empties every slot.
  void init(const DynArray<std::uint32_t>* table);

  // Slot i by index; 255 for i not below 128.
  std::uint32_t slot(std::uint32_t i) const { return i < kSlotCount ? slots_[i] : kEmpty; }
  // The slot index of character c, -1 when it has none.
  int char_index(std::uint32_t c) const {
    if (table_ == nullptr || c >= table_->size()) return -1;
    const std::uint32_t index = (*table_)[c];
    return index < kSlotCount ? static_cast<int>(index) : -1;
  }
  // The slot of c, or the spare slot (set to 255) when c has no index.
  std::uint32_t& slot_ref(std::uint32_t c);
  // The slot of c, 255 when c has no index.
  std::uint32_t slot_value(std::uint32_t c) const {
    const int index = char_index(c);
    return index >= 0 ? slots_[index] : kEmpty;
  }
  // Writes state into the slot of c, except that a kWordEnds is never
  // lowered to kLetterContinues.
  void mark(std::uint32_t c, std::uint32_t state);

  // Every empty slot takes the other map's value.
  void merge_missing(const CharSlotMap& other);
  void copy_slots(const CharSlotMap& other);
  // All 128 slots are empty.
  bool is_empty() const;

 private:
  const DynArray<std::uint32_t>* table_ = nullptr;
  std::uint32_t slots_[kSlotCount];
  std::uint32_t spare_ = kEmpty;
};

}  // namespace inkrec

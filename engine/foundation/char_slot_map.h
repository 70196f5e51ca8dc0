// CharSlotMap: what the letter search knows about each letter that may come
// next. A character reaches one of 128 slots through a table that turns
// character codes into slot indices; a code without an index (an entry of
// 0xFFFFFFFF, a code past the table's end, or an index of 128 or more) is
// given the spare slot, so writing to it never changes the map.
//
// The dictionaries write kLetterContinues or kWordEnds and never lower a
// kWordEnds to kLetterContinues (mark()).
#pragma once

#include <array>
#include <cstdint>

#include "engine/foundation/dyn_array.h"

namespace inkrec {

class CharSlotMap {
 public:
  static constexpr std::uint32_t kSlotCount = 128;
  static constexpr std::uint32_t kUnknown = 255;
  static constexpr std::uint32_t kLetterContinues = 1;
  static constexpr std::uint32_t kWordEnds = 2;

  CharSlotMap() { clear(); }
  explicit CharSlotMap(const DynArray<std::uint32_t>* table) { init(table); }

  // Stores the table (null: no character has a slot) and empties the slots.
  void init(const DynArray<std::uint32_t>* table);
  void clear() { slots_.fill(kUnknown); }

  // Slot i by index; kUnknown for i of 128 or more.
  std::uint32_t slot(std::uint32_t i) const { return i < kSlotCount ? slots_[i] : kUnknown; }
  // The table's entry for c; -1 when c is past the table's end.
  std::int64_t char_index(char16_t c) const;
  // The slot of c, or the spare slot (set to kUnknown first) when c has none.
  std::uint32_t& slot_ref(char16_t c);
  // The slot of c; kUnknown when c has none.
  std::uint32_t slot_value(char16_t c) const;
  // Writes state into c's slot, except that a kWordEnds is never lowered to
  // kLetterContinues.
  void mark(char16_t c, std::uint32_t state);

  // Every slot still kUnknown takes the other map's slot.
  void merge_missing(const CharSlotMap& other);
  void copy_slots(const CharSlotMap& other) { slots_ = other.slots_; }
  bool is_empty() const;

 private:
  // The slot index of c, or kSlotCount when c has none.
  std::uint32_t index_of(char16_t c) const;

  const DynArray<std::uint32_t>* table_ = nullptr;
  std::array<std::uint32_t, kSlotCount> slots_;
  std::uint32_t spare_ = kUnknown;
};

}  // namespace inkrec

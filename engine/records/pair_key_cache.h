// PairKeyCache: the values a group has worked out against its neighbours,
// each found by (the neighbour's index, a key of the pair) in about one
// probe, however many neighbours and keys the group has met.
//
// An open-addressing table: linear probing in a power-of-two array kept at
// most half full, so that the word search, which asks for the same pairs
// thousands of times, never walks a list. Nothing is ever removed but by
// clear(); a value's address stays valid until a new value is added. Keys
// are below kKeyLimit (2^31): the top bit of a slot's key marks it used,
// which keeps a slot of an 8-byte value at 16 bytes.
#pragma once

#include <cstdint>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/status.h"

namespace inkrec {

template <typename Value>
class PairKeyCache {
 public:
  static constexpr std::uint32_t kKeyLimit = 0x80000000u;

  PairKeyCache() = default;
  PairKeyCache(PairKeyCache&&) noexcept = default;
  PairKeyCache& operator=(PairKeyCache&&) noexcept = default;
  PairKeyCache(const PairKeyCache&) = delete;
  PairKeyCache& operator=(const PairKeyCache&) = delete;

  // The value for (neighbour, key), value-initialised when it is new; null
  // when the table cannot grow or the key is not below kKeyLimit (nothing
  // is then changed).
  Value* find_or_add(std::uint32_t neighbour, std::uint32_t key) {
    if (key >= kKeyLimit) return nullptr;
    Slot* slot = probe(neighbour, key);
    if (slot != nullptr && slot->used()) return &slot->value;
    if (2 * (used_ + 1) > slots_.size()) {
      if (grow() != kOk) return nullptr;
      slot = probe(neighbour, key);
    }
    *slot = Slot{neighbour, key | kUsedBit, Value{}};
    ++used_;
    return &slot->value;
  }

  // The value stored for (neighbour, key); null when there is none.
  const Value* find(std::uint32_t neighbour, std::uint32_t key) const {
    if (key >= kKeyLimit) return nullptr;
    const Slot* slot = probe(neighbour, key);
    return slot != nullptr && slot->used() ? &slot->value : nullptr;
  }

  std::uint32_t size() const { return used_; }
  bool empty() const { return used_ == 0; }

  // Forgets every value; the table keeps its room.
  void clear() {
    for (Slot& slot : slots_) slot = Slot{};
    used_ = 0;
  }
  // Forgets every value and frees the room.
  void release() {
    slots_.release();
    used_ = 0;
  }
  // Becomes a copy of other: 0, or -1 with this cache unchanged.
  int assign(const PairKeyCache& other) {
    if (const int status = slots_.assign(other.slots_); status != kOk) return status;
    used_ = other.used_;
    return kOk;
  }

 private:
  static constexpr std::uint32_t kFirstRoom = 16;

  static constexpr std::uint32_t kUsedBit = kKeyLimit;

  struct Slot {
    std::uint32_t neighbour = 0;
    std::uint32_t used_key = 0;  // the key with kUsedBit; 0 while free
    Value value{};

    bool used() const { return (used_key & kUsedBit) != 0; }
    std::uint32_t key() const { return used_key & ~kUsedBit; }
  };

  // Fibonacci hashing of both halves: the neighbours are small and dense,
  // the keys pack two small indices, so a multiply spreads them well.
  std::uint32_t home(std::uint32_t neighbour, std::uint32_t key) const {
    const std::uint64_t packed = std::uint64_t{neighbour} << 32 | key;
    return static_cast<std::uint32_t>((packed * 0x9E3779B97F4A7C15ull) >> 32) &
           (slots_.size() - 1);
  }

  // The slot holding (neighbour, key), or the free slot where it would go;
  // null for a table without room.
  template <typename Self>
  static auto* probe_in(Self& self, std::uint32_t neighbour, std::uint32_t key) {
    using SlotPtr = decltype(self.slots_.data());
    if (self.slots_.empty()) return SlotPtr{nullptr};
    const std::uint32_t mask = self.slots_.size() - 1;
    for (std::uint32_t i = self.home(neighbour, key);; i = (i + 1) & mask) {
      auto& slot = self.slots_[i];
      if (!slot.used() || (slot.neighbour == neighbour && slot.used_key == (key | kUsedBit))) {
        return &slot;
      }
    }
  }
  Slot* probe(std::uint32_t neighbour, std::uint32_t key) {
    return probe_in(*this, neighbour, key);
  }
  const Slot* probe(std::uint32_t neighbour, std::uint32_t key) const {
    return probe_in(*this, neighbour, key);
  }

  // Twice the room (kFirstRoom at first), every value moved to its slot.
  int grow() {
    const std::uint32_t room = slots_.empty() ? kFirstRoom : 2 * slots_.size();
    if (room < slots_.size()) return kOutOfMemory;
    PairKeyCache bigger;
    if (bigger.slots_.resize(room) != kOk) return kOutOfMemory;
    for (const Slot& slot : slots_) {
      if (slot.used()) *bigger.probe(slot.neighbour, slot.key()) = slot;
    }
    bigger.used_ = used_;
    *this = std::move(bigger);
    return kOk;
  }

  DynArray<Slot> slots_;
  std::uint32_t used_ = 0;
};

}  // namespace inkrec

// CodeSequenceTable: the table the word search's memos keep their values
// in, keyed by a leading value (a place, a weight) and a code sequence.
//
// The search of one box meets hundreds of thousands of keys and forgets
// them all between records; the table is made for that. Its keys' codes
// lie side by side in one array, its slots are open-addressed and hold the
// index of a key, and clear() forgets every key at once (each slot carries
// the number of the clearing it was written in) while keeping the room:
// once the table has grown to what a search needs, neither a look-up nor a
// new key allocates.
//
// A value stays where it is, whatever keys are added after it, until
// clear(). After clear() the values are handed out again to new keys as
// the keys before left them: the caller makes a value new when the key is
// (*added). The standard containers' allocation failure is the only way
// the table can fail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace inkrec {

// The keys alone: each key's index, in the order the keys were added.
class CodeSequenceIndex {
 public:
  static constexpr std::uint32_t kAbsent = 0xFFFFFFFF;

  // The key's index; kAbsent for a key not added since clear().
  std::uint32_t find(std::uint64_t lead, std::span<const std::uint16_t> codes) const;
  // The key's index, adding the key (with index size()) when it is new.
  std::uint32_t find_or_add(std::uint64_t lead, std::span<const std::uint16_t> codes,
                            bool* added);
  // The keys added since clear().
  std::uint32_t size() const { return static_cast<std::uint32_t>(keys_.size()); }
  // Forgets every key and keeps the room.
  void clear();

 private:
  struct Key {
    std::uint64_t lead = 0;
    std::uint64_t hash = 0;
    std::uint32_t first_code = 0;
    std::uint32_t code_count = 0;
  };
  struct Slot {
    std::uint32_t clearing = 0;  // the slot is used when this is the table's
    std::uint32_t key = 0;
    std::uint32_t tag = 0;  // the key's hash, low half: most other keys differ in it
  };

  std::size_t home_of(std::uint64_t hash) const;
  bool same_key(const Slot& slot, std::uint64_t lead, std::uint64_t hash,
                std::span<const std::uint16_t> codes) const;
  // The slot holding the key, or the empty slot where it would go.
  std::size_t slot_of(std::uint64_t lead, std::uint64_t hash,
                      std::span<const std::uint16_t> codes) const;
  void grow();

  std::vector<Key> keys_;
  std::vector<std::uint16_t> codes_;  // the keys' codes, one after another
  std::vector<Slot> slots_;           // a power of two of them, at most half used
  int shift_ = 64;                    // 64 - log2 of the slot count
  std::uint32_t clearing_ = 1;
};

template <typename T>
class CodeSequenceTable {
 public:
  // The key's value; null for a key not added since clear().
  T* find(std::uint64_t lead, std::span<const std::uint16_t> codes) {
    const std::uint32_t index = index_.find(lead, codes);
    return index == CodeSequenceIndex::kAbsent ? nullptr : &value(index);
  }
  // The key's value, the key added when it is new (*added): its value is
  // then one a key before clear() left, or a default-made one.
  T& find_or_add(std::uint64_t lead, std::span<const std::uint16_t> codes, bool* added) {
    const std::uint32_t index = index_.find_or_add(lead, codes, added);
    if (index / kBlock == blocks_.size()) blocks_.push_back(std::make_unique<T[]>(kBlock));
    return value(index);
  }
  // Forgets every key; keeps the values and the room for new keys.
  void clear() { index_.clear(); }

 private:
  static constexpr std::uint32_t kBlock = 256;

  T& value(std::uint32_t index) { return blocks_[index / kBlock][index % kBlock]; }

  CodeSequenceIndex index_;
  std::vector<std::unique_ptr<T[]>> blocks_;  // never moved: a value stays where it is
};

}  // namespace inkrec

// BitSet: a growable set of small non-negative integers (figure, stroke and
// candidate indices), and BitSetIterator, which lists its members.
//
// Bit n lives in word n / 32 at position n mod 32. Trailing zero words are
// trimmed after every removal, so equal sets have equal words and an empty set
// has none; less() is a strict order, so sets can key ordered maps. Members
// are at most 2^31 - 1. Operations that grow the set return 0, or -1 when
// memory runs out (the set is then unchanged). A set is moved, or copied with
// assign(), which can fail.
#pragma once

#include <cstdint>
#include <span>

#include "engine/foundation/dyn_array.h"

namespace inkrec {

// 1 << (n mod 32).
constexpr std::uint32_t bit_mask(std::uint32_t n) { return 1u << (n % 32); }
// 1 << n when the low byte of n is below 32, else 0.
constexpr std::uint32_t bit_mask_checked(std::uint32_t n) {
  return (n & 0xFF) < 32 ? 1u << (n & 0xFF) : 0u;
}

class BitSet {
 public:
  static constexpr std::uint32_t kMaxMember = 0x7FFFFFFF;

  BitSet() = default;
  BitSet(BitSet&& other) noexcept { swap(other); }
  BitSet& operator=(BitSet&& other) noexcept {
    if (this != &other) {
      clear();
      swap(other);
    }
    return *this;
  }
  BitSet(const BitSet&) = delete;
  BitSet& operator=(const BitSet&) = delete;

  // Becomes a copy of other; 0, or -1 with this set unchanged.
  int assign(const BitSet& other);
  void swap(BitSet& other) noexcept;

  // Adds n; -2 for n above kMaxMember.
  int set(std::uint32_t n);
  // Adds first..last inclusive (nothing when first > last).
  int set_range(std::uint32_t first, std::uint32_t last);
  // Removes n; -2 when n lies beyond the words.
  int reset(std::uint32_t n);
  bool test(std::uint32_t n) const {
    const std::uint32_t word = n / 32;
    return word < words_.size() && (words_[word] & bit_mask(n)) != 0;
  }

  // The 32 members n..n+31 as a mask: bit k for member n + k.
  std::uint32_t bits_from(std::uint32_t n) const {
    const std::uint32_t word = n / 32;
    const std::uint32_t shift = n % 32;
    if (word >= words_.size()) return 0;
    const std::uint32_t low = words_[word] >> shift;
    if (shift == 0 || word + 1 >= words_.size()) return low;
    return low | words_[word + 1] << (32 - shift);
  }

  std::uint32_t count() const;
  bool is_empty() const { return words_.empty(); }
  // The least member; false for an empty set.
  bool lowest_bit(std::uint32_t* out) const;
  // The first member at or after *n, written back; false when there is none.
  bool next_bit(std::uint32_t* n) const;
  // The greatest member; false for an empty set.
  bool highest_bit(std::uint32_t* out) const;
  // The first and the last word; false for an empty set.
  bool first_last_words(std::uint32_t* first, std::uint32_t* last) const;

  bool equals(const BitSet& other) const;
  // Fewer words first; then the first differing word, the smaller first.
  bool less(const BitSet& other) const;
  bool greater(const BitSet& other) const { return other.less(*this); }
  // A common member exists.
  bool intersects(const BitSet& other) const;
  // Every member of other is a member here.
  bool contains(const BitSet& other) const;

  // Adds every member of other.
  int unite(const BitSet& other);
  // Removes every member of other.
  void subtract(const BitSet& other);
  // Removes every member; keeps the storage.
  void clear();

  // Appends the members in increasing order (first making room for 64 when
  // the list holds less).
  int append_indices(DynArray<std::uint32_t>& list) const;

  std::span<const std::uint32_t> words() const { return words_.span(); }

 private:
  void trim();

  DynArray<std::uint32_t> words_;
  // A lower bound of the least member, -1 for an empty set. Removals keep it,
  // so lowest_bit() checks it and moves it up when the member is gone.
  mutable std::int32_t lowest_ = -1;
};

// out = a | b and out = a - b; 0, or -1 with out unchanged.
int make_union(const BitSet& a, const BitSet& b, BitSet* out);
int make_difference(const BitSet& a, const BitSet& b, BitSet* out);

// The members of a set as they were when listed, in increasing order.
class BitSetIterator {
 public:
  // Lists the members and stands at the first; status() tells whether the
  // list could be made (an incomplete list stands at its end).
  explicit BitSetIterator(const BitSet& set);
  // Lists the members again and stands at the first one not below v.
  int starting_at(const BitSet& set, std::uint32_t v);

  int status() const { return status_; }
  bool at_end() const { return position_ >= members_.size(); }
  std::uint32_t value() const { return members_[position_]; }
  void advance() { ++position_; }

 private:
  DynArray<std::uint32_t> members_;
  std::uint32_t position_ = 0;
  int status_ = 0;
};

}  // namespace inkrec

// BitSet and BitSetIterator.

#include "engine/foundation/bit_set.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "engine/foundation/status.h"

namespace inkrec {

int BitSet::assign(const BitSet& other) {
  if (this == &other) return kOk;
  if (const int status = words_.assign(other.words_); status != kOk) return status;
  lowest_ = other.lowest_;
  return kOk;
}

void BitSet::swap(BitSet& other) noexcept {
  words_.swap(other.words_);
  std::swap(lowest_, other.lowest_);
}

int BitSet::set(std::uint32_t n) {
  if (n > kMaxMember) return kBadArgument;
  const std::uint32_t word = n / 32;
  if (word >= words_.size() && words_.resize(word + 1, 0) != kOk) return kOutOfMemory;
  words_[word] |= bit_mask(n);
  if (lowest_ < 0 || static_cast<std::int32_t>(n) < lowest_) lowest_ = static_cast<std::int32_t>(n);
  return kOk;
}

int BitSet::set_range(std::uint32_t first, std::uint32_t last) {
  if (first > last) return kOk;
  if (last > kMaxMember) return kBadArgument;
  if (words_.reserve_total(last / 32 + 1) != kOk) return kOutOfMemory;
  for (std::uint32_t n = first;; ++n) {
    if (const int status = set(n); status != kOk) return status;
    if (n == last) return kOk;
  }
}

int BitSet::reset(std::uint32_t n) {
  const std::uint32_t word = n / 32;
  if (word >= words_.size()) return kBadArgument;
  words_[word] &= ~bit_mask(n);
  if (word + 1 == words_.size()) trim();
  return kOk;
}

std::uint32_t BitSet::count() const {
  std::uint32_t total = 0;
  for (std::uint32_t w : words_) total += static_cast<std::uint32_t>(std::popcount(w));
  return total;
}

bool BitSet::lowest_bit(std::uint32_t* out) const {
  if (is_empty()) return false;
  auto n = static_cast<std::uint32_t>(std::max<std::int32_t>(lowest_, 0));
  if (!test(n)) {
    // The cached member was removed; the least member still lies above it.
    next_bit(&n);
    lowest_ = static_cast<std::int32_t>(n);
  }
  *out = n;
  return true;
}

bool BitSet::next_bit(std::uint32_t* n) const {
  std::uint32_t word = *n / 32;
  if (word >= words_.size()) return false;
  std::uint32_t bits = words_[word] & (~0u << (*n % 32));
  while (bits == 0) {
    if (++word == words_.size()) return false;
    bits = words_[word];
  }
  *n = word * 32 + static_cast<std::uint32_t>(std::countr_zero(bits));
  return true;
}

bool BitSet::highest_bit(std::uint32_t* out) const {
  if (is_empty()) return false;
  const std::uint32_t last = words_.back();
  *out = (words_.size() - 1) * 32 + 31 - static_cast<std::uint32_t>(std::countl_zero(last));
  return true;
}

bool BitSet::first_last_words(std::uint32_t* first, std::uint32_t* last) const {
  if (is_empty()) return false;
  *first = words_[0];
  *last = words_.back();
  return true;
}

bool BitSet::equals(const BitSet& other) const {
  return std::ranges::equal(words(), other.words());
}

bool BitSet::less(const BitSet& other) const {
  if (words_.size() != other.words_.size()) return words_.size() < other.words_.size();
  for (std::uint32_t i = 0; i < words_.size(); ++i) {
    if (words_[i] != other.words_[i]) return words_[i] < other.words_[i];
  }
  return false;
}

bool BitSet::intersects(const BitSet& other) const {
  const std::uint32_t common = std::min(words_.size(), other.words_.size());
  for (std::uint32_t i = 0; i < common; ++i) {
    if ((words_[i] & other.words_[i]) != 0) return true;
  }
  return false;
}

bool BitSet::contains(const BitSet& other) const {
  if (other.words_.size() > words_.size()) return false;
  for (std::uint32_t i = 0; i < other.words_.size(); ++i) {
    if ((words_[i] & other.words_[i]) != other.words_[i]) return false;
  }
  return true;
}

int BitSet::unite(const BitSet& other) {
  if (this == &other) return kOk;
  if (other.words_.size() > words_.size() && words_.resize(other.words_.size(), 0) != kOk) {
    return kOutOfMemory;
  }
  for (std::uint32_t i = 0; i < other.words_.size(); ++i) words_[i] |= other.words_[i];
  if (lowest_ < 0 || (other.lowest_ >= 0 && other.lowest_ < lowest_)) lowest_ = other.lowest_;
  return kOk;
}

void BitSet::subtract(const BitSet& other) {
  if (this == &other) {
    clear();
    return;
  }
  const std::uint32_t common = std::min(words_.size(), other.words_.size());
  for (std::uint32_t i = 0; i < common; ++i) words_[i] &= ~other.words_[i];
  trim();
}

void BitSet::clear() {
  words_.clear();
  lowest_ = -1;
}

int BitSet::append_indices(DynArray<std::uint32_t>& list) const {
  if (list.capacity() < 64 && list.reserve_total(64) != kOk) return kOutOfMemory;
  for (std::uint32_t i = 0; i < words_.size(); ++i) {
    for (std::uint32_t bits = words_[i]; bits != 0; bits &= bits - 1) {
      const std::uint32_t n = i * 32 + static_cast<std::uint32_t>(std::countr_zero(bits));
      if (list.push_back(n) != kOk) return kOutOfMemory;
    }
  }
  return kOk;
}

void BitSet::trim() {
  std::uint32_t size = words_.size();
  while (size > 0 && words_[size - 1] == 0) --size;
  words_.resize(size);
  if (size == 0) lowest_ = -1;
}

int make_union(const BitSet& a, const BitSet& b, BitSet* out) {
  BitSet result;
  if (const int status = result.assign(a); status != kOk) return status;
  if (const int status = result.unite(b); status != kOk) return status;
  *out = std::move(result);
  return kOk;
}

int make_difference(const BitSet& a, const BitSet& b, BitSet* out) {
  BitSet result;
  if (const int status = result.assign(a); status != kOk) return status;
  result.subtract(b);
  *out = std::move(result);
  return kOk;
}

BitSetIterator::BitSetIterator(const BitSet& set) { status_ = starting_at(set, 0); }

int BitSetIterator::starting_at(const BitSet& set, std::uint32_t v) {
  members_.clear();
  status_ = set.append_indices(members_);
  position_ = static_cast<std::uint32_t>(std::lower_bound(members_.begin(), members_.end(), v) -
                                         members_.begin());
  if (status_ != kOk) position_ = members_.size();
  return status_;
}

}  // namespace inkrec

#include "engine/segmentation/code_sequence_table.h"

#include <algorithm>
#include <bit>

#include "engine/segmentation/code_sequence_hash.h"

namespace inkrec {
namespace {

constexpr std::size_t kFirstSlotCount = 256;
// Spreads a hash over the slots by its high bits (Fibonacci hashing).
constexpr std::uint64_t kSpread = 0x9E3779B97F4A7C15ull;

}  // namespace

std::size_t CodeSequenceIndex::home_of(std::uint64_t hash) const {
  return static_cast<std::size_t>((hash * kSpread) >> shift_);
}

bool CodeSequenceIndex::same_key(const Slot& slot, std::uint64_t lead, std::uint64_t hash,
                                 std::span<const std::uint16_t> codes) const {
  if (slot.tag != static_cast<std::uint32_t>(hash)) return false;
  const Key& key = keys_[slot.key];
  if (key.hash != hash || key.lead != lead || key.code_count != codes.size()) return false;
  // Keys are a few codes long: a loop beats a call to compare memory.
  const std::uint16_t* stored = codes_.data() + key.first_code;
  for (std::size_t k = 0; k < codes.size(); ++k) {
    if (stored[k] != codes[k]) return false;
  }
  return true;
}

std::size_t CodeSequenceIndex::slot_of(std::uint64_t lead, std::uint64_t hash,
                                       std::span<const std::uint16_t> codes) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t s = home_of(hash);; s = (s + 1) & mask) {
    const Slot& slot = slots_[s];
    if (slot.clearing != clearing_ || same_key(slot, lead, hash, codes)) return s;
  }
}

std::uint32_t CodeSequenceIndex::find(std::uint64_t lead,
                                      std::span<const std::uint16_t> codes) const {
  if (keys_.empty()) return kAbsent;
  const Slot& slot = slots_[slot_of(lead, hash_code_sequence(lead, codes), codes)];
  return slot.clearing == clearing_ ? slot.key : kAbsent;
}

std::uint32_t CodeSequenceIndex::find_or_add(std::uint64_t lead,
                                             std::span<const std::uint16_t> codes,
                                             bool* added) {
  if (2 * (keys_.size() + 1) > slots_.size()) grow();
  const std::uint64_t hash = hash_code_sequence(lead, codes);
  Slot& slot = slots_[slot_of(lead, hash, codes)];
  *added = slot.clearing != clearing_;
  if (!*added) return slot.key;
  const Key key{lead, hash, static_cast<std::uint32_t>(codes_.size()),
                static_cast<std::uint32_t>(codes.size())};
  codes_.insert(codes_.end(), codes.begin(), codes.end());
  keys_.push_back(key);
  slot = {clearing_, size() - 1, static_cast<std::uint32_t>(hash)};
  return slot.key;
}

void CodeSequenceIndex::clear() {
  keys_.clear();
  codes_.clear();
  if (++clearing_ != 0) return;
  // The clearings have come round: no slot may keep an old number.
  std::fill(slots_.begin(), slots_.end(), Slot{});
  clearing_ = 1;
}

void CodeSequenceIndex::grow() {
  const std::size_t count = std::max(kFirstSlotCount, 2 * slots_.size());
  slots_.assign(count, Slot{});
  shift_ = 64 - std::countr_zero(count);
  const std::size_t mask = count - 1;
  for (std::uint32_t k = 0; k < size(); ++k) {
    std::size_t s = home_of(keys_[k].hash);
    while (slots_[s].clearing == clearing_) s = (s + 1) & mask;
    slots_[s] = {clearing_, k, static_cast<std::uint32_t>(keys_[k].hash)};
  }
}

}  // namespace inkrec

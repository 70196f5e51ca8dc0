// The short prefixes' letter marks, held by an open-addressing table.

#include "engine/database/letter_entry_cache.h"

#include <utility>

#include "engine/foundation/status.h"

namespace inkrec {
namespace {

constexpr std::uint32_t kFirstSlots = 1024;

std::uint32_t hash_of(std::uint64_t units, std::uint8_t length) {
  std::uint64_t h = (units ^ (std::uint64_t{length} << 61)) * 0x9E3779B97F4A7C15ull;
  return static_cast<std::uint32_t>(h >> 32);
}

}  // namespace

void LetterEntryCache::clear() {
  slots_.release();
  marks_.release();
  held_ = 0;
}

void LetterEntryCache::swap(LetterEntryCache& other) noexcept {
  slots_.swap(other.slots_);
  marks_.swap(other.marks_);
  std::swap(held_, other.held_);
}

std::uint64_t LetterEntryCache::packed(std::u16string_view prefix) {
  std::uint64_t units = 0;
  for (std::size_t i = 0; i < prefix.size(); ++i) units |= std::uint64_t{prefix[i]} << (16 * i);
  return units;
}

std::uint32_t LetterEntryCache::slot_for(std::uint64_t units, std::uint8_t length) const {
  const std::uint32_t mask = slots_.size() - 1;
  std::uint32_t i = hash_of(units, length) & mask;
  while (slots_[i].used && (slots_[i].units != units || slots_[i].length != length)) {
    i = (i + 1) & mask;
  }
  return i;
}

bool LetterEntryCache::find(std::u16string_view prefix, std::span<const Mark>* marks) const {
  if (prefix.size() > kMaxPrefixUnits || slots_.empty()) return false;
  const Slot& slot = slots_[slot_for(packed(prefix), static_cast<std::uint8_t>(prefix.size()))];
  if (!slot.used) return false;
  *marks = marks_.span().subspan(slot.first, slot.count);
  return true;
}

bool LetterEntryCache::add(std::u16string_view prefix, std::span<const Mark> marks) {
  if (prefix.size() > kMaxPrefixUnits || held_ >= kMaxPrefixes) return false;
  if (2 * (held_ + 1) > slots_.size() && !grow()) return false;
  const std::uint64_t units = packed(prefix);
  const auto length = static_cast<std::uint8_t>(prefix.size());
  Slot& slot = slots_[slot_for(units, length)];
  if (slot.used) return false;
  const std::uint32_t first = marks_.size();
  if (marks_.append(marks) != kOk) return false;
  slot = {units, first, static_cast<std::uint32_t>(marks.size()), length, true};
  ++held_;
  return true;
}

// Twice the slots (kFirstSlots at first), every held prefix placed again.
bool LetterEntryCache::grow() {
  DynArray<Slot> old;
  const std::uint32_t size = slots_.empty() ? kFirstSlots : 2 * slots_.size();
  DynArray<Slot> larger;
  if (larger.resize(size) != kOk) return false;
  old.swap(slots_);
  slots_.swap(larger);
  for (const Slot& slot : old) {
    if (slot.used) slots_[slot_for(slot.units, slot.length)] = slot;
  }
  return true;
}

}  // namespace inkrec

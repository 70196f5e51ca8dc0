// The prefixes' letter marks, held by an open-addressing table.

#include "engine/database/letter_mark_cache.h"

#include <algorithm>
#include <utility>

#include "engine/foundation/status.h"

namespace inkrec {
namespace {

constexpr std::uint32_t kFirstSlots = 1024;

}  // namespace

void LetterMarkCache::clear() {
  slots_.release();
  units_.release();
  marks_.release();
  held_ = 0;
}

void LetterMarkCache::swap(LetterMarkCache& other) noexcept {
  slots_.swap(other.slots_);
  units_.swap(other.units_);
  marks_.swap(other.marks_);
  std::swap(held_, other.held_);
}

// FNV-1a over the units.
std::uint32_t LetterMarkCache::hash_of(std::u16string_view prefix) {
  std::uint32_t h = 2166136261u;
  for (const char16_t unit : prefix) h = (h ^ unit) * 16777619u;
  return h;
}

std::u16string_view LetterMarkCache::prefix_of(const Slot& slot) const {
  return {units_.data() + slot.units, slot.length};
}

std::uint32_t LetterMarkCache::slot_for(std::u16string_view prefix, std::uint32_t hash) const {
  const std::uint32_t mask = slots_.size() - 1;
  std::uint32_t i = hash & mask;
  while (slots_[i].used && (slots_[i].hash != hash || prefix_of(slots_[i]) != prefix)) {
    i = (i + 1) & mask;
  }
  return i;
}

bool LetterMarkCache::find(std::u16string_view prefix, std::span<const Mark>* marks) const {
  if (slots_.empty()) return false;
  const Slot& slot = slots_[slot_for(prefix, hash_of(prefix))];
  if (!slot.used) return false;
  *marks = marks_.span().subspan(slot.marks, slot.count);
  return true;
}

bool LetterMarkCache::add(std::u16string_view prefix, std::span<const Mark> marks) {
  if (prefix.size() > kMaxPrefixUnits || marks.size() > kMaxMarks || held_ >= kMaxPrefixes) {
    return false;
  }
  if (2 * (held_ + 1) > slots_.size() && !grow()) return false;
  const std::uint32_t hash = hash_of(prefix);
  Slot& slot = slots_[slot_for(prefix, hash)];
  if (slot.used) return false;
  const std::uint32_t units = units_.size();
  const std::uint32_t first = marks_.size();
  if (units_.append_n(prefix.data(), static_cast<std::uint32_t>(prefix.size())) != kOk) {
    return false;
  }
  if (marks_.append(marks) != kOk) {
    units_.resize(units);
    return false;
  }
  slot = {hash, units, first, static_cast<std::uint16_t>(prefix.size()),
          static_cast<std::uint16_t>(marks.size()), true};
  ++held_;
  return true;
}

// Twice the slots (kFirstSlots at first), every held prefix placed again.
bool LetterMarkCache::grow() {
  const std::uint32_t size = slots_.empty() ? kFirstSlots : 2 * slots_.size();
  DynArray<Slot> larger;
  if (larger.resize(size) != kOk) return false;
  DynArray<Slot> old;
  old.swap(slots_);
  slots_.swap(larger);
  for (const Slot& slot : old) {
    if (slot.used) slots_[slot_for(prefix_of(slot), slot.hash)] = slot;
  }
  return true;
}

void LetterMarkSet::add(std::uint16_t letter, std::uint32_t state) {
  LetterMarkCache::Mark* const end = marks_ + count_;
  LetterMarkCache::Mark* held = std::find_if(
      marks_, end, [letter](const LetterMarkCache::Mark& m) { return m.letter == letter; });
  if (held != end) {
    held->state = std::max(held->state, state);
  } else if (count_ < kRoom) {
    marks_[count_++] = {letter, state};
  } else {
    full_ = true;
  }
}

}  // namespace inkrec

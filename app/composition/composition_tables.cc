#include "app/composition/composition_tables.h"

#include <iterator>
#include <new>

#include "app/composition/table_fills.h"

namespace ductra {

CompositionTables::CompositionTables() {
  try {
    build();
    ok_ = true;
  } catch (const std::bad_alloc&) {
    discard_slots();
  }
}

void CompositionTables::build() {
  for (const SlotFill& step : kFillsBeforePrefixing) fill(step);
  add_prefixed_variants();
  for (const SlotFill& step : kFillsAfterPrefixing) fill(step);
}

void CompositionTables::fill(const SlotFill& step) {
  start_slot(step);
  PatternSlot& patterns = pattern_slots_[step.charset];
  patterns.reserve(patterns.size() + step.patterns.size());
  for (const PatternEntry* entry : step.patterns) patterns.emplace_back(*entry);
  CompositionSlot& compositions = composition_slots_[step.charset];
  compositions.reserve(compositions.size() + step.compositions.size());
  for (const CompositionEntry* entry : step.compositions) compositions.emplace_back(*entry);
}

void CompositionTables::start_slot(const SlotFill& step) {
  PatternSlot& slot = pattern_slots_[step.charset];
  switch (step.start) {
    case SlotStart::kEmpty:
      slot.clear();
      break;
    case SlotStart::kCommonSet:
      slot.clear();
      slot.reserve(std::size(kCommonSet));
      for (const PatternEntry* entry : kCommonSet) slot.emplace_back(*entry);
      break;
    case SlotStart::kCopyOfSlot:
      slot = pattern_slots_[step.source_slot];
      break;
  }
}

void CompositionTables::add_prefixed_variants() {
  const CodeList prefix{kPrefixCode};
  for (PatternSlot& slot : pattern_slots_) {
    const std::size_t n = slot.size();
    slot.reserve(2 * n);
    for (std::size_t j = 0; j < n; ++j) {
      CodePattern copy = slot[j];
      if (copy.insert_list(0, prefix) != 0) throw std::bad_alloc();
      slot.push_back(std::move(copy));
    }
  }
}

void CompositionTables::discard_slots() {
  for (PatternSlot& slot : pattern_slots_) PatternSlot().swap(slot);
  for (CompositionSlot& slot : composition_slots_) CompositionSlot().swap(slot);
}

std::span<const CodePattern> CompositionTables::patterns(int charset) const {
  if (!valid_charset(charset)) return {};
  return pattern_slots_[charset];
}

std::span<const Composition> CompositionTables::compositions(int charset) const {
  if (!valid_charset(charset)) return {};
  return composition_slots_[charset];
}

bool CompositionTables::select_charsets(std::span<const int> charsets) {
  active_pattern_slots_.clear();
  active_composition_slots_.clear();
  try {
    for (int charset : charsets) {
      if (!valid_charset(charset)) continue;
      active_pattern_slots_.push_back(&pattern_slots_[charset]);
      active_composition_slots_.push_back(&composition_slots_[charset]);
    }
  } catch (const std::bad_alloc&) {
    active_pattern_slots_.clear();
    active_composition_slots_.clear();
    reset_candidates();
    return false;
  }
  return reset_candidates();
}

bool CompositionTables::reset_candidates() {
  position_ = 0;
  pattern_candidates_.clear();
  composition_candidates_.clear();
  composition_positions_.clear();
  try {
    for (const PatternSlot* slot : active_pattern_slots_) {
      for (const CodePattern& pattern : *slot) pattern_candidates_.push_back(&pattern);
    }
  } catch (const std::bad_alloc&) {
    pattern_candidates_.clear();
    return false;
  }
  return true;
}

}  // namespace ductra

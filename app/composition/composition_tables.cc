#include "app/composition/composition_tables.h"

#include <iterator>
#include <new>

#include "app/composition/table_fills.h"
#include "app/composition/unique_set.h"

namespace ductra {
namespace {

// The distinct values of `field` among the readings not rejected, in
// first-seen order; when memory runs out, those collected so far.
template <class T>
void collect_distinct(std::span<const Reading> readings, T Reading::*field, std::vector<T>& set) {
  set.clear();
  try {
    for (const Reading& reading : readings) {
      if (reading.state != kRejectedReading) add_unique(set, reading.*field);
    }
  } catch (const std::bad_alloc&) {
  }
}

bool position_accepts(const CodeList& position, std::span<const std::uint16_t> codes) {
  return position.is_wildcard() || position.shares_code(codes);
}

}  // namespace

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

MatchResult CompositionTables::match(const OutputFigure& figure, const OutputGroup& group) {
  std::vector<std::uint16_t> codes;
  std::vector<char16_t> characters;
  return match_step(figure, group, codes, characters);
}

MatchResult CompositionTables::match_step(const OutputFigure& figure, const OutputGroup& group,
                                          std::vector<std::uint16_t>& codes,
                                          std::vector<char16_t>& characters) {
  collect_distinct(figure.readings, &Reading::figure_code, codes);
  collect_distinct(group.answers, &Reading::character, characters);
  const std::uint32_t step = position_++;
  const bool patterns_were_pending = !pattern_candidates_.empty();
  StepTally tally;
  step_patterns(step, codes, characters, tally);
  step_compositions(codes, tally);
  start_compositions(characters, tally);
  return decide(tally, patterns_were_pending);
}

void CompositionTables::step_patterns(std::uint32_t step, std::span<const std::uint16_t> codes,
                                      std::span<const char16_t> characters, StepTally& tally) {
  std::erase_if(pattern_candidates_, [&](const CodePattern* pattern) {
    if (pattern->position_count() <= step || !position_accepts(pattern->positions()[step], codes)) {
      return true;
    }
    if (pattern->characters().empty()) {
      tally.plain_match = true;
    } else if (shares_letter(pattern->characters(), characters)) {
      tally.expected_answered = true;
    }
    const bool last = pattern->position_count() == step + 1;
    ++(last ? tally.completed : tally.continuing);
    return last;
  });
}

void CompositionTables::step_compositions(std::span<const std::uint16_t> codes, StepTally& tally) {
  std::erase_if(composition_candidates_, [&](CompositionCandidate& candidate) {
    const CodePattern& marks = candidate.composition->pattern();
    if (marks.position_count() <= candidate.position ||
        !marks.positions()[candidate.position].shares_code(codes)) {
      return true;
    }
    tally.plain_match = true;
    const bool last = marks.position_count() == ++candidate.position;
    ++(last ? tally.completed : tally.continuing);
    return last;
  });
}

void CompositionTables::start_compositions(std::span<const char16_t> characters,
                                           StepTally& tally) {
  for (const CompositionSlot* slot : active_composition_slots_) {
    for (const Composition& composition : *slot) {
      if (!composition.letters().shares_letter(characters)) continue;
      tally.started = true;
      try {
        composition_candidates_.push_back({&composition, 0});
      } catch (const std::bad_alloc&) {
      }
    }
  }
}

MatchResult CompositionTables::decide(const StepTally& tally, bool patterns_were_pending) {
  const bool something_matched = tally.completed > 0 || tally.continuing > 0;
  if (tally.started) return something_matched ? kMatchAmbiguous : kMatchStarted;
  if (tally.completed == 0) {
    if (tally.continuing > 0) return kMatchContinuing;
    return patterns_were_pending ? kMatchRejected : kMatchIdle;
  }
  if (tally.continuing > 0) return kMatchAmbiguous;
  return tally.plain_match || tally.expected_answered ? kMatchComplete : kMatchRejected;
}

}  // namespace ductra

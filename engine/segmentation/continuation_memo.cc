#include "engine/segmentation/continuation_memo.h"

#include <algorithm>

namespace inkrec {
namespace {

bool same_steps(std::span<const LetterStep> a, std::span<const LetterStep> b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const LetterStep& x, const LetterStep& y) {
                      return x.group == y.group && x.answer == y.answer;
                    });
}

bool same_origin(const SearchOrigin& a, const SearchOrigin& b) {
  return a.last_group == b.last_group && a.last_answer == b.last_answer && a.carry == b.carry &&
         a.start == b.start && a.steps == b.steps && a.weight == b.weight &&
         a.strokes == b.strokes;
}

// Whether every path searched from `a` reads its continuations at least as
// well as one from `b`.
bool reads_no_worse(const SearchOrigin& a, const SearchOrigin& b) {
  return a.weighted_total >= b.weighted_total && a.extra >= b.extra;
}

// The leading part of a state's key: its place and covered positions.
std::uint64_t lead_of(const SearchState& state) {
  return std::uint64_t{state.place} << 32 | state.covered;
}

}  // namespace

SearchState state_before_step(const LetterPath& path, std::uint32_t s) {
  std::uint32_t code_count = 0;
  for (std::uint32_t k = 0; k < s; ++k) code_count += path.steps[k].code_count;
  const LetterStep& step = path.steps[s];
  return {step.search_place, step.search_covered,
          path.codes.span().first(std::min(code_count, path.codes.size()))};
}

void MemoEntry::reset() {
  value = 0;
  closed = false;
  continuations.clear();
  first_origin = kNoOrigin;
  searched = 0;
}

MemoEntry& ContinuationMemo::entry_of(States& states, const SearchState& state) {
  bool added = false;
  MemoEntry& entry = states.find_or_add(lead_of(state), state.codes, &added);
  if (added) entry.reset();
  return entry;
}

MemoEntry* ContinuationMemo::find(const SearchState& state) {
  return states_.find(lead_of(state), state.codes);
}

MemoEntry& ContinuationMemo::add(const SearchState& state, std::int32_t value) {
  MemoEntry& entry = entry_of(states_, state);
  entry.value = value;
  return entry;
}

void ContinuationMemo::close(const SearchState& state) {
  if (MemoEntry* entry = find(state); entry != nullptr) entry->closed = true;
}

void ContinuationMemo::add_continuation(const SearchState& state, const LetterPath& path,
                                        std::uint32_t first, std::int16_t target) {
  MemoEntry* entry = find(state);
  if (entry == nullptr) return;
  const std::span<const LetterStep> after = path.steps.span().subspan(first);
  for (const Continuation& known : entry->continuations) {
    if (known.target == target && same_steps(known.steps, after)) return;
  }
  entry->continuations.push_back({{after.begin(), after.end()}, target});
}

bool ContinuationMemo::claim_short_search(const SearchState& state, const SearchOrigin& origin) {
  return claim_search(entry_of(short_states_, state), origin);
}

bool ContinuationMemo::searched_after(const MemoEntry& entry,
                                      const SearchOrigin& origin) const {
  for (std::uint32_t k = entry.first_origin; k != MemoEntry::kNoOrigin; k = origins_[k].next) {
    const SearchOrigin& known = origins_[k].origin;
    if (known.last_group == origin.last_group && known.last_answer == origin.last_answer) {
      return true;
    }
  }
  return false;
}

bool ContinuationMemo::claim_search(MemoEntry& entry, const SearchOrigin& origin) {
  for (std::uint32_t k = entry.first_origin; k != MemoEntry::kNoOrigin; k = origins_[k].next) {
    const SearchOrigin& known = origins_[k].origin;
    if (same_origin(known, origin) && reads_no_worse(known, origin)) return false;
  }
  // The origins the new one outdoes leave the chain.
  for (std::uint32_t* link = &entry.first_origin; *link != MemoEntry::kNoOrigin;) {
    const OriginLink& known = origins_[*link];
    if (same_origin(known.origin, origin) && reads_no_worse(origin, known.origin)) {
      *link = known.next;
      --entry.searched;
    } else {
      link = &origins_[*link].next;
    }
  }
  origins_.push_back({origin, entry.first_origin});
  entry.first_origin = static_cast<std::uint32_t>(origins_.size() - 1);
  ++entry.searched;
  return true;
}

}  // namespace inkrec

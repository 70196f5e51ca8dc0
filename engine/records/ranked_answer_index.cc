// Ranking answers by light entries, and writing the ranked list.

#include "engine/records/ranked_answer_index.h"

#include <algorithm>

#include "engine/foundation/status.h"

namespace inkrec {

std::uint32_t RankedAnswerIndex::place_of_key(std::uint16_t key) const {
  const Entry* const e =
      std::find_if(entries_.begin(), entries_.end(), [key](const Entry& h) { return h.key == key; });
  return static_cast<std::uint32_t>(e - entries_.begin());
}

void RankedAnswerIndex::drop(std::uint32_t i) {
  const std::int32_t dropped = entries_[i].total;
  entries_[i] = entries_.back();
  entries_.pop_back();
  if (dropped != last_ || entries_.empty()) return;
  last_ = std::min_element(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
            return a.total < b.total;
          })->total;
}

// The rule of insert_ranked, read off the best and last totals: an entry
// not above the last would be appended, any other goes before worse ones
// and displaces its key's entry.
int RankedAnswerIndex::insert(const Answer& answer, std::uint32_t slot, KeyCheck keys) {
  const std::int32_t t = answer.total();
  const std::uint32_t n = entries_.size();
  const bool appended = n == 0 || t <= last_;
  if (n > 10 && (std::int64_t{best_} - t > 1100 || t < 5000) && appended) return kOk;
  const std::uint32_t held = keys == KeyCheck::kLook ? place_of_key(answer.key) : n;
  if (held < n && entries_[held].total >= t) return kOk;
  if (appended && n >= limit_) return kOk;
  if (!entries_.reserve(1)) return kOutOfMemory;
  if (held < n) drop(held);
  const bool first = entries_.empty();
  best_ = first ? t : std::max(best_, t);
  last_ = first ? t : std::min(last_, t);
  return entries_.push_back(Entry{t, answer.key, slot, taken_++});  // room was made
}

void RankedAnswerIndex::sort_ranked() {
  std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
    return a.total != b.total ? a.total > b.total : a.taken < b.taken;
  });
}

int RankedAnswerIndex::write_to(std::span<const Answer> pool, AnswerList& list) {
  sort_ranked();
  DynArray<Answer>& answers = list.answers();
  answers.clear();
  if (answers.reserve_total(entries_.size()) != kOk) return kOutOfMemory;
  for (const Entry& entry : entries_) {
    if (entry.slot >= pool.size() || answers.push_back(pool[entry.slot]) != kOk) {
      answers.clear();
      return entry.slot >= pool.size() ? kBadArgument : kOutOfMemory;
    }
  }
  return kOk;
}

}  // namespace inkrec

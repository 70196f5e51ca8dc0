// Ranking answers by light entries, and writing the ranked list.

#include "engine/records/ranked_answer_index.h"

#include "engine/foundation/status.h"

namespace inkrec {

int RankedAnswerIndex::insert(const Answer& answer, std::uint32_t slot, KeyCheck keys) {
  return insert_ranked(entries_, Entry{answer.total(), answer.key, slot}, limit_, keys);
}

int RankedAnswerIndex::write_to(std::span<const Answer> pool, AnswerList& list) const {
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

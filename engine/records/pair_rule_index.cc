#include "engine/records/pair_rule_index.h"

#include <algorithm>

#include "engine/foundation/status.h"
#include "engine/records/letter_fields.h"

namespace inkrec {

bool has_answer_key(const DynArray<std::uint16_t>& keys, std::uint16_t key) {
  return answer_key_position(keys, key) < keys.size();
}

std::uint32_t answer_key_position(const DynArray<std::uint16_t>& keys, std::uint16_t key) {
  const auto found = std::find(keys.begin(), keys.end(), key);
  return static_cast<std::uint32_t>(found - keys.begin());
}

void PairRuleIndex::clear() {
  rules_.clear();
  by_key_.clear();
}

int PairRuleIndex::rebuild(const PtrArray<const TuplesEntry>& selection) {
  clear();
  for (const TuplesEntry* group : selection) {
    if (group == nullptr) continue;
    for (const Tuple& rule : group->tuples) {
      const std::uint32_t place = rules_.size();
      if (rules_.push_back(&rule) != kOk) {
        clear();
        return kOutOfMemory;
      }
      for (const std::uint16_t key : first_keys(rule)) {
        if (by_key_.push_back(KeyEntry{key, place}) != kOk) {
          clear();
          return kOutOfMemory;
        }
      }
    }
  }
  const auto order = [](const KeyEntry& a, const KeyEntry& b) {
    return a.key != b.key ? a.key < b.key : a.rule < b.rule;
  };
  const auto same = [](const KeyEntry& a, const KeyEntry& b) {
    return a.key == b.key && a.rule == b.rule;
  };
  std::sort(by_key_.begin(), by_key_.end(), order);
  const KeyEntry* last = std::unique(by_key_.begin(), by_key_.end(), same);
  by_key_.erase(static_cast<std::uint32_t>(last - by_key_.begin()),
                static_cast<std::uint32_t>(by_key_.end() - last));
  return kOk;
}

int PairRuleIndex::find(std::uint16_t second_key, bool second_marked, std::uint16_t first_key,
                        bool first_marked, DynArray<PairRuleHit>& hits) const {
  const std::uint8_t second_flag = second_marked ? 1 : 0;
  const std::uint8_t first_flag = first_marked ? 1 : 0;
  const auto below = [](const KeyEntry& e, std::uint16_t key) { return e.key < key; };
  for (const KeyEntry* e = std::lower_bound(by_key_.begin(), by_key_.end(), second_key, below);
       e != by_key_.end() && e->key == second_key; ++e) {
    const Tuple& rule = *rules_[e->rule];
    if (second_side_flag(rule) != second_flag) continue;
    if (!has_answer_key(second_keys(rule), first_key)) continue;
    if (first_side_flag(rule) != first_flag) continue;
    // A hit that cannot be kept is dropped; the others still count.
    hits.push_back(PairRuleHit{&joined_keys(rule), tuple_kind(rule), joined_reading_flag(rule)});
  }
  return kOk;
}

}  // namespace inkrec

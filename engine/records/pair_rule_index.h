// PairRuleIndex: the pair rules of a kernel's active charsets, indexed by
// the reading key they name for the second element, and the look-up of the
// rules that apply to two neighbouring readings.
//
// A pair rule (a Tuple of the database, read through letter_fields.h) names
// the answer keys of both elements' readings, the keys of the joined
// group's readings that make its test run, and the test itself (its kind).
// The index is rebuilt, never edited, from the kernel's active tuple
// selection whenever that selection is refreshed; it points into the
// selection's groups and is valid until the next rebuild. A look-up reads
// only the rules that name the second key, in the order of a walk over the
// selection's groups and their rules, so the hits come out in that order.
#pragma once

#include <cstdint>

#include "engine/database/tuples.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/ptr_array.h"

namespace inkrec {

// One applying rule: its joined key list, its kind (the rule's signed
// 16-bit kind widened) and its joined-reading flag.
struct PairRuleHit {
  const DynArray<std::uint16_t>* joined_keys = nullptr;
  std::int32_t kind = 0;
  std::uint8_t joined_reading = 0;
};

// Whether a key list holds the key (no for an empty list), and the position
// of its first occurrence (the list's count when it is absent).
bool has_answer_key(const DynArray<std::uint16_t>& keys, std::uint16_t key);
std::uint32_t answer_key_position(const DynArray<std::uint16_t>& keys, std::uint16_t key);

class PairRuleIndex {
 public:
  // Indexes the rules of the groups, in their order: 0, or -1 when memory
  // runs out, which leaves the index empty (no rule applies).
  int rebuild(const PtrArray<const TuplesEntry>& selection);
  void clear();

  // Appends to `hits` (not emptied) every rule that applies to a pair whose
  // second element reads `second_key` (`second_marked`: that reading's kind
  // byte is non-zero) and whose first element reads `first_key`: the second
  // key stands in the rule's first key list, its second side flag is the
  // second reading's kind (1 marked, 0 plain), the first key stands in its
  // second key list and its first side flag is the first reading's kind.
  // A rule that stands in two selected groups applies twice. A hit that
  // cannot be appended for want of memory is dropped and the look-up goes
  // on; it always returns 0.
  int find(std::uint16_t second_key, bool second_marked, std::uint16_t first_key,
           bool first_marked, DynArray<PairRuleHit>& hits) const;

  std::uint32_t rule_count() const { return rules_.size(); }

 private:
  struct KeyEntry {
    std::uint16_t key;
    std::uint32_t rule;  // the rule's place in the walk over the selection
  };

  DynArray<const Tuple*> rules_;
  DynArray<KeyEntry> by_key_;  // by key, then by rule; one entry per key and rule
};

// The look-up under its own name: `PairRuleIndex::find` over the kernel's
// index.
inline int find_pair_rules(std::uint16_t second_key, bool second_marked, std::uint16_t first_key,
                           bool first_marked, DynArray<PairRuleHit>& hits,
                           const PairRuleIndex& rules) {
  return rules.find(second_key, second_marked, first_key, first_marked, hits);
}

}  // namespace inkrec

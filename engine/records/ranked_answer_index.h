// RankedAnswerIndex: the order an answer list gives a run of answers, kept
// as light entries (total, key, place in a pool of the answers) so that
// ranking many answers moves a few bytes each rather than whole answers.
//
// Inserting pool[slot] for each answer of a run and then write_to() gives
// exactly the list AnswerList::insert_into_sorted grows from the same run
// into an empty list of the same limit (ranked_insertion.h states the
// rule). The list's order is only needed when it is written, so the
// entries are held unordered with the best and the last total the rule
// looks at, each numbered in the order it was taken, and sorted once per
// write: an insertion costs a few steps however long the list is, where
// keeping the entries in order moved half of them each time.
#pragma once

#include <cstdint>
#include <span>

#include "engine/foundation/dyn_array.h"
#include "engine/records/answer_list.h"
#include "engine/records/ranked_insertion.h"

namespace inkrec {

class RankedAnswerIndex {
 public:
  // An empty index that appends only up to `limit` entries, as a list of
  // that limit does.
  explicit RankedAnswerIndex(std::uint32_t limit) : limit_(limit) {}

  // Ranks the answer, held by the caller's pool at `slot`: 0, or -1 with
  // the index unchanged when it cannot grow.
  int insert(const Answer& answer, std::uint32_t slot, KeyCheck keys);
  // Room for n entries: 0 or -1.
  int reserve(std::uint32_t n) { return entries_.reserve_total(n); }
  // Makes the list's answers the pool's answers in ranked order (the list
  // keeps its limit and its table of seen codes): 0; -2 for a slot outside
  // the pool or -1 when the list cannot grow, either with the list emptied.
  // The index goes on ranking afterwards as before.
  int write_to(std::span<const Answer> pool, AnswerList& list);

 private:
  struct Entry {
    std::int32_t total;
    std::uint16_t key;
    std::uint32_t slot;
    std::uint32_t taken;  // the order of taking, which breaks ties
  };

  // The place of the entry holding key; the number of entries when none does.
  std::uint32_t place_of_key(std::uint16_t key) const;
  // Drops entry i, keeping the last total right.
  void drop(std::uint32_t i);
  void sort_ranked();

  DynArray<Entry> entries_;  // in no order until sorted for a write
  std::int32_t best_ = 0;    // the greatest and least total held
  std::int32_t last_ = 0;
  std::uint32_t taken_ = 0;
  std::uint32_t limit_;
};

}  // namespace inkrec

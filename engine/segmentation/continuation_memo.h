// ContinuationMemo: what the letter search from one segment record has
// learnt about the places it passed, so that a path reaching a place again
// need not search on from it.
//
// A state is a place of the search (the first position not yet covered,
// the covered positions at and behind it) together with the codes read so
// far. The memo keeps, for each state met by a path of four steps or more,
// the value of the first path that reached it, whether it is closed (a
// path through it was refused), and the continuations found from it: the
// steps a stored letter path took after the state and the record they led
// to. A later path reaching the state with a value no lower may reuse them;
// a path with a lower value stops there when a path ending in the same
// reading searched from the state before (what follows a step, and the pair
// score of the next, depend on that reading: after another one the lower
// path may find what the first could not).
//
// A path that reaches a state again with a value no lower searches on from
// it only when that can still give it something new. What the search from
// a state finds depends on the path's origin as well: its last step (which
// groups may follow, the pair score of the next), its number of steps, the
// weight of its last letter, the strokes it covers and where the walk over
// the groups starts. A path whose weighted total and pair scores are both
// no greater than those of a path of the same origin searched from the
// state before could only read the same continuations worse, and goes no
// further. So each entry also keeps the origins searched from its state
// (of each, the paths not outdone on both sums); paths too short for an
// entry keep theirs the same way, apart from the entries.
//
// The memo lives for the search of one record; clear() forgets its states
// but keeps their room (code_sequence_table.h) for the next record, so that
// once it has grown to what a search needs, neither looking a state up nor
// adding one allocates; nor does keeping an origin, once the memo's list
// of origins has grown to what a search needs. A continuation still does
// (the standard containers' allocation failure is the only way the memo
// can fail).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "engine/segmentation/code_sequence_table.h"
#include "engine/segmentation/letter_path.h"

namespace inkrec {

class FigureGroup;

struct SearchState {
  std::uint32_t place = 0;    // position | line << 16
  std::uint32_t covered = 0;  // bit k: position + k is covered
  std::span<const std::uint16_t> codes;
};

// The state a path stood in before its step `s`.
SearchState state_before_step(const LetterPath& path, std::uint32_t s);

struct Continuation {
  std::vector<LetterStep> steps;  // the steps after the state
  std::int16_t target = -1;       // the record they lead to; -1 the box's end
};

// Where a path searching on from a state comes from (see above), and how
// well it read its strokes there.
struct SearchOrigin {
  const FigureGroup* last_group = nullptr;
  std::int16_t last_answer = 0;
  bool carry = false;
  std::uint32_t start = 0;  // the group the walk starts with
  std::uint32_t steps = 0;
  std::uint32_t weight = 0;
  std::int32_t strokes = 0;
  std::int32_t weighted_total = 0;
  std::int32_t extra = 0;  // the pair scores of the steps
};

struct MemoEntry {
  // Empties the entry for a new state, keeping the room of its lists.
  void reset();

  std::int32_t value = 0;  // of the first path that reached the state
  bool closed = false;
  std::vector<Continuation> continuations;
  // The origins searched from the state (for each origin, the best), a
  // chain through the memo's origins: the first link, and their number.
  static constexpr std::uint32_t kNoOrigin = 0xFFFFFFFF;
  std::uint32_t first_origin = kNoOrigin;
  std::uint32_t searched = 0;
};

class ContinuationMemo {
 public:
  // Forgets every state; keeps their room for the next search.
  void clear() {
    states_.clear();
    short_states_.clear();
    origins_.clear();
  }

  // The entry of the state; null when none was made.
  MemoEntry* find(const SearchState& state);
  // A new open entry with the value, for a state not met before.
  MemoEntry& add(const SearchState& state, std::int32_t value);
  // Closes the state's entry, when there is one.
  void close(const SearchState& state);
  // Adds to the state's entry, when there is one, the continuation of the
  // path from step `first` on towards `target`, unless it holds it already.
  void add_continuation(const SearchState& state, const LetterPath& path, std::uint32_t first,
                        std::int16_t target);
  // Whether a path of the origin may search on from the entry's state:
  // false when a path of the same origin with a weighted total and pair
  // scores both at least as great searched from there; otherwise true, and
  // the origin is kept as searched. The entry is one of this memo's, or one
  // made apart from it that no other memo chains origins to.
  bool claim_search(MemoEntry& entry, const SearchOrigin& origin);
  // Whether a path whose last step read the origin's last reading (the
  // same group and answer) searched from the entry's state.
  bool searched_after(const MemoEntry& entry, const SearchOrigin& origin) const;
  // The same for a path too short to have an entry: the origins searched
  // from the state are kept apart from the entries.
  bool claim_short_search(const SearchState& state, const SearchOrigin& origin);

 private:
  using States = CodeSequenceTable<MemoEntry>;

  // The state's entry, made empty when the state is new.
  static MemoEntry& entry_of(States& states, const SearchState& state);

  // One origin searched from a state, and the next of the state's chain.
  struct OriginLink {
    SearchOrigin origin;
    std::uint32_t next = MemoEntry::kNoOrigin;
  };

  States states_;
  States short_states_;  // only their origins are used
  // The origins of every entry's chain; an origin outdone leaves its chain
  // and its room stays unused until clear().
  std::vector<OriginLink> origins_;
};

}  // namespace inkrec

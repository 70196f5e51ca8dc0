// ReadingDigests: what the word search needs to know of each reading of a
// group before it tries the reading: its total, and the code a one-code
// reading is looked up by among the allowed letters (with the small letter
// it may stand for). Kept apart from the answers, a few bytes a reading,
// so that the search, which walks every reading of a group at each place
// it tries the group, passes over the readings the word list refuses
// without touching the answers themselves.
//
// A group's digest is made the first time it is asked for and stays where
// it is until clear(), however many groups are digested after it; the
// answers must not change while the digests live (the word search clears
// them for each box). So do the places of the readings a group may take
// among some letters, worked out the first time the group meets them: the
// search meets the same letters (those after one prefix) at a group again
// and again. clear() keeps the room of both: once it has grown to what a
// box needs, digesting allocates nothing.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "engine/foundation/char_slot_map.h"
#include "engine/segmentation/code_sequence_table.h"
#include "engine/segmentation/stable_pool.h"

namespace inkrec {

struct Answer;
class FigureGroup;

struct DigestedReading {
  // Whether the reading may be read among the letters: false only where
  // the word search would refuse it for its letter alone. A reading of
  // several codes, and the first reading when it also stands for its saved
  // codes, always may.
  bool may_be_read(const CharSlotMap& letters) const {
    if (with_saved || several_codes) return true;
    return letters.slot(code_slot) != CharSlotMap::kEmpty ||
           letters.slot(lower_slot) != CharSlotMap::kEmpty;
  }

  std::int32_t total = 0;
  // The slots of the code of a one-code reading and of the small letter
  // it may stand for (when it has both case forms) among the allowed
  // letters; kNoSlot where there is none.
  static constexpr std::uint8_t kNoSlot = 255;
  std::uint8_t code_slot = kNoSlot;
  std::uint8_t lower_slot = kNoSlot;
  bool several_codes = false;
  bool with_saved = false;  // the first reading, read through its saved codes too
};

// The readings of a group that may be read among some letters.
struct ReadableReadings {
  std::span<const DigestedReading> readings;  // the group's digest
  // The places in it of the readings that may be read, ascending.
  std::span<const std::uint32_t> places;
};

class ReadingDigests {
 public:
  // The code index (a slot per character code) must outlive the digests.
  explicit ReadingDigests(const DynArray<std::uint32_t>* code_index) { slots_.init(code_index); }

  // The digests of the group's readings, in the order of its answers;
  // empty for a group without answers.
  std::span<const DigestedReading> of(const FigureGroup& group);
  // The group's digest with the readings that may_be_read among the
  // letters. The letters are known by where they are: they must neither
  // move nor change until clear().
  ReadableReadings readable(const FigureGroup& group, const CharSlotMap& letters);
  void clear();

 private:
  DigestedReading digest(const Answer& answer, bool first) const;

  CharSlotMap slots_;  // only its code index is read
  CodeSequenceTable<std::span<const DigestedReading>> groups_;  // keyed by the group's address
  // Keyed by the group's address and the letters' (as four codes).
  CodeSequenceTable<ReadableReadings> readable_;
  StablePool<DigestedReading> readings_;
  StablePool<std::uint32_t> places_;
  std::vector<std::uint32_t> found_;  // the places being found, before they are kept
};

}  // namespace inkrec

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
// them for each box).
#pragma once

#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "engine/foundation/char_slot_map.h"

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

class ReadingDigests {
 public:
  // The code index (a slot per character code) must outlive the digests.
  explicit ReadingDigests(const DynArray<std::uint32_t>* code_index) { slots_.init(code_index); }

  // The digests of the group's readings, in the order of its answers;
  // empty for a group without answers.
  std::span<const DigestedReading> of(const FigureGroup& group);
  void clear();

 private:
  DigestedReading digest(const Answer& answer, bool first) const;

  CharSlotMap slots_;  // only its code index is read
  std::unordered_map<const FigureGroup*, std::vector<DigestedReading>> groups_;
};

}  // namespace inkrec

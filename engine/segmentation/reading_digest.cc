#include "engine/segmentation/reading_digest.h"

#include <algorithm>

#include "engine/foundation/capital_letters.h"
#include "engine/records/answer_list.h"
#include "engine/records/figure_group.h"

namespace inkrec {
namespace {

std::uint64_t address_of(const void* object) { return reinterpret_cast<std::uintptr_t>(object); }

std::uint8_t slot_of(const CharSlotMap& slots, std::uint16_t code) {
  const int index = slots.char_index(code);
  return index < 0 ? DigestedReading::kNoSlot : static_cast<std::uint8_t>(index);
}

}  // namespace

DigestedReading ReadingDigests::digest(const Answer& answer, bool first) const {
  DigestedReading reading;
  reading.total = answer.total();
  reading.with_saved = first && answer.flag != 0;
  const std::span<const std::uint16_t> codes = answer.output_codes(false);
  if (codes.size() > 1) {
    reading.several_codes = true;
  } else if (codes.size() == 1) {
    reading.code_slot = slot_of(slots_, codes[0]);
    const bool case_forms = answer.codes[1] != 0 && answer.codes[2] != 0 &&
                            answer.codes[1] != answer.codes[2];
    if (case_forms) reading.lower_slot = slot_of(slots_, lower_case_letter(codes[0]));
  }
  return reading;
}

std::span<const DigestedReading> ReadingDigests::of(const FigureGroup& group) {
  if (!group.has_answers()) return {};
  bool made = false;
  std::span<const DigestedReading>& kept = groups_.find_or_add(address_of(&group), {}, &made);
  if (made) {
    const DynArray<Answer>& answers = group.answers->answers();
    const std::span<DigestedReading> readings = readings_.take(answers.size());
    for (std::uint32_t a = 0; a < answers.size(); ++a) {
      readings[a] = digest(answers[a], a == 0);
    }
    kept = readings;
  }
  return kept;
}

ReadableReadings ReadingDigests::readable(const FigureGroup& group, const CharSlotMap& letters) {
  const std::uint64_t at = address_of(&letters);
  const std::uint16_t letters_key[4] = {
      static_cast<std::uint16_t>(at), static_cast<std::uint16_t>(at >> 16),
      static_cast<std::uint16_t>(at >> 32), static_cast<std::uint16_t>(at >> 48)};
  bool made = false;
  ReadableReadings& kept = readable_.find_or_add(address_of(&group), letters_key, &made);
  if (made) {
    kept.readings = of(group);
    found_.clear();
    for (std::uint32_t a = 0; a < kept.readings.size(); ++a) {
      if (kept.readings[a].may_be_read(letters)) found_.push_back(a);
    }
    const std::span<std::uint32_t> places = places_.take(found_.size());
    std::copy(found_.begin(), found_.end(), places.begin());
    kept.places = places;
  }
  return kept;
}

void ReadingDigests::clear() {
  groups_.clear();
  readable_.clear();
  readings_.clear();
  places_.clear();
}

}  // namespace inkrec

#include "engine/segmentation/reading_digest.h"

#include "engine/foundation/capital_letters.h"
#include "engine/records/answer_list.h"
#include "engine/records/figure_group.h"

namespace inkrec {
namespace {

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
  auto [place, made] = groups_.try_emplace(&group);
  std::vector<DigestedReading>& readings = place->second;
  if (made) {
    const DynArray<Answer>& answers = group.answers->answers();
    readings.reserve(answers.size());
    for (std::uint32_t a = 0; a < answers.size(); ++a) {
      readings.push_back(digest(answers[a], a == 0));
    }
  }
  return readings;
}

void ReadingDigests::clear() { groups_.clear(); }

}  // namespace inkrec

#include "engine/segmentation/path_text.h"

#include "engine/database/data_store.h"
#include "engine/foundation/status.h"
#include "engine/records/figure_group.h"

namespace inkrec {
namespace {

constexpr std::uint16_t kMarker = 31;

// The reading of a step and whether through its saved codes; null when
// there is none.
const Answer* reading_of(const LetterStep& step, bool* saved) {
  *saved = step.answer < 0;
  if (step.group == nullptr || step.group->answers == nullptr) return nullptr;
  const std::uint32_t index = *saved ? 0u : static_cast<std::uint32_t>(step.answer);
  return step.group->answers->answers().item_checked(index);
}

std::uint16_t form_or(std::uint16_t form, std::uint16_t code) { return form != 0 ? form : code; }

int put_symbols(std::span<const std::uint16_t> ids, const DataStore& store, bool alternative,
                DynArray<std::uint16_t>& out) {
  for (const std::uint16_t id : ids) {
    const Symb* symbol = store.find_symb(id);
    if (symbol == nullptr) return kBadArgument;
    const std::uint16_t form = alternative ? symbol->second_code : symbol->third_code;
    if (out.push_back(form_or(form, symbol->code)) != kOk) return kOutOfMemory;
  }
  return kOk;
}

int put_reading(const Answer& reading, bool saved, const DataStore& store, bool alternative,
                DynArray<std::uint16_t>& out) {
  const std::uint8_t count = saved ? reading.saved_count : reading.code_count;
  if (count > 1) {
    const std::uint16_t* ids = saved ? reading.saved_list : reading.code_list;
    return put_symbols({ids, std::min<std::size_t>(count, 3)}, store, alternative, out);
  }
  const std::uint16_t* codes = saved ? reading.saved_codes : reading.codes;
  const std::uint16_t form = alternative ? codes[2] : codes[1];
  return out.push_back(form_or(form, codes[0])) == kOk ? kOk : kOutOfMemory;
}

bool lies_in(int line, std::uint32_t low, std::uint32_t high, const LineSpan& span) {
  if (line < span.first_line || line > span.last_line) return false;
  if (line == span.first_line && std::int64_t{low} < span.first_position) return false;
  return !(line == span.last_line && std::int64_t{high} > span.last_position);
}

}  // namespace

int collect_path_characters(std::span<const LetterStep> steps, const DataStore& store,
                            bool alternative_forms, DynArray<std::uint16_t>& out) {
  if (!out.reserve(static_cast<std::uint32_t>(steps.size()))) return kOutOfMemory;
  bool marker = false;
  for (std::size_t s = 0; s < steps.size(); ++s) {
    bool saved = false;
    const Answer* reading = reading_of(steps[s], &saved);
    if (reading == nullptr) return kBadArgument;
    const std::uint16_t first = saved ? reading->saved_codes[0] : reading->codes[0];
    if (first == kMarker && s + 1 < steps.size()) {
      marker = true;
      continue;
    }
    const int status = first == kMarker
                           ? (out.push_back(kMarker) == kOk ? kOk : kOutOfMemory)
                           : put_reading(*reading, saved, store, marker || alternative_forms, out);
    if (status != kOk) return status;
    marker = false;
  }
  return kOk;
}

int collect_element_variants(const PtrArray<FigureGroup>& groups, const LineSpan& span,
                             PtrArray<FigureGroup>& out) {
  for (FigureGroup* group : groups) {
    if (group == nullptr) return kBadArgument;
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    if (!group->coverage.lowest_bit(&low) || !group->coverage.highest_bit(&high)) continue;
    const int line = group_line(*group);
    if (!lies_in(line, low, high, span)) continue;
    group->end_flag = line == span.last_line && std::int64_t{high} >= span.last_position ? 1 : 0;
    if (out.push_back(group) != kOk) return kOutOfMemory;
  }
  return kOk;
}

}  // namespace inkrec

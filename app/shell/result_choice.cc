#include "app/shell/result_choice.h"

#include <algorithm>
#include <new>

namespace ductra {

std::uint32_t alternative_count(const crResultChoice& choice) {
  return choice.candidates.data == nullptr ? 0 : choice.candidates.count;
}

std::u16string alternative_text(const crResultChoice& choice, std::uint32_t i) {
  if (i >= alternative_count(choice)) return {};
  const crDynArray& text = static_cast<const crDynArray*>(choice.candidates.data)[i];
  if (text.data == nullptr) return {};
  return std::u16string(static_cast<const char16_t*>(text.data), text.count);
}

bool set_returned_text(crResultChoice& choice, std::u16string_view text) {
  void* units = nullptr;
  if (!text.empty()) {
    units = ::operator new(text.size() * sizeof(char16_t), std::nothrow);
    if (units == nullptr) return false;
    std::copy(text.begin(), text.end(), static_cast<char16_t*>(units));
  }
  ::operator delete(choice.returned_text.data);
  choice.returned_text.data = units;
  choice.returned_text.count = static_cast<std::uint32_t>(text.size());
  choice.returned_text.capacity = static_cast<std::uint32_t>(text.size());
  return true;
}

void sanitise_answer(crResultChoice& choice) {
  const std::int32_t answer = choice.chosen;
  const bool names_an_alternative =
      answer >= 0 && static_cast<std::uint32_t>(answer) < alternative_count(choice);
  const bool allowed = names_an_alternative || answer == kChoiceKeep ||
                       answer == kChoiceReject ||
                       (answer == kChoiceWordAdded && choice.kind == kChoiceWord);
  if (!allowed) choice.chosen = kChoiceKeep;
}

}  // namespace ductra

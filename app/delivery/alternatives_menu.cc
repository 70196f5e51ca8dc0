#include "app/delivery/alternatives_menu.h"

#include <algorithm>

#include "app/common/key_name.h"
#include "app/shell/result_choice.h"

namespace ductra {
namespace {

// A menu shows "&" doubled, or it would mark the next letter.
std::u16string_view unit_name(char16_t unit) { return unit == u'&' ? u"&&" : control_key_name(unit); }

std::uint32_t shown_alternatives(const crResultChoice& choice) {
  return std::min(alternative_count(choice), kMostAlternatives);
}

}  // namespace

std::u16string spelled_out(std::u16string_view alternative) {
  std::u16string text;
  for (const char16_t unit : alternative) {
    const std::u16string_view name = unit_name(unit);
    if (name.empty()) {
      text += unit;
    } else {
      text += name;
    }
  }
  return text;
}

bool fill_alternatives_menu(const crResultChoice& choice, bool offer_add_word, const Localizer& strings,
                            platform::PopupMenu* menu) {
  const std::uint32_t count = shown_alternatives(choice);
  for (std::uint32_t i = 0; i < count; ++i) {
    const int id = kMenuFirstAlternative + static_cast<int>(i);
    if (!menu->append(platform::MF_STRING, id, spelled_out(alternative_text(choice, i)))) return false;
  }
  bool added = menu->append(platform::MF_SEPARATOR, 0, u"") &&
               menu->append(platform::MF_STRING, kMenuDefaultItem, strings.string(kStringDefaultEntry));
  if (added && offer_add_word) {
    added = menu->append(platform::MF_STRING, kMenuAddWordItem, strings.string(kStringAddToDictionary));
  }
  return added;
}

std::int32_t answer_for_item(int id, const crResultChoice& choice) {
  if (id == kMenuDefaultItem) return kChoiceKeep;
  const std::int64_t index = std::int64_t{id} - kMenuFirstAlternative;
  if (index >= 0 && index < shown_alternatives(choice)) return static_cast<std::int32_t>(index);
  return kChoiceReject;
}

}  // namespace ductra

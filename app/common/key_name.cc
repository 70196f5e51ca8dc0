#include "app/common/key_name.h"

namespace ductra {

std::u16string_view control_key_name(char16_t unit) {
  switch (unit) {
    case 8:
      return u"<backspace>";
    case 9:
      return u"<tab>";
    case 10:
    case 13:
      return u"<enter>";
    case 29:
      return u"<context>";
    case 30:
      return u"<capslock>";
    case 31:
      return u"<shift>";
    case 32:
    case 160:
      return u"<space>";
    default:
      return {};
  }
}

std::u16string key_name(std::uint16_t code) {
  const std::u16string_view name = control_key_name(static_cast<char16_t>(code));
  return name.empty() ? std::u16string(1, static_cast<char16_t>(code)) : std::u16string(name);
}

}  // namespace ductra

#include "engine/segmentation/mark_cut.h"

namespace inkrec {

bool is_letter_code(std::uint16_t code) {
  if (code >= 0x100) return true;
  if ((code >= u'a' && code <= u'z') || (code >= u'A' && code <= u'Z')) return true;
  return code >= 0xC0 && code != 0xD7 && code != 0xF7;
}

bool is_mark_code(std::uint16_t code) {
  if (code >= 0x100 || is_letter_code(code)) return false;
  const bool digit = code >= u'0' && code <= u'9';
  return !digit && code > u' ' && code != 0xA0;
}

bool may_cut_without_gap(std::uint16_t last, std::uint16_t next) {
  return !(is_mark_code(last) && is_letter_code(next));
}

}  // namespace inkrec

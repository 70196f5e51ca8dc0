#include "engine/segmentation/mark_cut.h"

namespace inkrec {
namespace {

bool is_operator_sign(std::uint16_t code) {
  switch (code) {
    case u'+': case u'*': case u'=': case u'^': case u'_': case u'\\': case u'<': case u'>':
    case u'|': case u'~':
      return true;
    default:
      return false;
  }
}

}  // namespace

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

bool may_stand_in_one_word(std::uint16_t last, std::uint16_t next, bool one_stroke) {
  if (one_stroke && (is_mark_code(last) || is_mark_code(next))) return false;
  return !((is_operator_sign(last) && is_letter_code(next)) ||
           (is_letter_code(last) && is_operator_sign(next)));
}

}  // namespace inkrec

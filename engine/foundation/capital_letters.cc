#include "engine/foundation/capital_letters.h"

namespace inkrec {
namespace {

bool within(std::uint16_t code, std::uint16_t first, std::uint16_t last) {
  return code >= first && code <= last;
}

}  // namespace

std::uint16_t lower_case_letter(std::uint16_t code) {
  // Runs where the lower-case letter lies a fixed distance after its capital.
  if (within(code, u'A', u'Z')) return code + 0x20;
  if (within(code, 0x00C0, 0x00DE) && code != 0x00D7) return code + 0x20;  // À..Þ but ×
  if (within(code, 0x0391, 0x03AB) && code != 0x03A2) return code + 0x20;  // Α..Ϋ
  if (within(code, 0x0410, 0x042F)) return code + 0x20;                   // А..Я
  if (within(code, 0x0400, 0x040F)) return code + 0x50;                   // Ѐ..Џ
  // Latin Extended-A pairs each capital with the code after it: even
  // capitals up to İ and from Ŋ, odd ones from Ĺ to Ň and from Ź.
  if (within(code, 0x0100, 0x012F) || within(code, 0x0132, 0x0137) ||
      within(code, 0x014A, 0x0177)) {
    return code % 2 == 0 ? code + 1 : code;
  }
  if (within(code, 0x0139, 0x0148) || within(code, 0x0179, 0x017E)) {
    return code % 2 == 1 ? code + 1 : code;
  }
  if (code == 0x0178) return 0x00FF;  // Ÿ
  return code;
}

}  // namespace inkrec

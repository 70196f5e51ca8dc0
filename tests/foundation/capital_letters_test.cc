#include "engine/foundation/capital_letters.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace inkrec {
namespace {

TEST(CapitalLettersTest, EachCapitalHasItsLowerCaseLetterAndOtherCodesStay) {
  struct Case {
    std::uint16_t code;
    std::uint16_t lower;
  };
  const std::vector<Case> cases = {
      {u'A', u'a'},     {u'Z', u'z'},     {u'a', u'a'},     {u'1', u'1'},   {u'-', u'-'},
      {0x00C4, 0x00E4},  // Ä
      {0x00D7, 0x00D7},  // ×, no letter
      {0x00DF, 0x00DF},  // ß has no capital here
      {0x0141, 0x0142},  // Ł, an odd capital
      {0x0104, 0x0105},  // Ą, an even one
      {0x0105, 0x0105},  {0x0178, 0x00FF},  // Ÿ
      {0x0391, 0x03B1},  // Α
      {0x03A2, 0x03A2},  // no capital final sigma
      {0x0416, 0x0436},  // Ж
      {0x0401, 0x0451},  // Ё
      {0x0451, 0x0451},
  };
  for (const Case& c : cases) EXPECT_EQ(lower_case_letter(c.code), c.lower) << c.code;
}

}  // namespace
}  // namespace inkrec

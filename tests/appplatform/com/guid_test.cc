#include "appplatform/com/guid.h"

#include <gtest/gtest.h>

namespace ductra::platform {
namespace {

TEST(GuidTest, TheTextFormRoundTripsAndReadsEitherCase) {
  const Guid g{0x0123ABCD, 0x4567, 0x89EF, {0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10}};
  EXPECT_EQ(guid_to_string(g), u"{0123ABCD-4567-89EF-FEDC-BA9876543210}");
  Guid back;
  ASSERT_EQ(guid_from_string(u"{0123abcd-4567-89ef-fedc-ba9876543210}", back), S_OK);
  EXPECT_EQ(back, g);
  EXPECT_EQ(guid_to_string(Guid{}), u"{00000000-0000-0000-0000-000000000000}");
}

TEST(GuidTest, MalformedTextIsRefusedAndLeavesTheOutputAlone) {
  const char16_t* bad[] = {
      u"",
      u"0123ABCD-4567-89EF-FEDC-BA9876543210",     // no braces
      u"{0123ABCD-4567-89EF-FEDC-BA987654321}",    // one digit short
      u"{0123ABCD-4567-89EF-FEDC-BA98765432100}",  // one too many
      u"{0123ABCD_4567-89EF-FEDC-BA9876543210}",   // wrong separator
      u"{0123ABCG-4567-89EF-FEDC-BA9876543210}",   // not a hex digit
      u"{0123ABCD-4567-89EF-FEDCB-A9876543210}",   // dash misplaced
      u"(0123ABCD-4567-89EF-FEDC-BA9876543210)",
  };
  for (const char16_t* text : bad) {
    Guid out{7, 7, 7, {}};
    EXPECT_EQ(guid_from_string(text, out), CO_E_CLASSSTRING) << std::u16string_view(text).size();
    EXPECT_EQ(out, (Guid{7, 7, 7, {}}));
  }
}

}  // namespace
}  // namespace ductra::platform

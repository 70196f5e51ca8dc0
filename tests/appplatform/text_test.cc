#include "appplatform/text.h"

#include <gtest/gtest.h>

namespace ductra::platform {
namespace {

TEST(TextTest, RoundTripsEveryPlane) {
  const std::u16string text = u"Ductra \u0416\u00e9 \U0001F600 end";
  EXPECT_EQ(to_utf16(to_utf8(text)), text);
  EXPECT_EQ(to_utf8(u"\u0416"), "\xD0\x96");
}

TEST(TextTest, MalformedInputBecomesReplacement) {
  EXPECT_EQ(to_utf16("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(to_utf16("\xC0\x80"), u"\uFFFD");  // overlong
  EXPECT_EQ(to_utf8(std::u16string(1, char16_t{0xD800})), "\xEF\xBF\xBD");
}

TEST(TextTest, ComparesWithoutCase) {
  EXPECT_TRUE(equal_ignoring_case(u"Program Files", u"PROGRAM FILES"));
  EXPECT_TRUE(equal_ignoring_case(u"\u0416\u0401", u"\u0436\u0451"));
  EXPECT_FALSE(equal_ignoring_case(u"\u00d7", u"\u00f7"));  // multiplication and division signs
  EXPECT_FALSE(equal_ignoring_case(u"abc", u"abcd"));
}

}  // namespace
}  // namespace ductra::platform

#include "app/common/message_format.h"

#include <gtest/gtest.h>

#include <vector>

#include "appplatform/text.h"

namespace ductra {
namespace {

TEST(MessageFormatTest, ConversionsMustMatchTheArgumentsOneForOne) {
  struct Case {
    std::u16string format;
    std::vector<FormatArg> args;
    std::optional<std::u16string> expected;
  };
  const std::vector<Case> cases = {
      {u"Я пишу «%s» таким образом:", {u"ж"}, u"Я пишу «ж» таким образом:"},
      {u"%.2g с.", {0.4}, u"0.4 с."},
      {u"%.2g с.", {3.0}, u"3 с."},
      {u"%g", {0.5}, u"0.5"},
      {u"Error code: %d", {-4029}, u"Error code: -4029"},
      {u"%s [%s]", {u"English", u"Английский"}, u"English [Английский]"},
      {u"100%% sure, %d%%", {5}, u"100% sure, 5%"},
      {u"no conversions", {}, u"no conversions"},
      {u"%s", {u""}, u""},
      {u"%d", {u"text"}, std::nullopt},        // kind differs
      {u"%s", {7}, std::nullopt},
      {u"%.2g", {7}, std::nullopt},
      {u"%s %s", {u"one"}, std::nullopt},       // too few arguments
      {u"%s", {u"one", u"two"}, std::nullopt},  // too many
      {u"%x", {7}, std::nullopt},
      {u"%n", {7}, std::nullopt},
      {u"%5d", {7}, std::nullopt},
      {u"%-d", {7}, std::nullopt},
      {u"%ls", {u"a"}, std::nullopt},
      {u"%S", {u"a"}, std::nullopt},
      {u"%.2d", {7}, std::nullopt},
      {u"%.g", {7.0}, std::nullopt},
      {u"%.18g", {7.0}, std::nullopt},
      {u"%.17g", {0.5}, u"0.5"},
      {u"ends in %", {}, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(format_message(c.format, c.args, 1000), c.expected) << platform::to_utf8(c.format);
  }
}

TEST(MessageFormatTest, TheResultIsCutToTheLimit) {
  const std::u16string long_word(5000, u'w');
  const FormatArg word[] = {std::u16string_view(long_word)};
  EXPECT_EQ(format_message(u"<%s>", word, 127), u"<" + std::u16string(126, u'w'));
  const FormatArg number[] = {123456};
  EXPECT_EQ(format_message(u"ab%d", number, 5), u"ab123");
  EXPECT_EQ(format_message(u"ab%d", number, 0), u"");
}

}  // namespace
}  // namespace ductra

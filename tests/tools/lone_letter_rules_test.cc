// Lone small letters of training writers read on the default data, where a
// letter rule decides between two letters the ways of writing confuse: each
// sample of the fixture "lone_letter_rules.txt" is read as its label.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/english_words_session.h"
#include "tools/inkrec/engine_session.h"

namespace inkrec::tool {
namespace {

// The first letter of the text in lower case.
char16_t first_small_letter(const std::u16string& text) {
  if (text.empty()) return u'\0';
  const char16_t c = text.front();
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

struct RuleCase {
  const char* what;
  std::size_t first;  // the fixture's samples [first, first + count)
  std::size_t count;
};

TEST(LoneLetterRulesTest, EachSampleIsReadAsItsLabel) {
  const RuleCase cases[] = {
      {"a one-stroke e begun with its crossbar, and the same writer's c", 0, 10},
  };
  const std::vector<InkSample> samples = testing::read_fixture_ink("lone_letter_rules.txt");
  ASSERT_EQ(samples.size(), 10u);
  EngineSession session;
  std::string error;
  const std::uint32_t english[] = {5};
  ASSERT_TRUE(start_session(session, std::string(INKREC_SOURCE_DATA) + "/qlmain.dt", english,
                            &error))
      << error;
  for (const RuleCase& c : cases) {
    for (std::size_t k = c.first; k < c.first + c.count; ++k) {
      const Recognition read = session.recognize(samples[k].strokes, {.words = false});
      EXPECT_EQ(read.status, 0) << c.what << ", sample " << k;
      EXPECT_EQ(first_small_letter(read.text), static_cast<char16_t>(samples[k].label[0]))
          << c.what << ", sample " << k << " (" << samples[k].label << " of "
          << samples[k].writer << ")";
    }
  }
}

}  // namespace
}  // namespace inkrec::tool

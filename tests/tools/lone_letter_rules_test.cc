// Lone letters of training writers read on the default data, where a letter
// rule decides between two letters the ways of writing confuse: each sample
// of the fixture "lone_letter_rules.txt" is read as its label, in either
// case.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/english_words_session.h"
#include "tools/inkrec/engine_session.h"

namespace inkrec::tool {
namespace {

// A Latin letter in lower case; any other character as it is.
char16_t small_letter(char16_t c) {
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
      {"a two-stroke t drawn as a stem and a crossbar", 10, 4},
      {"a two-stroke E", 14, 4},
      {"a two-stroke t crossed below the stem's top", 18, 3},
      {"a two-stroke I", 21, 2},
  };
  const std::vector<InkSample> samples = testing::read_fixture_ink("lone_letter_rules.txt");
  ASSERT_EQ(samples.size(), 23u);
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
      ASSERT_FALSE(read.text.empty()) << c.what << ", sample " << k;
      EXPECT_EQ(small_letter(read.text.front()),
                small_letter(static_cast<char16_t>(samples[k].label[0])))
          << c.what << ", sample " << k << " (" << samples[k].label << " of "
          << samples[k].writer << ")";
    }
  }
}

}  // namespace
}  // namespace inkrec::tool

// The spaces of written text: a word written alone with a pen lift a little
// wider than its other letter gaps stays one word, and the words of a line
// keep the space the writer left between them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/english_words_session.h"

namespace inkrec::tool {
namespace {

std::size_t spaces_in(const std::u16string& text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), u' '));
}

TEST(WordsKeptWholeTest, AWordsPenLiftIsNoSpaceAndALinesWordGapIs) {
  // "lunchroom" was read as "lunch room" (and "copywriter", with the
  // default word list, as "copy writer"): the gap after the h (the y)
  // passed the word's mean advance by about a sixth.
  const std::vector<InkSample> samples = testing::read_fixture_ink("words_kept_whole.txt");
  const std::vector<std::string> labels = {"lunchroom", "copywriter", "open market"};
  ASSERT_EQ(samples.size(), labels.size());
  testing::EnglishWordsSession english;
  std::string error;
  ASSERT_TRUE(english.start(&error)) << error;
  for (std::size_t k = 0; k < labels.size(); ++k) {
    SCOPED_TRACE(labels[k]);
    ASSERT_EQ(samples[k].label, labels[k]);
    const Recognition read = english.read(samples[k]);
    EXPECT_EQ(read.status, 0);
    EXPECT_EQ(spaces_in(read.text), spaces_in(std::u16string(labels[k].begin(), labels[k].end())));
  }
}

}  // namespace
}  // namespace inkrec::tool

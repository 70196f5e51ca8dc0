// A long word written joined, read against a word list: the ways of cutting
// its strokes into letters are many, and the word search still ends with
// the word.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/english_words_session.h"

namespace inkrec::tool {
namespace {

TEST(LongJoinedWordTest, AWordReachedThroughManyCutsOfItsStrokesIsReadWhole) {
  // "international" of a training writer, five strokes: its search once
  // went through every way of reaching each place again and ran for
  // minutes.
  const std::vector<InkSample> samples = testing::read_fixture_ink("long_joined_word.txt");
  ASSERT_EQ(samples.size(), 1u);
  ASSERT_EQ(samples[0].strokes.size(), 5u);
  testing::EnglishWordsSession english;
  std::string error;
  ASSERT_TRUE(english.start(&error)) << error;
  const Recognition read = english.read(samples[0]);
  EXPECT_EQ(read.status, 0);
  EXPECT_EQ(read.text, u"international");
}

}  // namespace
}  // namespace inkrec::tool

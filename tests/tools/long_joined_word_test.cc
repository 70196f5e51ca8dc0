// A long word written joined, read against a word list: the ways of cutting
// its strokes into letters are many, and the word search still ends with
// the word.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/english_data_dir.h"
#include "tests/support/temp_dir.h"
#include "tools/inkrec/engine_session.h"
#include "tools/inkrec/ink_file.h"

namespace inkrec::tool {
namespace {

const std::string kFixtures = INKREC_TEST_DATA_DIR;
constexpr std::uint32_t kEnglish = 5;

TEST(LongJoinedWordTest, AWordReachedThroughManyCutsOfItsStrokesIsReadWhole) {
  // "international" of a training writer, five strokes: its search once
  // went through every way of reaching each place again and ran for
  // minutes.
  std::ifstream in(kFixtures + "/long_joined_word.txt", std::ios::binary);
  std::vector<InkSample> samples;
  std::vector<InkError> errors;
  read_ink(in, &samples, &errors);
  ASSERT_EQ(samples.size(), 1u);
  ASSERT_EQ(samples[0].strokes.size(), 5u);

  testing::TempDir dir;
  ASSERT_TRUE(testing::write_english_data(dir));
  EngineSession session;
  std::string error;
  const std::uint32_t english[] = {kEnglish};
  ASSERT_TRUE(start_session(session, dir.file("qlmain.dt"), english, &error)) << error;
  const Recognition read = session.recognize(samples[0].strokes, {.words = true, .joined = true});
  EXPECT_EQ(read.status, 0);
  EXPECT_EQ(read.text, u"international");
}

}  // namespace
}  // namespace inkrec::tool

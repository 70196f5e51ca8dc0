// Written words of training writers in which a letter reads well below
// the best reading of its ink: the word search still reaches the word.
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

constexpr std::uint32_t kEnglish = 5;

TEST(WordsReadBelowBestTest, ALetterFarBelowTheBestReadingOfItsInkStillMakesTheWord) {
  // Once read "dvy" and "tale": the r of "dry" and the b of "table" read
  // more than 500 below their ink's best reading and never reached the
  // word search.
  struct Case {
    std::string label;
    std::u16string text;
  };
  const std::vector<Case> cases = {{"dry", u"dry"}, {"table", u"table"}};
  std::ifstream in(std::string(INKREC_TEST_DATA_DIR) + "/words_read_below_best.txt",
                   std::ios::binary);
  std::vector<InkSample> samples;
  std::vector<InkError> errors;
  read_ink(in, &samples, &errors);
  ASSERT_EQ(samples.size(), cases.size());

  testing::TempDir dir;
  ASSERT_TRUE(testing::write_english_data(dir));
  EngineSession session;
  std::string error;
  const std::uint32_t english[] = {kEnglish};
  ASSERT_TRUE(start_session(session, dir.file("qlmain.dt"), english, &error)) << error;
  for (std::size_t k = 0; k < cases.size(); ++k) {
    ASSERT_EQ(samples[k].label, cases[k].label);
    const Recognition read =
        session.recognize(samples[k].strokes, {.words = true, .joined = true});
    EXPECT_EQ(read.status, 0) << cases[k].label;
    EXPECT_EQ(read.text, cases[k].text) << cases[k].label;
  }
}

}  // namespace
}  // namespace inkrec::tool

// The case of a written word's first letter when the word list holds the
// word in lower case only: a small letter written in the shape of its
// capital, no taller than the small letters, starts the word in lower
// case; a capital written tall stays one.
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

TEST(FirstLetterCaseTest, ACapitalWayOfWritingNoTallerThanASmallLetterStartsTheWordInLowerCase) {
  // The i, m, n and p were read by capital ways of writing and the words
  // output as "Impeccable", "Muscle", "Nephew" and "Philosophy".
  const std::vector<std::string> labels = {"impeccable", "muscle", "nephew",
                                           "philosophy", "Number", "Equal"};
  std::ifstream in(std::string(INKREC_TEST_DATA_DIR) + "/first_letter_case.txt",
                   std::ios::binary);
  std::vector<InkSample> samples;
  std::vector<InkError> errors;
  read_ink(in, &samples, &errors);
  ASSERT_EQ(samples.size(), labels.size());

  testing::TempDir dir;
  ASSERT_TRUE(testing::write_english_data(dir));
  EngineSession session;
  std::string error;
  const std::uint32_t english[] = {kEnglish};
  ASSERT_TRUE(start_session(session, dir.file("qlmain.dt"), english, &error)) << error;
  for (std::size_t k = 0; k < labels.size(); ++k) {
    ASSERT_EQ(samples[k].label, labels[k]);
    const Recognition read =
        session.recognize(samples[k].strokes, {.words = true, .joined = true});
    EXPECT_EQ(read.status, 0) << labels[k];
    EXPECT_EQ(read.text, std::u16string(labels[k].begin(), labels[k].end())) << labels[k];
  }
}

}  // namespace
}  // namespace inkrec::tool

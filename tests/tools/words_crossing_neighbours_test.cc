// Written words of training writers in which a letter's ink crosses a
// little into its neighbour's, as joined writing does: the join of an e, an
// h or an o into the letter after it. The word search still reads the word.
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

TEST(WordsCrossingNeighboursTest, ALetterWhoseInkCrossesItsNeighbourStillMakesTheWord) {
  // Each was read as another word while the pair test refused e -> k,
  // h -> a, e -> a and o -> l: inks that cross by more than a seventh of
  // the narrower letter's width.
  const std::vector<std::string> labels = {"week", "that", "heard", "older"};
  std::ifstream in(std::string(INKREC_TEST_DATA_DIR) + "/words_crossing_neighbours.txt",
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

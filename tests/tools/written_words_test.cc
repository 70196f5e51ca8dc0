// Written words of real writers read with the default data, one letter
// search at a time: faults of the cover seen on whole words.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "tools/inkrec/engine_session.h"
#include "tools/inkrec/ink_file.h"

namespace inkrec::tool {
namespace {

constexpr std::uint32_t kEnglish = 5;

InkSample written_word(const std::string& label) {
  std::ifstream in(std::string(INKREC_TEST_DATA_DIR) + "/written_words.txt", std::ios::binary);
  std::vector<InkSample> samples;
  std::vector<InkError> errors;
  read_ink(in, &samples, &errors);
  const auto found = std::find_if(samples.begin(), samples.end(),
                                  [&label](const InkSample& s) { return s.label == label; });
  return found == samples.end() ? InkSample{} : *found;
}

// "once" written in two strokes, "on" and "ce": read stroke by stroke,
// English letters only, the first has no reading at all. The letter read
// for the second stays; the word is not dropped whole.
TEST(WrittenWordsTest, AStrokeWithoutAReadingLeavesTheLetterReadBesideIt) {
  EngineSession session;
  std::string error;
  const std::uint32_t english[] = {kEnglish};
  ASSERT_TRUE(start_session(session, std::string(INKREC_SOURCE_DATA) + "/qlmain.dt", english, &error))
      << error;
  const InkSample once = written_word("once");
  ASSERT_EQ(once.strokes.size(), 2u);
  for (const bool words : {false, true}) {
    SCOPED_TRACE(words ? "word list on" : "word list off");
    const Recognition read = session.recognize(once.strokes, {.words = words, .joined = false});
    EXPECT_EQ(read.status, 0);
    EXPECT_EQ(read.text.size(), 1u) << "one letter for the stroke \"ce\"";
  }
}

}  // namespace
}  // namespace inkrec::tool

// Written words of the committed fixtures read through the tool's engine
// session with the default data, the English letters and the English word
// list of tests/fixtures/english_words.txt, letters joined.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/english_data_dir.h"
#include "tests/support/temp_dir.h"
#include "tools/inkrec/engine_session.h"
#include "tools/inkrec/ink_file.h"

namespace inkrec::testing {

// The samples of a fixture file (tests/fixtures/NAME).
inline std::vector<tool::InkSample> read_fixture_ink(const std::string& name) {
  std::ifstream in(std::string(INKREC_TEST_DATA_DIR) + "/" + name, std::ios::binary);
  std::vector<tool::InkSample> samples;
  std::vector<tool::InkError> errors;
  tool::read_ink(in, &samples, &errors);
  return samples;
}

class EnglishWordsSession {
 public:
  // False, with *error, when the data or the session could not be set up.
  // The list holds the fixture's words and the `extra` lines ("word count").
  bool start(std::string* error, const std::vector<std::string>& extra = {}) {
    if (!write_english_data(dir_, extra)) {
      *error = "the English word list was not built";
      return false;
    }
    const std::uint32_t english[] = {kEnglish};
    return tool::start_session(session_, dir_.file("qlmain.dt"), english, error);
  }

  tool::Recognition read(const tool::InkSample& sample) {
    return session_.recognize(sample.strokes, {.words = true, .joined = true});
  }

 private:
  static constexpr std::uint32_t kEnglish = 5;
  TempDir dir_;
  tool::EngineSession session_;
};

// Checks that the fixture holds written words labelled as `labels`, in
// that order, and that each is read as its label, against a list that
// holds the `extra` lines ("word count") too.
inline void expect_words_read_as_labelled(const std::string& fixture,
                                          const std::vector<std::string>& labels,
                                          const std::vector<std::string>& extra = {}) {
  const std::vector<tool::InkSample> samples = read_fixture_ink(fixture);
  ASSERT_EQ(samples.size(), labels.size());
  EnglishWordsSession english;
  std::string error;
  ASSERT_TRUE(english.start(&error, extra)) << error;
  for (std::size_t k = 0; k < labels.size(); ++k) {
    ASSERT_EQ(samples[k].label, labels[k]);
    const tool::Recognition read = english.read(samples[k]);
    EXPECT_EQ(read.status, 0) << labels[k];
    EXPECT_EQ(read.text, std::u16string(labels[k].begin(), labels[k].end())) << labels[k];
  }
}

}  // namespace inkrec::testing

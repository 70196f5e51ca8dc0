// A run kernel with nothing but active charsets and dictionaries: the
// dictionary charsets of dictionary_data.h, whose charset 5 ("eng") has the
// word list of tests/fixtures/english_words.txt (3954 words with their
// counts, so with levels 0 to 18), and an identity character index for the
// codes below 128.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/database/data_store.h"
#include "engine/database/dictionary_set.h"
#include "engine/database/word_list_builder.h"
#include "engine/foundation/status.h"
#include "engine/records/run_kernel.h"
#include "tests/support/data_file.h"
#include "tests/support/dictionary_data.h"
#include "tests/support/temp_dir.h"

namespace inkrec::testing {

inline std::vector<WordListEntry> fixture_english_words() {
  std::ifstream in(INKREC_TEST_DATA_DIR "/english_words.txt");
  std::vector<WordListEntry> words;
  std::string line;
  while (std::getline(in, line)) {
    WordListEntry entry;
    if (parse_word_list_line(line, &entry) == WordListLine::kWord) words.push_back(entry);
  }
  return words;
}

class WordListKernel final : public RunKernel {
 public:
  WordListKernel() {
    write_empty_data_file(dir_.file("qlmain.dt"));
    store_ = std::make_unique<DataStore>(dir_.file("qlmain.dt").c_str(), 1, 0, 0);
    add_dictionary_charsets(*store_);
    std::vector<std::uint8_t> image;
    EXPECT_EQ(build_word_list(fixture_english_words(), &image), kOk);
    EXPECT_EQ(write_word_list(dir_.file("eng.wlb"), image), kOk);
    dictionaries_ = std::make_unique<DictionarySet>(dir_.wide_file(""), *store_, u"");
    EXPECT_EQ(dictionaries_->select_charset(5), kOk);
    for (std::uint32_t c = 0; c < 128; ++c) code_index_.push_back(c);
  }

  void set_active(std::vector<std::uint32_t> ids) { active_ = std::move(ids); }
  void drop_dictionaries() { dictionaries_.reset(); }
  const DynArray<std::uint32_t>& code_index() const { return code_index_; }

  const RecognitionParams& params() const override { return params_; }
  DataStore* data_store() const override { return store_.get(); }
  DictionarySet* dictionaries() const override { return dictionaries_.get(); }
  bool right_to_left() const override { return false; }
  std::span<const std::uint32_t> active_charsets() const override { return active_; }
  void after_split_pass(const DynArray<FigureRecord>&, std::u16string_view) override {}
  bool stop_flag() const override { return false; }
  bool quick_flag() const override { return false; }
  int extended_output(int, int) override { return 0; }
  int full_debug_output() override { return 0; }

 private:
  TempDir dir_;
  RecognitionParams params_{};
  std::unique_ptr<DataStore> store_;
  std::unique_ptr<DictionarySet> dictionaries_;
  std::vector<std::uint32_t> active_{5};
  DynArray<std::uint32_t> code_index_;
};

}  // namespace inkrec::testing

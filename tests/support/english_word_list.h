// The English words of tests/fixtures/english_words.txt (3954 words with
// their counts), and dictionaries whose word list of charset 5 ("eng",
// among the charsets of dictionary_data.h) is built from them, so with
// levels 0 to 18.
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

class EnglishDictionaries {
 public:
  // The list holds the fixture's words and the `extra` ones.
  explicit EnglishDictionaries(const std::vector<WordListEntry>& extra = {}) {
    write_empty_data_file(dir_.file("qlmain.dt"));
    store_ = std::make_unique<DataStore>(dir_.file("qlmain.dt").c_str(), 1, 0, 0);
    add_dictionary_charsets(*store_);
    std::vector<WordListEntry> words = fixture_english_words();
    words.insert(words.end(), extra.begin(), extra.end());
    std::vector<std::uint8_t> image;
    EXPECT_EQ(build_word_list(words, &image), kOk);
    EXPECT_EQ(write_word_list(dir_.file("eng.wlb"), image), kOk);
    set_ = std::make_unique<DictionarySet>(dir_.wide_file(""), *store_, u"");
    EXPECT_EQ(set_->select_charset(5), kOk);
  }

  DictionarySet* set() { return set_.get(); }

 private:
  TempDir dir_;
  std::unique_ptr<DataStore> store_;
  std::unique_ptr<DictionarySet> set_;
};

}  // namespace inkrec::testing

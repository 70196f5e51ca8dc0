// Written words read by the letter evaluation against a database trained in
// the test (tests/support/trained_letters.h) and then by the word search
// against the English word list of tests/fixtures/english_words.txt. Each
// candidate is evaluated alone (a stand-in for the passes of a line, which
// would also try the figure sets); the rest is crRecognize's own road.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/database/dictionary_set.h"
#include "engine/database/user_dictionary.h"
#include "engine/database/word_list_builder.h"
#include "engine/foundation/status.h"
#include "engine/kernel/kernel.h"
#include "engine/records/fragment_state.h"
#include "engine/records/letter_result.h"
#include "engine/segmentation/line_letter_search.h"
#include "inkrec/inkrec.h"
#include "tests/support/english_word_list.h"
#include "tests/support/read_letters.h"
#include "tests/support/trained_letters.h"

namespace inkrec {
namespace {

using testing::TrainedLetters;
using testing::WrittenSample;

// Line passes that evaluate every candidate of the line as a letter of its
// own with the kernel's element recognition; the letters found are the
// result's readings, and the results in line order its cover.
class EvaluateEachFigure final : public testing::StandInLetterSearch {
 public:
  explicit EvaluateEachFigure(Kernel& kernel) : kernel_(kernel) {}

  // The readings of the candidates of the last recognition, best first.
  std::vector<std::u16string> readings;

 protected:
  int read_candidates(TextLine& line, LineGroup& group) override {
    int status = kOk;
    for (std::uint32_t k = 0; status == kOk && k < line.candidates.size(); ++k) {
      status = evaluate(line, group, k);
    }
    return status;
  }

  int cover_group(TextLine& /*line*/, LineGroup& group) override {
    return group.cover.push_all(group.letter_groups);
  }

 private:
  int evaluate(TextLine& line, LineGroup& group, std::uint32_t k) {
    std::unique_ptr<LetterResult> result;
    if (const int status = new_result(line, k, 1, true, &result); status != kOk) return status;
    result->index = static_cast<std::int32_t>(k);
    CandidateLists lists;
    const int status = kernel_.recognize_element(*result, line_height(), lists);
    if (status != kOk) return status;
    std::u16string read;
    for (const Answer& answer : lists[0].answers()) {
      if (result->answers->insert(answer) != kOk) return kOutOfMemory;
    }
    for (const Answer& answer : result->answers->answers()) read += answer.codes[0];
    readings.push_back(read);
    return keep_result(line, group, std::move(result));
  }

  Kernel& kernel_;
};

// The held-out sample of the character, moved to start at x, its last
// stroke cut short by `cut` percent of its points.
std::vector<test::Points> written_letter(char16_t code, int x, int cut) {
  for (const WrittenSample& sample : testing::read_letter_samples()) {
    if (sample.training || sample.code != code) continue;
    std::vector<test::Points> strokes = sample.strokes;
    int left = 32767;
    for (const test::Points& points : strokes) {
      for (const PackedPoint p : points) left = std::min<int>(left, p.x);
    }
    for (test::Points& points : strokes) {
      for (PackedPoint& p : points) p.x = static_cast<std::int16_t>(p.x - left + x);
    }
    test::Points& last = strokes.back();
    last.resize(last.size() - last.size() * static_cast<std::size_t>(cut) / 100);
    return strokes;
  }
  ADD_FAILURE() << "no held-out sample of " << static_cast<char>(code);
  return {};
}

class WordSearchLettersTest : public ::testing::Test {
 protected:
  WordSearchLettersTest() {
    std::vector<std::uint8_t> image;
    EXPECT_EQ(build_word_list(testing::fixture_english_words(), &image), kOk);
    EXPECT_EQ(write_word_list(letters_.data_folder().file("eng.wlb"), image), kOk);
    letters_.activate_charset_of(u'a');
    auto search = std::make_unique<EvaluateEachFigure>(letters_.kernel());
    search_ = search.get();
    letters_.kernel().set_letter_search(std::move(search));
  }

  // Writes the word letter by letter, the letter at `cut_at` cut short by
  // `cut` percent, and recognises it.
  std::u16string recognize(const std::u16string& word, std::uint8_t word_pass,
                           std::size_t cut_at = 99, int cut = 0) {
    letters_.kernel().clear_pane();
    search_->readings.clear();
    int x = 100;
    for (std::size_t k = 0; k < word.size(); ++k) {
      for (const test::Points& points : written_letter(word[k], x, k == cut_at ? cut : 0)) {
        const crStrokeInput stroke{reinterpret_cast<const crPoint*>(points.data()),
                                   static_cast<std::int32_t>(points.size())};
        EXPECT_EQ(crAddStroke(&stroke, 1, -1, -1), kOk);
        for (const PackedPoint p : points) x = std::max<int>(x, p.x);
      }
      x += 24;
    }
    std::u16string buffer(64, u'#');
    crRecognitionParams params = letters_.request;
    params.word_pass = word_pass;
    params.result_buffer = buffer.data();
    params.result_size = static_cast<std::int32_t>(buffer.size());
    EXPECT_EQ(crRecognize(&params), kOk);
    return buffer.substr(0, buffer.find(u'\0'));
  }

  void add_user_word(const std::u16string& word) {
    DictionarySet* dictionaries = letters_.kernel().dictionaries();
    UserDictionaryList& list = dictionaries->user_dictionaries();
    ASSERT_EQ(list.add_dictionary(testing::kEnglishCharset), kOk);
    UserDictionary* dictionary = nullptr;
    ASSERT_EQ(list.at_mutable(list.count() - 1, &dictionary), kOk);
    ASSERT_EQ(dictionary->add_plain_letters(word), kOk);
    ASSERT_EQ(dictionary->add_word(word, 5000), kOk);
    // The next recognition selects the charset's dictionaries again.
    ASSERT_EQ(dictionaries->select_charset(0), kOk);
  }

  TrainedLetters letters_;
  EvaluateEachFigure* search_ = nullptr;
};

TEST_F(WordSearchLettersTest, AWordTheLettersMisreadIsReadAsTheDictionaryWord) {
  struct Case {
    std::u16string word;
    std::size_t cut_at;  // the letter written short
    int cut;             // percent of its points left out
    std::u16string user_word;
    std::u16string letters;  // read without the word pass
    std::u16string words;    // with it
  };
  const std::vector<Case> cases = {
      {u"our", 0, 35, u"", u"cur", u"our"},       // 'o' read "c", then "o"
      {u"case", 1, 10, u"", u"cose", u"case"},    // 'a' read "o", then "a"
      {u"error", 0, 25, u"", u"orror", u"error"}, // 'e' read "o", then "e"
      {u"soon", 1, 35, u"", u"scon", u"soon"},    // 'o' read "c", then "o"
      {u"cale", 1, 10, u"", u"cole", u"cole"},    // no word: as the letters read
      {u"cale", 1, 10, u"cale", u"cole", u"cale"},  // a word of the user dictionary
  };
  for (const Case& c : cases) {
    const std::string what(c.word.begin(), c.word.end());
    if (!c.user_word.empty()) add_user_word(c.user_word);
    EXPECT_EQ(recognize(c.word, 0, c.cut_at, c.cut), c.letters) << what;
    ASSERT_EQ(search_->readings.size(), c.word.size()) << what;
    // The letter written short has its own character among its readings,
    // but not first.
    const std::u16string& short_one = search_->readings[c.cut_at];
    EXPECT_NE(short_one.find(c.word[c.cut_at]), std::u16string::npos) << what;
    EXPECT_NE(short_one[0], c.word[c.cut_at]) << what;
    EXPECT_EQ(recognize(c.word, 1, c.cut_at, c.cut), c.words) << what;
  }
}

}  // namespace
}  // namespace inkrec

// The word search on the road of a recognition: crRecognize over stems
// written side by side, whose letters a stand-in for the line passes
// (read_letters.h) reads with made-up readings, against the English word list of
// tests/fixtures/english_words.txt and a user dictionary; the words offered
// to the caller's callback and the choices it makes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/database/dictionary_set.h"
#include "engine/database/user_dictionary.h"
#include "engine/database/word_list_builder.h"
#include "engine/foundation/status.h"
#include "engine/kernel/c_array.h"
#include "engine/kernel/kernel.h"
#include "inkrec/inkrec.h"
#include "tests/support/data_file.h"
#include "tests/support/dictionary_data.h"
#include "tests/support/english_word_list.h"
#include "tests/support/read_letters.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

constexpr std::uint32_t kEnglish = 5;

// Readings of each stroke: the first code of `first`, then of `second`.
std::vector<std::u16string> readings_of(const std::u16string& first, const std::u16string& second) {
  std::vector<std::u16string> readings;
  for (std::size_t k = 0; k < first.size(); ++k) readings.push_back({first[k], second[k]});
  return readings;
}

// What the callback saw of the words offered and what it answers.
struct Offers {
  std::vector<std::vector<std::u16string>> words;
  std::int32_t choose = -1;
  std::u16string text;
};

int answer_word(crResultChoice* choice, void* context) {
  auto* offers = static_cast<Offers*>(context);
  std::vector<std::u16string> candidates;
  for (const DynArray<char16_t>& text : *from_c_array<DynArray<char16_t>>(&choice->candidates)) {
    candidates.emplace_back(text.data(), text.size());
  }
  offers->words.push_back(candidates);
  choice->chosen = offers->choose;
  if (!offers->text.empty()) {
    DynArray<char16_t>* returned = from_c_array<char16_t>(&choice->returned_text);
    for (const char16_t unit : offers->text) EXPECT_EQ(returned->push_back(unit), kOk);
  }
  return 0;
}

class WordSearchRoadTest : public ::testing::Test {
 protected:
  void start(const std::u16string& first, const std::u16string& second) {
    testing::write_empty_data_file(dir_.file("qlmain.dt"));
    std::vector<std::uint8_t> image;
    ASSERT_EQ(build_word_list(testing::fixture_english_words(), &image), kOk);
    ASSERT_EQ(write_word_list(dir_.file("eng.wlb"), image), kOk);
    const std::u16string data = dir_.wide_file("qlmain.dt");
    ASSERT_EQ(crInitCrMan(data.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr), kOk);
    void* core = nullptr;
    ASSERT_EQ(crmGetCore(&core), kOk);
    kernel_ = static_cast<Kernel*>(core);
    testing::add_dictionary_charsets(*kernel_->data_store());
    if (with_capitals_) {
      for (char16_t c = u'A'; c <= u'Z'; ++c) {
        kernel_->data_store()->add_symb(testing::symb_record(c, c));
        const auto order = static_cast<std::uint8_t>(c - u'A' + 27);
        kernel_->data_store()->add_charset_symb({kEnglish, c, {order, 0, 0}, {}});
      }
    }
    ASSERT_EQ(crSetActiveCharSets(&kEnglish, 1), kOk);
    kernel_->set_letter_search(
        std::make_unique<testing::ReadLetters>(readings_of(first, second)));
    for (std::size_t k = 0; k < first.size(); ++k) {
      const auto x = static_cast<std::int16_t>(100 + 40 * k);
      const crPoint points[] = {{x, 100}, {static_cast<std::int16_t>(x + 4), 120},
                                {static_cast<std::int16_t>(x + 8), 140}};
      const crStrokeInput stroke{points, 3};
      ASSERT_EQ(crAddStroke(&stroke, 1, -1, -1), kOk);
    }
    buffer_.assign(64, u'#');
    params_.skew_allowed = 1;
    params_.refine_trajectories = 1;
    params_.result_buffer = buffer_.data();
    params_.result_size = static_cast<std::int32_t>(buffer_.size());
  }
  void TearDown() override { crFreeCrMan(); }

  void add_user_word(const std::u16string& word) {
    UserDictionaryList& list = kernel_->dictionaries()->user_dictionaries();
    ASSERT_EQ(list.add_dictionary(kEnglish), kOk);
    UserDictionary* dictionary = nullptr;
    ASSERT_EQ(list.at_mutable(list.count() - 1, &dictionary), kOk);
    ASSERT_EQ(dictionary->add_plain_letters(word), kOk);
    ASSERT_EQ(dictionary->add_word(word, 5000), kOk);
  }

  std::u16string recognize(std::uint8_t word_pass) {
    params_.word_pass = word_pass;
    EXPECT_EQ(crRecognize(&params_), kOk);
    return buffer_.substr(0, buffer_.find(u'\0'));
  }

  testing::TempDir dir_;
  bool with_capitals_ = false;  // English with its capitals A..Z too
  Kernel* kernel_ = nullptr;
  std::u16string buffer_;
  crRecognitionParams params_{};
};

TEST_F(WordSearchRoadTest, AWordTheLettersMisreadIsTheDictionaryWordWithTheWordPass) {
  start(u"hcuse", u"house");
  EXPECT_EQ(recognize(1), u"house");
}

TEST_F(WordSearchRoadTest, WithoutTheWordPassTheLettersAreReadOneByOne) {
  start(u"hcuse", u"house");
  EXPECT_EQ(recognize(0), u"hcuse");
}

// Sets the quick flag as the word search begins, as the watchdog does after
// a long recognition.
class QuickWordSearch final : public KernelObserver {
 public:
  void before_word_search(Kernel& kernel) override { kernel.set_quick_flag(); }
  void after_segments(Kernel&) override {}
};

TEST_F(WordSearchRoadTest, TheQuickFlagLeavesAFourthReadingUntried) {
  for (const bool quick : {false, true}) {
    start(u"hcuse", u"hause");
    // The second letter read 'c', 'a', 'e' and only fourth 'o'.
    std::vector<std::u16string> readings = readings_of(u"hcuse", u"hcuse");
    readings[1] = u"caeo";
    kernel_->set_letter_search(std::make_unique<testing::ReadLetters>(readings));
    QuickWordSearch observer;
    if (quick) kernel_->set_observer(&observer);
    EXPECT_EQ(recognize(1), quick ? u"hcuse" : u"house") << quick;
    kernel_->set_observer(nullptr);
    crFreeCrMan();
  }
}

TEST_F(WordSearchRoadTest, TheCapitalsOfTheWordListsWordsStayAndAnyWordMayBeginWithOne) {
  struct Case {
    const char* what;
    std::u16string first;
    std::u16string second;
    std::u16string user_word;
    std::u16string text;
  };
  const std::vector<Case> cases = {
      // Inside a word a letter is read in lower case, unless the word list
      // gives the word that capital.
      {"capitals the list gives", u"KWlZ", u"KWIX", u"KWIX", u"KWIX"},
      {"no such word", u"KWlZ", u"KWIX", u"", u"kwlz"},
      // A letter inside a word read only by a capital way of writing it
      // stands for its small letter, as the text will write it.
      {"a capital way of writing inside a word", u"hOusc", u"hOuse", u"", u"house"},
      // "The" stands in the list as "the"; the first letter's case is the
      // case choice's, which reads these short strokes as lower case.
      {"a capital first letter", u"Tbe", u"The", u"", u"the"},
  };
  with_capitals_ = true;
  for (const Case& c : cases) {
    start(c.first, c.second);
    if (!c.user_word.empty()) add_user_word(c.user_word);
    EXPECT_EQ(recognize(1), c.text) << c.what;
    crFreeCrMan();
  }
}

TEST_F(WordSearchRoadTest, AWordOfTheUserDictionaryIsFoundToo) {
  start(u"kwiz", u"kwix");
  add_user_word(u"kwix");
  EXPECT_EQ(recognize(1), u"kwix");
}

TEST_F(WordSearchRoadTest, TheWordsAreOfferedAndTheCallersChoiceReachesTheText) {
  struct Case {
    const char* what;
    std::int32_t choose;
    std::u16string text;
    std::u16string result;
  };
  const std::vector<Case> cases = {
      {"kept", -1, u"", u"then"},
      {"the second word offered", 1, u"", u"than"},
      {"a text returned", -1, u"thus", u"thus"},
      {"dropped", -3, u"", u""},
  };
  for (const Case& c : cases) {
    start(u"tben", u"thax");
    Offers offers;
    offers.choose = c.choose;
    offers.text = c.text;
    params_.callback = answer_word;
    params_.context = &offers;
    params_.delivery_mode = 3;
    EXPECT_EQ(recognize(1), c.result) << c.what;
    ASSERT_EQ(offers.words.size(), 1u) << c.what;
    ASSERT_GE(offers.words[0].size(), 2u) << c.what;
    EXPECT_EQ(offers.words[0][0], u"then") << c.what;
    EXPECT_EQ(offers.words[0][1], u"than") << c.what;
    crFreeCrMan();
  }
}

}  // namespace
}  // namespace inkrec

// The word search on the road of a recognition: crRecognize over stems
// written side by side, whose letters a stand-in for the line passes reads
// with made-up readings, against the English word list of
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
#include "engine/records/fragment_state.h"
#include "engine/records/letter_result.h"
#include "engine/segmentation/line_letter_search.h"
#include "inkrec/inkrec.h"
#include "tests/support/data_file.h"
#include "tests/support/dictionary_data.h"
#include "tests/support/english_word_list.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

constexpr std::uint32_t kEnglish = 5;

// Line passes that read candidate k of the line first as first[k] (9000)
// and second as second[k] (8500), each candidate a letter of its own.
class ReadsLetters final : public LineLetterSearch {
 public:
  ReadsLetters(std::u16string first, std::u16string second)
      : first_(std::move(first)), second_(std::move(second)) {}

 protected:
  int run_line_passes(FragmentState& state, bool first_sweep,
                      PtrArray<FigureGroup>& fragments) override {
    TextLine& line = state.line;
    if (line.word_groups.empty() && line.word_groups.push_default() == nullptr) {
      return kOutOfMemory;
    }
    LineGroup& group = line.word_groups[0];
    if (first_sweep) {
      int status = estimate_fragment_sizes(state);
      if (status == kOk) status = order_fragment_candidates(state);
      for (std::uint32_t k = 0; status == kOk && k < line.candidates.size(); ++k) {
        status = add_letter(line, group, k);
      }
      if (status != kOk) return status;
    }
    if (const int status = group.cover.push_all(group.letter_groups); status != kOk) return status;
    return LineLetterSearch::run_line_passes(state, false, fragments);
  }

 private:
  int add_letter(TextLine& line, LineGroup& group, std::uint32_t k) {
    auto result = std::make_unique<LetterResult>();
    FigureRecord* figure = line.candidates[k];
    if (result->figures.push_back(figure) != kOk || result->coverage.set(k) != kOk ||
        result->members.set(figure->number) != kOk || group_prepare_glyph(*result, false) != kOk) {
      return kOutOfMemory;
    }
    result->index = static_cast<std::int32_t>(k);
    const char16_t readings[2] = {k < first_.size() ? first_[k] : u'x',
                                  k < second_.size() ? second_[k] : u'x'};
    for (int r = 0; r < 2; ++r) {
      Answer answer = Answer::from_code(readings[r]);
      answer.key = static_cast<std::uint16_t>(100 + 2 * k + r);
      answer.components[Answer::kLetterScore] = r == 0 ? 9000 : 8500;
      if (result->answers->insert(answer) != kOk) return kOutOfMemory;
    }
    if (group.letter_groups.push_back(result.get()) != kOk) return kOutOfMemory;
    return line.letter_results.push_back_owned(std::move(result));
  }

  std::u16string first_;
  std::u16string second_;
};

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
    ASSERT_EQ(crSetActiveCharSets(&kEnglish, 1), kOk);
    kernel_->set_letter_search(std::make_unique<ReadsLetters>(first, second));
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

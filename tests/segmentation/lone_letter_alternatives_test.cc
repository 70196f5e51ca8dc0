// The readings a lone letter offers the caller, on the default database
// (data/qlmain.dt) and the held-out letters of the fixture
// "letter_samples.txt": each character once, and for a letter whose two
// case forms are written alike the other form right after the best reading,
// which the caller can choose.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/foundation/capital_letters.h"
#include "engine/foundation/status.h"
#include "inkrec/inkrec.h"
#include "tests/support/trained_letters.h"

namespace inkrec {
namespace {

using testing::WrittenSample;

const std::u16string kDefaultDatabase = [] {
  const std::string path = std::string(INKREC_TEST_DATA_DIR) + "/../../data/qlmain.dt";
  return std::u16string(path.begin(), path.end());
}();

// The letters offered by the one question of a recognition; it answers
// with `chosen`.
struct LetterQuestion {
  std::int32_t chosen = -1;
  std::vector<std::u16string> offered;

  static int ask(crResultChoice* choice, void* context) {
    auto& self = *static_cast<LetterQuestion*>(context);
    const auto* texts = static_cast<const crDynArray*>(choice->candidates.data);
    for (std::uint32_t i = 0; i < choice->candidates.count; ++i) {
      const auto* units = static_cast<const char16_t*>(texts[i].data);
      self.offered.emplace_back(units, units + texts[i].count);
    }
    choice->chosen = self.chosen;
    return 0;
  }
};

class LoneLetterAlternativesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(crInitCrMan(kDefaultDatabase.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr),
              kOk);
    const std::uint32_t english = testing::kEnglishCharset;
    ASSERT_EQ(crSetActiveCharSets(&english, 1), kOk);
  }
  void TearDown() override { crFreeCrMan(); }

  // Recognises the sample alone, letter by letter (no word list), answering
  // the question with `chosen`; the text.
  std::u16string read(const WrittenSample& sample, LetterQuestion& question) {
    for (const test::Points& points : sample.strokes) {
      const crStrokeInput stroke{reinterpret_cast<const crPoint*>(points.data()),
                                 static_cast<std::int32_t>(points.size())};
      EXPECT_EQ(crAddStroke(&stroke, 1, -1, -1), kOk);
    }
    std::u16string buffer(64, u'\0');
    crRecognitionParams params = testing::application_request();
    params.callback = &LetterQuestion::ask;
    params.context = &question;
    params.delivery_mode = 3;
    params.result_buffer = buffer.data();
    params.result_size = static_cast<std::int32_t>(buffer.size());
    EXPECT_EQ(crRecognize(&params), kOk);
    crClearPane();
    return buffer.substr(0, buffer.find(u'\0'));
  }
};

std::u16string lower_case(const std::u16string& text) {
  std::u16string lower;
  for (const char16_t c : text) lower.push_back(static_cast<char16_t>(lower_case_letter(c)));
  return lower;
}

TEST_F(LoneLetterAlternativesTest, ALetterWrittenAlikeInBothCasesOffersBothAndEitherCanBeChosen) {
  const std::u16string alike = u"cosu";
  int seen = 0;
  for (const WrittenSample& sample : testing::read_letter_samples()) {
    if (sample.training || alike.find(sample.code) == std::u16string::npos) continue;
    ++seen;
    SCOPED_TRACE(static_cast<char>(sample.code));
    LetterQuestion keep;
    const std::u16string text = read(sample, keep);
    ASSERT_GE(keep.offered.size(), 2u);
    EXPECT_EQ(keep.offered[0], text);
    EXPECT_EQ(lower_case(keep.offered[0]), std::u16string(1, sample.code));
    EXPECT_EQ(lower_case(keep.offered[1]), lower_case(keep.offered[0]));
    EXPECT_NE(keep.offered[1], keep.offered[0]);

    LetterQuestion other;
    other.chosen = 1;
    EXPECT_EQ(read(sample, other), keep.offered[1]);
  }
  EXPECT_EQ(seen, 4);
}

TEST_F(LoneLetterAlternativesTest, EveryCharacterIsOfferedOnce) {
  for (const WrittenSample& sample : testing::read_letter_samples()) {
    if (sample.training || sample.code < u'a' || sample.code > u'z') continue;
    SCOPED_TRACE(static_cast<char>(sample.code));
    LetterQuestion question;
    read(sample, question);
    ASSERT_FALSE(question.offered.empty());
    for (std::size_t i = 0; i < question.offered.size(); ++i) {
      for (std::size_t j = i + 1; j < question.offered.size(); ++j) {
        EXPECT_NE(question.offered[i], question.offered[j]);
      }
    }
  }
}

}  // namespace
}  // namespace inkrec

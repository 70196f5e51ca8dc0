// Composite characters through crRecognize on the default database: the
// colons, exclamation marks and dotted i's and j's of UNIPEN writers held
// out of the database's training (the fixture "composite_samples.txt"),
// each read through the composite rule that joins its two parts: the
// reading that wins is the one made by composition (no writing variant
// gave it: its figure code is 0).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "inkrec/figure_output.h"
#include "inkrec/inkrec.h"
#include "tests/support/figure_ink.h"
#include "tests/support/trained_letters.h"

namespace inkrec {
namespace {

constexpr std::uint32_t kEnglish = 5;
constexpr std::uint32_t kPunctuation = 38;
constexpr std::uint32_t kKeepFigureOutput = 1;
constexpr std::uint16_t kMadeByComposition = 0;  // the figure code of a composite reading

struct LabelledInk {
  char16_t label = 0;
  std::string writer;
  std::vector<test::Points> strokes;
};

// "LABEL<TAB>WRITER<TAB>x,y x,y ...;x,y ..." a line.
std::vector<LabelledInk> read_composite_samples() {
  std::vector<LabelledInk> samples;
  std::ifstream in(std::string(INKREC_TEST_DATA_DIR) + "/composite_samples.txt");
  std::string line;
  while (std::getline(in, line)) {
    LabelledInk sample;
    sample.label = static_cast<char16_t>(line[0]);
    const std::size_t ink_at = line.find('\t', 2);
    sample.writer = line.substr(2, ink_at - 2);
    std::stringstream strokes(line.substr(ink_at + 1));
    std::string stroke;
    while (std::getline(strokes, stroke, ';')) {
      test::Points points;
      std::stringstream xy(stroke);
      int x = 0, y = 0;
      char comma = 0;
      while (xy >> x >> comma >> y) {
        points.push_back({static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)});
      }
      sample.strokes.push_back(points);
    }
    samples.push_back(sample);
  }
  return samples;
}

class CompositeReadingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string narrow = std::string(INKREC_TEST_DATA_DIR) + "/../../data/qlmain.dt";
    const std::u16string data(narrow.begin(), narrow.end());
    ASSERT_EQ(crInitCrMan(data.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr), kOk);
    ASSERT_EQ(crmSetDebugMode(kKeepFigureOutput), kOk);
  }
  void TearDown() override { crFreeCrMan(); }

  // Recognises the sample with its label's charset active: the status.
  int recognize(const LabelledInk& sample) {
    const std::uint32_t charset =
        sample.label == u':' || sample.label == u'!' ? kPunctuation : kEnglish;
    EXPECT_EQ(crSetActiveCharSets(&charset, 1), kOk);
    EXPECT_EQ(crClearPane(), kOk);
    for (const test::Points& points : sample.strokes) {
      const crStrokeInput stroke{reinterpret_cast<const crPoint*>(points.data()),
                                 static_cast<std::int32_t>(points.size())};
      EXPECT_EQ(crAddStroke(&stroke, 1, -1, -1), kOk);
    }
    std::u16string buffer(256, u'\0');
    crRecognitionParams params = testing::application_request();
    params.result_buffer = buffer.data();
    params.result_size = static_cast<std::int32_t>(buffer.size());
    return crRecognize(&params);
  }

  // The answers of the one group read; empty when the strokes were read as
  // more than one.
  static std::vector<crFigOutReading> answers_of_one_group() {
    void* list = nullptr;
    std::uint32_t groups = 0;
    if (crmGetFigOutList(&list) != kOk || crFigOutGroupCount(list, &groups) != kOk ||
        groups != 1) {
      return {};
    }
    std::uint32_t count = 0;
    EXPECT_EQ(crFigOutGroupAnswers(list, 0, nullptr, 0, &count), kOk);
    std::vector<crFigOutReading> answers(count);
    EXPECT_EQ(crFigOutGroupAnswers(list, 0, answers.data(), count, &count), kOk);
    return answers;
  }
};

// Each sample's two strokes are read as one character, its label first,
// among whose readings stands the composite of its label. For the colon
// and the exclamation mark of two writers the composite, scored by the
// reading of its first part (the stem, the upper dot) and charged for a
// weak second part, is the reading chosen; the others are read right by a
// way of writing of their own.
TEST_F(CompositeReadingTest, TwoPartsOfAnotherWriterAreReadAsTheirComposite) {
  const std::vector<LabelledInk> samples = read_composite_samples();
  ASSERT_EQ(samples.size(), 8u);
  std::string chosen;
  for (const LabelledInk& sample : samples) {
    SCOPED_TRACE(std::string(1, static_cast<char>(sample.label)) + " of " + sample.writer);
    ASSERT_EQ(sample.strokes.size(), 2u);
    ASSERT_EQ(recognize(sample), kOk);
    const std::vector<crFigOutReading> answers = answers_of_one_group();
    ASSERT_FALSE(answers.empty());
    EXPECT_EQ(answers.front().character, sample.label);
    const auto composite = std::find_if(answers.begin(), answers.end(), [&](const crFigOutReading& a) {
      return a.character == sample.label && a.figure_code == kMadeByComposition;
    });
    EXPECT_NE(composite, answers.end());
    if (composite == answers.begin()) chosen += sample.writer + " ";
  }
  EXPECT_EQ(chosen, "w0386 w0463 ");
}

}  // namespace
}  // namespace inkrec

// The letter rules of the digits one, two, three, six and seven on the
// default database (data/qlmain.dt) and the lone digits of the fixture
// "digit_samples.txt", read with only the digits active: ones with a long
// flag that the database reads as seven, fives whose bar was written apart
// that it reads as three and fours of two strokes that it reads as one, two
// or six, beside narrow sevens, ones with a foot and threes of two strokes
// that stay as they are.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "inkrec/inkrec.h"
#include "tests/support/trained_letters.h"

namespace inkrec {
namespace {

constexpr std::uint32_t kDigitsCharset = 3;

const std::u16string kDefaultDatabase = [] {
  const std::string path = std::string(INKREC_TEST_DATA_DIR) + "/../../data/qlmain.dt";
  return std::u16string(path.begin(), path.end());
}();

struct DigitSample {
  char digit = 0;
  std::string writer;
  std::vector<std::vector<crPoint>> strokes;
};

// "DIGIT<TAB>WRITER<TAB>STROKES", strokes separated by ';', points "x,y"
// by blanks.
std::vector<DigitSample> read_digit_samples() {
  std::vector<DigitSample> samples;
  std::ifstream in(std::string(INKREC_TEST_DATA_DIR) + "/digit_samples.txt");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string digit, ink;
    DigitSample sample;
    std::getline(fields, digit, '\t');
    std::getline(fields, sample.writer, '\t');
    std::getline(fields, ink);
    sample.digit = digit.empty() ? 0 : digit[0];
    std::istringstream strokes(ink);
    std::string stroke;
    while (std::getline(strokes, stroke, ';')) {
      std::istringstream points(stroke);
      std::vector<crPoint>& out = sample.strokes.emplace_back();
      int x = 0, y = 0;
      char comma = 0;
      while (points >> x >> comma >> y) {
        out.push_back({static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)});
      }
    }
    samples.push_back(std::move(sample));
  }
  return samples;
}

class LetterRulesDigitsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(crInitCrMan(kDefaultDatabase.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr),
              kOk);
    ASSERT_EQ(crSetActiveCharSets(&kDigitsCharset, 1), kOk);
  }
  void TearDown() override { crFreeCrMan(); }

  // Recognises the sample alone; the text.
  std::u16string read(const DigitSample& sample) {
    std::vector<crStrokeInput> inputs;
    for (const std::vector<crPoint>& points : sample.strokes) {
      inputs.push_back({points.data(), static_cast<std::int32_t>(points.size())});
    }
    EXPECT_EQ(crAddStroke(inputs.data(), static_cast<int>(inputs.size()), -1, -1), kOk);
    std::u16string buffer(64, u'\0');
    crRecognitionParams params = testing::application_request();
    params.skew_search = 1;
    params.result_buffer = buffer.data();
    params.result_size = static_cast<std::int32_t>(buffer.size());
    EXPECT_EQ(crRecognize(&params), kOk);
    crClearPane();
    return buffer.substr(0, buffer.find(u'\0'));
  }
};

TEST_F(LetterRulesDigitsTest, FlaggedOnesFivesWithTheirBarApartAndOpenFoursAreReadRight) {
  struct Case {
    const char* what;
    char digit;
    int samples;
  };
  const Case kCases[] = {
      {"a one with a long flag (a third as wide as it is tall or less) or a foot", '1', 8},
      {"a seven about two fifths as wide as it is tall", '7', 3},
      {"a five of two strokes, its bar one of them", '5', 3},
      {"a three, once of one stroke and once of two without a bar", '3', 2},
      {"a four of two strokes, its open left part one of them", '4', 6},
  };
  const std::vector<DigitSample> samples = read_digit_samples();
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    int seen = 0;
    for (const DigitSample& sample : samples) {
      if (sample.digit != c.digit) continue;
      ++seen;
      SCOPED_TRACE(sample.writer);
      const std::u16string text = read(sample);
      ASSERT_FALSE(text.empty());
      EXPECT_EQ(text[0], static_cast<char16_t>(c.digit));
    }
    EXPECT_EQ(seen, c.samples);
  }
}

}  // namespace
}  // namespace inkrec

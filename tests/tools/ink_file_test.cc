// Reading ink files: the two line forms, and a clear error for each way a
// line can be wrong, while the lines around it are still read.
#include "tools/inkrec/ink_file.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace inkrec::tool {
namespace {

std::vector<std::vector<std::pair<int, int>>> points_of(const InkSample& sample) {
  std::vector<std::vector<std::pair<int, int>>> strokes;
  for (const auto& stroke : sample.strokes) {
    strokes.emplace_back();
    for (const crPoint& p : stroke) strokes.back().emplace_back(p.x, p.y);
  }
  return strokes;
}

TEST(InkFile, ReadsLabelledAndBareSamples) {
  InkSample sample;
  std::string error;
  ASSERT_TRUE(parse_ink_line("not he\tw0655\t16,40 18,37;30,16\r", &sample, &error)) << error;
  EXPECT_TRUE(sample.labelled);
  EXPECT_EQ(sample.label, "not he");
  EXPECT_EQ(sample.writer, "w0655");
  using Strokes = std::vector<std::vector<std::pair<int, int>>>;
  EXPECT_EQ(points_of(sample), (Strokes{{{16, 40}, {18, 37}}, {{30, 16}}}));

  ASSERT_TRUE(parse_ink_line(" -5,7  32767,-32768 ", &sample, &error)) << error;
  EXPECT_FALSE(sample.labelled);
  EXPECT_EQ(points_of(sample), (Strokes{{{-5, 7}, {32767, -32768}}}));

  EXPECT_FALSE(parse_ink_line("  \t ", &sample, &error));
  EXPECT_EQ(error, "") << "a blank line is no error";
}

TEST(InkFile, NamesWhatIsWrongWithALine) {
  const std::string huge_stroke = [] {
    std::string text;
    for (std::size_t i = 0; i <= kMaxStrokePoints; ++i) text += "1,2 ";
    return text;
  }();
  struct Case {
    std::string line;
    std::string error;
  };
  const Case cases[] = {
      {"a\t1,2", "expected label<TAB>writer<TAB>strokes or the strokes alone, found 2 fields"},
      {"a\tw\t1,2\textra", "expected label<TAB>writer<TAB>strokes or the strokes alone, found 4 fields"},
      {"1,2 3", "stroke 1: not a point x,y with both in -32768..32767: \"3\""},
      {"1,2;3,x", "stroke 2: not a point x,y with both in -32768..32767: \"3,x\""},
      {"1,2;40000,1", "stroke 2: not a point x,y with both in -32768..32767: \"40000,1\""},
      {"1,2,3", "stroke 1: not a point x,y with both in -32768..32767: \"1,2,3\""},
      {"1,2;;3,4", "stroke 2: an empty stroke"},
      {"a\tw\t", "stroke 1: an empty stroke"},
      {huge_stroke, "stroke 1: a stroke of more than 65535 points"},
  };
  for (const Case& c : cases) {
    InkSample sample;
    std::string error;
    EXPECT_FALSE(parse_ink_line(c.line, &sample, &error)) << c.line.substr(0, 40);
    EXPECT_EQ(error, c.error) << c.line.substr(0, 40);
  }
}

TEST(InkFile, KeepsTheGoodLinesAroundABadOneWithTheirNumbers) {
  std::istringstream in("1\tw1\t1,1 2,2\n\n1\tw1\t1,1 2\n3,3\n");
  std::vector<InkSample> samples;
  std::vector<InkError> errors;
  read_ink(in, &samples, &errors);
  ASSERT_EQ(samples.size(), 2u);
  EXPECT_EQ(samples[0].line, 1);
  EXPECT_EQ(samples[1].line, 4);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].line, 3);
  EXPECT_EQ(errors[0].message, "stroke 1: not a point x,y with both in -32768..32767: \"2\"");
}

}  // namespace
}  // namespace inkrec::tool

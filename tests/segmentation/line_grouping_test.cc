// The grouping of a pane's strokes into text lines, on drawn ink: which
// line every stroke ends on.
#include "engine/segmentation/line_grouping.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "tests/support/ink_samples.h"
#include "tests/support/line_pass.h"

namespace inkrec {
namespace {

using testing::Ink;
using testing::InkStroke;
using testing::LinePass;
using testing::LinePassResult;

InkStroke word(int x, int y, int humps = 6) { return testing::hump_word(x, y, humps); }
InkStroke bar(int x0, int y0, int x1, int y1) { return testing::straight_stroke(x0, y0, x1, y1); }
InkStroke dot(int x, int y) { return testing::dot_stroke(x, y); }

// A line of three words on the base line y.
Ink plain_line(int y) { return {word(1000, y), word(1130, y), word(1260, y)}; }

// Words with a descender (after the first word) and an ascender (after
// the second), reaching 60 below the base line and 95 above it.
Ink line_with_tails(int y) {
  return {word(1000, y, 5), bar(1090, y - 40, 1090, y + 60), word(1110, y, 5),
          bar(1200, y - 95, 1200, y), word(1220, y, 5)};
}

// A word, an i with its dot written after the stem, and a word with an
// accent over it.
Ink line_with_marks(int y) {
  return {word(1000, y), bar(1110, y - 40, 1110, y), dot(1109, y - 58), word(1130, y),
          bar(1170, y - 50, 1180, y - 62)};
}

Ink join_all(std::initializer_list<Ink> parts) {
  Ink ink;
  for (const Ink& part : parts) ink = testing::join(ink, part);
  return ink;
}

struct Scenario {
  std::string name;
  Ink ink;
  std::vector<int> lines;  // the line of every stroke
};

TEST(LineGroupingTest, EveryStrokeEndsOnItsWrittenLine) {
  // A stroke of the first line whose tail runs down through the second.
  Ink crossing = plain_line(1000);
  crossing.insert(crossing.begin() + 2, bar(1250, 960, 1240, 1130));
  const Scenario scenarios[] = {
      {"two lines", testing::join(plain_line(1000), plain_line(1150)), {0, 0, 0, 1, 1, 1}},
      {"tails reaching the next line",
       join_all({line_with_tails(1000), line_with_tails(1100), line_with_tails(1200)}),
       {0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2}},
      {"dots and accents", testing::join(line_with_marks(1000), line_with_marks(1150)),
       {0, 0, 0, 0, 0, 1, 1, 1, 1, 1}},
      {"a stroke crossing into the line below", testing::join(crossing, plain_line(1150)),
       {0, 0, 0, 0, 1, 1, 1}},
      {"a single stroke", {word(1000, 1000)}, {0}},
      {"an empty pane", {}, {}},
  };
  LinePass pass;
  for (const Scenario& s : scenarios) {
    const LinePassResult result = pass.run(s.ink);
    EXPECT_EQ(result.status, kOk) << s.name;
    EXPECT_EQ(result.line_of, s.lines) << s.name;
  }
}

// The same lines are found without the writing-order switch.
TEST(LineGroupingTest, LinesWithoutTheWritingOrder) {
  LinePass pass;
  pass.params.layout_switch = 0;
  EXPECT_EQ(pass.run(testing::join(plain_line(1000), plain_line(1150))).line_of,
            (std::vector<int>{0, 0, 0, 1, 1, 1}));
  EXPECT_EQ(pass.run(testing::join(line_with_marks(1000), line_with_marks(1150))).line_of,
            (std::vector<int>{0, 0, 0, 0, 0, 1, 1, 1, 1, 1}));
}

// Requests for one line, and ink no taller than one and a half letters,
// give one line holding every stroke.
TEST(LineGroupingTest, OneLineWhenAskedOrLow) {
  const Ink two_lines = testing::join(plain_line(1000), plain_line(1150));
  LinePass pass;
  for (const int mode : {1, 2}) {
    pass.params.mode = mode;
    const LinePassResult result = pass.run(two_lines);
    EXPECT_EQ(result.lines, 1) << mode;
    EXPECT_EQ(result.line_of, std::vector<int>(6, 0)) << mode;
  }
  pass.params.mode = 0;
  // Two words, the second 20 units lower: 60 units in all.
  const LinePassResult low = pass.run({word(1000, 1000), word(1300, 1020)});
  EXPECT_EQ(low.line_of, (std::vector<int>{0, 0}));
}

// Two strokes, one wholly above the other and not beside it: a dot over a
// short stem, written either way round, is one line.
TEST(LineGroupingTest, ADotOverAStemIsOneLine) {
  LinePass pass;
  for (const Ink& ink : {Ink{bar(1000, 1000, 1000, 1040), dot(1000, 900)},
                         Ink{dot(1000, 900), bar(1000, 1000, 1000, 1040)}}) {
    const LinePassResult result = pass.run(ink);
    EXPECT_EQ(result.status, kOk);
    EXPECT_EQ(result.line_of, (std::vector<int>{0, 0}));
  }
}

}  // namespace
}  // namespace inkrec

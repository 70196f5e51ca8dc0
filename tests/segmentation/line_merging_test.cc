// The merging passes over text lines given as the first assignment of
// strokes to lines might leave them: which line every stroke ends on.
#include "engine/segmentation/line_merging.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/segmentation/line_grouping.h"
#include "engine/segmentation/line_set.h"
#include "engine/segmentation/stroke_intake.h"
#include "tests/support/ink_samples.h"
#include "tests/support/line_pass.h"
#include "tests/support/split_ink.h"

namespace inkrec {
namespace {

using testing::Ink;
using testing::InkStroke;

InkStroke word(int x, int y) { return testing::hump_word(x, y); }
InkStroke bar(int x0, int y0, int x1, int y1) { return testing::straight_stroke(x0, y0, x1, y1); }

struct Case {
  std::string name;
  Ink ink;
  std::vector<std::vector<int>> lines;  // the strokes of each line to begin with
  std::vector<int> expected;            // the line of every stroke afterwards
};

// Measures the ink as the line analysis does, puts the strokes on the
// lines given, fits them and runs the merging passes.
std::vector<int> merge(const Case& c) {
  testing::SplitBench bench;
  RecognitionContext context = bench.context();
  for (const InkStroke& stroke : c.ink) {
    std::vector<PointRecord> points;
    for (const PackedPoint p : stroke) {
      points.push_back(PointRecord{p, TrajectoryRecord(static_cast<std::uint16_t>(points.size()))});
    }
    EXPECT_EQ(add_figure_to_pane(context, points, {}), kOk);
  }
  EXPECT_EQ(reserve_stroke_pairs(context, static_cast<std::uint32_t>(c.ink.size())), kOk);
  EXPECT_EQ(analyse_line_set(context, true), kOk);
  LineWork& work = bench.work();
  work.text_lines.clear();
  for (StrokeRecord& stroke : work.strokes) stroke.line_index = 0xFFFF;
  LineSet lines(context);
  for (const std::vector<int>& strokes : c.lines) {
    EXPECT_EQ(lines.open_line(strokes[0]), kOk);
    for (std::size_t k = 1; k < strokes.size(); ++k) {
      EXPECT_EQ(lines.add_stroke_to_line(lines.line_count() - 1, strokes[k], false), kOk);
    }
  }
  EXPECT_EQ(lines.fit(), kOk);
  EXPECT_EQ(run_merging_passes(lines), kOk) << c.name;
  EXPECT_TRUE(testing::lines_agree(work, false)) << c.name;
  std::vector<int> result;
  for (int s = 0; s < lines.stroke_count(); ++s) result.push_back(lines.line_of(s));
  return result;
}

TEST(LineMergingTest, SmallLinesJoinTheirLetters) {
  const Case cases[] = {
      {"the dot of an i on a line of its own",
       {word(1000, 1000), bar(1110, 960, 1110, 1000), {{1109, 942}, {1111, 943}}, word(1130, 1000)},
       {{0, 1, 3}, {2}},
       {0, 0, 0, 0}},
      {"a line split in two at the same height",
       {word(1000, 1000), word(1130, 1000), word(1260, 1000), word(1390, 1000)},
       {{0, 1}, {2, 3}},
       {0, 0, 0, 0}},
      {"an accent written after the next line",
       {word(1000, 1000), word(1130, 1000), word(1000, 1150), word(1130, 1150),
        bar(1170, 950, 1180, 938)},
       {{0, 1}, {2, 3}, {4}},
       {0, 0, 1, 1, 0}},
      {"marks between two wide lines go to the nearer one",
       {word(1000, 1000), bar(1100, 950, 1108, 942), word(1130, 1000), word(1000, 1200),
        word(1130, 1200), bar(1170, 1152, 1178, 1144)},
       {{0, 2}, {1, 5}, {3, 4}},
       {0, 0, 0, 1, 1, 1}},
  };
  for (const Case& c : cases) EXPECT_EQ(merge(c), c.expected) << c.name;
}

// Written lines stay apart: two full lines, and a line with a stroke that
// crosses into the line below.
TEST(LineMergingTest, WrittenLinesStayApart) {
  const Case cases[] = {
      {"two lines",
       {word(1000, 1000), word(1130, 1000), word(1000, 1150), word(1130, 1150)},
       {{0, 1}, {2, 3}},
       {0, 0, 1, 1}},
      {"a tail crossing the line below",
       {word(1000, 1000), bar(1125, 960, 1120, 1130), word(1130, 1000), word(1000, 1150),
        word(1130, 1150)},
       {{0, 1, 2}, {3, 4}},
       {0, 0, 0, 1, 1}},
  };
  for (const Case& c : cases) EXPECT_EQ(merge(c), c.expected) << c.name;
}

}  // namespace
}  // namespace inkrec

// The letter search of one line in the second sweep, over letter results
// made by hand: the cover, the reference lines and the reference heights
// in turn, the skip switch, the stop flag and a line without figures.
#include "engine/segmentation/fragment_passes.h"

#include <gtest/gtest.h>

#include "engine/foundation/status.h"
#include "tests/support/result_line.h"

namespace inkrec {
namespace {

using test::ResultLine;

// "no" in one word group of two figures, each letter's reading placing
// the upper line 3 rows above its top.
void write_no(ResultLine& line) {
  const std::uint32_t k = line.word({0, 1});
  for (std::size_t b = 0; b < 2; ++b) {
    FigureGroup& r = line.result({b}, b == 0 ? u'n' : u'o', 9000, static_cast<int>(k));
    r.answers->answers()[0].source_box[0] = 10;
  }
  line.result({0, 1}, u'm', 6000, static_cast<int>(k));
}

TEST(FragmentPassesTest, TheSecondSweepCoversFitsAndMeasuresTheLine) {
  ResultLine line(2);
  write_no(line);
  ASSERT_EQ(run_fragment_passes(line.state(), false), kOk);
  EXPECT_EQ(ResultLine::text_of(line.state().chosen_results), u"no");
  EXPECT_EQ(line.state().chosen_results[0]->geometry->reference_band().top, 67);
  EXPECT_EQ(line.drawn().line().fits[2].point_count(), 2);
  EXPECT_EQ(line.drawn().line().body_height, 33);
  EXPECT_EQ(line.drawn().line().part_flag(), 1);
}

// Base lines given with the ink skip the reference lines: the letters keep
// the bands they came with, and the heights are measured on those.
TEST(FragmentPassesTest, BaseLinesGivenWithTheInkSkipTheReferenceLines) {
  ResultLine line(2);
  write_no(line);
  line.kernel().params_.caller_base_lines = 1;
  ASSERT_EQ(run_fragment_passes(line.state(), false), kOk);
  EXPECT_EQ(ResultLine::text_of(line.state().chosen_results), u"no");
  EXPECT_EQ(line.state().chosen_results[0]->geometry->reference_band().top, -1);
  EXPECT_TRUE(line.drawn().line().fits[2].is_empty());
}

TEST(FragmentPassesTest, AStopRequestOrALineWithoutFiguresChangesNothing) {
  {
    SCOPED_TRACE("stop");
    ResultLine line(2);
    write_no(line);
    line.kernel().stop_ = true;
    EXPECT_EQ(run_fragment_passes(line.state(), false), kStopped);
    EXPECT_TRUE(line.state().chosen_results.empty());
    EXPECT_TRUE(line.group(0).cover.empty());
  }
  for (const bool build : {false, true}) {
    SCOPED_TRACE(build);
    ResultLine line(2);
    write_no(line);
    line.drawn().line().candidates.remove_all();
    EXPECT_EQ(run_fragment_passes(line.state(), build), kOk);
    EXPECT_TRUE(line.group(0).cover.empty());
    EXPECT_EQ(line.drawn().line().letter_results.size(), 3u);
    EXPECT_EQ(line.drawn().line().body_height, 1);
  }
}

}  // namespace
}  // namespace inkrec

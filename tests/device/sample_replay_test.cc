#include "device/sample_replay.h"

#include <gtest/gtest.h>

namespace ductra::device {
namespace {

TEST(SampleReplayTest, ASampleIsWrittenInsideTheBoxWithItsProportionsAndPenStates) {
  const WritingBox box{100, 200, 400, 200};
  // Two strokes of a tall sample: 0..10 wide, 0..40 high.
  const std::optional<WrittenSample> sample = written_sample("x\tw1\t0,0 10,40;5,0 5,10", box);
  ASSERT_TRUE(sample);
  EXPECT_EQ(sample->label, "x");
  const std::vector<tapshim::ReplayStep> expected = {
      {100, 7, 100, 200}, {0, 15, 150, 400}, {10, 13, 150, 400},  // height 40 -> 200: five units a point
      {100, 7, 125, 200}, {0, 15, 125, 250}, {10, 13, 125, 250},
  };
  EXPECT_EQ(sample->steps, expected);
  EXPECT_EQ(playing_time(*sample), 220u);
  EXPECT_EQ(replay_text(*sample).substr(0, 23), "100 7 100 200\n0 15 150 ");
}

TEST(SampleReplayTest, AStrokesStartFollowsThePenDownAtOnce) {
  // Four units a point: 0, 20, 40 lie within the shim's move tolerance (40)
  // of the first point, 80 is the first beyond it; the points from there on
  // come at the pen's pace.
  const std::optional<WrittenSample> sample =
      written_sample("x\tw1\t0,0 5,0 10,0 20,0 100,0", WritingBox{0, 0, 400, 200});
  ASSERT_TRUE(sample);
  std::vector<std::uint32_t> waits;
  for (const tapshim::ReplayStep& step : sample->steps) waits.push_back(step.wait_ms);
  EXPECT_EQ(waits, (std::vector<std::uint32_t>{100, 0, 0, 0, 10, 10}));
}

TEST(SampleReplayTest, LinesWithoutASampleAreSkipped) {
  for (const char* line : {"", "# a comment", "x\tw1", "x\tw1\t", "x\tw1\t1,2 3", "x\tw1\t1,2 3,b", "x\tw1\t1,2\textra"}) {
    EXPECT_FALSE(written_sample(line, WritingBox{})) << line;
  }
  EXPECT_TRUE(written_sample("x\tw1\t1,2 3,4\r", WritingBox{})) << "a carriage return ends the line";
  EXPECT_TRUE(written_sample("x\tw1\t7,7", WritingBox{})) << "a single point (a dot) has no extent";
}

}  // namespace
}  // namespace ductra::device

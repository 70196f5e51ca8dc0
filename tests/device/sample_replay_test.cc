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
      {100, 7, 100, 200}, {10, 15, 150, 400}, {10, 13, 150, 400},  // height 40 -> 200: five units a point
      {100, 7, 125, 200}, {10, 15, 125, 250}, {10, 13, 125, 250},
  };
  EXPECT_EQ(sample->steps, expected);
  EXPECT_EQ(playing_time(*sample), 240u);
  EXPECT_EQ(replay_text(*sample).substr(0, 24), "100 7 100 200\n10 15 150 ");
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

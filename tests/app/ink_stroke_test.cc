#include "app/shell/ink_stroke.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/app/failing_allocations.h"

namespace ductra {
namespace {

struct Sample {
  InkPoint point;
  std::uint32_t tick;
};

InkStrokeList list_of(const std::vector<std::vector<Sample>>& strokes) {
  InkStrokeList list;
  for (const std::vector<Sample>& samples : strokes) {
    EXPECT_TRUE(list.begin_stroke(samples.front().tick));
    for (const Sample& s : samples) list.take_sample(s.point, s.tick);
    list.end_stroke();
  }
  return list;
}

// A point is kept after a move of 8 touch units or more in either axis
// from the last kept one; every sample extends the box and the last tick.
TEST(InkStrokeListTest, NearSamplesExtendTheBoxAndTheLastTickButAddNoPoint) {
  struct Case {
    std::vector<Sample> samples;
    std::vector<InkPoint> kept;
  };
  const std::vector<Case> cases = {
      {{{{100, 100}, 5}, {{107, 100}, 6}, {{100, 93}, 7}, {{93, 107}, 8}}, {{100, 100}}},
      {{{{100, 100}, 5}, {{108, 100}, 6}, {{108, 92}, 7}, {{101, 85}, 8}}, {{100, 100}, {108, 100}, {108, 92}}},
      {{{{100, 100}, 5}, {{92, 107}, 6}, {{85, 114}, 7}}, {{100, 100}, {92, 107}}},
      {{{{-3, -3}, 5}}, {{-3, -3}}},
  };
  for (const Case& c : cases) {
    const InkStrokeList list = list_of({c.samples});
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].points, c.kept);
    EXPECT_EQ(list[0].start_tick, c.samples.front().tick);
    EXPECT_EQ(list[0].last_tick, c.samples.back().tick);
    InkBox box;
    for (const Sample& s : c.samples) box.include(s.point);
    EXPECT_EQ(list.box(), box);
  }
}

TEST(InkStrokeListTest, RemovingTheOldestKeepsTheRestAndTheBox) {
  InkStrokeList list = list_of({{{{0, 0}, 1}}, {{{400, 40}, 2}}, {{{40, 800}, 3}}});
  list.remove_oldest(2);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].points, (std::vector<InkPoint>{{40, 800}}));
  EXPECT_EQ(list.box(), (InkBox{0, 0, 400, 800}));
  list.clear();
  EXPECT_TRUE(list.empty());
  EXPECT_TRUE(list.box().is_empty());
  EXPECT_EQ(list.box(), InkBox{});
}

TEST(InkStrokeListTest, APixelCopyDividesEveryPointAndTheBoxTowardZero) {
  const InkStrokeList list = list_of({{{{-5, 7}, 1}, {{13, -9}, 2}}, {{{4001, 3}, 3}}});
  const InkStrokeList pixels = list.copy_in_pixels();
  ASSERT_EQ(pixels.size(), 2u);
  EXPECT_EQ(pixels[0].points, (std::vector<InkPoint>{{-1, 1}, {3, -2}}));
  EXPECT_EQ(pixels[1].points, (std::vector<InkPoint>{{1000, 0}}));
  EXPECT_EQ(pixels.box(), (InkBox{-1, -2, 1000, 1}));
  EXPECT_EQ(pixels[1].last_tick, 3u);
}

TEST(InkStrokeListTest, WithoutMemoryNoStrokeIsBegunAndNoSampleTaken) {
  InkStrokeList list = list_of({{{{0, 0}, 1}}});
  bool begun = true;
  {
    testing::FailingAllocations no_memory(0);
    begun = list.begin_stroke(2);
    list.take_sample({400, 400}, 3);
  }
  EXPECT_FALSE(begun);
  EXPECT_FALSE(list.is_building());
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].points, (std::vector<InkPoint>{{0, 0}}));
  EXPECT_EQ(list.box(), (InkBox{0, 0, 0, 0}));
}

}  // namespace
}  // namespace ductra

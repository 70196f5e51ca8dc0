#include "engine/records/point_runs.h"

#include <gtest/gtest.h>

#include <vector>

namespace inkrec {
namespace {

struct NumberedPoint {
  PackedPoint point;
  std::uint16_t number;
};
int point_number_of(const NumberedPoint& r) { return r.number; }

std::vector<NumberedPoint> run_of(const std::vector<int>& numbers) {
  std::vector<NumberedPoint> run;
  for (int n : numbers)
    run.push_back({{static_cast<std::int16_t>(n), 0}, static_cast<std::uint16_t>(n)});
  return run;
}

TEST(PointRunsTest, FirstAndLastEntries) {
  const std::vector<NumberedPoint> run = run_of({2, 5, 9});
  EXPECT_EQ(run_first_entry(run.data(), 3), &run[0]);
  EXPECT_EQ(run_last_entry(run.data(), 3), &run[2]);
  EXPECT_EQ(run_first_entry(run.data(), 0), nullptr);
  EXPECT_EQ(run_last_entry<NumberedPoint>(nullptr, 3), nullptr);
}

TEST(PointRunsTest, IndexOfPointNumber) {
  const std::vector<NumberedPoint> run = run_of({2, 5, 9});
  struct Case {
    int number, index;
  };
  const Case cases[] = {{2, 0}, {5, 1}, {9, 2}, {1, -1}, {10, -1}, {7, -2}, {3, -2}};
  for (const Case& c : cases) {
    EXPECT_EQ(run_index_of_point_number(run.data(), 3, c.number), c.index) << c.number;
  }
  EXPECT_EQ(run_index_of_point_number(run.data(), 0, 5), -1);
}

TEST(PointRunsTest, LevelCrossings) {
  const PackedPoint points[] = {{0, 0}, {1, 10}, {2, 0}, {3, 10}, {4, 5}};
  const PointSpan run(points, 5);
  const LevelCrossings up = run_upward_crossings(run, 5);
  EXPECT_EQ(up.count, 2);
  EXPECT_TRUE(up.ends_at_or_above);
  // 10 -> 5 does not go below the level.
  const LevelCrossings down = run_downward_crossings(run, 5);
  EXPECT_EQ(down.count, 1);
  EXPECT_TRUE(down.ends_at_or_above);
  EXPECT_FALSE(run_upward_crossings(run, 4).ends_at_or_above);
  EXPECT_EQ(run_downward_crossings(PointSpan(), 5).count, 0);
}

TEST(PointRunsTest, NearestEntryAlongTheStroke) {
  const PackedPoint stroke[] = {{0, 0}, {1, 0}, {2, 0}, {10, 0}, {11, 0}};
  const PointSpan points(stroke, 5);
  const std::vector<NumberedPoint> ends = run_of({0, 4});
  EXPECT_EQ(nearest_entry_along_run(points, 2, ends.data(), 2), 0);  // 2 behind, 9 ahead
  EXPECT_EQ(nearest_entry_along_run(points, 3, ends.data(), 2), 1);  // 10 behind, 1 ahead
  const std::vector<NumberedPoint> late = run_of({3, 4});
  EXPECT_EQ(nearest_entry_along_run(points, 1, late.data(), 2), 0);
  const std::vector<NumberedPoint> early = run_of({0, 1});
  EXPECT_EQ(nearest_entry_along_run(points, 4, early.data(), 2), 1);
  const std::vector<NumberedPoint> beyond = run_of({1, 40});
  EXPECT_EQ(nearest_entry_along_run(points, 4, beyond.data(), 2), 0);
  EXPECT_EQ(nearest_entry_along_run(points, 5, ends.data(), 2), -1);
  EXPECT_EQ(nearest_entry_along_run(points, -1, ends.data(), 2), -1);
  EXPECT_EQ(nearest_entry_along_run(points, 1, ends.data(), 0), -1);

  // Equal distances on both sides: the later entry wins.
  const PackedPoint even[] = {{0, 0}, {3, 0}, {6, 0}};
  const std::vector<NumberedPoint> both = run_of({0, 2});
  EXPECT_EQ(nearest_entry_along_run(PointSpan(even, 3), 1, both.data(), 2), 1);
}

}  // namespace
}  // namespace inkrec

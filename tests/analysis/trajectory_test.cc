#include "engine/analysis/trajectory.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/analysis/self_crossings.h"
#include "engine/analysis/stroke_feature_pass.h"

namespace inkrec {
namespace {

using Points = std::vector<PackedPoint>;

// Appends the points from `from` (excluded) to `to` (included) in steps of
// `step` along the one axis that changes.
void run_to(Points& points, PackedPoint to, int step) {
  PackedPoint p = points.back();
  while (!(p == to)) {
    if (p.x != to.x)
      p.x = static_cast<std::int16_t>(p.x < to.x ? std::min(p.x + step, int{to.x})
                                                 : std::max(p.x - step, int{to.x}));
    if (p.y != to.y)
      p.y = static_cast<std::int16_t>(p.y < to.y ? std::min(p.y + step, int{to.y})
                                                 : std::max(p.y - step, int{to.y}));
    points.push_back(p);
  }
}

std::vector<int> vertex_numbers(const Trajectory& trajectory) {
  std::vector<int> numbers;
  for (const PointRecord& v : trajectory) numbers.push_back(v.trajectory.point_number);
  return numbers;
}

const TrajectoryRecord* vertex_at(const Trajectory& trajectory, int number) {
  for (const PointRecord& v : trajectory) {
    if (v.trajectory.point_number == number) return &v.trajectory;
  }
  return nullptr;
}

std::unique_ptr<Stroke> stroke_of(const Points& points) {
  auto stroke = std::make_unique<Stroke>();
  EXPECT_EQ(stroke->append_n(points.data(), static_cast<std::uint32_t>(points.size())), kOk);
  return stroke;
}

// A loop: right along y = 20 (even x), up, left along y = 0, then down
// x = 15 on odd y, crossing the first leg between points 7 and 8 (and 42 and 43).
Points loop_stroke() {
  Points points{{0, 20}};
  run_to(points, {30, 20}, 2);
  run_to(points, {30, 0}, 2);
  run_to(points, {16, 0}, 2);
  points.push_back({15, 1});
  run_to(points, {15, 29}, 2);
  return points;
}

TEST(Trajectory, StraightLineIsCutEveryTwoSteps) {
  Points line{{0, 0}};
  run_to(line, {100, 0}, 1);
  Trajectory trajectory;
  ASSERT_EQ(build_trajectory(line.data(), static_cast<std::int32_t>(line.size()), trajectory, 10),
            kOk);
  EXPECT_EQ(vertex_numbers(trajectory), (std::vector<int>{0, 21, 42, 63, 84, 100}));
  EXPECT_EQ(trajectory[0].trajectory.flags, TrajectoryRecord::kStrokeStart);
  vertex_statistics(trajectory);
  EXPECT_EQ(trajectory[2].trajectory.ratio, 1000);
  EXPECT_EQ(trajectory[0].trajectory.ratio, 10000);
  for (const PointRecord& v : trajectory) EXPECT_EQ(v.trajectory.score, 0);
}

TEST(Trajectory, ZigzagKeepsItsCorners) {
  Points zigzag{{0, 0}};
  run_to(zigzag, {20, 20}, 1);
  run_to(zigzag, {40, 0}, 1);
  run_to(zigzag, {60, 20}, 1);
  Trajectory trajectory;
  ASSERT_EQ(analyse_trajectory(*stroke_of(zigzag), trajectory, 20), kOk);
  EXPECT_EQ(vertex_numbers(trajectory), (std::vector<int>{0, 20, 40, 60}));
  EXPECT_EQ(trajectory[1].trajectory.ratio, 0);
  EXPECT_EQ(trajectory[2].trajectory.ratio, 0);
  // The corners bend opposite ways.
  EXPECT_LT(std::int64_t{trajectory[1].trajectory.score} * trajectory[2].trajectory.score, 0);
}

TEST(Trajectory, TurningBackGivesANegativeCosine) {
  // The cosines of vertices turning by less than, exactly and more than a
  // right angle keep their sign.
  const struct {
    PackedPoint next;
    int ratio;
  } cases[] = {{{70, 10}, 948}, {{40, 30}, 0}, {{10, 10}, -948}, {{0, 0}, -1000}};
  for (const auto& c : cases) {
    Trajectory trajectory;
    for (const PackedPoint p : {PackedPoint{0, 0}, PackedPoint{40, 0}, c.next}) {
      trajectory.push_back(
          PointRecord{p, TrajectoryRecord(static_cast<std::uint16_t>(trajectory.size()))});
    }
    vertex_statistics(trajectory);
    EXPECT_EQ(trajectory[1].trajectory.ratio, c.ratio) << c.next.x << "," << c.next.y;
  }
}

TEST(Trajectory, ShortStrokesGetTheirEnds) {
  const Points one{{5, 5}};
  const Points two{{5, 5}, {9, 5}};
  const Points same{{5, 5}, {5, 5}};
  Trajectory trajectory;
  ASSERT_EQ(analyse_trajectory(*stroke_of(one), trajectory, 0), kOk);
  EXPECT_EQ(vertex_numbers(trajectory), (std::vector<int>{0}));
  ASSERT_EQ(analyse_trajectory(*stroke_of(two), trajectory, 0), kOk);
  EXPECT_EQ(vertex_numbers(trajectory), (std::vector<int>{0, 1}));
  ASSERT_EQ(analyse_trajectory(*stroke_of(same), trajectory, 0), kOk);
  EXPECT_EQ(vertex_numbers(trajectory), (std::vector<int>{0}));
  EXPECT_EQ(trajectory[0].trajectory.score, 0);
}

TEST(SelfCrossings, OneLoopMarksBothCrossingSegments) {
  const Points loop = loop_stroke();
  ASSERT_EQ(loop[7], (PackedPoint{14, 20}));
  ASSERT_EQ(loop[42], (PackedPoint{15, 19}));
  DynArray<CrossingMark> crossings;
  ASSERT_EQ(find_self_crossings(loop.data(), static_cast<std::int32_t>(loop.size()), crossings, 3),
            kOk);
  ASSERT_EQ(crossings.size(), 4u);
  const struct {
    int point;
    std::uint16_t flags;
    std::uint16_t first;
    std::uint16_t second;
  } expected[] = {
      {7, 1, 42, kNoKey16}, {8, 16, 42, kNoKey16}, {42, 2, kNoKey16, 7}, {43, 32, kNoKey16, 7}};
  for (std::uint32_t k = 0; k < 4; ++k) {
    EXPECT_EQ(crossings[k].point_number, expected[k].point);
    EXPECT_EQ(crossings[k].flags, expected[k].flags);
    EXPECT_EQ(crossings[k].first_partner, expected[k].first);
    EXPECT_EQ(crossings[k].second_partner, expected[k].second);
  }
  // The arc between the segments must exceed the step.
  ASSERT_EQ(
      find_self_crossings(loop.data(), static_cast<std::int32_t>(loop.size()), crossings, 1000),
      kOk);
  EXPECT_TRUE(crossings.empty());

  Trajectory trajectory;
  ASSERT_EQ(build_trajectory(loop.data(), static_cast<std::int32_t>(loop.size()), trajectory, 3),
            kOk);
  for (const int number : {7, 8, 42, 43}) {
    const TrajectoryRecord* vertex = vertex_at(trajectory, number);
    ASSERT_NE(vertex, nullptr) << number;
    EXPECT_TRUE(vertex->has_any_flag(number < 20 ? 17 : 34));
  }
}

TEST(SelfCrossings, APointInTwoCrossingsKeepsBothPartners) {
  // Segment 3 (y = 20) crosses segment 0 (x = 10) and segment 5 (x = 5).
  const Points points{{10, 0}, {10, 30}, {30, 30}, {30, 20}, {0, 20}, {5, 25}, {5, 10}};
  Trajectory trajectory;
  ASSERT_EQ(build_trajectory(points.data(), 7, trajectory, 3), kOk);
  EXPECT_EQ(vertex_numbers(trajectory), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
  const TrajectoryRecord& both = trajectory[3].trajectory;
  EXPECT_EQ(both.flags, 3);
  EXPECT_EQ(both.first_partner, 5);
  EXPECT_EQ(both.second_partner, 0);
  EXPECT_EQ(trajectory[4].trajectory.flags, 48);
  EXPECT_EQ(trajectory[0].trajectory.flags, 5);
  EXPECT_EQ(trajectory[0].trajectory.first_partner, 3);
  EXPECT_EQ(trajectory[6].trajectory.flags, 32);
  EXPECT_EQ(trajectory[6].trajectory.second_partner, 3);
}

TEST(Trajectory, DeviationFlagsAndCuts) {
  // Sideways: the middle point lies 4 off the chord of length 8.
  const Points bump{{0, 0}, {4, 4}, {8, 0}};
  EXPECT_EQ(piece_deviation_flags(bump.data(), 3, 3 * 1024),
            kDeviationAcross | kDeviationSummed | kDeviationOutside);
  EXPECT_EQ(piece_deviation_flags(bump.data(), 3, 5 * 1024), 0u);
  EXPECT_EQ(choose_cut(bump.data(), 3, kDeviationAcross), 1);
  // Lengthwise: the run overshoots its end and comes back.
  const Points overshoot{{0, 0}, {5, 0}, {12, 0}, {10, 0}};
  EXPECT_EQ(piece_deviation_flags(overshoot.data(), 4, 1024), kDeviationOutside);
  EXPECT_EQ(choose_cut(overshoot.data(), 4, kDeviationOutside), 2);
  // A chord of length 0 strays nowhere.
  const Points closed{{0, 0}, {9, 9}, {0, 0}};
  EXPECT_EQ(piece_deviation_flags(closed.data(), 3, 1024), 0u);
}

TEST(StrokeFeaturePass, StepFollowsTheStrokeHeights) {
  StrokeList strokes(4, true);
  for (const int height : {100, 100, 3}) {
    Points points{{0, 0}};
    run_to(points, {0, static_cast<std::int16_t>(height - 1)}, 1);
    ASSERT_EQ(strokes.push_back_owned(stroke_of(points)), kOk);
  }
  DynArray<std::uint8_t> marks;
  ASSERT_EQ(marks.resize(3, 0), kOk);
  std::int32_t step = -1;
  ASSERT_EQ(compute_step_size(strokes, marks, &step), kOk);
  EXPECT_EQ(step, 10);  // the stroke of height 3 is below the cutoff 67 / 15
  marks[0] = 1;
  ASSERT_EQ(compute_step_size(strokes, marks, &step), kOk);
  EXPECT_EQ(step, 5);  // (5 + 10 + 0) / 3: the cutoff falls to 51 / 15
  ASSERT_EQ(marks.pop_back(), kOk);
  EXPECT_EQ(compute_step_size(strokes, marks, &step), kUndocumented);
  ASSERT_EQ(strokes.push_back(nullptr), kOk);
  TrajectoryList trajectories(4, true);
  EXPECT_EQ(stroke_feature_pass(strokes, trajectories, nullptr, true), kBadArgument);
}

TEST(StrokeFeaturePass, HalvesTheStepUntilTheVerticesAreDense) {
  // Upright strokes of height 101: step 10 gives vertices 20 apart.
  const auto pass = [](int stroke_count) {
    StrokeList strokes(16, true);
    for (int s = 0; s < stroke_count; ++s) {
      Points points{{static_cast<std::int16_t>(s * 30), 0}};
      run_to(points, {static_cast<std::int16_t>(s * 30), 100}, 1);
      EXPECT_EQ(strokes.push_back_owned(stroke_of(points)), kOk);
    }
    TrajectoryList trajectories(16, true);
    StepStatistics stats;
    EXPECT_EQ(stroke_feature_pass(strokes, trajectories, &stats, true), kOk);
    EXPECT_EQ(trajectories.size(), static_cast<std::uint32_t>(stroke_count));
    EXPECT_EQ(stats.first, 10);
    EXPECT_EQ(stats.with_loops, 10);
    return std::make_pair(stats.final, vertex_numbers(*trajectories[0]).size());
  };
  // 10 x 10 / 20 < 6: halve to 5 once; 15 x 10 / 20 >= 6 with eight strokes.
  EXPECT_EQ(pass(1), std::make_pair(5, std::size_t{11}));
  EXPECT_EQ(pass(8), std::make_pair(10, std::size_t{6}));

  StrokeList strokes(4, true);
  ASSERT_EQ(strokes.push_back_owned(stroke_of(loop_stroke())), kOk);
  TrajectoryList trajectories(4, true);
  StepStatistics stats;
  ASSERT_EQ(stroke_feature_pass(strokes, trajectories, &stats, false), kOk);
  EXPECT_EQ(stats.with_loops, -1);
  EXPECT_EQ(stats.final, -1);
  ASSERT_EQ(trajectories.size(), 1u);
}

}  // namespace
}  // namespace inkrec

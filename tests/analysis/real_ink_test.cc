// The stroke features over the real handwriting of the fixture lines.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

#include "engine/analysis/raf_features.h"
#include "engine/analysis/self_crossings.h"
#include "engine/analysis/stroke_feature_pass.h"
#include "engine/foundation/segments.h"
#include "tests/support/ink_samples.h"
#include "tests/support/raf_figures.h"

namespace inkrec {
namespace {

StrokeList stroke_list(const testing::Ink& ink) {
  StrokeList strokes(16, true);
  for (const testing::InkStroke& points : ink) {
    auto stroke = std::make_unique<Stroke>();
    stroke->append_n(points.data(), static_cast<std::uint32_t>(points.size()));
    strokes.push_back_owned(std::move(stroke));
  }
  return strokes;
}

// The crossing flags of every point, found by trying every pair of segments
// with the arc between them summed anew for each pair.
std::map<int, int> crossing_flags_by_every_pair(const testing::InkStroke& points, int step) {
  std::map<int, int> flags;
  const int segments = static_cast<int>(points.size()) - 1;
  for (int i = 0; i < segments; ++i) {
    for (int j = i + 2; j < segments; ++j) {
      std::int64_t arc = 0;
      for (int k = i + 1; k < j; ++k) arc += point_distance(points[k], points[k + 1]);
      const PackedPoint a0 = points[i], a1 = points[i + 1], b0 = points[j], b1 = points[j + 1];
      if (arc <= step || !segments_cross(a0, a1, b0, b1) || point_on_segment(b1, a0, a1) ||
          point_on_segment(a1, b0, b1)) {
        continue;
      }
      flags[i] |= 1;
      flags[i + 1] |= 16;
      flags[j] |= 2;
      flags[j + 1] |= 32;
    }
  }
  return flags;
}

TEST(RealInk, BoxedCrossingSearchFindsWhatEveryPairFinds) {
  int crossings = 0;
  for (const double tilt : {0.0, 30.0}) {
    for (const testing::Ink& ink : testing::read_fixture_lines(tilt)) {
      for (const testing::InkStroke& points : ink) {
        DynArray<CrossingMark> records;
        ASSERT_EQ(find_self_crossings(points.data(), static_cast<std::int32_t>(points.size()),
                                      records, 3),
                  kOk);
        std::map<int, int> found;
        for (const CrossingMark& r : records) found[r.point_number] = r.flags;
        EXPECT_EQ(found, crossing_flags_by_every_pair(points, 3));
        crossings += static_cast<int>(records.size());
      }
    }
  }
  EXPECT_GT(crossings, 20);
}

TEST(RealInk, BoxedSearchOverManyBlocksFindsWhatEveryPairFinds) {
  // A long stroke of small loops drifting right, over more than two groups
  // of blocks, and back again over its own start.
  testing::InkStroke points;
  for (int i = 0; i < 560; ++i) {
    const double t = 0.2 * (i < 400 ? i : 800 - i);
    points.push_back({static_cast<std::int16_t>(100 + 3.0 * t + 12 * std::cos(t)),
                      static_cast<std::int16_t>(500 + 12 * std::sin(t) + (i < 400 ? 0 : 6))});
  }
  DynArray<CrossingMark> records;
  ASSERT_EQ(
      find_self_crossings(points.data(), static_cast<std::int32_t>(points.size()), records, 3),
      kOk);
  std::map<int, int> found;
  for (const CrossingMark& r : records) found[r.point_number] = r.flags;
  EXPECT_EQ(found, crossing_flags_by_every_pair(points, 3));
  EXPECT_GT(records.size(), 100u);
}

TEST(RealInk, CrossingsFoundOnceServeEveryLargerStep) {
  int marks = 0;
  for (const testing::Ink& ink : testing::read_fixture_lines(0)) {
    for (const testing::InkStroke& points : ink) {
      SelfCrossings crossings;
      ASSERT_EQ(crossings.find(points.data(), static_cast<std::int32_t>(points.size()), 3), kOk);
      DynArray<CrossingMark> records;
      for (const int step : {3, 12, 40}) {
        ASSERT_EQ(crossings.marks_for(step, records), kOk);
        std::map<int, int> found;
        for (const CrossingMark& r : records) found[r.point_number] = r.flags;
        EXPECT_EQ(found, crossing_flags_by_every_pair(points, step)) << "step " << step;
        marks += static_cast<int>(records.size());
      }
      EXPECT_EQ(crossings.marks_for(2, records), kBadArgument);
    }
  }
  EXPECT_GT(marks, 20);
}

// Every field of two trajectory lists that must be the same.
void expect_same_trajectories(const TrajectoryList& a, const TrajectoryList& b) {
  ASSERT_EQ(a.size(), b.size());
  for (std::uint32_t t = 0; t < a.size(); ++t) {
    ASSERT_EQ(a[t]->size(), b[t]->size()) << "stroke " << t;
    for (std::uint32_t k = 0; k < a[t]->size(); ++k) {
      const PointRecord& x = (*a[t])[k];
      const PointRecord& y = (*b[t])[k];
      EXPECT_EQ(x.point, y.point);
      EXPECT_EQ(x.trajectory.point_number, y.trajectory.point_number);
      EXPECT_EQ(x.trajectory.flags, y.trajectory.flags);
      EXPECT_EQ(x.trajectory.first_partner, y.trajectory.first_partner);
      EXPECT_EQ(x.trajectory.second_partner, y.trajectory.second_partner);
      EXPECT_EQ(x.trajectory.ratio, y.trajectory.ratio);
      EXPECT_EQ(x.trajectory.score, y.trajectory.score);
    }
  }
}

TEST(RealInk, RefinedPassLeavesWhatAFreshBuildAtItsFinalStepMakes) {
  for (const testing::Ink& ink : testing::read_fixture_lines(0)) {
    const StrokeList strokes = stroke_list(ink);
    TrajectoryList refined(16, true);
    StepStatistics stats;
    ASSERT_EQ(stroke_feature_pass(strokes, refined, &stats, true), kOk);
    TrajectoryList fresh(16, true);
    ASSERT_EQ(build_trajectories(strokes, fresh, stats.final), kOk);
    expect_same_trajectories(refined, fresh);
  }
}

TEST(RealInk, TrajectoriesFollowEveryStroke) {
  const std::vector<testing::Ink> lines = testing::read_fixture_lines(0);
  ASSERT_FALSE(lines.empty());
  for (const testing::Ink& ink : lines) {
    const StrokeList strokes = stroke_list(ink);
    TrajectoryList trajectories(16, true);
    StepStatistics stats;
    ASSERT_EQ(stroke_feature_pass(strokes, trajectories, &stats, true), kOk);
    ASSERT_EQ(trajectories.size(), strokes.size());
    EXPECT_GE(stats.first, 1);
    EXPECT_LE(stats.final, stats.with_loops);
    for (std::uint32_t s = 0; s < strokes.size(); ++s) {
      const Stroke& stroke = *strokes[s];
      const Trajectory& trajectory = *trajectories[s];
      ASSERT_FALSE(trajectory.empty());
      EXPECT_TRUE(trajectory[0].trajectory.has_any_flag(TrajectoryRecord::kStrokeStart));
      EXPECT_EQ(trajectory.back().point, stroke.back());
      for (std::uint32_t k = 0; k < trajectory.size(); ++k) {
        const TrajectoryRecord& vertex = trajectory[k].trajectory;
        ASSERT_LT(vertex.point_number, stroke.size());
        EXPECT_EQ(trajectory[k].point, stroke[vertex.point_number]);
        if (k > 0) {
          EXPECT_GT(vertex.point_number, trajectory[k - 1].trajectory.point_number);
        }
        if (vertex.has_any_flag(TrajectoryRecord::kFirstCrossing)) {
          EXPECT_LT(vertex.first_partner, stroke.size());
        }
        if (vertex.has_any_flag(TrajectoryRecord::kSecondCrossing)) {
          EXPECT_LT(vertex.second_partner, stroke.size());
        }
      }
    }
  }
}

TEST(RealInk, EveryStrokeGetsItsFeatures) {
  const DynArray<Raf> rafs = test::full_raf_list();
  const std::vector<testing::Ink> lines = testing::read_fixture_lines(0);
  int computed = 0;
  for (const testing::Ink& ink : lines) {
    for (const testing::InkStroke& points : ink) {
      // The stroke at the origin, scaled into 0..47, without repeats.
      Box16 box;
      box.set_from_points(points[0], points[0]);
      for (const PackedPoint p : points) box.include_point(p);
      const int extent = std::max(box.width(), box.height());
      std::vector<PackedPoint> normalised;
      for (const PackedPoint p : points) {
        const PackedPoint q{static_cast<std::int16_t>((p.x - box.left) * 47 / extent),
                            static_cast<std::int16_t>((p.y - box.top) * 47 / extent)};
        if (normalised.empty() || !(normalised.back() == q)) normalised.push_back(q);
      }
      if (normalised.size() < 2) continue;
      RafContext context;
      for (const bool generic : {false, true}) {
        const int status =
            test::compute_figure(context, {normalised}, test::RafRun{&rafs, generic});
        EXPECT_TRUE(status == kOk || status == kRafTooLittleData) << status;
      }
      ++computed;
    }
  }
  EXPECT_GT(computed, 50);
}

}  // namespace
}  // namespace inkrec

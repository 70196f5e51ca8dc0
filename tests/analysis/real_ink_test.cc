// The stroke features over the real handwriting of the fixture lines.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "engine/analysis/raf_features.h"
#include "engine/analysis/stroke_feature_pass.h"
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
        const int status = test::compute_figure(context, {normalised}, test::RafRun{&rafs, generic});
        EXPECT_TRUE(status == kOk || status == kRafTooLittleData) << status;
      }
      ++computed;
    }
  }
  EXPECT_GT(computed, 50);
}

}  // namespace
}  // namespace inkrec

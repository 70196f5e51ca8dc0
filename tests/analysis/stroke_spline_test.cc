#include "engine/analysis/stroke_spline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace inkrec {
namespace {

DynArray<PointRecord> records_of(const std::vector<PackedPoint>& points) {
  DynArray<PointRecord> records;
  for (const PackedPoint p : points) {
    EXPECT_EQ(records.push_back(
                  PointRecord{p, TrajectoryRecord(static_cast<std::uint16_t>(records.size()))}),
              kOk);
  }
  return records;
}

TEST(StrokeSpline, StraightStrokesHaveNoCurvatureAnywhere) {
  for (const auto& points : {std::vector<PackedPoint>{{0, 5}, {3, 5}, {10, 5}, {11, 5}},
                             std::vector<PackedPoint>{{2, 0}, {2, 4}, {2, 9}}}) {
    DynArray<PointRecord> records = records_of(points);
    StrokeSpline spline(&records);
    for (std::int32_t i = 0; i + 1 < static_cast<std::int32_t>(points.size()); ++i) {
      for (const double t : {0.0, 0.25, 0.5, 1.0}) EXPECT_EQ(spline.curvature_at(i, t), 0.0);
    }
  }
}

TEST(StrokeSpline, FollowsACircleWithTheSignOfItsTurn) {
  // Points on a circle of radius 100, turning from +x towards +y.
  std::vector<PackedPoint> points;
  for (int k = 0; k <= 12; ++k) {
    const double a = k * 3.14159265358979 / 12;
    points.push_back({static_cast<std::int16_t>(std::lround(100 * std::cos(a))),
                      static_cast<std::int16_t>(std::lround(100 * std::sin(a)))});
  }
  DynArray<PointRecord> records = records_of(points);
  StrokeSpline spline(&records);
  EXPECT_NEAR(spline.curvature_at(6, 0.5), 0.01, 0.001);
  // The mirrored circle turns the other way.
  for (PointRecord& r : records) r.point.y = static_cast<std::int16_t>(-r.point.y);
  StrokeSpline mirrored(&records);
  EXPECT_NEAR(mirrored.curvature_at(6, 0.5), -0.01, 0.001);
}

TEST(StrokeSpline, EndsWithoutTangentsHaveZeroSpeedAndNoCurvature) {
  DynArray<PointRecord> records = records_of({{0, 0}, {10, 3}, {20, 12}, {25, 30}});
  StrokeSpline spline(&records);
  const DynArray<SplineSegment>& segments = spline.segments(nullptr, nullptr);
  ASSERT_EQ(segments.size(), 3u);
  EXPECT_EQ(segments[0].first_derivative_at(0).length(), 0.0);
  const double last_chord = std::sqrt(5.0 * 5 + 18 * 18);
  EXPECT_NEAR(segments[2].first_derivative_at(last_chord).length(), 0.0, 1e-9);
  EXPECT_NEAR(segments[2].point_at(last_chord).x, 25.0, 1e-9);
  EXPECT_EQ(spline.curvature_at(0, 0.0), 0.0);
  EXPECT_NE(spline.curvature_at(1, 0.5), 0.0);
}

TEST(StrokeSpline, QueriesOutsideTheCurveYieldTheMarker) {
  DynArray<PointRecord> records = records_of({{0, 0}, {10, 3}, {20, 12}, {25, 30}});
  StrokeSpline spline(&records);
  EXPECT_NE(spline.curvature_at(2, 1.0), kNoSplineValue);
  EXPECT_EQ(spline.curvature_at(2, 1.0001), kNoSplineValue);
  EXPECT_EQ(spline.curvature_at(0, -0.1), kNoSplineValue);
  EXPECT_EQ(spline.curvature_at(3, 0.0), kNoSplineValue);
  EXPECT_EQ(spline.curvature_at(-1, 0.0), kNoSplineValue);

  DynArray<PointRecord> two = records_of({{0, 0}, {10, 3}});
  StrokeSpline short_spline(&two);
  EXPECT_EQ(short_spline.curvature_at(0, 0.5), kNoSplineValue);
  EXPECT_TRUE(short_spline.segments(nullptr, nullptr).empty());

  // Two equal consecutive points give no chord to divide by.
  DynArray<PointRecord> repeated = records_of({{0, 0}, {5, 5}, {5, 5}, {9, 1}});
  StrokeSpline repeated_spline(&repeated);
  EXPECT_EQ(repeated_spline.curvature_at(0, 0.5), kNoSplineValue);
}

TEST(StrokeSpline, KeepsTheCurveWhileTheEndTangentsStayTheSame) {
  DynArray<PointRecord> records = records_of({{0, 0}, {10, 3}, {20, 12}, {25, 30}});
  StrokeSpline spline(&records);
  const Vector2 start{1.0, 0.0};
  const Vector2 near_start{1.0 + 5e-6, 0.0};
  const Vector2 end{2.0, 1.0};
  const double first = spline.segments(&start, nullptr)[1].a1.x;
  const SplineSegment* kept = spline.segments(&near_start, nullptr).data();
  EXPECT_EQ(spline.segments(&start, nullptr).data(), kept);
  EXPECT_EQ(spline.segments(&near_start, nullptr)[1].a1.x, first);
  // An end tangent where the build had none rebuilds.
  EXPECT_NE(spline.segments(&start, &end)[1].a1.x, first);
  EXPECT_EQ(spline.segments(&start, &end)[0].a1.x, 1.0);
}

TEST(StrokeSpline, SolvesATridiagonalSystem) {
  // 2x0 + x1 = 3, x0 + 2x1 + x2 = 7.5, x1 + 2x2 = 8: x = (0.5, 2, 3).
  DynArray<double> a, b, c, d, x;
  for (const double v : {0.0, 1.0, 1.0}) ASSERT_EQ(a.push_back(v), kOk);
  for (const double v : {2.0, 2.0, 2.0}) ASSERT_EQ(b.push_back(v), kOk);
  for (const double v : {1.0, 1.0, 0.0}) ASSERT_EQ(c.push_back(v), kOk);
  for (const double v : {3.0, 7.5, 8.0}) ASSERT_EQ(d.push_back(v), kOk);
  solve_tridiagonal(a, b, c, d, x);
  ASSERT_EQ(x.size(), 3u);
  EXPECT_NEAR(x[0], 0.5, 1e-12);
  EXPECT_NEAR(x[1], 2.0, 1e-12);
  EXPECT_NEAR(x[2], 3.0, 1e-12);
  ASSERT_EQ(d.pop_back(), kOk);
  solve_tridiagonal(a, b, c, d, x);
  EXPECT_TRUE(x.empty());
}

}  // namespace
}  // namespace inkrec

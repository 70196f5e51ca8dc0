#include "engine/foundation/polylines.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "engine/foundation/values.h"

namespace inkrec {
namespace {

PolylineDistances distances_of(const std::vector<PackedPoint>& a,
                               const std::vector<PackedPoint>& b) {
  return polyline_distances(PointSpan(a.data(), static_cast<std::int32_t>(a.size())),
                            PointSpan(b.data(), static_cast<std::int32_t>(b.size())));
}

void expect_distances(const PolylineDistances& d, int overall, int end_a_to_b, int start_a_to_b,
                      int start_b_to_a) {
  EXPECT_EQ(d.overall, overall);
  EXPECT_EQ(d.end_a_to_b, end_a_to_b);
  EXPECT_EQ(d.start_a_to_b, start_a_to_b);
  EXPECT_EQ(d.start_b_to_a, start_b_to_a);
}

TEST(PolylinesTest, DistancesOfSinglePointsAndPolylines) {
  expect_distances(distances_of({{0, 0}}, {{3, 4}}), 5, 5, 5, 5);
  const std::vector<PackedPoint> bar = {{5, -5}, {5, 5}};
  expect_distances(distances_of({{0, 0}}, bar), 5, 5, 5, 6);
  expect_distances(distances_of(bar, {{0, 0}}), 5, 6, 6, 5);
  expect_distances(distances_of({{0, 0}, {10, 0}, {10, 10}}, {{14, 3}, {20, 3}, {20, -8}}), 4, 8,
                   15, 4);
  expect_distances(distances_of({}, bar), kNoDistance, kNoDistance, kNoDistance, kNoDistance);
  expect_distances(distances_of(bar, {}), kNoDistance, kNoDistance, kNoDistance, kNoDistance);
}

TEST(PolylinesTest, OverallDistanceMatchesEverySegmentPair) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> coordinate(-60, 60);
  std::uniform_int_distribution<int> length(2, 6);
  for (int round = 0; round < 300; ++round) {
    std::vector<PackedPoint> a(static_cast<std::size_t>(length(random)));
    std::vector<PackedPoint> b(static_cast<std::size_t>(length(random)));
    for (PackedPoint& p : a)
      p = {static_cast<std::int16_t>(coordinate(random)),
           static_cast<std::int16_t>(coordinate(random))};
    for (PackedPoint& p : b)
      p = {static_cast<std::int16_t>(coordinate(random) + 40),
           static_cast<std::int16_t>(coordinate(random))};
    std::int16_t least = kNoDistance;
    for (std::size_t i = 0; i + 1 < a.size(); ++i) {
      for (std::size_t j = 0; j + 1 < b.size(); ++j) {
        lower_to(least, segment_segment_distance(a[i], a[i + 1], b[j], b[j + 1]));
      }
    }
    ASSERT_EQ(distances_of(a, b).overall, least) << round;
  }
}

TEST(PolylinesTest, BoxedDistancesOfFarRunsAreTheBoxGap) {
  const std::vector<PackedPoint> a = {{0, 0}, {2, 0}};
  const std::vector<PackedPoint> b = {{100, 100}, {101, 102}};
  const PointSpan span_a(a.data(), 2);
  const PointSpan span_b(b.data(), 2);
  const PolylineDistances far = polyline_distances_boxed(span_a, points_bounding_box(span_a),
                                                         span_b, points_bounding_box(span_b));
  expect_distances(far, 132, 132, 132, 132);  // octagonal (98, 100)

  const std::vector<PackedPoint> c = {{3, 3}, {3, 9}};
  const PointSpan span_c(c.data(), 2);
  const PolylineDistances near = polyline_distances_boxed(span_a, points_bounding_box(span_a),
                                                          span_c, points_bounding_box(span_c));
  const PolylineDistances plain = polyline_distances(span_a, span_c);
  expect_distances(near, plain.overall, plain.end_a_to_b, plain.start_a_to_b, plain.start_b_to_a);
}

struct TestFigure {
  std::vector<PackedPoint> points;
  Box16 box;
};
PointSpan figure_points(const TestFigure& f) {
  return PointSpan(f.points.data(), static_cast<std::int32_t>(f.points.size()));
}
Box16 figure_box(const TestFigure& f) { return f.box; }

TEST(PolylinesTest, ElementDistancesUseTheGlyphBoxes) {
  const TestFigure a{{{0, 0}, {2, 0}}, {0, 0, 2, 0}};
  const TestFigure b{{{3, 3}, {3, 9}}, {100, 100, 101, 102}};
  expect_distances(element_distances(a, b), 132, 132, 132, 132);
}

TEST(PolylinesTest, MeanPointWeighsSegmentsByLength) {
  PackedPoint mean;
  const std::vector<PackedPoint> line = {{0, 0}, {10, 0}};
  ASSERT_EQ(polyline_mean_point(PointSpan(line.data(), 2), &mean), kOk);
  EXPECT_EQ(mean, (PackedPoint{5, 0}));
  // A zero-length segment counts its point once: (0 + 18) / (1 + 6).
  const std::vector<PackedPoint> stutter = {{0, 0}, {0, 0}, {6, 0}};
  ASSERT_EQ(polyline_mean_point(PointSpan(stutter.data(), 3), &mean), kOk);
  EXPECT_EQ(mean, (PackedPoint{2, 0}));
  const PackedPoint dot{3, 4};
  ASSERT_EQ(polyline_mean_point(PointSpan(&dot, 1), &mean), kOk);
  EXPECT_EQ(mean, dot);
  EXPECT_EQ(polyline_mean_point(PointSpan(nullptr, 3), &mean), kBadArgument);
  EXPECT_EQ(polyline_mean_point(PointSpan(&dot, 0), &mean), kBadArgument);
}

struct TestRecord {
  PackedPoint point;
  std::int32_t number;
  char analysis[40];
};

TEST(PolylinesTest, BoxesOfRunsInBothLayouts) {
  TestRecord records[3] = {{{4, 5}, 0, {}}, {{-2, 9}, 1, {}}, {{7, 1}, 2, {}}};
  const PointSpan span = PointSpan::of_records(records, 3);
  ASSERT_EQ(span.size(), 3);
  EXPECT_EQ(span[1], (PackedPoint{-2, 9}));
  EXPECT_EQ(points_bounding_box(span), (Box16{-2, 1, 7, 9}));
  const Box16 start{0, 0, 1, 1};
  EXPECT_EQ(points_bounding_box(span, &start), (Box16{-2, 0, 7, 9}));
  EXPECT_EQ(points_bounding_box(PointSpan()), Box16{});

  const PackedPoint first[] = {{10, 10}, {12, 8}};
  const PackedPoint second[] = {{-1, 30}};
  DynArray<StrokeView> views;
  ASSERT_EQ(views.push_back({first, 2}), kOk);
  ASSERT_EQ(views.push_back({nullptr, 0}), kOk);
  ASSERT_EQ(views.push_back({second, 1}), kOk);
  EXPECT_EQ(strokes_bounding_box(views), (Box16{-1, 8, 12, 30}));
}

}  // namespace
}  // namespace inkrec

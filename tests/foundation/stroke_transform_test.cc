#include "engine/foundation/stroke_transform.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace inkrec {
namespace {

Stroke* add_stroke(StrokeList& list, const std::vector<PackedPoint>& points) {
  Stroke* stroke = list.add_new();
  EXPECT_NE(stroke, nullptr);
  for (PackedPoint p : points) EXPECT_EQ(stroke->push_back(p), kOk);
  return stroke;
}

std::vector<PackedPoint> points_of(const Stroke& stroke) { return {stroke.begin(), stroke.end()}; }

TEST(StrokeTransformTest, ScalePointAboutAnOrigin) {
  PackedPoint p{10, -7};
  ASSERT_EQ(scale_point({.mx = 3, .dx = 2, .my = 1, .dy = 3, .ox = 4, .oy = 2}, &p), kOk);
  EXPECT_EQ(p, (PackedPoint{9, -3}));  // 6 * 3 / 2, -9 / 3
  PackedPoint big{30000, 0};
  ASSERT_EQ(scale_point({.mx = 2}, &big), kOk);
  EXPECT_EQ(big.x, 32767);
  PackedPoint q{5, 5};
  EXPECT_EQ(scale_point({.dx = 0}, &q), kZeroScaleX);
  EXPECT_EQ(scale_point({.dy = 0}, &q), kZeroScaleY);
  EXPECT_EQ(q, (PackedPoint{5, 5}));
}

TEST(StrokeTransformTest, ScaleAndShearStrokeLists) {
  StrokeList list(16, true);
  Stroke* first = add_stroke(list, {{2, 2}, {4, 6}});
  Stroke* second = add_stroke(list, {{-8, 0}});
  ASSERT_EQ(scale_strokes(list, {.mx = 1, .dx = 2, .my = 1, .dy = 2}), kOk);
  EXPECT_EQ(points_of(*first), (std::vector<PackedPoint>{{1, 1}, {2, 3}}));
  EXPECT_EQ(points_of(*second), (std::vector<PackedPoint>{{-4, 0}}));
  EXPECT_EQ(scale_strokes(list, {.dx = 0}), kZeroScaleX);

  // k = 128 is a shear of one half; negative products shift down (floor).
  ASSERT_EQ(shear_strokes(list, 128, 0), kOk);
  EXPECT_EQ(points_of(*first), (std::vector<PackedPoint>{{1, 1}, {3, 3}}));
  PackedPoint p{5, -3};
  shear_point(&p, 128, 0);
  EXPECT_EQ(p.x, 3);

  StrokeList empty(16, true);
  EXPECT_EQ(scale_strokes(empty, {.dx = 0}), kOk);
  ASSERT_EQ(list.push_back(nullptr), kOk);
  EXPECT_EQ(scale_strokes(list, {}), kBadArgument);
  EXPECT_EQ(shear_strokes(list, 1, 0), kBadArgument);
}

TEST(StrokeTransformTest, RemoveRepeatedPointsKeepsATrailingRepeat) {
  StrokeList list(16, true);
  Stroke* stroke = add_stroke(list, {{1, 1}, {1, 1}, {1, 1}, {2, 2}, {2, 2}, {3, 3}, {3, 3}});
  Stroke* clean = add_stroke(list, {{0, 0}, {1, 0}});
  DynArray<StrokeView> views;
  ASSERT_EQ(views.push_back({stroke->data(), 7}), kOk);
  ASSERT_EQ(views.push_back({clean->data(), 2}), kOk);
  ASSERT_EQ(remove_repeated_points(views, list), kOk);
  EXPECT_EQ(points_of(*stroke), (std::vector<PackedPoint>{{1, 1}, {2, 2}, {3, 3}, {3, 3}}));
  EXPECT_EQ(views[0].count, 4);
  EXPECT_EQ(views[1].count, 2);

  ASSERT_EQ(views.push_back({nullptr, 0}), kOk);
  EXPECT_EQ(remove_repeated_points(views, list), kBadArgument);
  ASSERT_EQ(list.push_back(nullptr), kOk);
  EXPECT_EQ(remove_repeated_points(views, list), kBadArgument);
}

}  // namespace
}  // namespace inkrec

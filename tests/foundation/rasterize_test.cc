#include "engine/foundation/rasterize.h"

#include <gtest/gtest.h>

#include <vector>

namespace inkrec {
namespace {

std::vector<PackedPoint> points_of(const DynArray<PackedPoint>& run) {
  return {run.begin(), run.end()};
}

std::vector<PackedPoint> trace(PackedPoint p0, PackedPoint p1, PackedPoint origin = {0, 0}) {
  DynArray<PackedPoint> run;
  EXPECT_EQ(trace_segment(p0, p1, run, origin), kOk);
  return points_of(run);
}

TEST(RasterizeTest, TraceSegmentGoldenWalks) {
  using Run = std::vector<PackedPoint>;
  // Along x: the start point, then one point per step, the end point left out.
  EXPECT_EQ(trace({0, 0}, {5, 2}), (Run{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}));
  // Along y, backwards on both axes.
  EXPECT_EQ(trace({0, 0}, {-2, -5}), (Run{{0, 0}, {0, -1}, {-1, -2}, {-1, -3}, {-2, -4}}));
  EXPECT_EQ(trace({3, 3}, {0, 3}), (Run{{3, 3}, {2, 3}, {1, 3}}));
  EXPECT_EQ(trace({0, 0}, {3, 3}), (Run{{0, 0}, {1, 1}, {2, 2}}));
  // Relative to an origin.
  EXPECT_EQ(trace({10, 20}, {13, 14}, {10, 14}),
            (Run{{0, 6}, {1, 5}, {1, 4}, {2, 3}, {2, 2}, {3, 1}}));
  EXPECT_TRUE(trace({4, 4}, {4, 4}).empty());
}

TEST(RasterizeTest, TracePolylineEndsWithItsLastPoint) {
  const PackedPoint points[] = {{0, 0}, {2, 1}, {2, 1}, {2, 3}};
  DynArray<PackedPoint> run;
  ASSERT_EQ(trace_polyline(PointSpan(points, 4), run, {0, 0}), kOk);
  EXPECT_EQ(points_of(run), (std::vector<PackedPoint>{{0, 0}, {1, 1}, {2, 1}, {2, 2}, {2, 3}}));

  DynArray<PackedPoint> single;
  ASSERT_EQ(trace_polyline(PointSpan(points + 1, 1), single, {1, 1}), kOk);
  EXPECT_EQ(points_of(single), (std::vector<PackedPoint>{{1, 0}}));
  EXPECT_EQ(trace_polyline(PointSpan(nullptr, 2), single, {0, 0}), kBadArgument);
  EXPECT_EQ(trace_polyline(PointSpan(points, 0), single, {0, 0}), kBadArgument);
}

DynArray<StrokeView> views_of(const std::vector<std::vector<PackedPoint>>& strokes) {
  DynArray<StrokeView> views;
  for (const auto& s : strokes) {
    EXPECT_EQ(views.push_back({s.data(), static_cast<std::int32_t>(s.size())}), kOk);
  }
  return views;
}

TEST(RasterizeTest, MarkedRasterOfThreeStrokes) {
  // A stroke with a repeated point, a single point, and a stroke of two equal
  // points; the origin is the box of all strokes, (10, 10).
  const std::vector<std::vector<PackedPoint>> strokes = {
      {{10, 10}, {13, 11}, {13, 11}, {12, 14}}, {{20, 12}}, {{15, 10}, {15, 10}}};
  const DynArray<StrokeView> views = views_of(strokes);
  DynArray<PackedPoint> run;
  DynArray<std::uint16_t> marks;
  ASSERT_EQ(marks.push_back(99), kOk);  // marks are appended, not replaced
  ASSERT_EQ(rasterize_strokes_marked(views, run, marks), kOk);
  EXPECT_EQ(points_of(run),
            (std::vector<PackedPoint>{
                {0, 0}, {1, 0}, {2, 1}, {3, 1}, {3, 2}, {2, 3}, {2, 4}, {10, 2}, {5, 0}}));
  EXPECT_EQ(std::vector<std::uint16_t>(marks.begin(), marks.end()),
            (std::vector<std::uint16_t>{99, 0, 3, 3, 7, 7, 8, 8, 9}));

  DynArray<PackedPoint> plain;
  ASSERT_EQ(rasterize_strokes(views, plain), kOk);
  EXPECT_EQ(points_of(plain), points_of(run));
}

TEST(RasterizeTest, RasterRelativeToAGivenBox) {
  const std::vector<std::vector<PackedPoint>> strokes = {{{5, 5}, {7, 5}}};
  const DynArray<StrokeView> views = views_of(strokes);
  const Box16 box{0, 4, 50, 50};
  DynArray<PackedPoint> run;
  DynArray<std::uint16_t> marks;
  ASSERT_EQ(rasterize_strokes_marked(views, run, marks, &box), kOk);
  EXPECT_EQ(points_of(run), (std::vector<PackedPoint>{{5, 1}, {6, 1}, {7, 1}}));
  EXPECT_EQ(std::vector<std::uint16_t>(marks.begin(), marks.end()),
            (std::vector<std::uint16_t>{0, 3}));
}

TEST(RasterizeTest, FailuresAreReported) {
  const std::vector<std::vector<PackedPoint>> strokes = {{{0, 0}, {9, 0}}, {}};
  const DynArray<StrokeView> views = views_of(strokes);
  DynArray<PackedPoint> run;
  DynArray<std::uint16_t> marks;
  EXPECT_EQ(rasterize_strokes(views, run), kBadArgument);
  EXPECT_EQ(rasterize_strokes_marked(views, run, marks), kBadArgument);
  EXPECT_EQ(rasterize_strokes(DynArray<StrokeView>(), run), kOk);

  const std::vector<std::vector<PackedPoint>> line = {{{0, 0}, {9, 0}}};
  const DynArray<StrokeView> one = views_of(line);
  DynArray<PackedPoint> fresh;
  DynArray<std::uint16_t> fresh_marks;
  {
    AllocationFailureScope fail(3);
    EXPECT_EQ(rasterize_strokes_marked(one, fresh, fresh_marks), kOutOfMemory);
  }
  {
    AllocationFailureScope fail;
    DynArray<PackedPoint> empty;
    EXPECT_EQ(trace_segment({0, 0}, {5, 0}, empty, {0, 0}), kOutOfMemory);
  }
}

}  // namespace
}  // namespace inkrec

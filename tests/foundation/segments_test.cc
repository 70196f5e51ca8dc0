#include "engine/foundation/segments.h"

#include <gtest/gtest.h>

namespace inkrec {
namespace {

TEST(SegmentsTest, PointOnSegmentNeedsBothAxesInRange) {
  EXPECT_TRUE(point_on_segment({5, 5}, {0, 0}, {10, 10}));
  EXPECT_TRUE(point_on_segment({5, 5}, {10, 10}, {0, 0}));
  EXPECT_FALSE(point_on_segment({11, 11}, {0, 0}, {10, 10}));
  EXPECT_FALSE(point_on_segment({5, 6}, {0, 0}, {10, 10}));
  EXPECT_TRUE(point_on_segment({5, 0}, {0, 0}, {10, 0}));
  // On the line of a level segment but beyond its end.
  EXPECT_FALSE(point_on_segment({20, 0}, {0, 0}, {10, 0}));
  EXPECT_TRUE(point_on_segment({3, 3}, {3, 3}, {3, 3}));
  EXPECT_FALSE(point_on_segment({4, 3}, {3, 3}, {3, 3}));
}

TEST(SegmentsTest, SegmentsCrossIncludingTouch) {
  struct Case {
    PackedPoint a0, a1, b0, b1;
    bool cross;
  };
  const Case cases[] = {
      {{0, 0}, {10, 10}, {0, 10}, {10, 0}, true},  // an X
      {{0, 0}, {10, 0}, {10, 0}, {10, 10}, true},  // end to end
      {{0, 0}, {10, 0}, {5, 0}, {5, 5}, true},     // a T
      {{0, 0}, {10, 0}, {0, 1}, {10, 1}, false},   // parallel
      {{0, 0}, {10, 10}, {6, 0}, {10, 3}, false},  // boxes meet, segments do not
      {{0, 0}, {4, 4}, {6, 6}, {10, 10}, false},   // collinear, apart
      {{0, 0}, {6, 6}, {4, 4}, {10, 10}, true},    // collinear, overlapping
  };
  for (const Case& c : cases) {
    EXPECT_EQ(segments_cross(c.a0, c.a1, c.b0, c.b1), c.cross)
        << c.b0.x << ',' << c.b0.y << ' ' << c.b1.x << ',' << c.b1.y;
    EXPECT_EQ(segments_cross(c.b0, c.b1, c.a0, c.a1), c.cross);
  }
  Box16 box;
  box.set_from_points({0, 0}, {10, 10});
  EXPECT_TRUE(segments_cross_boxed(box, {0, 0}, {10, 10}, {0, 10}, {10, 0}));
}

TEST(SegmentsTest, PointToSegmentMeasuresToTheFoot) {
  EXPECT_EQ(point_to_segment({5, 5}, {0, 0}, {10, 0}), 5);
  EXPECT_EQ(point_to_segment({15, 3}, {0, 0}, {10, 0}), 6);   // beyond b
  EXPECT_EQ(point_to_segment({-3, -4}, {0, 0}, {10, 0}), 5);  // before a
  EXPECT_EQ(point_to_segment({4, 0}, {0, 0}, {10, 0}), 0);
  // The foot a + d (d.e) / |d|^2 truncates per component: (1, 0).
  EXPECT_EQ(point_to_segment({1, 2}, {0, 0}, {3, 1}), 2);
  EXPECT_EQ(point_to_segment({1, 2}, {4, 4}, {4, 4}), 3);
}

TEST(SegmentsTest, PointSegmentDistanceAcrossTheSegment) {
  EXPECT_EQ(point_segment_distance({5, 5}, {0, 0}, {10, 0}), 5);
  EXPECT_EQ(point_segment_distance({4, 0}, {0, 0}, {10, 0}), 0);
  EXPECT_EQ(point_segment_distance({15, 3}, {0, 0}, {10, 0}), 6);
  EXPECT_EQ(point_segment_distance({15, 3}, {0, 0}, {10, 0}, 77, 99), 99);
  EXPECT_EQ(point_segment_distance({-3, -4}, {0, 0}, {10, 0}), 5);
  EXPECT_EQ(point_segment_distance({-3, -4}, {0, 0}, {10, 0}, 77, 99), 77);
  EXPECT_EQ(point_segment_distance({2, 2}, {1, 1}, {1, 1}), 1);
}

TEST(SegmentsTest, SegmentsDistance) {
  EXPECT_EQ(segments_distance({0, 0}, {10, 10}, {0, 10}, {10, 0}), 0);
  EXPECT_EQ(segments_distance({0, 0}, {10, 0}, {0, 6}, {10, 6}), 6);
  EXPECT_EQ(segments_distance({0, 0}, {10, 0}, {13, 4}, {20, 10}), 5);
}

TEST(SegmentsTest, SegmentSegmentDistanceByClosestPoints) {
  EXPECT_EQ(segment_segment_distance({0, 0}, {10, 10}, {0, 10}, {10, 0}), 0);
  EXPECT_EQ(segment_segment_distance({0, 0}, {10, 0}, {0, 6}, {10, 6}), 6);
  EXPECT_EQ(segment_segment_distance({0, 0}, {10, 0}, {13, 4}, {20, 10}), 5);
  EXPECT_EQ(segment_segment_distance({10, 0}, {10, 10}, {14, 3}, {20, 3}), 4);
  EXPECT_EQ(segment_segment_distance({0, 0}, {0, 0}, {13, 4}, {20, 10}), kNoDistance);
  EXPECT_EQ(segment_segment_distance({0, 0}, {5, 5}, {3, 3}, {3, 3}), kNoDistance);
  EXPECT_EQ(segment_segment_distance({-32768, 0}, {-32767, 0}, {32767, 0}, {32766, 0}), 32767);
}

TEST(SegmentsTest, SlantedLineDistance) {
  SlantedDistance d;
  const LineDirection upright{90, {10, 0}};
  EXPECT_EQ(slanted_line_distance(upright, {15, 7}, &d), 1000);
  EXPECT_EQ(d.distance, 5);
  EXPECT_TRUE(d.right_side);
  slanted_line_distance(upright, {4, 3}, &d);
  EXPECT_EQ(d.distance, 6);
  EXPECT_FALSE(d.right_side);

  const LineDirection slanted{45, {0, 0}};
  EXPECT_EQ(slanted_line_distance(slanted, {10, 10}, &d), 707);
  EXPECT_EQ(d.distance, 0);
  EXPECT_TRUE(d.right_side);
  slanted_line_distance(slanted, {20, 10}, &d);
  EXPECT_EQ(d.distance, 7);
  EXPECT_EQ(slanted_line_distance(slanted, {20, 10}, nullptr), 707);
}

}  // namespace
}  // namespace inkrec

#include "engine/rules/figure_shape_tests.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/foundation/status.h"
#include "tests/support/drawn_group.h"

namespace inkrec {
namespace {

using test::Points;

// The extrema record of the drawn figure, every extremum entering.
FigureInfo info_of(FigureRecord& figure, int hysteresis) {
  FigureInfo info;
  EXPECT_EQ(figure_extrema_pass(figure, hysteresis, 0x7fffffff, 0, info), kOk);
  return info;
}

// A drawn figure with its extrema record.
struct Drawn {
  explicit Drawn(const Points& points, int hysteresis = 3)
      : ink({points}), info(info_of(ink.figure(0), hysteresis)) {}
  PointRecords points() { return records_of(ink.figure(0).run); }

  test::DrawnGroup ink;
  FigureInfo info;
};

TEST(FigureShapeTestsTest, ChordToleranceIsATenthOfTheSizeOnEitherSide) {
  struct Case {
    std::int16_t y;  // of the middle point; the chord runs at y 0
    bool upper;
    bool lower;
  };
  const Case cases[] = {
      {0, true, true},    {-10, true, true},  // exactly size/10 above: passes
      {-11, false, true}, {10, true, true},   // exactly size/10 below: passes
      {11, true, false},  {-40, false, true},
  };
  for (const Case& c : cases) {
    Drawn d({{0, 0}, {10, c.y}, {20, 0}});
    EXPECT_EQ(chord_holds(d.points(), 0, 2, 109, ChordSide::kUpper), c.upper) << c.y;
    EXPECT_EQ(chord_holds(d.points(), 0, 2, 109, ChordSide::kLower), c.lower) << c.y;
  }
  Drawn d({{0, 0}, {10, -50}, {30, -50}, {20, 0}});
  // Points right of the chord's end are not compared; nor is anything when
  // the chord runs leftward or has no inner point.
  EXPECT_TRUE(chord_holds(d.points(), 0, 3, 100, ChordSide::kUpper) == false);
  EXPECT_TRUE(chord_holds(d.points(), 2, 3, 100, ChordSide::kUpper));
  EXPECT_TRUE(chord_holds(d.points(), 0, 1, 100, ChordSide::kUpper));
  Drawn back({{20, 0}, {10, -50}, {0, 0}});
  EXPECT_TRUE(chord_holds(back.points(), 0, 2, 100, ChordSide::kUpper));
  // An end index past the run reads as its last point.
  Drawn spike({{0, 0}, {10, -50}, {20, 0}});
  EXPECT_FALSE(chord_holds(spike.points(), 0, 7, 100, ChordSide::kUpper));
}

TEST(FigureShapeTestsTest, WeightedCentreAndBoxOfARun) {
  struct Case {
    Points points;
    PackedPoint centre;
  };
  const Case cases[] = {
      {{{7, 9}}, {7, 9}},
      {{{4, 4}, {4, 4}, {4, 4}}, {4, 4}},  // every segment of zero length
      {{{0, 0}, {10, 0}}, {5, 0}},         //
      {{{0, 0}, {10, 0}, {10, 30}}, {(10 * 5 + 30 * 10) / 40, (30 * 15) / 40}},
      {{{0, 0}, {0, 0}, {10, 0}}, {(1 * 0 + 10 * 5) / 11, 0}},  // the first counts once
      {{{0, 0}, {10, 0}, {10, 0}}, {5, 0}},                     // a later one not at all
  };
  for (const Case& c : cases) {
    Drawn d(c.points);
    EXPECT_EQ(weighted_centre(d.points()), c.centre) << c.points.size();
  }
  EXPECT_EQ(weighted_centre(PointRecords{}), (PackedPoint{0, 0}));
  EXPECT_EQ(box_of_points(PointRecords{}), (Box16{32767, 32767, -32768, -32768}));
  Drawn d({{3, 9}, {-2, 4}, {8, 1}});
  EXPECT_EQ(box_of_points(d.points()), (Box16{-2, 1, 8, 9}));
}

// A head zigzag 20 units wide (x 0..19, y 40..80) that climbs to a sharp
// top at (20, 50), then an end going down to the right, end_width units
// wide and end_drop deep.
Points head_and_end(std::int16_t end_width, std::int16_t end_drop) {
  Points points = {{0, 40}, {5, 80}, {10, 45}, {15, 80}, {19, 60}, {20, 50}};
  const std::int16_t last_x = static_cast<std::int16_t>(20 + end_width - 1);
  points.push_back({static_cast<std::int16_t>(20 + std::max(1, (end_width - 1) / 2)), 52});
  points.push_back({last_x, static_cast<std::int16_t>(50 + end_drop)});
  return points;
}

TEST(FigureShapeTestsTest, EndRampGrowsAsTheEndNarrowsAgainstTheHead) {
  struct Case {
    const char* what;
    std::int16_t end_width;
    std::int16_t end_drop;
    std::int32_t penalty;
  };
  const Case cases[] = {
      {"end 5 wide against a head 20 wide", 5, 8, 1500 - 1500 * 5 / 20},
      {"end 2 wide", 2, 8, 1500 - 1500 * 2 / 20},
      {"end as wide as the head", 20, 8, 0},
      {"end wider than the head", 30, 8, 0},
      {"end as tall as a quarter of the head", 5, 10, 0},  // 11 rows against 41/4
  };
  for (const Case& c : cases) {
    Drawn d(head_and_end(c.end_width, c.end_drop));
    ASSERT_GE(figure_maxima(d.info).size(), 2u) << c.what;
    ASSERT_GE(figure_minima(d.info).size(), 2u) << c.what;
    EXPECT_EQ(end_ramp_penalty(d.info, d.points(), 100), c.penalty) << c.what;
  }
  // The end starting left of the head's right edge less size/5 takes none.
  Drawn d(head_and_end(5, 8));
  EXPECT_EQ(end_ramp_penalty(d.info, d.points(), 5), 0);
}

TEST(FigureShapeTestsTest, SideTestsChargeInkBeyondTheirChords) {
  struct Case {
    const char* what;
    Points points;
    std::int32_t upper;
    std::int32_t lower;
  };
  // The extrema are found with a hysteresis of 25, so the bumps below make
  // none; the chords allow size/10 = 10.
  const Case cases[] = {
      // A "u" from its top left: the left arm lies below the chord from
      // the start to the point after the bottom, (24, 48): y = 2x.
      {"smooth u", test::polyline({{0, 0}, {20, 60}, {40, 0}}, 4), 0, 0},
      {"u with a point 12 above that chord",
       {{0, 0}, {4, 12}, {8, 24}, {12, 12}, {16, 48}, {20, 60}, {24, 48}, {40, 0}},
       199,
       0},
      {"u with a point 10 above it",
       {{0, 0}, {4, 12}, {8, 24}, {12, 14}, {16, 48}, {20, 60}, {24, 48}, {40, 0}},
       0,
       0},
      // An "n" from its bottom left: the left arm lies above the chord from
      // the start to the point after the top, (24, 12): y = 60 - 2x.
      {"smooth n", test::polyline({{0, 60}, {20, 0}, {40, 60}}, 4), 0, 0},
      {"n with a point 11 below that chord",
       {{0, 60}, {4, 48}, {8, 36}, {12, 47}, {16, 12}, {20, 0}, {24, 12}, {40, 60}},
       0,
       199},
      {"n with a point 10 below it",
       {{0, 60}, {4, 48}, {8, 36}, {12, 46}, {16, 12}, {20, 0}, {24, 12}, {40, 60}},
       0,
       0},
  };
  for (const Case& c : cases) {
    Drawn d(c.points, 25);
    EXPECT_EQ(upper_side_penalty(d.info, d.points(), 100), c.upper) << c.what;
    EXPECT_EQ(lower_side_penalty(d.info, d.points(), 100), c.lower) << c.what;
  }
}

TEST(FigureShapeTestsTest, EndDropAndEndCurl) {
  // A stroke falling straight from its start more than 2/3 of the box.
  Drawn drop(test::polyline({{0, 0}, {2, 90}, {30, 60}}, 5));
  const Box16 box = drop.ink.box();
  EXPECT_EQ(end_drop_penalty(drop.info, drop.points(), box), 399);
  // Falling only half the box: none.
  Drawn short_drop(test::polyline({{0, 45}, {2, 90}, {30, 0}}, 5));
  EXPECT_EQ(end_drop_penalty(short_drop.info, short_drop.points(), short_drop.ink.box()), 0);

  // A straight end: every earlier point lies in the end's own direction.
  Drawn straight(test::polyline({{0, 0}, {100, 0}}, 5));
  EXPECT_EQ(end_curl_penalty(straight.points(), 0, 100), 499);
  // An end that turned back sharply within the last quarter of the size.
  Drawn curled({{0, 0}, {100, 0}, {110, 10}, {100, 12}});
  EXPECT_EQ(end_curl_penalty(curled.points(), 180, 100), 0);
}

}  // namespace
}  // namespace inkrec

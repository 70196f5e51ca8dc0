#include <gtest/gtest.h>

#include "engine/foundation/box16.h"
#include "engine/foundation/interval_relation.h"

namespace inkrec {
namespace {

TEST(Box16Test, SetOrdersEachAxis) {
  Box16 box;
  box.set(10, 5, 2, 8);
  EXPECT_EQ(box, (Box16{2, 5, 10, 8}));
  box.set_from_points({3, 9}, {1, -4});
  EXPECT_EQ(box, (Box16{1, -4, 3, 9}));
  EXPECT_EQ(Box16::normalized_from(Box16{5, 6, 1, 2}), (Box16{1, 2, 5, 6}));
}

TEST(Box16Test, BoundsAreInclusive) {
  const Box16 unit{0, 0, 0, 0};
  EXPECT_EQ(unit.width(), 1);
  EXPECT_EQ(unit.height(), 1);
  EXPECT_EQ(unit.area(), 1);
  EXPECT_TRUE(unit.contains({0, 0}));
  EXPECT_FALSE(unit.contains({1, 0}));
  EXPECT_FALSE(unit.contains({0, -1}));

  const Box16 box{-5, 2, 4, 7};
  EXPECT_EQ(box.width(), 10);
  EXPECT_EQ(box.height(), 6);
  EXPECT_EQ(box.area(), 60);
  EXPECT_EQ(box.center_x(), 0);  // -1 / 2 truncates toward zero
  EXPECT_EQ(box.center_y(), 4);
}

TEST(Box16Test, TouchingBoxesIntersect) {
  const Box16 a{0, 0, 10, 10};
  EXPECT_TRUE(a.intersects(Box16{10, 10, 20, 20}));
  EXPECT_FALSE(a.intersects(Box16{11, 0, 20, 10}));
  EXPECT_TRUE(a.overlaps_x(Box16{5, 50, 6, 60}));
  EXPECT_FALSE(a.overlaps_y(Box16{5, 50, 6, 60}));
}

TEST(Box16Test, MakeSquareLengthensTheShorterSide) {
  Box16 tall{0, 0, 3, 9};
  tall.make_square();
  EXPECT_EQ(tall, (Box16{0, 0, 9, 9}));
  Box16 wide{2, 2, 11, 4};
  wide.make_square();
  EXPECT_EQ(wide, (Box16{2, 2, 11, 11}));
}

TEST(Box16Test, ComputedBoundsSaturate) {
  Box16 box{-32765, 0, 32760, 10};
  box.inflate(10);
  EXPECT_EQ(box, (Box16{-32768, -10, 32767, 20}));
  box.inflate(-3, 2);
  EXPECT_EQ(box, (Box16{-32765, -12, 32764, 22}));
  Box16 tall{32000, 0, 32000, 2000};
  tall.make_square();
  EXPECT_EQ(tall.right, 32767);
}

TEST(Box16Test, UniteClipAndIncludePoint) {
  Box16 box{0, 0, 4, 4};
  box.include_point({-2, 7});
  EXPECT_EQ(box, (Box16{-2, 0, 4, 7}));
  EXPECT_EQ(Box16::united(box, Box16{3, -1, 9, 2}), (Box16{-2, -1, 9, 7}));
  box.clip_to(Box16{0, 1, 2, 20});
  EXPECT_EQ(box, (Box16{0, 1, 2, 7}));
}

TEST(Box16Test, AppendPointIfNewSkipsARepeat) {
  DynArray<PackedPoint> run;
  EXPECT_EQ(append_point_if_new(run, {1, 2}), kOk);
  EXPECT_EQ(append_point_if_new(run, {1, 2}), kOk);
  EXPECT_EQ(append_point_if_new(run, {2, 2}), kOk);
  EXPECT_EQ(run.size(), 2u);
  AllocationFailureScope fail;
  EXPECT_EQ(append_point_if_new(run, {2, 2}), kOk);
  EXPECT_EQ(append_point_if_new(run, {3, 3}), kOutOfMemory);
}

struct IntervalCase {
  int a0, a1, b0, b1;
  int overlap, span, outer_start, inner_start, inner_end, outer_end;
};

TEST(IntervalRelationTest, FieldsOfTable) {
  const IntervalCase cases[] = {
      {0, 10, 10, 20, 0, 20, 0, 10, 10, 20},   // touching
      {0, 10, 15, 20, -5, 20, 0, 10, 15, 20},  // apart: left interval, then right
      {20, 15, 10, 0, -5, 20, 0, 10, 15, 20},  // apart, given reversed
      {5, 5, 5, 5, 0, 1, 5, 5, 5, 5},          // a single point twice
      {0, 10, 3, 6, 3, 10, 0, 3, 6, 10},       // nested
      {2, 8, 0, 5, 3, 8, 0, 2, 5, 8},          // overlapping
      {-30000, 0, 20000, 30000, -20000, 32767, -30000, 0, 20000, 30000},
  };
  for (const IntervalCase& c : cases) {
    IntervalRelation r;
    EXPECT_EQ(&make_interval_relation(r, c.a0, c.a1, c.b0, c.b1), &r);
    EXPECT_EQ(r.overlap(), c.overlap) << c.a0 << ' ' << c.a1 << ' ' << c.b0 << ' ' << c.b1;
    EXPECT_EQ(r.span(), c.span);
    EXPECT_EQ(r.outer_start(), c.outer_start);
    EXPECT_EQ(r.inner_start(), c.inner_start);
    EXPECT_EQ(r.inner_end(), c.inner_end);
    EXPECT_EQ(r.outer_end(), c.outer_end);
  }
  IntervalRelation r;
  r.compute(0, 10, 15, 20);
  r.clear();
  EXPECT_EQ(r.span(), 0);
  EXPECT_EQ(r.outer_end(), 0);
}

}  // namespace
}  // namespace inkrec

#include <gtest/gtest.h>

#include "engine/records/clamped_ramp.h"
#include "engine/records/pair_table.h"
#include "engine/records/record_access.h"

namespace inkrec {
namespace {

TEST(ClampedRampTest, ClampAndExtrapolation) {
  const ClampedRamp ramp(50, 140, true, 100, 1000, false);
  struct Case {
    int x, y;
  };
  const Case cases[] = {{20, 140}, {50, 140}, {75, 570}, {100, 1000}, {110, 1172}, {51, 157}};
  for (const Case& c : cases) EXPECT_EQ(ramp.value_at(c.x), c.y) << c.x;

  // Falling ramp open at both ends; truncation toward zero either side.
  const ClampedRamp open(0, 0, false, 3, -10, false);
  EXPECT_EQ(open.value_at(1), -3);
  EXPECT_EQ(open.value_at(-1), 3);
  EXPECT_EQ(open.value_at(30), -100);
}

TEST(ClampedRampTest, EndsAreOrderedByX) {
  const ClampedRamp ramp(100, 5, false, 10, 50, true);
  EXPECT_EQ(ramp.lower_x(), 10);
  EXPECT_TRUE(ramp.lower_clamped());
  EXPECT_EQ(ramp.upper_x(), 100);
  EXPECT_FALSE(ramp.upper_clamped());
  EXPECT_EQ(ramp.value_at(0), 50);
  EXPECT_EQ(ramp.value_at(190), -40);

  const ClampedRamp flat(7, 10, false, 7, 21, false);
  EXPECT_EQ(flat.value_at(0), 15);  // both x equal: the mean
  const ClampedRamp held(7, 10, true, 7, 21, true);
  EXPECT_EQ(held.value_at(7), 10);
  EXPECT_EQ(held.value_at(8), 21);
  const ClampedRamp steep(0, 0, false, 1, 2000000000, false);
  EXPECT_EQ(steep.value_at(5), 2147483647);  // saturates instead of wrapping
}

TEST(ClampedRampTest, SizePenaltyNeedsBit13AndSize50) {
  const PropertyFlags bit13(0x2000);
  std::int32_t score = 5000;
  apply_size_penalty(bit13, 49, &score);
  EXPECT_EQ(score, 5000);
  apply_size_penalty(PropertyFlags(0xFFFFDFFF), 80, &score);
  EXPECT_EQ(score, 5000);
  apply_size_penalty(bit13, 50, &score);
  EXPECT_EQ(score, 4860);
  apply_size_penalty(bit13, 110, &score);
  EXPECT_EQ(score, 3688);
  apply_size_penalty(bit13, 110, nullptr);
}

TEST(PairTableTest, PairIndexForFourFigures) {
  struct Case {
    int i, j, index;
  };
  const Case cases[] = {{0, 1, 0}, {1, 0, 0},  {0, 2, 1},  {1, 2, 2},
                        {2, 3, 5}, {3, 3, -1}, {0, 4, -1}, {-1, 2, -1}};
  for (const Case& c : cases) EXPECT_EQ(pair_index(4, c.i, c.j), c.index) << c.i << ' ' << c.j;
  EXPECT_EQ(pair_index(40000, 39999, 0), 39999 * 39998 / 2);
  EXPECT_EQ(pair_index(100000, 99999, 0), -1);  // past the int range
}

TEST(PairTableTest, EntriesExistOnlyOnceAppended) {
  PairTable table;
  ASSERT_EQ(table.reserve(4), kOk);
  EXPECT_EQ(table.figure_count(), 4u);
  EXPECT_GE(table.entries().capacity(), 6u);
  EXPECT_EQ(pair_index(table, 2, 3), 5);
  EXPECT_EQ(table.at(0, 1), nullptr);
  for (int k = 0; k < 3; ++k) ASSERT_NE(table.entries().push_default(), nullptr);
  ASSERT_NE(table.at(1, 2), nullptr);
  EXPECT_EQ(table.at(2, 1), table.at(1, 2));
  EXPECT_EQ(table.at(2, 3), nullptr);
  EXPECT_EQ(table.at(1, 1), nullptr);

  const PairMetrics& fresh = *table.at(0, 1);
  EXPECT_EQ(fresh.pair_value(), 32767);
  EXPECT_EQ(fresh.measures[3], 32767);
  EXPECT_EQ(fresh.angle, 0);
  EXPECT_EQ(fresh.link_distance, 32767);
  EXPECT_EQ(fresh.link_cost, 0);
  EXPECT_EQ(fresh.kind, -1);
  EXPECT_EQ(fresh.left_index, -1);
  EXPECT_EQ(fresh.right_index, -1);
  EXPECT_EQ(fresh.band_a, Box16{});
  EXPECT_EQ(fresh.vertical_relation.span(), 0);
  EXPECT_EQ(fresh.half_measures[1][1], 0);
  EXPECT_EQ(fresh.counts[1], 0u);

  ASSERT_EQ(table.reserve(3), kOk);
  EXPECT_TRUE(table.entries().empty());
  EXPECT_EQ(table.reserve(0x7FFFFFFF), kOutOfMemory);
  EXPECT_EQ(table.figure_count(), 0u);
}

TEST(PairTableTest, ResetRestoresTheDefaults) {
  PairMetrics metrics;
  metrics.measures[0] = 3;
  metrics.kind = 2;
  metrics.vertical_relation.compute(0, 4, 2, 9);
  metrics.band_b = {1, 2, 3, 4};
  metrics.counts[0] = 8;
  metrics.reset();
  EXPECT_EQ(metrics.pair_value(), 32767);
  EXPECT_EQ(metrics.kind, -1);
  EXPECT_EQ(metrics.vertical_relation.overlap(), 0);
  EXPECT_EQ(metrics.band_b, Box16{});
  EXPECT_EQ(metrics.counts[0], 0u);
}

struct Figure {
  std::uint16_t line;
  std::uint16_t stroke;
};
std::uint16_t line_index_of(const Figure& f) { return f.line; }
std::uint16_t stroke_number_of(const Figure& f) { return f.stroke; }

TEST(FigureListTest, FirstLineAndSingleStroke) {
  Figure a{3, 7};
  Figure b{4, 8};
  PtrArray<Figure> list;
  EXPECT_EQ(first_line_number(list), -2);
  EXPECT_EQ(single_stroke_number(list), -1);
  ASSERT_EQ(list.push_back(&a), kOk);
  EXPECT_EQ(first_line_number(list), 3);
  EXPECT_EQ(single_stroke_number(list), 7);
  ASSERT_EQ(list.push_back(&b), kOk);
  EXPECT_EQ(single_stroke_number(list), -1);
}

}  // namespace
}  // namespace inkrec

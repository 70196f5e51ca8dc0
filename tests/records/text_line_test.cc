#include "engine/records/text_line.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <vector>

#include "engine/foundation/allocation.h"
#include "engine/records/line_fit.h"

namespace inkrec {
namespace {

struct WeightedPoint {
  int x;
  int y;
  int w;
};

LineFit fit_of(std::initializer_list<WeightedPoint> points) {
  LineFit fit;
  for (const WeightedPoint& p : points) fit.add_point(p.x, p.y, p.w);
  return fit;
}

TEST(LineFitTest, YAtCases) {
  struct Case {
    const char* name;
    std::vector<WeightedPoint> points;
    int x;
    int expected;
  };
  const Case cases[] = {
      {"one point gives its y anywhere", {{5, 7, 1}}, 1000, 7},
      {"points on a vertical line give the mean y", {{5, 0, 1}, {5, 10, 1}, {5, 20, 1}}, 100, 10},
      {"a straight line is followed outside its points",
       {{0, 3, 1}, {10, 8, 1}, {20, 13, 1}},
       30,
       18},
      // Weights count squared: slope -1/7, intercept 3.81.
      {"a heavier point pulls the line", {{0, 0, 1}, {10, 10, 1}, {20, 0, 2}}, -30, 8},
      {"fitted values truncate toward zero", {{0, 0, 1}, {10, 10, 1}, {20, 0, 2}}, 30, 0},
      {"a far x saturates upward", {{0, 0, 1}, {100, 99, 1}}, 2000000000, 32767},
      {"a far x saturates downward", {{0, 0, 1}, {100, 99, 1}}, -2000000000, -32768},
      // 100000² overflows 32 bits: the weights must add up in 64 bits.
      {"huge weights", {{0, 0, 100000}, {10, 5, 100000}, {20, 10, 1}}, 40, 20},
  };
  for (const Case& c : cases) {
    LineFit fit;
    for (const WeightedPoint& p : c.points) fit.add_point(p.x, p.y, p.w);
    EXPECT_EQ(fit.y_at(c.x), c.expected) << c.name;
  }
}

TEST(LineFitTest, WeightsBelowOneCountAsOne) {
  LineFit ones = fit_of({{0, 0, 1}, {10, 4, 1}, {20, 2, 1}});
  LineFit low = fit_of({{0, 0, 0}, {10, 4, -5}, {20, 2, 1}});
  EXPECT_DOUBLE_EQ(low.slope(), ones.slope());
  EXPECT_DOUBLE_EQ(low.intercept(), ones.intercept());
}

TEST(LineFitTest, SolvesLazilyAndResets) {
  LineFit fit;
  EXPECT_TRUE(fit.is_empty());
  EXPECT_EQ(fit.y_at(50), 0);
  EXPECT_FALSE(fit.fitted());  // nothing to fit yet

  fit.add_packed_point({4, 9}, 3);
  EXPECT_EQ(fit.bounding_box(), (Box16{4, 9, 4, 9}));
  EXPECT_EQ(fit.slope(), 0.0);  // Sxx is 0 and taken as 1
  EXPECT_TRUE(fit.fitted());
  fit.add_point(-6, 1, 1);
  EXPECT_FALSE(fit.fitted());
  EXPECT_EQ(fit.bounding_box(), (Box16{-6, 1, 4, 9}));
  EXPECT_EQ(fit.point_count(), 2);
  EXPECT_EQ(fit.mean_x(), -1);
  EXPECT_EQ(fit.mean_y(), 5);

  fit.reset();
  EXPECT_TRUE(fit.is_empty());
  EXPECT_EQ(fit.point_count(), 0);
  EXPECT_EQ(fit.bounding_box(), Box16{});
}

DynArray<TextLine> lines_with_ids(std::initializer_list<std::int16_t> ids) {
  DynArray<TextLine> lines;
  for (const std::int16_t id : ids) lines.push_default()->id = id;
  return lines;
}

TEST(TextLineTest, NextIdIsAboveTheGreatest) {
  EXPECT_EQ(next_text_line_id(lines_with_ids({3, 7, 2})), 8);
  EXPECT_EQ(next_text_line_id(lines_with_ids({})), 1);
  EXPECT_EQ(next_text_line_id(lines_with_ids({-4})), 1);
}

TEST(TextLineTest, AddAndRemoveLines) {
  DynArray<TextLine> lines;
  TextLine* first = add_text_line(lines);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->id, 1);
  ASSERT_NE(add_text_line(lines), nullptr);
  EXPECT_EQ(lines[1].id, 2);

  EXPECT_EQ(remove_text_line(lines, 5), kBadArgument);
  EXPECT_EQ(lines.size(), 2u);
  EXPECT_EQ(remove_text_line(lines, 1), kOk);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].id, 2);

  DynArray<TextLine> none;
  AllocationFailureScope no_memory;
  EXPECT_EQ(add_text_line(none), nullptr);
  EXPECT_TRUE(none.empty());
}

TEST(TextLineTest, StrokesStaySortedAndClearKeepsTheBuffer) {
  TextLine line;
  for (const std::uint16_t s : {9, 2, 65535, 2, 0, 7}) ASSERT_EQ(line.add_stroke(s), kOk);
  EXPECT_EQ(std::vector<std::uint16_t>(line.strokes.begin(), line.strokes.end()),
            (std::vector<std::uint16_t>{0, 2, 2, 7, 9, 65535}));

  line.id = 4;
  line.fits[1].add_point(1, 2, 1);
  line.box = Box16{1, 2, 3, 4};
  line.set_part_flag(1);
  ASSERT_NE(line.part.candidates.add_new(), nullptr);
  const std::uint32_t capacity = line.strokes.capacity();
  line.clear();
  EXPECT_TRUE(line.strokes.empty());
  EXPECT_EQ(line.strokes.capacity(), capacity);
  EXPECT_TRUE(line.fits[1].is_empty());
  EXPECT_EQ(line.box, Box16{});
  EXPECT_EQ(line.id, 0);
  EXPECT_TRUE(line.part.candidates.empty());
  EXPECT_EQ(line.part_flag(), 1);
}

TEST(TextLineTest, CopiesOwnTheirFigures) {
  DynArray<TextLine> lines;
  TextLine original;
  original.id = 3;
  ASSERT_EQ(original.add_stroke(5), kOk);
  FigureRecord* figure = original.part.candidates.add_new();
  ASSERT_NE(figure, nullptr);
  figure->stroke_index = 5;
  FigureRecord elsewhere;
  ASSERT_EQ(original.part.figure_refs.push_back(&elsewhere), kOk);

  TextLine* copy = append_text_line(lines, original);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->id, 3);
  EXPECT_EQ(copy->strokes[0], 5);
  ASSERT_EQ(copy->part.candidates.size(), 1u);
  EXPECT_NE(copy->part.candidates[0], figure);
  EXPECT_EQ(copy->part.candidates[0]->stroke_index, 5);
  EXPECT_EQ(copy->part.figure_refs[0], &elsewhere);

  AllocationFailureScope no_memory;
  EXPECT_EQ(append_text_line(lines, original), nullptr);
  EXPECT_EQ(lines.size(), 1u);
}

}  // namespace
}  // namespace inkrec

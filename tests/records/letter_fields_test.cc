#include "engine/records/letter_fields.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "tests/support/figure_ink.h"

namespace inkrec {
namespace {

using test::circle;
using test::Figure;
using test::Points;
using test::polyline;

// What the letter search reads of one drawn figure, each measure worked
// out by hand from the drawing.
struct MarkCase {
  const char* name;
  std::vector<Points> strokes;
  std::int16_t rise;          // e1
  std::int16_t along;         // e2
  std::int16_t winding;       // e3
  std::int16_t across;        // e4
  std::int16_t bend;          // summed turning
  std::int16_t length;        // box diagonal
  std::int16_t chord;         // slant value
  std::int16_t second_angle;  // direction of the last quarter
  std::int16_t count;         // points
  PackedPoint reference;      // (box centre x, box top)
  std::int16_t span;          // box width
};

// A dot; a stem drawn down 100 units; a dash drawn right 100 units; a
// hook: down 80, then a quarter turn to the left along three corners; a
// ring of radius 20 drawn clockwise from its rightmost point.
const MarkCase kMarks[] = {
    // One point: no extent, no path, a box of one unit.
    {"dot", {{{5, 5}}}, 0, 0, 100, 0, 0, 0, 0, 0, 1, {5, 5}, 1},
    // Eleven points 10 apart, ending 100 of its 101 rows lower than it
    // starts: rise -100 * 100 / 101 = -99. Along the mark angle
    // (90, down) it spans 100, across nothing; ten steps of 10 make a path
    // of 100 over a chord of 100; the diagonal of a 1 x 101 box is
    // (2 * 100 + 100) / 3 = 100.
    {"stem", {polyline({{10, 0}, {10, 100}})}, -99, 100, 100, 0, 0, 100, 90, 90, 11, {10, 0}, 1},
    // The same lying down: mark angle 0, rise 0 in a one-row box,
    // diagonal (2 * 100 + 100) / 3 = 100.
    {"dash", {polyline({{0, 50}, {100, 50}})}, 0, 100, 100, 0, 0, 100, 0, 0, 11, {50, 50}, 101},
};

TEST(MarkBlock, DrawnFiguresReadAsWorkedOut) {
  for (const MarkCase& c : kMarks) {
    SCOPED_TRACE(c.name);
    Figure figure(c.strokes);
    ASSERT_EQ(figure.status(), kOk);
    GlyphGeometry& g = figure.glyph();
    const MarkBlock& m = g.ensure_block_m(figure.runs());
    EXPECT_EQ(extent_e1(m), c.rise);
    EXPECT_EQ(extent_e2(m), c.along);
    EXPECT_EQ(extent_e3(m), c.winding);
    EXPECT_EQ(extent_e4(m), c.across);
    EXPECT_EQ(bend(m), c.bend);
    EXPECT_EQ(mark_length(m), c.length);
    EXPECT_EQ(slant_value(m), c.chord);
    EXPECT_EQ(second_angle(m), c.second_angle);
    EXPECT_EQ(count_field(m), c.count);
    EXPECT_EQ(geometry_check_a(m) + geometry_check_b(m), 0);
    EXPECT_EQ(reference_point(g), c.reference);
    EXPECT_EQ(top_key(g), c.reference.y);
    EXPECT_EQ(span_value(g), c.span);
  }
}

TEST(MarkBlock, HookTurnsAQuarterAndEndsRising) {
  // Down 80, then down-left to (40, 100), left to (20, 100), up-left to
  // (10, 90): the path turns from 90 (down) through down-left and 180
  // (left) to 225 (up-left), a quarter turn and a half: 135 degrees.
  Figure figure({polyline({{50, 0}, {50, 80}, {40, 100}, {20, 100}, {10, 90}})});
  ASSERT_EQ(figure.status(), kOk);
  const MarkBlock& m = figure.glyph().ensure_block_m(figure.runs());
  EXPECT_EQ(m.bend, 135);
  // It starts at the top and ends at y 90 of a 101-row box.
  EXPECT_EQ(m.rise, (0 - 90) * 100 / 101);
  // Of its 14 points the last quarter starts at point 10, (40, 100).
  EXPECT_EQ(m.point_count, 14);
  EXPECT_EQ(m.end_direction, step_direction({40, 100}, {10, 90}));
  // The chord from (50, 0) to (10, 90) points down and to the left.
  EXPECT_EQ(m.chord_direction, step_direction({50, 0}, {10, 90}));
  EXPECT_GT(m.winding, 100);
}

TEST(MarkBlock, RingTurnsOnceAroundAndCountsItsLoop) {
  Figure figure({circle(50, 50, 20, true)});
  // The last point closes the loop on the first one.
  std::vector<PointRecord>& points = figure.stroke(0);
  points.back().trajectory.first_partner = 0;
  points.back().trajectory.add_flags(TrajectoryRecord::kFirstCrossing);
  figure.refill();
  ASSERT_EQ(figure.status(), kOk);
  const MarkBlock& m = figure.glyph().ensure_block_m(figure.runs());
  // 36 steps of 10 degrees: 35 turns of about 10 degrees each.
  EXPECT_NEAR(m.bend, 350, 20);
  // A closed ring: it ends where it starts, so its chord is 0 and its path
  // (the octagonal lengths of its 36 steps) stands against a chord of 1.
  EXPECT_EQ(m.rise, 0);
  int path = 0;
  for (std::size_t k = 1; k < points.size(); ++k) {
    path += octagonal_length(points[k].point.x - points[k - 1].point.x,
                             points[k].point.y - points[k - 1].point.y);
  }
  EXPECT_EQ(m.winding, path * 100);
  EXPECT_EQ(m.extent_along, m.extent_across);
  EXPECT_EQ(m.positive_loops + m.negative_loops, 1);
  // The diagonal of its 41 x 41 box: (2 * 40 + 40 + 40) / 3.
  EXPECT_EQ(m.length, 53);
}

TEST(MarkBlock, IsKeptUntilTheGeometryIsPreparedAgain) {
  Figure figure({polyline({{0, 0}, {0, 30}})});
  const MarkBlock& first = figure.glyph().ensure_block_m(figure.runs());
  EXPECT_EQ(first.point_count, 4);
  figure.stroke(0).resize(2);
  figure.run(0).count = 2;
  EXPECT_EQ(figure.glyph().ensure_block_m(figure.runs()).point_count, 4);
  figure.refill();
  EXPECT_EQ(figure.glyph().ensure_block_m(figure.runs()).point_count, 2);
}

TEST(LetterFields, ClassesKeepTheShapeAnalysisNumbering) {
  // A dot has no direction to class: unclassified. A short flat dash is
  // tiny (at most 10 units): class 0, "no class" for the rules.
  Figure dot({{{5, 5}}});
  EXPECT_EQ(mark_class(dot.glyph()), -1);
  Figure tiny({polyline({{0, 0}, {8, 0}}, 2)});
  EXPECT_EQ(mark_class(tiny.glyph()), 0);
  EXPECT_EQ(mark_quality(tiny.glyph()), 8200);
  EXPECT_EQ(geometry_class(tiny.glyph()), 0);
  EXPECT_EQ(shape_class_c1(tiny.glyph()), 0);
}

TEST(LetterFields, DatabaseNamesReadTheStoredBytes) {
  Variant v;
  v.idUse = 1;
  v.menuc = u'a';
  v.special_recognition = kSpecialRecognition;
  EXPECT_EQ(variant_kind(v), 1u);
  EXPECT_EQ(variant_code(v), u'a');
  EXPECT_EQ(variant_special(v), 1);
  static_assert(offsetof(Variant, copybook_group) == 14 &&
                offsetof(Variant, copybook_representative) == 15 &&
                offsetof(Variant, height_flag) == 19 && offsetof(Variant, second_code) == 20 &&
                offsetof(Variant, cursive_flag) == 34);

  Tuple t;
  t.rule = 67;
  t.complex[0] = 1;
  t.complex[2] = 1;
  EXPECT_EQ(tuple_kind(t), 67);
  EXPECT_EQ(first_side_flag(t), 1);
  EXPECT_EQ(second_side_flag(t), 0);
  EXPECT_EQ(joined_reading_flag(t), 1);

  Etalon e;
  e.stats.norm = 900;
  e.stats.max_level = 40;  // cell levels: not the score's bounds
  e.stats.min_level = 20;
  e.stats.max_hits = 130;
  e.stats.min_hits = 75;
  EXPECT_EQ(etalon_norm(e), 900u);
  EXPECT_EQ(etalon_d(e), 130);
  EXPECT_EQ(etalon_e(e), 75);

  ShapeInfo s{};
  s.height_limit = 140;
  s.stats[2] = -10;
  s.stats[3] = 25;
  EXPECT_EQ(shape_height_limit(s), 140);
  EXPECT_EQ(shape_ramp_top(s), -10);
  EXPECT_EQ(shape_ramp_bottom(s), 25);
}

}  // namespace
}  // namespace inkrec

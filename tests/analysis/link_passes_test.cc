// The passes of the split one at a time, on hand-placed strokes: the
// creation walk, and for the other passes body-link-body chains cut by hand
// with the shapes each rule looks for and near misses. The band runs from
// y = 60 to the base line at y = 100 (letter and mean height 40); links are
// written "stroke.piece:first+count[/kind]".

#include "engine/analysis/link_passes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/analysis/bodies_and_links.h"
#include "engine/foundation/status.h"
#include "tests/support/split_ink.h"

namespace inkrec {
namespace {

using testing::LineShape;
using testing::SplitBench;

constexpr std::uint16_t kFirst = TrajectoryRecord::kFirstCrossing;
constexpr std::uint16_t kSecond = TrajectoryRecord::kSecondCrossing;

// A crossing mark on vertex `index`.
struct Mark {
  int index;
  std::uint16_t flags;
  int partner;
};

// A value set by hand on vertex `index` (a step direction, after the
// steps are measured, or a score).
struct Value {
  int index;
  int value;
};

struct PieceCase {
  std::string name;
  std::vector<PackedPoint> points;
  std::vector<int> joints;  // none: the stroke is not cut (for "create")
  std::string expected;     // the links after the pass
  std::vector<int> kinds = {};
  std::vector<Mark> marks = {};
  std::vector<Value> directions = {};
  std::vector<Value> scores = {};
  std::vector<Value> ratios = {};
  LineShape shape = {};
};

// Runs the pass over the case's stroke and describes the links it leaves
// (or its failing status); the pieces must stay whole.
std::string run_case(int (*pass)(RecognitionContext&), const PieceCase& c,
                     std::u16string_view letters = {}) {
  SplitBench bench(letters);
  Trajectory& trajectory = bench.add_vertices(c.points);
  for (const Mark& mark : c.marks) {
    TrajectoryRecord& record = trajectory[mark.index].trajectory;
    record.add_flags(mark.flags);
    (mark.flags == kFirst ? record.first_partner : record.second_partner) =
        static_cast<std::uint16_t>(mark.partner);
  }
  if (bench.build_records(c.shape) != kOk) return "no records";
  for (const Value& d : c.directions) {
    trajectory[d.index].trajectory.step_direction = static_cast<std::int16_t>(d.value);
  }
  for (const Value& score : c.scores) trajectory[score.index].trajectory.score = score.value;
  for (const Value& ratio : c.ratios) trajectory[ratio.index].trajectory.ratio = ratio.value;
  if (!c.joints.empty() && bench.cut(0, c.joints, c.kinds) != kOk) return "no pieces";
  RecognitionContext context = bench.context();
  if (const int status = pass(context); status != kOk) return "status " + std::to_string(status);
  const std::string violation = testing::piece_violations(bench.work());
  if (!violation.empty()) return violation;
  return testing::describe_links(bench.work().links);
}

void expect_cases(int (*pass)(RecognitionContext&), const std::vector<PieceCase>& cases,
                  std::u16string_view letters = {}) {
  for (const PieceCase& c : cases) EXPECT_EQ(run_case(pass, c, letters), c.expected) << c.name;
}

// ---- create

// A stroke down the band, a rise of four steps to the x-line and a stroke
// down again: the rise is the link.
const std::vector<PackedPoint> kRise = {{0, 60},  {0, 100}, {10, 90}, {20, 80},
                                        {30, 70}, {40, 60}, {40, 100}};

std::vector<Value> rise_directions(int degrees) {
  return {{1, degrees}, {2, degrees}, {3, degrees}, {4, degrees}};
}

TEST(CreatePass, RisesSteeperThanTheThresholdBecomeLinks) {
  struct Threshold {
    int slant;
    int direction;  // of every rising step
    bool link;
  };
  // The threshold is the slant + 9 below 90 (a slant below 1 counts as
  // 90), else 99; a step is a link candidate when its reversed direction
  // lies from the threshold to 180.
  for (const Threshold& t : std::vector<Threshold>{{90, 279, true},
                                                   {90, 278, false},
                                                   {89, 278, true},
                                                   {89, 277, false},
                                                   {0, 279, true},
                                                   {-5, 278, false},
                                                   {120, 278, false},
                                                   {90, 0, true},
                                                   {90, 1, false}}) {
    PieceCase c{"rise", kRise, {}, t.link ? "0.1:1+5" : ""};
    c.directions = rise_directions(t.direction);
    c.shape.slant = t.slant;
    EXPECT_EQ(run_case(create_bodies_and_links, c), c.expected)
        << "slant " << t.slant << " direction " << t.direction;
  }
}

TEST(CreatePass, CutsAndKeepsWholeStrokes) {
  expect_cases(create_bodies_and_links,
               {
                   {"one point", {{5, 80}}, {}, ""},
                   {"coinciding points", {{5, 80}, {5, 80}, {5, 80}}, {}, ""},
                   {"the rise", kRise, {}, "0.1:1+5"},
                   // A crossing at the start of the rise cuts a two-point
                   // link of kind 2 and locks the rest of the rise.
                   {"crossing in the rise", kRise, {}, "0.1:1+2/2", {}, {{1, kFirst, 6}}},
                   // A second crossing at a step's start lowers its threshold
                   // to 95.
                   {"second crossings",
                    kRise,
                    {},
                    "0.1:1+5",
                    {},
                    {{1, kSecond, 0}, {2, kSecond, 0}, {3, kSecond, 0}, {4, kSecond, 0}},
                    rise_directions(276)},
                   {"one second crossing",
                    kRise,
                    {},
                    "0.1:1+2",
                    {},
                    {{1, kSecond, 0}},
                    rise_directions(276)},
                   // Small: narrower than 11/20 of the mean height.
                   {"small", {{0, 60}, {0, 100}, {5, 90}, {10, 80}, {15, 100}}, {}, ""},
                   // Above the line: the whole stroke lies above the base line fit.
                   {"above the line",
                    {{0, 20}, {0, 50}, {10, 40}, {20, 30}, {30, 20}, {40, 10}, {40, 50}},
                    {},
                    ""},
               });
}

TEST(CreatePass, LongBarAboveTheLineIsCutAtItsCentroid) {
  // A stem, then a bar above the line across it: with a t among the
  // letters the bar is cut at the first point that reaches its centroid.
  for (const bool with_t : {true, false}) {
    SplitBench bench(with_t ? u"t" : u"l");
    bench.add_vertices({{60, 20}, {61, 60}, {62, 100}});
    bench.add_vertices({{0, 50}, {30, 50}, {60, 50}, {90, 50}, {120, 50}, {150, 50}, {180, 50}});
    ASSERT_EQ(bench.build_records(LineShape()), kOk);
    RecognitionContext context = bench.context();
    ASSERT_EQ(create_bodies_and_links(context), kOk);
    EXPECT_EQ(testing::piece_violations(bench.work()), "");
    EXPECT_EQ(testing::describe_links(bench.work().links), with_t ? "1.1:3+1/1" : "");
  }
}

TEST(CreatePass, EveryLaterStrokeGetsItsPairRecord) {
  SplitBench bench;
  bench.add_vertices(kRise);
  bench.add_vertices({{20, 40}, {21, 41}});  // a dot: one whole body
  ASSERT_EQ(bench.build_records(LineShape()), kOk);
  RecognitionContext context = bench.context();
  ASSERT_EQ(create_bodies_and_links(context), kOk);
  EXPECT_EQ(bench.work().bodies.size(), 3u);
  const PairMetrics* pair = context.pair_table().at(0, 1);
  ASSERT_NE(pair, nullptr);
  EXPECT_EQ(pair->pair_value(), PairMetrics::kNotMeasured);
  EXPECT_EQ(pair->kind, -1);
}

// ---- link removal rules

TEST(LinkRemovalRules, PointLinks) {
  const std::vector<PackedPoint> back = {{0, 100}, {10, 80}, {20, 70}, {10, 80}, {20, 100}};
  expect_cases(
      remove_point_links,
      {
          {"kind 2 ending where it began", back, {1, 3}, "", {2}},
          {"kind 0 ending where it began", back, {1, 3}, "0.1:1+3"},
          // The second link moves into the first one's place
          // and is examined there too.
          {"two in a row",
           {{0, 100}, {10, 80}, {20, 70}, {10, 80}, {20, 100}, {30, 80}, {20, 100}, {30, 100}},
           {1, 3, 4, 6},
           "",
           {2, 2}},
          {"kind 2 going on",
           {{0, 100}, {10, 80}, {20, 70}, {30, 60}, {40, 100}},
           {1, 3},
           "0.1:1+3/2",
           {2}},
      });
}

TEST(LinkRemovalRules, StartAndEndMatch) {
  // The far ends of the bodies meet within a fifth of the mean height (8).
  const auto loop = [](int end_x) {
    return std::vector<PackedPoint>{
        {0, 100}, {10, 60}, {20, 50}, {30, 60}, {static_cast<std::int16_t>(end_x), 104}};
  };
  expect_cases(remove_links_when_start_n_end_match,
               {
                   {"ends 7 apart", loop(7), {1, 3}, ""},
                   {"ends 8 apart", loop(8), {1, 3}, "0.1:1+3"},
                   {"one-point link", loop(5), {2, 2}, "0.1:2+1"},
               });
}

TEST(LinkRemovalRules, BLinks) {
  // A tall stem, a rise and a small hook back at its top: the bowl of a b.
  const std::vector<PackedPoint> b = {{40, 20}, {10, 100}, {25, 85}, {35, 75}, {36, 80}, {30, 82}};
  expect_cases(remove_b_links,
               {
                   {"crossing at the link's end", b, {1, 3}, "", {}, {{3, kFirst, 5}}},
                   {"no crossing", b, {1, 3}, "0.1:1+3"},
               });
}

TEST(LinkRemovalRules, KLinks) {
  // B1 a flat arm, B2 a leg leaving it downward from under its middle.
  const auto k = [](int leg_top) {
    return std::vector<PackedPoint>{
        {0, 60}, {40, 60}, {20, 50}, {10, static_cast<std::int16_t>(leg_top)}, {40, 80}};
  };
  expect_cases(remove_k_links, {
                                   {"leg from the arm", k(61), {1, 3}, ""},
                                   {"leg far below", k(75), {1, 3}, "0.1:1+3"},
                               });
}

TEST(LinkRemovalRules, SmallLinksDownTheLine) {
  expect_cases(remove_small_links_ind_down_line,
               {
                   {"one point between stacked bodies", {{0, 40}, {10, 70}, {15, 100}}, {1, 1}, ""},
                   {"one point before a rise", {{0, 40}, {10, 70}, {15, 40}}, {1, 1}, "0.1:1+1"},
                   {"one point before a flat step", {{0, 40}, {10, 70}, {40, 72}}, {1, 1}, ""},
               });
}

TEST(LinkRemovalRules, StartPointLinks) {
  expect_cases(remove_start_point_links,
               {
                   {"a v", {{20, 60}, {0, 100}, {20, 60}}, {1, 1}, ""},
                   {"a v going on below", {{20, 60}, {0, 100}, {20, 130}}, {1, 1}, "0.1:1+1"},
                   {"a longer link", {{20, 60}, {0, 100}, {5, 95}, {20, 60}}, {1, 2}, "0.1:1+2"},
               });
}

// ---- link shortening, splitting and body rules

TEST(LinkShortening, ByCrosses) {
  const std::vector<PackedPoint> s = {{0, 100}, {0, 60},  {10, 90}, {20, 80},
                                      {30, 70}, {40, 60}, {50, 50}, {50, 100}};
  expect_cases(shorten_links_by_crosses,
               {
                   // The points after a first crossing go to B2.
                   {"first crossing", s, {1, 6}, "0.1:1+3", {}, {{3, kFirst, 7}}},
                   // Up to one after a second crossing go to B1.
                   {"second crossing", s, {1, 6}, "0.1:3+4", {}, {{2, kSecond, 0}}},
                   {"both", s, {1, 6}, "0.1:3+1", {}, {{2, kSecond, 0}, {3, kFirst, 7}}},
                   {"none", s, {1, 6}, "0.1:1+6"},
               });
}

// A rise that turns steeper for its last three points.
const std::vector<PackedPoint> kSteepTail = {{0, 60},  {0, 100}, {10, 90}, {20, 80}, {30, 70},
                                             {40, 60}, {42, 50}, {44, 40}, {46, 30}, {50, 100}};

TEST(LinkShortening, TailsAndSharpTurns) {
  // The last vertex's ratio is positive (10000 until measured): the last
  // quarter of a link of five points or more goes to B2 when it advances
  // less than a fifth of the letter height, but no further back than the
  // turn.
  // The ratio is the signed cosine of the turn at the link's end: a pen that
  // turns back there by a right angle or more keeps its tail in the link.
  PieceCase turning_back{"steep tail turning back", kSteepTail, {1, 8}, "0.1:1+8"};
  turning_back.ratios = {{8, -600}};
  PieceCase right_angle = turning_back;
  right_angle.name = "steep tail at a right angle";
  right_angle.ratios = {{8, 0}};
  PieceCase going_on = turning_back;
  going_on.name = "steep tail going on";
  going_on.ratios = {{8, 1}};
  going_on.expected = "0.1:1+6";
  expect_cases(shorten_links_for_body_tales_and_sharp,
               {
                   {"steep tail", kSteepTail, {1, 8}, "0.1:1+6"},
                   {"four points",
                    {{0, 60}, {0, 100}, {10, 90}, {20, 80}, {22, 60}, {40, 100}},
                    {1, 4},
                    "0.1:1+4"},
                   turning_back,
                   right_angle,
                   going_on,
               });
  // A sharp bend down (curvature above 30000 / H) and back up (below
  // -30000 / H, lower than the link's end) hides a body: the link is split
  // round it.
  PieceCase sharp{"sharp dip",
                  {{0, 60}, {0, 100}, {10, 80}, {20, 70}, {25, 95}, {35, 60}, {45, 50}, {50, 100}},
                  {1, 6},
                  "0.1:1+3 0.3:4+3"};
  sharp.scores = {{3, 1000}, {4, -1000}};
  PieceCase gentle = sharp;
  gentle.scores = {{3, 700}, {4, -700}};
  gentle.expected = "0.1:1+6";
  expect_cases(shorten_links_for_body_tales_and_sharp, {sharp, gentle});
}

TEST(LinkShortening, BodyTales) {
  // A link that dips below the middle of a narrow B1 right after leaving
  // it gives B1 its first point.
  expect_cases(shorten_links_for_body_tales_2,
               {
                   {"narrow B1",
                    {{5, 100}, {0, 70}, {2, 95}, {30, 60}, {40, 50}, {45, 100}},
                    {1, 4},
                    "0.1:2+3"},
                   {"wide B1",
                    {{-30, 100}, {0, 70}, {2, 95}, {30, 60}, {40, 50}, {45, 100}},
                    {1, 4},
                    "0.1:1+4"},
               });
}

TEST(LinkShortening, ContinuationIntoB2) {
  // B2 goes on up (300 degrees), turns back up-left (250) and comes down
  // right (60): the link takes B2 up to the turn.
  expect_cases(
      make_continuation_for_links,
      {
          {"turn back",
           {{0, 60}, {0, 100}, {10, 90}, {20, 80}, {30, 63}, {23, 44}, {33, 61}, {40, 100}},
           {1, 3},
           "0.1:1+5"},
          {"straight on",
           {{0, 60}, {0, 100}, {10, 90}, {20, 80}, {30, 63}, {40, 46}, {50, 63}, {60, 100}},
           {1, 3},
           "0.1:1+3"},
      });
}

TEST(LinkShortening, PointBodies) {
  expect_cases(
      remove_point_bodies,
      {
          // A stroke that starts with a short link before a short last
          // body: the link goes.
          {"short end", {{0, 100}, {10, 90}, {20, 80}, {30, 100}}, {0, 2}, ""},
          // Before a longer body a wide link is taken by the point,
          // but for its last point.
          {"wide link",
           {{0, 100}, {20, 90}, {40, 80}, {50, 100}, {60, 90}, {70, 100}},
           {0, 2},
           "0.1:2+1"},
          {"tall link", {{0, 100}, {10, 70}, {20, 55}, {30, 100}}, {0, 2}, "0.1:0+3"},
          {"not at the start", {{0, 60}, {0, 100}, {10, 90}, {20, 100}}, {1, 1}, "0.1:1+1"},
      });
}

TEST(LinkShortening, MedianBodies) {
  // A straight rise cut into link, tiny body, link: the body goes and the
  // links join.
  const auto rise = [](int body_top) {
    return std::vector<PackedPoint>{{0, 60},  {0, 100}, {10, 90},
                                    {20, 80}, {25, 75}, {30, static_cast<std::int16_t>(body_top)},
                                    {40, 60}, {50, 50}, {50, 100}};
  };
  expect_cases(remove_median_body, {
                                       {"tiny body", rise(70), {1, 3, 5, 7}, "0.1:1+7"},
                                       {"tall body", rise(40), {1, 3, 5, 7}, "0.1:1+3 0.3:5+3"},
                                   });
}

TEST(LinkShortening, SplitsAtTurns) {
  // The link runs along the base line, turns up into a letter stroke and
  // rises to its end: a one-point body at the turn.
  const std::vector<PackedPoint> turn = {{0, 60},  {0, 100}, {20, 100},
                                         {25, 70}, {30, 40}, {40, 100}};
  expect_cases(split_links_at_turns,
               {
                   {"down turn", turn, {1, 4}, "0.1:1+2 0.3:2+3"},
                   {"short B2",
                    {{0, 60}, {0, 100}, {20, 100}, {25, 70}, {30, 40}, {35, 55}},
                    {1, 4},
                    "0.1:1+4"},
               });
}

TEST(LinkShortening, SplitsAtLongSteps) {
  // A flat step to the right at least a third of the letter height long
  // splits a wide link; a step of direction 1 never does.
  const std::vector<PackedPoint> step = {{0, 60},  {0, 100}, {10, 90},
                                         {30, 90}, {40, 80}, {40, 100}};
  PieceCase flat{"direction 0", step, {1, 4}, "0.1:1+2 0.3:2+3"};
  PieceCase tilted{"direction 1", step, {1, 4}, "0.1:1+4"};
  tilted.directions = {{2, 1}};
  expect_cases(split_links_at_long_steps, {flat, tilted});
}

TEST(LinkShortening, ZeroLetterHeightDividesSafely) {
  PieceCase sharp{"steep tail", kSteepTail, {1, 8}, "0.1:1+8"};
  sharp.shape.letter_height = 0;
  EXPECT_EQ(run_case(shorten_links_for_body_tales_and_sharp, sharp), sharp.expected);
  PieceCase loop{"loop", {{0, 60}, {0, 100}, {10, 90}, {20, 80}, {15, 60}, {-5, 70}}, {1, 3}, ""};
  loop.shape.letter_height = 0;
  EXPECT_EQ(run_case(remove_loop_links, loop), loop.expected);
}

// ---- loop and undoubted-link rules

TEST(LoopRules, LoopLinks) {
  expect_cases(
      remove_loop_links,
      {
          // B2 comes back left of the link's start and crosses B1.
          {"loop crossing B1", {{10, 60}, {0, 100}, {20, 80}, {15, 60}, {-5, 70}}, {1, 2}, ""},
          {"loop apart from B1",
           {{-30, 60}, {0, 100}, {20, 80}, {15, 60}, {-5, 70}},
           {1, 2},
           "0.1:1+2"},
          // A full turn back at B2's first point ends the walk.
          {"turn back", {{10, 60}, {0, 100}, {20, 80}, {5, 95}, {-5, 70}}, {1, 2}, "0.1:1+2"},
      });
}

TEST(LoopRules, LinksAboveClosedLoops) {
  const std::vector<PackedPoint> u = {{0, 60}, {5, 80}, {0, 100}, {20, 130}, {25, 90}};
  expect_cases(remove_links_above_loops_of_uzd,
               {
                   {"one-point link above a deep loop", u, {1, 1}, ""},
                   {"a falling link",
                    {{0, 60}, {5, 80}, {15, 85}, {0, 100}, {20, 130}, {25, 90}},
                    {1, 2},
                    "0.1:1+2"},
               });
}

TEST(LoopRules, LinksInsideLoops) {
  // The stroke crosses itself from vertex 0 to vertex 6; the link inside
  // that loop, between bodies that do not cross, is merged away unless B2
  // reaches far right.
  const auto loop = [](int far_x) {
    return std::vector<PackedPoint>{
        {10, 100}, {0, 80},  {10, 60},  {20, 70},
        {30, 60},  {40, 80}, {10, 100}, {static_cast<std::int16_t>(far_x), 90}};
  };
  expect_cases(remove_links_inside_loops,
               {
                   {"inside", loop(30), {2, 4}, "", {}, {{0, kFirst, 6}}},
                   {"B2 reaching far right", loop(120), {2, 4}, "0.1:2+3", {}, {{0, kFirst, 6}}},
                   {"no loop", loop(30), {2, 4}, "0.1:2+3"},
               });
}

TEST(LoopRules, LoopsLinks) {
  expect_cases(remove_loops_links,
               {
                   // A one-point link at a crossing low in the line after a tiny B1.
                   {"low crossing",
                    {{0, 95}, {2, 97}, {10, 60}, {20, 100}},
                    {1, 1},
                    "",
                    {},
                    {{1, kFirst, 3}}},
                   {"high crossing",
                    {{0, 55}, {2, 57}, {10, 20}, {20, 60}},
                    {1, 1},
                    "0.1:1+1",
                    {},
                    {{1, kFirst, 3}}},
               });
}

TEST(UndoubtedLinks, RemovalAtTheLastLinkStepsBack) {
  // Two small rises between flat bodies: the last link goes by the finish
  // rule, and the link before it, now the last, is examined again and goes
  // too.
  expect_cases(remove_undoubted_links,
               {
                   {"two small rises",
                    {{0, 100}, {10, 100}, {15, 98}, {25, 98}, {30, 96}, {40, 96}},
                    {1, 2, 3, 4},
                    ""},
                   {"one tall rise", {{0, 100}, {10, 100}, {25, 60}, {40, 60}}, {1, 2}, "0.1:1+2"},
               });
}

TEST(UndoubtedLinks, ALinkUnderTheNextStrokeHandsItsEndToB2) {
  // The rise runs on under the first body of the next stroke (written from
  // its top left): with skew allowed the link keeps only the points up to
  // the first one left of that body, and stays.
  for (const bool skew_allowed : {true, false}) {
    SplitBench bench;
    bench.set_switches(true, skew_allowed);
    bench.add_vertices({{-10, 60}, {0, 100}, {10, 90}, {20, 80}, {30, 70}, {40, 60}, {45, 100}});
    bench.add_vertices({{15, 60}, {30, 80}, {45, 100}});
    ASSERT_EQ(bench.build_records(LineShape()), kOk);
    ASSERT_EQ(bench.cut(0, {1, 5}), kOk);
    ASSERT_EQ(bench.cut(1, {}), kOk);
    RecognitionContext context = bench.context();
    ASSERT_EQ(remove_undoubted_links(context), kOk);
    EXPECT_EQ(testing::piece_violations(bench.work()), "");
    EXPECT_EQ(testing::describe_links(bench.work().links), skew_allowed ? "0.1:1+2" : "0.1:1+5");
  }
}

}  // namespace
}  // namespace inkrec

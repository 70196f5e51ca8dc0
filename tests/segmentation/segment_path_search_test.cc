// The segment path search over hand-built word boxes: the weak marks, the
// ranking of paths, and the reading each box ends with.
#include "engine/segmentation/segment_path_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "tests/support/segment_bench.h"

namespace inkrec {
namespace {

using testing::describe;
using testing::Reading;
using testing::SegmentBench;

// A letter path with the numbers the weak marks read.
LetterPath numbers_path(std::uint32_t steps, std::int32_t non_first, std::int32_t strokes,
                        std::int32_t weighted_total, std::int32_t base, std::int32_t least,
                        std::int32_t greatest_second, std::uint8_t weak = 0) {
  LetterPath path;
  for (std::uint32_t i = 0; i < steps; ++i) EXPECT_NE(path.steps.push_default(), nullptr);
  path.non_first = non_first;
  path.strokes = strokes;
  path.weighted_total = weighted_total;
  path.base = base;
  path.least_value = least;
  path.greatest_second = greatest_second;
  path.weak = weak;
  return path;
}

TEST(WeakMarkTest, ThePlainReadingAgainstTheLetterPath) {
  // n = 5 strokes, W = 40000, E = 10: the margins 726, 585 and 560 per
  // stroke put the bounds at 43680, 42975 and 42850; the pair sum Q adds n
  // times itself to the plain reading S.
  struct Case {
    const char* what;
    std::uint32_t steps;
    std::int32_t non_first;
    std::int32_t least;
    std::int32_t greatest_second;
    std::int32_t plain;
    std::uint8_t weak_before;
    std::uint8_t weak;
  };
  const std::vector<Case> cases = {
      {"5 steps, 2 later answers, past 726 a stroke", 5, 2, 9000, 0, 43681, 0, 1},
      {"5 steps, 2 later answers, at the bound", 5, 2, 9000, 0, 43680, 0, 0},
      {"5 steps, 1 later answer: not above 10/7", 5, 1, 9000, 0, 99999, 0, 0},
      {"7 steps, 4 later answers, past 585 a stroke", 7, 4, 9000, 0, 42976, 0, 1},
      {"7 steps, 3 later answers: not above 21/7", 7, 3, 9000, 0, 42976, 0, 0},
      {"marked before, 9 steps, 2 later answers (9 > 8): unmarked", 9, 2, 9000, 0, 0, 1, 0},
      {"marked before, 8 steps, 2 later answers: stays", 8, 2, 9000, 0, 0, 1, 1},
      {"3 steps, 2 later answers, least 6649, second 270", 3, 2, 6649, 270, 42851, 0, 1},
      {"the same at the bound", 3, 2, 6649, 270, 42850, 0, 0},
      {"least 6650", 3, 2, 6650, 270, 42851, 0, 0},
      {"greatest second 269", 3, 2, 6649, 269, 42851, 0, 0},
      {"least below 0 reads as unsigned", 3, 2, -1, 270, 42851, 0, 0},
      {"3 steps, 1 later answer (A - B = 2)", 3, 1, 6649, 270, 42851, 0, 0},
      {"more later answers than steps never pass", 3, 4, 6649, 270, 42851, 0, 0},
      {"2 steps, 1 later answer", 2, 1, 6000, 300, 42851, 0, 1},
      {"5 steps take the first rule only", 5, 4, 6000, 300, 42851, 0, 0},
  };
  for (const Case& c : cases) {
    LetterPath path =
        numbers_path(c.steps, c.non_first, 5, 40000, 10, c.least, c.greatest_second, c.weak_before);
    // Half the plain reading through the pair sum: Q = 1 adds 5.
    mark_weak_path(path, c.plain - 5, 1);
    EXPECT_EQ(path.weak, c.weak) << c.what;
  }
}

TEST(SegmentPathTest, WhichPathReplacesTheKeptOne) {
  struct Side {
    std::int32_t letter_strokes;
    std::int32_t letter_total;
    std::int32_t part;
    std::int32_t weight;
    std::int32_t weak;
    std::uint32_t steps;
  };
  struct Case {
    const char* what;
    Side fresh;
    Side kept;
    bool replaces;
  };
  const std::vector<Case> cases = {
      {"more letter strokes win over a better total",
       {2, 100, 0, 4, 0, 1},
       {1, 90000, 0, 4, 0, 1},
       true},
      {"fewer letter strokes lose", {1, 90000, 0, 4, 0, 1}, {2, 100, 0, 4, 0, 1}, false},
      {"a kept weight of 0 loses", {0, 0, 0, 3, 0, 1}, {0, 9000, 0, 0, 0, 1}, true},
      {"a new weight of 0 loses", {0, 9000, 0, 0, 0, 1}, {0, 0, 0, 3, 0, 1}, false},
      {"the greater total per weight", {2, 18000, 0, 2, 0, 1}, {2, 26000, 0, 3, 0, 1}, true},
      {"penalty parts count per weight", {2, 18000, -50, 2, 0, 1}, {2, 17950, 0, 2, 0, 1}, false},
      {"equal per weight: fewer weak paths", {2, 18000, 0, 2, -1, 3}, {2, 9000, 0, 1, 0, 1}, true},
      {"equal per weight and weak: fewer steps",
       {2, 18000, 0, 2, 1, 1},
       {2, 18000, 0, 2, 1, 2},
       true},
      {"a full tie keeps the kept path", {2, 18000, 0, 2, 1, 2}, {2, 18000, 0, 2, 1, 2}, false},
      // 2200000 x 1000 passes 32 bits; compared in 64 bits.
      {"long boxes compare without overflow",
       {9, 2200000, 0, 1000, 0, 1},
       {9, 2100000, 0, 1000, 0, 1},
       true},
  };
  const auto make = [](const Side& side) {
    SegmentPath path;
    for (std::uint32_t i = 0; i < side.steps; ++i) EXPECT_NE(path.steps.push_default(), nullptr);
    path.letter_strokes = side.letter_strokes;
    path.letter_total = side.letter_total;
    path.parts[1] = side.part;
    path.weight = side.weight;
    path.weak_count = side.weak;
    return path;
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SegmentPath::replaces(make(c.fresh), make(c.kept)), c.replaces) << c.what;
  }
}

TEST(SegmentPathTest, LetterPathsAndAppendedPathsAddUp) {
  SegmentPath path;
  ASSERT_EQ(path.start(0, 2, -1, 9000, {-3, 0, 0, 0}, 2), kOk);
  EXPECT_EQ(path.weak_count, 1);
  EXPECT_EQ(path.total(), 9000 - 3 * 2);
  LetterPath letters = numbers_path(2, 0, 2, 17000, 100, 8000, 0, 1);
  EXPECT_EQ(letters.value(), 8600);
  SegmentPath more;
  more.add_letter_path(letters, {0, -50, 0, 0});
  EXPECT_EQ(more.weak_count, 1);
  EXPECT_EQ(more.letter_total, 17200);
  ASSERT_EQ(path.append(more), kOk);
  EXPECT_EQ(path.weak_count, 2);
  EXPECT_EQ(path.letter_strokes, 2);
  EXPECT_EQ(path.weight, 4);
  EXPECT_EQ(path.total(), 9000 + 17200 + (-3 - 50) * 4);
  EXPECT_EQ(path.average(), (9000 + 17200 - 53 * 4) / 4);
}

// Line 0 holds four candidates read "cats"; c and a have second readings.
class PathSearchTest : public ::testing::Test {
 protected:
  PathSearchTest() {
    bench_.add_line(4);
    c_ = bench_.add_group(0, 0, {{u'c', 9000}, {u'e', 8000}});
    a_ = bench_.add_group(0, 1, {{u'a', 9000}, {u'o', 8500}});
    t_ = bench_.add_group(0, 2, {{u't', 9000}});
    s_ = bench_.add_group(0, 3, {{u's', 8000}});
    box_.last_line = 0;
    box_.last_position = 3;
  }

  SegmentBench bench_;
  WordBox box_;
  FigureGroup* c_;
  FigureGroup* a_;
  FigureGroup* t_;
  FigureGroup* s_;
};

TEST_F(PathSearchTest, ARecordWithoutLinksReadsPlainlyOnlyWhereAGroupStarts) {
  SegmentBench::add_record(box_, 0, 0, true);
  ASSERT_EQ(bench_.search(box_), kOk);
  EXPECT_EQ(describe(box_.result), "0>e/-1 | strokes 0 total 35000 weight 4 weak 1");
  EXPECT_EQ(box_.records[0].value_sum, 35000);
  EXPECT_EQ(box_.records[0].stroke_sum, 4);

  box_.records[0].own_group = 0;
  ASSERT_EQ(bench_.search(box_), kOk);
  EXPECT_EQ(describe(box_.result), "| strokes 0 total 0 weight 0 weak -1");
}

TEST_F(PathSearchTest, LetterPathsJoinTheirTargetsBestPaths) {
  SegmentBench::add_record(box_, 0, 0, true);
  SegmentBench::add_record(box_, 0, 2, true);
  SegmentBench::add_link(box_.records[0], 1, bench_.path({{c_, 0}, {a_, 0}}));
  SegmentBench::add_link(box_.records[1], -1, bench_.path({{t_, 0}, {s_, 0}}));
  ASSERT_EQ(bench_.search(box_), kOk);
  EXPECT_EQ(describe(box_.records[1].best), "1>e/0 | strokes 2 total 17000 weight 2 weak -1");
  EXPECT_EQ(describe(box_.result), "0>1/0 1>e/0 | strokes 4 total 35000 weight 4 weak -1");
  // The plain sums where each link ends: "ca" after two groups.
  EXPECT_EQ(box_.records[0].links[0]->value_sum, 18000);
  EXPECT_EQ(box_.records[1].value_sum, 17000);
}

TEST_F(PathSearchTest, APathThatSkipsToALaterRecordReadsPlainlyUpToIt) {
  SegmentBench::add_record(box_, 0, 0, true);
  SegmentBench::add_record(box_, 0, 1, false);  // no group starts here: no path
  SegmentBench::add_record(box_, 0, 2, true);
  // Record 0 has no links: it reaches record 2 plainly ("ca").
  SegmentBench::add_link(box_.records[2], -1, bench_.path({{t_, 0}, {s_, 0}}));
  ASSERT_EQ(bench_.search(box_), kOk);
  EXPECT_EQ(describe(box_.result), "0>2/-1 2>e/0 | strokes 2 total 35000 weight 4 weak 1");
}

TEST_F(PathSearchTest, AFarGapBetweenRecordsCostsFiftyAStroke) {
  SegmentBench::add_record(box_, 0, 0, true);
  SegmentBench::add_record(box_, 0, 1, false, 2, 81);  // above twice the letter height
  SegmentBench::add_record(box_, 0, 2, true);
  SegmentBench::add_link(box_.records[0], 2, bench_.path({{c_, 0}, {a_, 0}}));
  SegmentBench::add_link(box_.records[2], -1, bench_.path({{t_, 0}, {s_, 0}}));
  ASSERT_EQ(bench_.search(box_), kOk);
  // The penalty parts scale with the weight of the whole joined path:
  // 35000 - 50 * 4.
  EXPECT_EQ(describe(box_.result), "0>2/0 2>e/0 | strokes 4 total 34800 weight 4 weak -1");

  box_.records[1].measure = 80;  // not above twice the letter height
  ASSERT_EQ(bench_.search(box_), kOk);
  EXPECT_EQ(box_.result.total(), 35000);
}

TEST(WeakPathSearchTest, ALetterPathIsMarkedWhereThePlainReadingOfItsStrokesEnds) {
  // Five letters, two of them read through second answers below the first
  // by `below` each; the plain reading of the five strokes is 44000, the
  // bound of the path W + 726 a stroke (E = 0).
  struct Case {
    std::int32_t below;
    const char* result;
  };
  for (const Case& c : {Case{750, "0>e/0 | strokes 5 total 42500 weight 5 weak -1"},
                        Case{2000, "0>e/0w | strokes 5 total 40000 weight 5 weak 1"}}) {
    SegmentBench bench;
    bench.add_line(5);
    FigureGroup* c1 = bench.add_group(0, 0, {{u'c', 9000}, {u'e', 9000 - c.below}});
    FigureGroup* a = bench.add_group(0, 1, {{u'a', 9000}, {u'o', 9000 - c.below}});
    FigureGroup* t = bench.add_group(0, 2, {{u't', 9000}});
    FigureGroup* s = bench.add_group(0, 3, {{u's', 8000}});
    FigureGroup* y = bench.add_group(0, 4, {{u'y', 9000}});
    WordBox box;
    box.last_position = 4;
    SegmentBench::add_record(box, 0, 0, true);
    SegmentBench::add_link(box.records[0], -1,
                           bench.path({{c1, 1}, {a, 1}, {t, 0}, {s, 0}, {y, 0}}));
    ASSERT_EQ(bench.search(box), kOk);
    EXPECT_EQ(box.records[0].links[0]->value_sum, 44000);
    EXPECT_EQ(describe(box.result), c.result) << c.below;
  }
}

TEST(LineBreakSearchTest, PathsAcrossALineBreakPayFiftyAStrokeForEachBreakOutOfPlace) {
  // Line 0 reads "ab-", line 1 "cd", every reading 9000. Record 0 starts
  // the box, record 1 the second line; record 1 reads "cd" to the end.
  SegmentBench bench;
  bench.add_line(3);
  bench.add_line(2);
  FigureGroup* a = bench.add_group(0, 0, {{u'a', 9000}});
  FigureGroup* b = bench.add_group(0, 1, {{u'b', 9000}});
  FigureGroup* hyphen = bench.add_group(0, 2, {{u'-', 9000}});
  FigureGroup* c = bench.add_group(1, 0, {{u'c', 9000}});
  FigureGroup* d = bench.add_group(1, 1, {{u'd', 9000}});
  using Steps = std::vector<std::pair<FigureGroup*, int>>;
  struct Link {
    std::int16_t target;
    Steps steps;
  };
  struct Case {
    const char* what;
    std::vector<Link> links;
    const char* result;
  };
  const std::vector<Case> cases = {
      {"a hyphen ends the line before a record with links: 50 a stroke",
       {{1, {{a, 0}, {b, 0}, {hyphen, 0}}}},
       "0>1/0 1>e/0 | strokes 5 total 44750 weight 5 weak -1"},
      {"the whole word across the break, hyphen and all, pays nothing",
       {{1, {{a, 0}, {b, 0}, {hyphen, 0}}}, {-1, {{a, 0}, {b, 0}, {hyphen, 0}, {c, 0}, {d, 0}}}},
       "0>e/1 | strokes 5 total 45000 weight 5 weak -1"},
      {"a last letter on the next line without a hyphen before it",
       {{-1, {{a, 0}, {b, 0}, {c, 0}}}},
       "0>e/0 | strokes 3 total 26850 weight 3 weak -1"},
  };
  for (const Case& row : cases) {
    WordBox box;
    box.last_line = 1;
    box.last_position = 1;
    SegmentBench::add_record(box, 0, 0, true, 1);
    SegmentBench::add_record(box, 1, 0, true, 3, 16383);
    for (const Link& link : row.links) {
      SegmentBench::add_link(box.records[0], link.target, bench.path(link.steps));
    }
    SegmentBench::add_link(box.records[1], -1, bench.path({{c, 0}, {d, 0}}));
    ASSERT_EQ(bench.search(box), kOk) << row.what;
    EXPECT_EQ(describe(box.result), row.result) << row.what;
  }
}

TEST_F(PathSearchTest, BrokenIndicesEndTheSearch) {
  SegmentBench::add_record(box_, 0, 0, true);
  SegmentBench::add_record(box_, 0, 2, true);
  SegmentBench::add_link(box_.records[0], 5, bench_.path({{c_, 0}, {a_, 0}}));
  EXPECT_EQ(bench_.search(box_), kBadArgument);  // no record 5
  box_.records[0].links[0]->target = 1;
  EXPECT_EQ(bench_.search(box_), kOk);
  box_.last_position = -1;
  EXPECT_EQ(bench_.search(box_), kBadArgument);
  WordBox empty;
  PathSearchScope scope{bench_.context(), bench_.groups(), bench_.statistics, bench_.classes()};
  EXPECT_EQ(search_paths(scope, empty, 0), kBadArgument);
}

TEST_F(PathSearchTest, AHyphenOnOneLineTakesOnlyAWordJoiningMarkAfterIt) {
  FigureGroup* hyphen = bench_.add_group(0, 4, {{u'-', 9000}});
  FigureGroup* slash = bench_.add_group(0, 5, {{u'/', 9000}});
  LetterPath letters;
  RecognitionContext& context = bench_.context();
  ASSERT_EQ(extend_path(letters, SegmentBench::step_of(c_, 0), 1, context, bench_.classes()), kOk);
  ASSERT_EQ(extend_path(letters, SegmentBench::step_of(hyphen, 0), 1, context, bench_.classes()),
            kOk);
  EXPECT_EQ(extend_path(letters, SegmentBench::step_of(a_, 0), 1, context, bench_.classes()), -100);
  EXPECT_EQ(letters.steps.size(), 2u);
  EXPECT_EQ(letters.codes.size(), 2u);
  ASSERT_EQ(extend_path(letters, SegmentBench::step_of(slash, 0), 2, context, bench_.classes()),
            kOk);
  EXPECT_EQ(letters.weight, 2u);
  // On another line the letter is taken.
  bench_.add_line(1);
  FigureGroup* next_line = bench_.add_group(1, 0, {{u'a', 9000}});
  LetterPath broken;
  ASSERT_EQ(extend_path(broken, SegmentBench::step_of(c_, 0), 1, context, bench_.classes()), kOk);
  ASSERT_EQ(extend_path(broken, SegmentBench::step_of(hyphen, 0), 1, context, bench_.classes()),
            kOk);
  EXPECT_EQ(extend_path(broken, SegmentBench::step_of(next_line, 0), 2, context, bench_.classes()),
            kOk);
  // A group without answers is not appended.
  FigureGroup* blank = bench_.add_group(0, 6, {});
  EXPECT_EQ(extend_path(broken, SegmentBench::step_of(c_, 0), 1, context, bench_.classes()), kOk);
  LetterStep none = SegmentBench::step_of(c_, 0);
  none.group = blank;
  EXPECT_EQ(extend_path(broken, none, 1, context, bench_.classes()), kOk);
  EXPECT_EQ(broken.steps.size(), 4u);
}

TEST_F(PathSearchTest, APathKeepsTheStatisticsOfItsSteps) {
  const std::unique_ptr<LetterPath> path = bench_.path({{c_, 1}, {a_, 1}, {t_, 0}});
  EXPECT_EQ(path->strokes, 3);
  EXPECT_EQ(path->positions, 3);
  EXPECT_EQ(path->weighted_total, 8000 + 8500 + 9000);
  EXPECT_EQ(path->value_sum, 1000 + 500);
  EXPECT_EQ(path->least_value, 8000);
  EXPECT_EQ(path->greatest_second, 1000);
  EXPECT_EQ(path->non_first, 2);
  EXPECT_EQ(path->ordinal_sum, 2);
  EXPECT_EQ(path->greatest_ordinal, 1);
  EXPECT_EQ(path->value(), 25500 / 3);
  EXPECT_EQ(std::u16string(path->codes.begin(), path->codes.end()), u"eot");
  LetterPath none;
  EXPECT_EQ(none.value(), 0);
  EXPECT_FALSE(LetterPath::greater_average(none, *path));
  EXPECT_TRUE(LetterPath::greater_average(*path, none));
  const std::unique_ptr<LetterPath> better = bench_.path({{c_, 0}, {a_, 0}});
  EXPECT_TRUE(LetterPath::greater_average(*better, *path));
  EXPECT_FALSE(LetterPath::greater_average(*path, *better));
}

}  // namespace
}  // namespace inkrec

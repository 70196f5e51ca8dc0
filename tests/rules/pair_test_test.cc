#include "engine/rules/pair_test.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "tests/support/pair_rule_case.h"

namespace inkrec {
namespace {

using test::PairRuleCase;
using test::Piece;
using test::polyline;
using test::Side;

Piece stem(std::int16_t x, std::int16_t top, std::int16_t bottom, std::uint16_t stroke,
           std::uint16_t piece = 0) {
  return Piece{polyline({{x, top}, {x, bottom}}), stroke, piece};
}

Piece bar(std::int16_t left, std::int16_t right, std::int16_t y, std::uint16_t stroke,
          std::uint16_t piece = 0) {
  return Piece{polyline({{left, y}, {right, y}}), stroke, piece};
}

// A pair case with the line's letter height set to 100, and a figure pair
// table over its figures (empty entries: no measures of facing halves).
struct TestCase {
  TestCase(const Side& a, const Side& b) : c(a, b, 100) {
    c.work().settings.letter_height = 100;
    EXPECT_EQ(c.context().figure_pairs().reserve(
                  static_cast<std::uint32_t>(a.pieces.size() + b.pieces.size())),
              kOk);
  }
  int refused(int start = 0) {
    int answer = start;
    status = test_element_pair(c.context(), c.a(), c.b(), &answer);
    return answer;
  }
  PairRuleCase c;
  int status = kOk;
};

TEST(PairTestTest, WhereTheLaterResultMayStand) {
  struct Case {
    std::string name;
    Side a;
    Side b;
    bool drop_a_answers;
    bool drop_b_answers;
    int refused;
  };
  const std::vector<Case> cases = {
      {"right of the earlier", Side{{stem(200, 100, 200, 1)}}, Side{{stem(100, 100, 200, 0)}},
       false, false, 0},
      {"left of the earlier", Side{{stem(100, 100, 200, 1)}}, Side{{stem(200, 100, 200, 0)}},
       false, false, 1},
      {"a line above the earlier", Side{{bar(100, 130, 150, 1), stem(115, 100, 200, 2)}},
       Side{{bar(110, 140, 350, 0), stem(125, 300, 400, 3)}}, false, false, 1},
      {"a later one without readings",
       Side{{bar(100, 160, 150, 1)}}, Side{{stem(120, 100, 200, 0)}}, true, false, 1},
      {"an earlier one without readings",
       Side{{bar(100, 160, 150, 1)}}, Side{{stem(120, 100, 200, 0)}}, false, true, 0},
      // An r whose arm reaches over the letter after it, or a T whose bar
      // reaches past it, the ink of the two apart in every row they share:
      // the later may follow.
      {"under the arm of the earlier",
       Side{{Piece{polyline({{150, 120}, {200, 120}, {200, 200}, {150, 200}}), 1, 0}}},
       Side{{Piece{polyline({{100, 200}, {100, 100}, {170, 100}}), 0, 0}}}, false, false, 0},
      {"under a bar reaching past it",
       Side{{Piece{polyline({{150, 120}, {200, 120}, {200, 200}, {150, 200}}), 1, 0}}},
       Side{{Piece{polyline({{100, 200}, {100, 100}, {210, 100}}), 0, 0}}}, false, false, 0},
      // Slanted writing: the boxes overlap while the inks stand 40 apart on
      // every row they share, whether two strokes or two pieces of one.
      {"slanted, the boxes overlapping, the inks apart",
       Side{{Piece{polyline({{140, 200}, {190, 100}}), 1, 0}}},
       Side{{Piece{polyline({{100, 200}, {150, 100}}), 0, 0}}}, false, false, 0},
      {"slanted, one piece after the other of one stroke",
       Side{{Piece{polyline({{140, 200}, {190, 100}}), 0, 2}}},
       Side{{Piece{polyline({{100, 200}, {150, 100}}), 0, 0}}}, false, false, 0},
      // The later result's ink reaches back across the earlier one's.
      {"the inks crossing",
       Side{{Piece{polyline({{100, 200}, {190, 100}}), 1, 0}}},
       Side{{Piece{polyline({{110, 100}, {195, 200}}), 0, 0}}}, false, false, 1},
      // Touching inks that cross a little: the bar of a t drawn on 15 over
      // the stem of the letter after it (more than a seventh of the later
      // one's width, less than a quarter of it and a third of the letter
      // size) may be followed; the same bar drawn 40 across the stem may not,
      // nor a 15 deep crossing of a letter 51 wide.
      {"a t's bar crossing a little into the next stem",
       Side{{Piece{polyline({{150, 100}, {150, 200}, {230, 200}}), 2, 0}}},
       Side{{stem(100, 100, 200, 0), bar(60, 165, 130, 1)}}, false, false, 0},
      {"a t's bar crossing deep into the next stem",
       Side{{Piece{polyline({{150, 100}, {150, 200}, {230, 200}}), 2, 0}}},
       Side{{stem(100, 100, 200, 0), bar(60, 190, 130, 1)}}, false, false, 1},
      {"a t's bar crossing a narrow letter",
       Side{{Piece{polyline({{150, 100}, {150, 200}, {200, 200}}), 2, 0}}},
       Side{{stem(100, 100, 200, 0), bar(60, 165, 130, 1)}}, false, false, 1},
      // The same bars put on once the next letter was written (stroke 3
      // after its stroke 2) may cross it up to half its width: 40 into a
      // letter 80 wide, 15 into one 50 wide; 65 into one 80 wide may not.
      {"a t's bar put on later crossing 40 into the next stem",
       Side{{Piece{polyline({{150, 100}, {150, 200}, {230, 200}}), 2, 0}}},
       Side{{stem(100, 100, 200, 0), bar(60, 190, 130, 3)}}, false, false, 0},
      {"a t's bar put on later crossing a narrow letter",
       Side{{Piece{polyline({{150, 100}, {150, 200}, {200, 200}}), 2, 0}}},
       Side{{stem(100, 100, 200, 0), bar(60, 165, 130, 3)}}, false, false, 0},
      {"a t's bar put on later crossing 65 into the next stem",
       Side{{Piece{polyline({{150, 100}, {150, 200}, {230, 200}}), 2, 0}}},
       Side{{stem(100, 100, 200, 0), bar(60, 215, 130, 3)}}, false, false, 1},
      // An A of two legs and a bar, the bar drawn up to the first leg: its
      // ink meets the leg's with no empty column between them, so the bar
      // and second leg are no letter of their own after the first leg.
      {"a bar and leg whose bar meets the earlier leg",
       Side{{Piece{polyline({{140, 131}, {156, 194}}), 1, 0},
             Piece{polyline({{123, 170}, {171, 167}}), 2, 0}}},
       Side{{Piece{polyline({{142, 110}, {126, 159}, {111, 198}}), 0, 0}}}, false, false, 1},
      {"a bar and leg whose bar stops short of it",
       Side{{Piece{polyline({{140, 131}, {156, 194}}), 1, 0},
             Piece{polyline({{127, 170}, {171, 167}}), 2, 0}}},
       Side{{Piece{polyline({{142, 110}, {126, 159}, {111, 198}}), 0, 0}}}, false, false, 0},
      // A bowl whose stroke comes back up to where it began and goes on down
      // as a stem (the one-stroke a cut into a c and a stem): the stem cannot
      // follow the bowl across the link; a stroke of its own may (a small o
      // begun under the arc of a C).
      {"a stem closing its own bowl",
       Side{{Piece{polyline({{150, 120}, {150, 200}, {170, 200}}), 0, 2}}},
       Side{{Piece{polyline({{160, 105}, {110, 105}, {110, 190}, {140, 190}}), 0, 0}}}, false,
       false, 1},
      {"a stem after a bowl of a stroke of its own",
       Side{{Piece{polyline({{150, 120}, {150, 200}, {170, 200}}), 1, 0}}},
       Side{{Piece{polyline({{160, 105}, {110, 105}, {110, 190}, {140, 190}}), 0, 0}}}, false,
       false, 0},
      // The earlier result holds a later piece of the later one's stroke.
      {"pieces out of order", Side{{stem(120, 100, 200, 0, 0)}},
       Side{{bar(100, 160, 150, 0, 2)}}, false, false, 1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    TestCase t(k.a, k.b);
    if (k.drop_a_answers) t.c.a().answers->answers().clear();
    if (k.drop_b_answers) t.c.b().answers->answers().clear();
    EXPECT_EQ(t.refused(), k.refused);
    EXPECT_EQ(t.status, kOk);
  }
}

TEST(PairTestTest, ASingleStrokeInsideTheBoxOfAnEarlierOneWrittenAfterIt) {
  // B, drawn in one stroke after A's stroke, lies inside A's box (A open
  // on the left, so that the inks stand apart in the rows they share).
  TestCase t(Side{{Piece{polyline({{100, 100}, {200, 100}, {200, 200}, {100, 200}}), 0, 0}}},
             Side{{Piece{polyline({{140, 140}, {160, 160}}), 1, 0}}});
  EXPECT_EQ(t.refused(), 1);
  t.c.kernel().request().skew_allowed = 0;  // without the stroke-order switch
  EXPECT_EQ(t.refused(), 0) << "the test goes on to the shapes";
}

TEST(PairTestTest, TheCacheAnswersForTheLaterResultsIdAndOtherLinesAreNotJudged) {
  TestCase t(Side{{stem(100, 100, 200, 1)}}, Side{{stem(200, 100, 200, 0)}});
  t.c.a().index = 3;
  int refused = 7;
  t.c.a_figure(0).line_index = 1;
  ASSERT_EQ(test_element_pair_cached(&t.c.context(), &t.c.a(), &t.c.b(), &refused), kOk);
  EXPECT_EQ(refused, 7);
  EXPECT_TRUE(t.c.b().test_cache.empty());

  t.c.a_figure(0).line_index = 0;
  ASSERT_EQ(test_element_pair_cached(&t.c.context(), &t.c.a(), &t.c.b(), &refused), kOk);
  EXPECT_EQ(refused, 1);
  ASSERT_EQ(t.c.b().test_cache.size(), 1u);
  EXPECT_EQ(t.c.b().test_cache[0].other, 3u);
  EXPECT_EQ(t.c.b().test_cache[0].valid, 1);
  // The answer stands for the id even when the result changes.
  t.c.a().answers->answers().clear();
  t.c.b().answers->answers().clear();
  refused = 0;
  ASSERT_EQ(test_element_pair_cached(&t.c.context(), &t.c.a(), &t.c.b(), &refused), kOk);
  EXPECT_EQ(refused, 1);
  EXPECT_EQ(t.c.b().test_cache.size(), 1u);
}

TEST(PairTestTest, ANullFigureIsReportedAndNothingIsStored) {
  TestCase t(Side{{stem(100, 100, 200, 1)}}, Side{{stem(120, 100, 200, 0)}});
  ASSERT_EQ(t.c.b().figures.push_back(nullptr), kOk);
  int refused = 1;
  EXPECT_EQ(test_element_pair_cached(&t.c.context(), &t.c.a(), &t.c.b(), &refused), kBadArgument);
  EXPECT_EQ(refused, 0);
  EXPECT_TRUE(t.c.b().test_cache.empty());
  EXPECT_EQ(test_element_pair_cached(nullptr, &t.c.a(), &t.c.b(), &refused), kBadArgument);
}

}  // namespace
}  // namespace inkrec

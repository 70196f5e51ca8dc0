#include "engine/kernel/skew_search.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "engine/foundation/allocation.h"
#include "engine/foundation/status.h"
#include "engine/kernel/pane.h"
#include "tests/support/ink_samples.h"

namespace inkrec {
namespace {

using testing::Ink;
using testing::write_line;
using testing::WrittenLine;

void add_ink(Pane& pane, const Ink& ink) {
  const std::vector<StrokeView> views = testing::views_of(ink);
  ASSERT_EQ(pane.add_strokes(views.data(), static_cast<int>(views.size()), -1, -1, false), kOk);
}

std::vector<PackedPoint> all_points(const Pane& pane) {
  std::vector<PackedPoint> points;
  for (const Stroke* stroke : pane.strokes())
    points.insert(points.end(), stroke->begin(), stroke->end());
  return points;
}

SkewEstimate estimate(const Ink& ink, const SkewSearchOptions& options = {}) {
  Pane pane;
  add_ink(pane, ink);
  SkewEstimate result;
  EXPECT_EQ(estimate_skew(pane.strokes(), options, &result), kOk);
  return result;
}

std::vector<int> trials_of(const SkewEstimate& e) {
  return {e.trials.begin(), e.trials.begin() + e.trial_count};
}

// The correction the pane applies to the ink, with the request's defaults.
int correction_of(const Ink& ink, const RecognitionParams& params = {}, bool mirrored = false) {
  Pane pane;
  add_ink(pane, ink);
  int angle = 12345;
  EXPECT_EQ(pane.correct_skew(&angle, params, mirrored), kOk);
  return angle;
}

TEST(SkewSearchTest, TiltedWritingIsTurnedLevel) {
  struct Case {
    double tilt;
    int correction;
  };
  // The integer slope loses up to a degree or two.
  for (const Case c : {Case{30, -30}, Case{-30, 30}, Case{15, -15}, Case{45, -45}, Case{60, -60}}) {
    WrittenLine line;
    line.tilt = c.tilt;
    const Ink ink = write_line(line);
    Pane pane;
    add_ink(pane, ink);
    int angle = 0;
    ASSERT_EQ(pane.correct_skew(&angle, RecognitionParams{}, false), kOk);
    EXPECT_NEAR(angle, c.correction, 2) << c.tilt;
    // The stored points are turned: measured again, the ink is level.
    const SkewEstimate again = [&] {
      SkewEstimate e;
      EXPECT_EQ(estimate_skew(pane.strokes(), {}, &e), kOk);
      return e;
    }();
    EXPECT_LE(std::abs(again.angle), 5) << c.tilt;
  }
}

TEST(SkewSearchTest, LevelInkEndsAfterTheFirstTrialAndStaysAsItIs) {
  for (const double tilt : {0.0, 3.0}) {
    WrittenLine line;
    line.tilt = tilt;
    const Ink ink = write_line(line);
    const SkewEstimate e = estimate(ink);
    EXPECT_TRUE(e.found);
    EXPECT_LE(std::abs(e.angle), 5);
    EXPECT_EQ(trials_of(e), std::vector<int>{0});

    Pane pane;
    add_ink(pane, ink);
    const std::vector<PackedPoint> before = all_points(pane);
    int angle = 12345;
    ASSERT_EQ(pane.correct_skew(&angle, RecognitionParams{}, false), kOk);
    EXPECT_EQ(angle, 0);
    EXPECT_EQ(all_points(pane), before);
  }
}

TEST(SkewSearchTest, TrialsRunInTheirOrderUntilOneSettles) {
  // A line of one stroke is no line without the cursive split: no trial
  // finds anything, all seven run.
  WrittenLine line;
  line.strokes = 1;
  line.humps = 24;
  line.tilt = 30;
  const Ink ink = write_line(line);
  const SkewEstimate none = estimate(ink);
  EXPECT_FALSE(none.found);
  EXPECT_EQ(trials_of(none), (std::vector<int>{0, 20, -20, 40, -40, 60, -60}));
  EXPECT_EQ(correction_of(ink), 0);

  RecognitionParams cursive;
  cursive.cursive_split = 1;
  EXPECT_NEAR(correction_of(ink, cursive), -30, 2);

  // Ink rising to the right reads as no line in the positive trials.
  line.strokes = 3;
  line.humps = 8;
  line.tilt = -30;
  EXPECT_EQ(trials_of(estimate(write_line(line))), (std::vector<int>{0, 20, -20, 40, -40}));
}

TEST(SkewSearchTest, RealHandwritingIsLevelledFromEitherTilt) {
  for (const double tilt : {0.0, 30.0, -30.0}) {
    const std::vector<Ink> lines = testing::read_fixture_lines(tilt);
    ASSERT_EQ(lines.size(), 4u);
    for (const Ink& ink : lines) {
      const int correction = correction_of(ink);
      if (tilt == 0) {
        EXPECT_EQ(correction, 0);
      } else {
        EXPECT_NEAR(correction, -tilt, 2) << tilt;
      }
    }
  }
}

TEST(SkewSearchTest, ANewLineStartsWhereThePenGoesBack) {
  // Two tilted lines, the second under the first and starting back at the
  // left: two line candidates, each measured alone. Written right to left,
  // the pen would go back rightwards: as one candidate they scatter too much
  // to be a line.
  WrittenLine first;
  first.tilt = 30;
  WrittenLine second = first;
  second.y += 300;
  const Ink ink = testing::join(write_line(first), write_line(second));
  EXPECT_NEAR(correction_of(ink), -30, 2);
  EXPECT_EQ(correction_of(ink, {}, true), 0);
}

TEST(SkewSearchTest, InkWithoutALineIsNotTurned) {
  RecognitionParams one_line;
  one_line.mode = 1;
  WrittenLine tilted;
  tilted.tilt = 30;
  WrittenLine single = tilted;
  single.strokes = 1;
  single.humps = 24;
  RecognitionParams not_allowed;
  not_allowed.skew_allowed = 0;
  const Ink vertical = {{{500, 100}, {500, 200}, {500, 300}}, {{500, 320}, {500, 400}}};
  const Ink empty_strokes = {{}, {}};

  struct Case {
    const char* name;
    Ink ink;
    RecognitionParams params;
  };
  const Case cases[] = {
      {"a single stroke taken as one line holds no stroke", write_line(single), one_line},
      {"not allowed by the request", write_line(tilted), not_allowed},
      {"all x equal: no slope to fit", vertical, {}},
      {"strokes without points", empty_strokes, {}},
  };
  for (const Case& c : cases) {
    Pane pane;
    add_ink(pane, c.ink);
    const std::vector<PackedPoint> before = all_points(pane);
    int angle = 12345;
    EXPECT_EQ(pane.correct_skew(&angle, c.params, false), kOk) << c.name;
    EXPECT_EQ(angle, 0) << c.name;
    EXPECT_EQ(all_points(pane), before) << c.name;
  }
  Pane pane;
  EXPECT_EQ(pane.correct_skew(nullptr, {}, false), kBadArgument);
}

TEST(SkewSearchTest, StrokesWithoutPointsTakeNoPart) {
  WrittenLine line;
  line.tilt = 30;
  Ink ink = write_line(line);
  const SkewEstimate plain = estimate(ink);
  ink.insert(ink.begin() + 1, testing::InkStroke{});
  ink.push_back({});
  const SkewEstimate with_empty = estimate(ink);
  EXPECT_EQ(with_empty.found, plain.found);
  EXPECT_EQ(with_empty.angle, plain.angle);
}

TEST(SkewSearchTest, RunningOutOfMemoryLeavesTheInkAsItWas) {
  WrittenLine line;
  line.tilt = 30;
  Pane pane;
  add_ink(pane, write_line(line));
  const std::vector<PackedPoint> before = all_points(pane);
  int angle = 12345;
  {
    AllocationFailureScope scope(0);
    EXPECT_EQ(pane.correct_skew(&angle, RecognitionParams{}, false), kOutOfMemory);
  }
  EXPECT_EQ(angle, 0);
  EXPECT_EQ(all_points(pane), before);
}

}  // namespace
}  // namespace inkrec

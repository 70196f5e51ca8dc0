// The upper line and baseline of a text line fitted from the reference
// offsets of its chosen letters' readings.
#include "engine/segmentation/reference_lines.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "tests/support/drawn_line.h"

namespace inkrec {
namespace {

using test::arch;
using test::DrawnLine;
using test::Points;

TEST(ReferenceLinesTest, OffsetsPlaceTheLinesByTheLettersHeight) {
  struct Case {
    std::string name;
    Box16 box;
    std::int32_t upper_offset;
    std::int32_t lower_offset;
    std::int32_t upper;
    std::int32_t lower;
  };
  const std::vector<Case> cases = {
      {"offsets 0 are the box's edges", {0, 70, 20, 100}, 0, 0, 70, 100},
      {"a capital reaching a third above the line", {0, 60, 20, 89}, -33, 0, 69, 89},
      {"a descender", {0, 70, 20, 110}, 0, 25, 70, 100},
      // 10 rows high counts as 20: 50 % of 20 is 10
      {"a box lower than 20", {0, 95, 20, 104}, 50, 50, 85, 94},
      // -17 * 31 / 100 = -5.27, truncated to -5
      {"quotients truncated toward zero", {0, 70, 20, 100}, -17, 17, 75, 95},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::int32_t upper = 0;
    std::int32_t lower = 0;
    reference_lines_from_offsets(c.upper_offset, c.lower_offset, c.box, &upper, &lower);
    EXPECT_EQ(upper, c.upper);
    EXPECT_EQ(lower, c.lower);
  }
}

struct Reading {
  char16_t code;
  std::int32_t score;
  std::int16_t upper_offset;
  std::int16_t lower_offset;
  std::uint8_t skip = 0;
};

// Letters 20 wide, 32 apart (centres 10, 42, 74, ...), 30 high, standing
// on the given baselines, each chosen with one reading.
class ChosenLetters {
 public:
  ChosenLetters(const std::vector<int>& baselines, const std::vector<Reading>& readings)
      : drawn_(strokes(baselines)), state_(drawn_.context(), drawn_.line()) {
    for (std::size_t k = 0; k < readings.size(); ++k) {
      FigureGroup& result = drawn_.result({k}, readings[k].code);
      Answer& answer = result.answers->answers()[0];
      answer.components[Answer::kLetterScore] = readings[k].score;
      answer.source_box[0] = static_cast<std::uint16_t>(readings[k].upper_offset);
      answer.source_box[1] = static_cast<std::uint16_t>(readings[k].lower_offset);
      answer.flag = readings[k].skip;
      EXPECT_EQ(state_.chosen_results.push_back(&result), kOk);
    }
  }

  static std::vector<Points> strokes(const std::vector<int>& baselines) {
    std::vector<Points> out;
    for (std::size_t k = 0; k < baselines.size(); ++k) {
      out.push_back(arch(static_cast<int>(32 * k), 20, 30, baselines[k]));
    }
    return out;
  }

  const ReferenceBand& band(std::size_t k) {
    return state_.chosen_results[static_cast<std::uint32_t>(k)]->geometry->reference_band();
  }
  const ReferenceBand& figure_band(std::size_t k) {
    return drawn_.body(k).geometry.reference_band();
  }

  DrawnLine& drawn() { return drawn_; }
  FragmentState& state() { return state_; }

 private:
  DrawnLine drawn_;
  FragmentState state_;
};

// Letters on a baseline sloping down by 1 in 4, each box 31 rows high with
// the upper line 10 % of that (3 rows) above it: the two fitted lines
// pass through every letter's own lines, and every letter, its figure and
// the text line take them. (Equal confidences keep the fit exact in
// floating point.)
TEST(ReferenceLinesTest, ConfidentLettersGiveTheLineItsUpperLineAndBaseline) {
  ChosenLetters letters({100, 108, 116}, {{'n', 9000, 10, 0}, {'m', 9000, 10, 0}, {'u', 9000, 10, 0}});
  ASSERT_EQ(estimate_reference_lines(letters.state()), kOk);
  for (std::size_t k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    const int baseline = 100 + 8 * static_cast<int>(k);
    EXPECT_EQ(letters.band(k).top, baseline - 33);
    EXPECT_EQ(letters.band(k).bottom, baseline);
    EXPECT_EQ(letters.band(k).is_set, 0);
    EXPECT_EQ(letters.figure_band(k).top, baseline - 33);
    EXPECT_EQ(letters.figure_band(k).bottom, baseline);
  }
  TextLine& line = letters.drawn().line();
  EXPECT_EQ(line.fits[0].y_at(42), 75);
  EXPECT_EQ(line.fits[2].y_at(42), 108);
  EXPECT_EQ(line.fits[2].y_at(106), 124);
  EXPECT_EQ(line.fits[2].point_count(), 3);
}

// A letter off the line (a full stop, a weak or skipped reading) gives no
// fit point but takes the fitted lines.
TEST(ReferenceLinesTest, MarksAndDoubtfulReadingsFollowTheLinesOfTheOthers) {
  ChosenLetters letters({100, 108, 116, 124},
                        {{'n', 9000, 10, 0}, {'.', 9000, -200 / 3, 0}, {'u', 9000, 10, 0},
                         {'o', 5599, 50, 50}});
  ASSERT_EQ(estimate_reference_lines(letters.state()), kOk);
  EXPECT_EQ(letters.drawn().line().fits[2].point_count(), 2);
  EXPECT_EQ(letters.band(1).top, 75);
  EXPECT_EQ(letters.band(1).bottom, 108);
  EXPECT_EQ(letters.band(3).top, 91);
  EXPECT_EQ(letters.band(3).bottom, 124);
}

// Without a usable letter the line keeps its fits and each letter the
// pair its own reading gave (or none).
TEST(ReferenceLinesTest, WithoutAFitPointTheLineKeepsItsFits) {
  struct Case {
    std::string name;
    std::vector<Reading> readings;
    std::int16_t first_top;  // the first letter's upper line afterwards
  };
  const std::vector<Case> cases = {
      {"punctuation", {{'.', 9000, 0, 0}, {',', 9000, 0, 0}, {'-', 9000, 0, 0}, {'\'', 9000, 0, 0}}, 70},
      {"readings below 5600", {{'n', 5599, 10, 0}, {'m', 100, 10, 0}}, -1},
      {"skipped readings", {{'n', 9000, 10, 0, 1}, {'m', 9000, 10, 0, 1}}, -1},
      {"offsets of 120 or more", {{'n', 9000, 120, 0}, {'m', 9000, 0, -120}}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChosenLetters letters(std::vector<int>(c.readings.size(), 100), c.readings);
    TextLine& line = letters.drawn().line();
    ASSERT_EQ(line.fits[0].add_point(0, 50, 1), kOk);
    ASSERT_EQ(estimate_reference_lines(letters.state()), kOk);
    EXPECT_EQ(line.fits[0].point_count(), 1);
    EXPECT_EQ(line.fits[0].y_at(0), 50);
    EXPECT_TRUE(line.fits[2].is_empty());
    EXPECT_EQ(letters.band(0).top, c.first_top);
    EXPECT_EQ(letters.figure_band(0).top, -1);
  }
}

TEST(ReferenceLinesTest, LinesGivenWithTheInkAreKept) {
  ChosenLetters letters({100, 100, 100}, {{'n', 9000, 10, 0}, {'m', 9000, 10, 0}, {'u', 9000, 10, 0}});
  ReferenceBand given;
  given.top = 60;
  given.bottom = 95;
  given.is_set = 1;
  letters.state().chosen_results[1]->geometry->set_baseline_pair(given);
  letters.drawn().body(1).geometry.set_baseline_pair(given);
  ASSERT_EQ(estimate_reference_lines(letters.state()), kOk);
  EXPECT_EQ(letters.band(1).top, 60);
  EXPECT_EQ(letters.figure_band(1).bottom, 95);
  EXPECT_EQ(letters.band(0).top, letters.band(2).top);
  EXPECT_EQ(letters.figure_band(2).bottom, letters.band(2).bottom);
}

TEST(ReferenceLinesTest, ANullResultOrAFigureOffTheLineIsReported) {
  ChosenLetters letters({100}, {{'n', 9000, 10, 0}});
  ASSERT_EQ(letters.state().chosen_results.push_back(nullptr), kOk);
  EXPECT_EQ(estimate_reference_lines(letters.state()), kBadArgument);

  ChosenLetters off_line({100}, {{'n', 9000, 10, 0}});
  off_line.drawn().line().candidates.remove_all();
  EXPECT_EQ(estimate_reference_lines(off_line.state()), kBadArgument);
}

}  // namespace
}  // namespace inkrec

// The spacing of the recognised elements, and the word and line breaks it
// gives, over drawn lines.
#include "engine/segmentation/line_spacing.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/records/gap_record.h"
#include "engine/segmentation/pair_measures.h"
#include "tests/support/drawn_line.h"

namespace inkrec {
namespace {

using test::DrawnLine;
using test::Points;
using test::polyline;

using test::stem;

// An arch ("n") 20 wide and 20 high standing on `baseline` from x.
Points arch(int x, int baseline = 100) { return test::arch(x, 20, 20, baseline, 4); }

// The drawn strokes as the figure output: one element per stroke, read as
// the letter given for it, with every figure pair measured.
class Output {
 public:
  Output(const std::vector<Points>& strokes, const std::u16string& letters,
         const std::vector<std::uint16_t>& lines = {}, std::int16_t letter_height = 20)
      : drawn(strokes, letter_height, lines) {
    const auto n = static_cast<std::uint32_t>(strokes.size());
    EXPECT_EQ(drawn.context().figure_pairs().reserve(n), kOk);
    for (std::uint32_t i = 1; i < n; ++i) {
      for (std::uint32_t j = 0; j < i; ++j) {
        EXPECT_EQ(measure_figure_pair(drawn.context(), j, i), kOk);
      }
    }
    for (std::size_t k = 0; k < strokes.size(); ++k) {
      EXPECT_EQ(elements.push_back(&drawn.result({k}, letters[k])), kOk);
    }
    drawn.kernel().params_.layout_switch = 1;
  }

  std::vector<std::uint32_t> breaks() {
    std::vector<std::uint32_t> out;
    for (const FigureGroup* element : elements) out.push_back(element->break_after);
    return out;
  }

  DrawnLine drawn;
  PtrArray<FigureGroup> elements;
};

TEST(LineSpacingTest, WithoutAPairOnOneLineTheMeansAreTheDefaults) {
  struct Case {
    std::string name;
    std::vector<Points> strokes;
    std::vector<std::uint16_t> lines;
  };
  const std::vector<Case> cases = {
      {"no element", {}, {}},
      {"one element", {arch(0)}, {0}},
      {"one element a line", {arch(0), arch(40, 200), arch(80, 300)}, {0, 1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Output output(c.strokes, u"abc", c.lines);
    ASSERT_EQ(estimate_spacing(output.drawn.context(), output.elements), kOk);
    const LineMetrics& s = output.drawn.context().settings();
    EXPECT_EQ(s.word_gap, 340);
    EXPECT_EQ(s.letter_distance, 340);
    EXPECT_EQ(s.mean_advance, 284);
    EXPECT_EQ(s.profile_gap, 0);
    const DynArray<GapRecord>& gaps = output.drawn.context().gaps();
    ASSERT_EQ(gaps.size() + 1, std::max<std::size_t>(c.strokes.size(), 1));
    for (const GapRecord& gap : gaps) {
      EXPECT_EQ(gap.x_gap, -1);
      EXPECT_EQ(gap.least_distance, -1);
      EXPECT_EQ(gap.profile_gap, -1);
    }
  }
}

// Two arches 60 apart, 40 between their ink: each rises by 21 * 95 / 100
// (rows 20 wide in a box 21 high: raise percentage 95), and takes half of
// that (21 * 95 / 200) off the advance on either side.
TEST(LineSpacingTest, MeasuresOfNeighboursOnALine) {
  Output output({arch(0), arch(60)}, u"nn");
  ASSERT_EQ(element_glyph_profile(*output.elements[0])->rows, 95);
  ASSERT_EQ(estimate_spacing(output.drawn.context(), output.elements), kOk);
  const GapRecord& gap = output.drawn.context().gaps()[0];
  EXPECT_EQ(gap.x_gap, 60);
  EXPECT_EQ(gap.least_distance, 40);
  EXPECT_EQ(gap.angle, 0);
  EXPECT_EQ(gap.profile_gap, 40);
  const LineMetrics& s = output.drawn.context().settings();
  EXPECT_EQ(s.word_gap, 72);
  EXPECT_EQ(s.letter_distance, 48);
  EXPECT_EQ(s.profile_gap, 40);
  EXPECT_EQ(s.raise_mean, 19);
  EXPECT_EQ(s.mean_advance, 60 - 9 - 9);
}

// A dot high beside a stem: the nearest pair is steep, and its distance
// counts 7/10.
TEST(LineSpacingTest, ASteepNeighbourCountsNearer) {
  Output output({stem(0, 60, 100), polyline({{10, 30}, {11, 31}})}, u"l.");
  ASSERT_EQ(estimate_spacing(output.drawn.context(), output.elements), kOk);
  const GapRecord& gap = output.drawn.context().gaps()[0];
  const PairMetrics* pair = output.drawn.context().figure_pairs().at(0, 1);
  ASSERT_NE(pair, nullptr);
  EXPECT_GE(gap.angle, 216);
  EXPECT_LE(gap.angle, 324);
  EXPECT_EQ(gap.least_distance, pair->link_distance * 7 / 10);
}

TEST(LineSpacingTest, BrokenOutputIsReported) {
  Output output({arch(0)}, u"a");
  ASSERT_EQ(output.elements.push_back(nullptr), kOk);
  EXPECT_EQ(estimate_spacing(output.drawn.context(), output.elements), kBadArgument);
  EXPECT_EQ(estimate_gaps(output.drawn.context(), output.elements), kBadArgument);
}

// Two words of two letters on the first line, a word on the second: a
// space after the first word, a line break after the second; a result of
// the line that ends with the first word ("ab") gets the space too.
TEST(WordBreaksTest, WordsWrittenApartGetTheirBreaks) {
  struct Case {
    std::string name;
    std::u16string letters;
    bool breaks_on;
    bool right_to_left;
    std::vector<std::uint32_t> breaks;
  };
  const std::vector<Case> cases = {
      {"words and lines", u"abcdef", true, false, {0, 1, 0, 2, 0, 0}},
      {"written right to left", u"abcdef", true, true, {0, 1, 0, 2, 0, 0}},
      {"word breaks off", u"abcdef", false, false, {0, 0, 0, 0, 0, 0}},
      // a pair with a space in it gets no break
      {"a space read", u"ab cdef", true, false, {0, 0, 0, 0, 2, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const bool spaced = c.letters.size() == 7;
    std::vector<int> xs = {0, 26, 90, 116};
    if (spaced) xs = {0, 26, 56, 90, 116};
    if (c.right_to_left) {
      for (int& x : xs) x = 300 - x;
    }
    std::vector<Points> strokes;
    std::vector<std::uint16_t> lines;
    for (const int x : xs) {
      strokes.push_back(arch(x));
      lines.push_back(0);
    }
    for (const int x : {0, 26}) {
      strokes.push_back(arch(c.right_to_left ? 300 - x : x, 200));
      lines.push_back(1);
    }
    Output output(strokes, c.letters, lines);
    output.drawn.kernel().right_to_left_ = c.right_to_left;
    output.drawn.kernel().params_.layout_switch = c.breaks_on ? 1 : 0;
    LetterResult& word = output.drawn.result({0, 1}, u'w');
    ASSERT_EQ(estimate_spacing(output.drawn.context(), output.elements), kOk);
    ASSERT_EQ(estimate_gaps(output.drawn.context(), output.elements), kOk);
    EXPECT_EQ(output.breaks(), c.breaks);
    EXPECT_EQ(word.break_after, c.breaks[1]);
  }
}

// Pieces of one stroke are never parted by a space, however far apart.
TEST(WordBreaksTest, PiecesOfOneStrokeStayTogether) {
  Output output({arch(0), arch(26), arch(90), arch(116)}, u"abcd");
  output.drawn.body(2).stroke_index = 1;
  ASSERT_EQ(estimate_spacing(output.drawn.context(), output.elements), kOk);
  ASSERT_EQ(estimate_gaps(output.drawn.context(), output.elements), kOk);
  EXPECT_EQ(output.breaks(), (std::vector<std::uint32_t>{0, 0, 0, 0}));
}

}  // namespace
}  // namespace inkrec

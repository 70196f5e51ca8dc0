// The characters a chosen reading outputs, and the groups of a span.
#include "engine/segmentation/path_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "tests/support/segment_bench.h"

namespace inkrec {
namespace {

using testing::SegmentBench;

class PathTextTest : public ::testing::Test {
 protected:
  PathTextTest() {
    bench_.add_line(8);
    // Symbols 'a' (alternative 'A') and 'b' (no alternative).
    Symb a{};
    a.code = u'a';
    a.second_code = u'A';
    a.third_code = u'a';
    EXPECT_EQ(bench_.store().add_symb(a), kOk);
    Symb b{};
    b.code = u'b';
    EXPECT_EQ(bench_.store().add_symb(b), kOk);
  }

  // A group whose one answer reads `code` with the ordinary form `second`
  // and the alternative `third`, saved (second) codes `saved`.
  FigureGroup* letter(char16_t code, char16_t second, char16_t third, char16_t saved = 0) {
    FigureGroup* group = bench_.add_group(0, next_position_++, {{code, 9000}});
    Answer& answer = group->answers->answers()[0];
    answer.codes[1] = second;
    answer.codes[2] = third;
    answer.saved_codes[0] = saved;
    answer.saved_codes[1] = saved;
    return group;
  }

  std::u16string text_of(const std::vector<LetterStep>& steps, bool alternative = false) {
    DynArray<std::uint16_t> out;
    EXPECT_EQ(collect_path_characters(steps, bench_.store(), alternative, out), kOk);
    return std::u16string(out.begin(), out.end());
  }

  SegmentBench bench_;
  std::uint32_t next_position_ = 0;
};

TEST_F(PathTextTest, EachStepOutputsItsFormAndAMarkerTurnsTheNextOne) {
  const LetterStep x = SegmentBench::step_of(letter(u'x', u'x', u'X', u'y'), 0);
  const LetterStep saved = SegmentBench::step_of(x.group, -1);
  const LetterStep marker = SegmentBench::step_of(letter(31, 0, 0), 0);
  const LetterStep plain = SegmentBench::step_of(letter(u'q', 0, 0), 0);  // no forms: its code
  FigureGroup* pair = letter(u'a', 0, 0);
  Answer& symbols = pair->answers->answers()[0];
  symbols.code_count = 2;
  symbols.code_list[0] = u'a';
  symbols.code_list[1] = u'b';
  const LetterStep listed = SegmentBench::step_of(pair, 0);

  struct Case {
    std::vector<LetterStep> steps;
    bool alternative;
    std::u16string text;
  };
  const std::vector<Case> cases = {
      {{x, plain}, false, u"xq"},
      {{x, plain}, true, u"Xq"},
      {{marker, x, x}, false, u"Xx"},    // the marker turns only the next step
      {{x, marker}, false, u"x\x1F"},    // a marker on the last step is output
      {{saved}, false, u"y"},            // answer -1 reads the saved codes
      {{listed, x}, false, u"abx"},      // symbols: ordinary characters
      {{marker, listed}, false, u"Ab"},  // alternatives, 'b' having none
      {{}, false, u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(text_of(c.steps, c.alternative), c.text) << std::string(c.text.begin(), c.text.end());
  }

  DynArray<std::uint16_t> out;
  symbols.code_list[1] = u'z';  // no such symbol
  EXPECT_EQ(collect_path_characters(std::vector<LetterStep>{listed}, bench_.store(), false, out),
            kBadArgument);
  LetterStep outside = x;
  outside.answer = 3;
  EXPECT_EQ(collect_path_characters(std::vector<LetterStep>{outside}, bench_.store(), false, out),
            kBadArgument);
}

TEST_F(PathTextTest, TheGroupsOfASpanWithTheEndFlagOnTheLast) {
  bench_.add_line(3);
  // Line 0: groups at 0, 1-2 and 3; line 1: groups at 0 and 1-2.
  bench_.add_group(0, 0, {{u'a', 9000}});
  bench_.add_group(0, 1, {{u'b', 9000}}, 2);
  bench_.add_group(0, 3, {{u'c', 9000}});
  bench_.add_group(1, 0, {{u'd', 9000}});
  bench_.add_group(1, 1, {{u'e', 9000}}, 2);
  struct Case {
    LineSpan span;
    std::string groups;  // each group's code, upper case with the end flag
  };
  const std::vector<Case> cases = {
      {{0, 0, 0, 3}, "abC"},  {{0, 1, 1, 0}, "bcD"},
      {{0, 2, 1, 2}, "cdE"},   // "b" starts before the span
      {{0, 0, 1, 1}, "abcd"},  // "e" ends behind it
      {{1, 0, 1, 0}, "D"},    {{0, 4, 0, 9}, ""},
  };
  for (const Case& c : cases) {
    PtrArray<FigureGroup> out;
    ASSERT_EQ(collect_element_variants(bench_.groups(), c.span, out), kOk);
    std::string groups;
    for (const FigureGroup* group : out) {
      const char code = static_cast<char>(group->answers->best_code());
      groups += group->end_flag != 0 ? static_cast<char>(code - 'a' + 'A') : code;
    }
    EXPECT_EQ(groups, c.groups) << c.span.first_line << ":" << c.span.first_position << "-"
                                << c.span.last_line << ":" << c.span.last_position;
  }
  PtrArray<FigureGroup> with_null;
  ASSERT_EQ(with_null.push_back(nullptr), kOk);
  PtrArray<FigureGroup> out;
  EXPECT_EQ(collect_element_variants(with_null, {0, 0, 0, 3}, out), kBadArgument);
}

}  // namespace
}  // namespace inkrec

#include "engine/rules/combining_marks.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "engine/foundation/status.h"
#include "tests/support/drawn_group.h"

namespace inkrec {
namespace {

using test::polyline;

using Handler = int (*)(FigureGroup&, const MarkReadings&, const Box16&, std::int32_t, bool*);
constexpr Handler kHandlers[] = {combine_mark_1, combine_mark_2, combine_mark_3, combine_mark_4};

Answer reading(std::uint16_t shape, std::int32_t total, std::uint16_t code = 'a') {
  Answer a;
  a.key = static_cast<std::uint16_t>(shape + total);  // one answer per key
  a.source_word = shape;
  a.codes[0] = a.codes[1] = a.codes[2] = code;
  a.components[Answer::kLetterScore] = total;
  return a;
}

// A short steep accent formed as a single mark.
struct Accent {
  Accent() : ink({polyline({{10, 0}, {6, 12}}, 1)}) { ink.group().one_figure_mark = 1; }
  bool run(Handler handler, std::int32_t size = 60) {
    bool flag = true;
    EXPECT_EQ(handler(ink.group(), MarkReadings{letters, marks}, ink.box(), size, &flag), kOk);
    return flag;
  }
  test::DrawnGroup ink;
  AnswerList letters;
  AnswerList marks;
};

TEST(CombiningMarksTest, WithoutAnyReadingTheFirstAndThirdKeepTheFlagTheOthersClearIt) {
  const bool kept[] = {true, false, true, false};
  for (int form = 0; form < 4; ++form) {
    Accent accent;
    EXPECT_EQ(accent.run(kHandlers[form]), kept[form]) << form + 1;
  }
}

TEST(CombiningMarksTest, AGroupNotFormedAsASingleMarkClearsEveryForm) {
  for (int form = 0; form < 4; ++form) {
    Accent accent;
    accent.ink.group().one_figure_mark = 0;
    EXPECT_FALSE(accent.run(kHandlers[form])) << form + 1;
  }
  FigureGroup empty;
  empty.one_figure_mark = 1;
  AnswerList none;
  bool flag = true;
  EXPECT_EQ(combine_mark_1(empty, MarkReadings{none, none}, Box16{}, 60, &flag), kBadArgument);
}

TEST(CombiningMarksTest, ShapeReadingsAreBelievedOnlyAboveTheReferenceLess900) {
  struct Case {
    const char* what;
    std::int32_t reference;  // the best letter's total
    std::uint16_t mark_shape;
    std::int32_t mark_total;
    bool accent_kept;  // fourth form
  };
  const Case cases[] = {
      {"an accent reading as good as the letter", 9000, 241, 9000, true},
      {"an accent reading at the threshold", 9000, 241, 8100, true},
      {"one point below it", 9000, 241, 8099, false},
      {"shape 240 is no accent, however good", 9000, 240, 10000, false},
      {"a letter too weak to join", 5300, 241, 9000, false},
  };
  for (const Case& c : cases) {
    Accent accent;
    ASSERT_EQ(accent.letters.insert(reading(500, c.reference)), kOk);
    ASSERT_EQ(accent.marks.insert(reading(c.mark_shape, c.mark_total)), kOk);
    EXPECT_EQ(accent.run(combine_mark_4), c.accent_kept) << c.what;
  }
}

TEST(CombiningMarksTest, AReferenceOfShape878OrAVOrUClearsTheFirstAndThirdForms) {
  struct Case {
    const char* what;
    Answer reference;
    Handler handler;
  };
  const Case cases[] = {
      {"shape 878, first form", reading(878, 9000), combine_mark_1},
      {"shape 878, third form", reading(878, 9000), combine_mark_3},
      {"a u, third form", reading(500, 9000, 'u'), combine_mark_3},
      {"a v, third form", reading(500, 9000, 'v'), combine_mark_3},
  };
  for (const Case& c : cases) {
    Accent accent;
    ASSERT_EQ(accent.letters.insert(c.reference), kOk);
    EXPECT_FALSE(accent.run(c.handler)) << c.what;
  }
}

}  // namespace
}  // namespace inkrec

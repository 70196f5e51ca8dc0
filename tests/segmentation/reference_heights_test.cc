// The reference heights of a line, measured on the letters of its chosen
// reading.
#include "engine/segmentation/reference_heights.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "tests/support/drawn_line.h"

namespace inkrec {
namespace {

using test::DrawnLine;
using test::Points;
using test::polyline;

// A letter standing on the baseline y = 100 and reaching up to `top`.
Points letter(int left, int top) {
  const auto l = static_cast<std::int16_t>(left);
  const auto t = static_cast<std::int16_t>(top);
  return polyline({{l, 100}, {l, t}, {static_cast<std::int16_t>(left + 15), t}}, 5);
}

struct Letter {
  int top;
  char16_t code;  // 0: no reading
  int upper;      // the upper line of its baseline pair
};

struct Heights {
  std::int16_t body;
  std::int16_t tall;
  std::uint8_t flag;
};

Heights measure(const std::vector<Letter>& letters) {
  std::vector<Points> strokes;
  for (std::size_t k = 0; k < letters.size(); ++k) {
    strokes.push_back(letter(static_cast<int>(30 * k), letters[k].top));
  }
  DrawnLine drawn(strokes);
  FragmentState state(drawn.context(), drawn.line());
  for (std::size_t k = 0; k < letters.size(); ++k) {
    ReferenceBand band;
    band.top = static_cast<std::int16_t>(letters[k].upper);
    band.bottom = 100;
    band.is_set = 1;
    EXPECT_EQ(state.chosen_results.push_back(&drawn.result({k}, letters[k].code, &band)), kOk);
  }
  drawn.line().set_part_flag(1);  // left from an earlier measure
  drawn.line().body_height = 5;
  EXPECT_EQ(compute_reference_heights(state.chosen_results, drawn.line()), kOk);
  return {drawn.line().body_height, drawn.line().tall_letter_height, drawn.line().part_flag()};
}

// Small letters 20 high on a band of 20; capitals and ascenders 40 high.
TEST(ReferenceHeightsTest, HeightsOfDrawnLines) {
  struct Case {
    std::string name;
    std::vector<Letter> letters;
    Heights heights;
  };
  const std::vector<Case> cases = {
      {"small letters", {{80, 'a', 80}, {80, 'n', 80}, {82, 'o', 82}, {80, 'e', 80}}, {19, 19, 1}},
      {"with capitals",
       {{60, 'T', 80}, {80, 'o', 80}, {80, 'n', 80}, {60, 'H', 80}, {80, 'e', 80}},
       {20, 40, 1}},
      // a rise of 24 = 1.2 bodies counts as tall, 23 does not
      {"just tall", {{76, 'd', 80}, {77, 'a', 80}, {80, 'a', 80}}, {20, 24, 1}},
      // a span of 2, below a fifth of the mean (62 / 4 / 5 = 3), is left
      // out of the body
      {"a flat mark", {{80, 'a', 80}, {80, 'n', 80}, {95, '.', 98}, {80, 'e', 80}}, {20, 20, 1}},
      {"letters without readings do not count", {{60, 0, 80}, {80, 'a', 80}}, {20, 20, 1}},
      {"no reading at all", {{80, 0, 80}, {60, 0, 60}}, {1, 1, 0}},
      {"no letters", {}, {1, 1, 0}},
      // upper lines under their baselines: the spans sum below 0, so no
      // body is measured (an unsigned mean would make it huge)
      {"upper lines below the baselines", {{80, 'a', 110}, {80, 'n', 105}}, {1, 1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Heights h = measure(c.letters);
    EXPECT_EQ(h.body, c.heights.body);
    EXPECT_EQ(h.tall, c.heights.tall);
    EXPECT_EQ(h.flag, c.heights.flag);
  }
}

TEST(ReferenceHeightsTest, ANullResultIsReported) {
  DrawnLine drawn({letter(0, 80)});
  PtrArray<FigureGroup> results;
  ASSERT_EQ(results.push_back(nullptr), kOk);
  EXPECT_EQ(compute_reference_heights(results, drawn.line()), kBadArgument);
  EXPECT_EQ(drawn.line().body_height, 1);
}

}  // namespace
}  // namespace inkrec

#include "engine/rules/compound_test.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/foundation/status.h"
#include "tests/support/drawn_group.h"

namespace inkrec {
namespace {

using test::Points;
using test::polyline;

// Two readings: one made from a letter candidate (which the filtered
// charge reaches) and one made from a segment without property bit 6.
void add_readings(AnswerList& list) {
  Answer candidate;
  candidate.kind = 1;
  candidate.key = 1;
  candidate.components[Answer::kLetterScore] = 9000;
  Answer segment;
  segment.key = 2;
  segment.components[Answer::kLetterScore] = 8000;
  ASSERT_EQ(list.insert(candidate), kOk);
  ASSERT_EQ(list.insert(segment), kOk);
}

std::vector<std::int32_t> totals(const AnswerList& list) {
  std::vector<std::int32_t> out;
  for (const Answer& a : list.answers()) out.push_back(a.total());
  return out;
}

// The figure-pair table of the drawn figures (whole strokes, body indices
// 0..n-1) with every pair at the distance.
PairTable pairs_at(std::uint32_t n, std::int16_t distance) {
  PairTable table;
  EXPECT_EQ(table.reserve(n), kOk);
  EXPECT_EQ(table.entries().resize(n * (n - 1) / 2), kOk);
  for (PairMetrics& entry : table.entries()) {
    entry.measures[0] = distance;
    entry.link_distance = distance;
  }
  return table;
}

struct Row {
  const char* what;
  std::vector<Points> strokes;
  Box16 box;  // the element's box
  bool single_mark;
  std::int16_t distance;  // between every two pieces; apart above 10
  std::vector<std::int32_t> letters;
};

TEST(CompoundTestTest, WideStackedAndClosePiecesPay) {
  const Row rows[] = {
      {"one figure", {polyline({{0, 0}, {0, 60}}, 5)}, {0, 0, 0, 60}, false, 0, {9000, 8000}},
      {"two bars, each as wide as the group",
       {polyline({{0, 0}, {60, 0}}, 5), polyline({{0, 30}, {60, 30}}, 5)},
       {0, 0, 60, 30},
       false,
       30,
       {9000 - 300, 8000}},
      {"a narrow piece under a wider one",
       {polyline({{0, 0}, {35, 0}}, 5), polyline({{5, 40}, {30, 40}}, 5)},
       {0, 0, 60, 80},
       false,
       30,
       {9000 - 300, 8000}},
      {"the lower piece reaching the first's right edge",
       {polyline({{0, 0}, {35, 0}}, 5), polyline({{10, 40}, {35, 40}}, 5)},
       {0, 0, 60, 80},
       false,
       30,
       {9000, 8000}},
      {"two thin strokes side by side",
       {polyline({{0, 0}, {0, 60}}, 5), polyline({{60, 0}, {60, 60}}, 5)},
       {0, 0, 60, 60},
       false,
       60,
       {9000, 8000}},
      {"a mark of two close pieces: every reading pays",
       {polyline({{0, 0}, {0, 6}}, 2), polyline({{60, 0}, {60, 6}}, 2)},
       {0, 0, 60, 6},
       true,
       5,
       {9000 - 300, 8000 - 300}},
      {"a mark of two pieces apart",
       {polyline({{0, 0}, {0, 6}}, 2), polyline({{60, 0}, {60, 6}}, 2)},
       {0, 0, 60, 6},
       true,
       11,
       {9000, 8000}},
      {"a mark of close pieces, wide for the line",
       {polyline({{0, 0}, {0, 6}}, 2), polyline({{250, 0}, {250, 6}}, 2)},
       {0, 0, 250, 6},
       true,
       5,
       {9000, 8000}},
      {"five close pieces pay nothing",
       {polyline({{0, 0}, {0, 6}}, 2), polyline({{10, 0}, {10, 6}}, 2),
        polyline({{20, 0}, {20, 6}}, 2), polyline({{30, 0}, {30, 6}}, 2),
        polyline({{40, 0}, {40, 6}}, 2)},
       {0, 0, 40, 6},
       true,
       5,
       {9000, 8000}},
  };
  for (const Row& row : rows) {
    test::DrawnGroup drawn(row.strokes);
    drawn.group().one_figure_mark = row.single_mark ? 1 : 0;
    const PairTable pairs = pairs_at(static_cast<std::uint32_t>(row.strokes.size()), row.distance);
    const CompoundLine line{100, 90, &pairs};
    AnswerList letters;
    AnswerList full(true);
    add_readings(letters);
    add_readings(full);
    ASSERT_EQ(apply_compound_test(drawn.group(), row.box, line, letters, full), kOk) << row.what;
    EXPECT_EQ(totals(letters), row.letters) << row.what;
    EXPECT_EQ(totals(full), row.letters) << row.what;
  }
}

TEST(CompoundTestTest, PiecesOfStrokesAreMeasuredAndMissingPairsAreBadArguments) {
  test::DrawnGroup drawn({polyline({{0, 0}, {0, 6}}, 2), polyline({{40, 0}, {40, 6}}, 2)});
  drawn.group().one_figure_mark = 1;
  const PairTable empty = pairs_at(1, 0);
  const CompoundLine line{100, 90, &empty};
  AnswerList letters;
  AnswerList full(true);
  add_readings(letters);
  EXPECT_EQ(apply_compound_test(drawn.group(), Box16{0, 0, 40, 6}, line, letters, full),
            kBadArgument);
  // As pieces of strokes the two are measured: 40 apart, more than 10.
  drawn.figure(0).whole_stroke = 0;
  drawn.figure(1).whole_stroke = 0;
  ASSERT_EQ(apply_compound_test(drawn.group(), Box16{0, 0, 40, 6}, line, letters, full), kOk);
  EXPECT_EQ(totals(letters), (std::vector<std::int32_t>{9000, 8000}));
}

}  // namespace
}  // namespace inkrec

#include "engine/records/extremum_summary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/records/figure_records.h"
#include "tests/support/figure_ink.h"

namespace inkrec {
namespace {

constexpr int S = Extremum::kStart;
constexpr int E = Extremum::kEnd;
constexpr int MAX = Extremum::kMaximum;
constexpr int MIN = Extremum::kMinimum;

Extremum entry(int x, int y, int flags) {
  Extremum e;
  e.point = {static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)};
  e.flags = static_cast<std::uint8_t>(flags);
  return e;
}

std::vector<PackedPoint> points_of(const DynArray<Extremum>& entries) {
  std::vector<PackedPoint> out;
  for (const Extremum& e : entries) out.push_back(e.point);
  return out;
}

const Box16 kBox{0, 0, 100, 100};  // a tenth of its height is 10

TEST(ExtremumSummaryTest, SortsTurnsAgainstTheLinesAndDropsDuplicates) {
  const std::vector<Extremum> list = {
      entry(0, 0, S | MIN),    // high, position 0
      entry(30, 50, 0),        // no turn: only visited
      entry(50, 100, MAX),     // low, position 2
      entry(55, 5, MIN),       // high, position 3
      entry(53, 98, MAX),      // within a tenth of (50, 100): a duplicate
      entry(40, 60, MAX),      // above the lower line
      entry(95, 10, E | MIN),  // the last point, right and high: a final hook
  };
  ExtremumSummary summary;
  ASSERT_EQ(build_extremum_summary_one(list, 20, 80, summary, kBox), kOk);
  EXPECT_EQ(summary.visited, 6);
  EXPECT_EQ(summary.accepted, 5);
  EXPECT_EQ(summary.duplicates, 1);
  EXPECT_EQ(points_of(summary.high_extrema), (std::vector<PackedPoint>{{0, 0}, {55, 5}}));
  EXPECT_EQ(points_of(summary.low_extrema), (std::vector<PackedPoint>{{50, 100}}));
  EXPECT_EQ(summary.first_high, 0);
  EXPECT_EQ(summary.last_high, 5);  // position 6 less one duplicate
  EXPECT_EQ(summary.first_low, 2);
  EXPECT_EQ(summary.last_low, 2);
  EXPECT_EQ(summary.final_hook, 1);
}

TEST(ExtremumSummaryTest, EndsAndDuplicatesAcrossLists) {
  DynArray<ExtremumList> lists;
  // A stroke starting low: its first point counts but is not listed.
  lists.push_default()->entries.push_back(entry(0, 100, S | MAX));
  // The second stroke's maximum repeats the first's; its last minimum
  // lies in the right third but not in the top sixth: dropped, no hook.
  ExtremumList* second = lists.push_default();
  second->entries.push_back(entry(5, 95, S | MAX));
  second->entries.push_back(entry(90, 18, E | MIN));
  ExtremumSummary summary;
  ASSERT_EQ(build_extremum_summary(lists, 20, 80, summary, kBox), kOk);
  EXPECT_EQ(summary.first_low, 0);
  EXPECT_TRUE(summary.low_extrema.empty());
  EXPECT_EQ(summary.duplicates, 1);
  EXPECT_TRUE(summary.high_extrema.empty());
  EXPECT_EQ(summary.last_high, 0);
  EXPECT_EQ(summary.final_hook, 0);
  EXPECT_TRUE(points_near(entry(0, 0, MIN), entry(9, 9, MIN), 100));
  EXPECT_FALSE(points_near(entry(0, 0, MIN), entry(10, 0, MIN), 100));
}

TEST(ExtremumSummaryTest, FigureAndGroupForms) {
  // A "w": low twice, high at its start and middle, and a final hook.
  test::Figure w({test::polyline({{0, 0}, {25, 100}, {50, 0}, {75, 100}, {100, 0}})});
  StrokeRecord stroke(w.run(0));
  ASSERT_EQ(figure_prepare_glyph(stroke, true), kOk);
  ExtremumSummary own;
  ASSERT_EQ(figure_extrema_pass(stroke, 10, 20, 80, own), kOk);
  EXPECT_EQ(points_of(own.low_extrema), (std::vector<PackedPoint>{{25, 100}, {75, 100}}));
  EXPECT_EQ(points_of(own.high_extrema), (std::vector<PackedPoint>{{0, 0}, {50, 0}}));
  EXPECT_EQ(own.final_hook, 1);

  // The same ink as a group: its runs afresh, or its figures cut from
  // their strokes' lists.
  ExtremumSummary group;
  ASSERT_EQ(element_figure_flags(w.runs(), kBox, 10, 20, 80, group), kOk);
  EXPECT_EQ(points_of(group.low_extrema), points_of(own.low_extrema));
  DynArray<ExtremumList> lists;
  ASSERT_EQ(collect_vertical_extrema(lists, w.runs(), 10), kOk);
  FigureRecord figure;
  ASSERT_EQ(figure.from_stroke(stroke), kOk);
  FigureRecord* const figures[] = {&figure};
  ExtremumSummary cut;
  ASSERT_EQ(build_figure_flags(figures, lists, kBox, 20, 80, cut), kOk);
  EXPECT_EQ(points_of(cut.high_extrema), points_of(own.high_extrema));
  FigureRecord* const missing[] = {nullptr};
  EXPECT_EQ(build_figure_flags(missing, lists, kBox, 20, 80, cut), kBadArgument);
}

}  // namespace
}  // namespace inkrec

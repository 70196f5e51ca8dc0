#include "engine/records/vertical_extrema.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "engine/foundation/allocation.h"
#include "engine/foundation/status.h"
#include "tests/support/ink.h"

namespace inkrec {
namespace {

using Flags = std::pair<std::uint32_t, int>;  // (point index, flags)

constexpr int S = Extremum::kStart;
constexpr int E = Extremum::kEnd;
constexpr int MAX = Extremum::kMaximum;
constexpr int MIN = Extremum::kMinimum;

// Points along x with the given y.
std::vector<PackedPoint> series(const std::vector<int>& ys) {
  std::vector<PackedPoint> points;
  for (const int y : ys) {
    points.push_back({static_cast<std::int16_t>(5 * points.size()), static_cast<std::int16_t>(y)});
  }
  return points;
}

std::vector<Flags> flags_of(const ExtremumList& list) {
  std::vector<Flags> out;
  for (const Extremum& e : list.entries) out.push_back({e.point_index(), e.flags});
  return out;
}

struct Case {
  const char* name;
  std::vector<int> ys;
  int threshold;
  std::vector<Flags> expected;
};

TEST(VerticalExtremaTest, FindsAlternatingTurnsWithHysteresis) {
  const Case cases[] = {
      {"one point", {5}, 3, {{0, S | E}}},
      {"within the threshold", {0, 1, 2, 1, 0}, 3, {{0, S | E}}},
      {"down and back up", {0, 5, 10, 5, 0}, 3, {{0, S | MIN}, {2, MAX}, {4, E | MIN}}},
      {"up and back down", {10, 5, 0, 5, 10}, 3, {{0, S | MAX}, {2, MIN}, {4, E | MAX}}},
      {"last point is the last turn", {0, 10}, 3, {{0, S | MIN}, {1, E | MAX}}},
      {"jitter below the threshold", {0, 10, 8, 10, 0}, 3, {{0, S | MIN}, {1, MAX}, {4, E | MIN}}},
      {"minimum before the range", {0, -3, 1, 5}, 4, {{0, S}, {1, MIN}, {3, E | MAX}}},
      {"maximum before the range", {0, 3, -1, -5}, 4, {{0, S}, {1, MAX}, {3, E | MIN}}},
      {"turn after a dip below the start",
       {0, -2, 10, 0},
       3,
       {{0, S}, {1, MIN}, {2, MAX}, {3, E | MIN}}},
      {"threshold 0 counts as 1", {0, 1, 0}, 0, {{0, S | MIN}, {1, MAX}, {2, E | MIN}}},
      {"threshold 2 ignores a step of 1", {0, 1, 0}, 2, {{0, S | E}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<PointRecord> records = test::point_records(series(c.ys));
    ExtremumList list;
    ASSERT_EQ(find_vertical_extrema(list, records.data(), static_cast<std::int32_t>(records.size()),
                                    c.threshold),
              kOk);
    EXPECT_EQ(flags_of(list), c.expected);
    EXPECT_EQ(list.threshold, c.threshold == 0 ? 1 : c.threshold);
    for (const Extremum& e : list.entries) {
      EXPECT_EQ(e.record, &records[e.point_index()]);
      EXPECT_EQ(e.point, records[e.point_index()].point);
    }
  }
}

TEST(VerticalExtremaTest, PackedPointsKeepTheirThresholdAndValues) {
  const std::vector<PackedPoint> points = series({0, 5, 10, 5, 0});
  ExtremumList list;
  ASSERT_EQ(find_packed_point_extrema(list, points.data(), 5, 3), kOk);
  EXPECT_EQ(flags_of(list), (std::vector<Flags>{{0, S | MIN}, {2, MAX}, {4, E | MIN}}));
  EXPECT_EQ(list.entries[1].record, nullptr);
  EXPECT_EQ(list.entries[1].point, (PackedPoint{10, 10}));

  // With a threshold of 0 a flat stroke already rises and falls at once;
  // the search ends instead of turning on the spot for ever.
  const std::vector<PackedPoint> flat = series({5, 5, 5});
  ASSERT_EQ(find_packed_point_extrema(list, flat.data(), 3, 0), kOk);
  EXPECT_EQ(list.threshold, 0);
  EXPECT_EQ(flags_of(list), (std::vector<Flags>{{0, S | MIN | MAX}, {2, E | MIN | MAX}}));
}

TEST(VerticalExtremaTest, EmptyRunsGiveAnEmptyList) {
  ExtremumList list;
  list.entries.push_back(Extremum{});
  EXPECT_EQ(find_vertical_extrema(list, nullptr, 4, 3), kOk);
  EXPECT_TRUE(list.entries.empty());
  const std::vector<PackedPoint> points = series({0, 9});
  EXPECT_EQ(find_packed_point_extrema(list, points.data(), 0, 3), kOk);
  EXPECT_TRUE(list.entries.empty());
}

TEST(VerticalExtremaTest, ReportsAListThatCannotGrow) {
  std::vector<PointRecord> records = test::point_records(series({0, 5, 10, 5, 0}));
  ExtremumList list;
  AllocationFailureScope failing;
  EXPECT_EQ(find_vertical_extrema(list, records.data(), 5, 3), kOutOfMemory);
}

TEST(VerticalExtremaTest, CollectsOneListPerStroke) {
  std::vector<PointRecord> a = test::point_records(series({0, 10, 0}));
  std::vector<PointRecord> b = test::point_records(series({3}));
  PointRun run_a = test::run_of(a);
  PointRun run_b = test::run_of(b);
  PointRun* const strokes[] = {&run_a, &run_b};
  DynArray<ExtremumList> lists;
  ASSERT_EQ(collect_vertical_extrema(lists, strokes, 4), kOk);
  ASSERT_EQ(lists.size(), 2u);
  EXPECT_EQ(flags_of(lists[0]), (std::vector<Flags>{{0, S | MIN}, {1, MAX}, {2, E | MIN}}));
  EXPECT_EQ(flags_of(lists[1]), (std::vector<Flags>{{0, S | E}}));
  EXPECT_EQ(total_point_count(strokes), 4);

  PointRun* const broken[] = {&run_a, nullptr, &run_b};
  EXPECT_EQ(collect_vertical_extrema(lists, broken, 4), kBadArgument);
  EXPECT_EQ(lists.size(), 3u);
  EXPECT_EQ(total_point_count(broken), 4);
}

TEST(VerticalExtremaTest, CountsDistinctExtremaWithinATolerance) {
  const auto entry = [](int x, int y, int flags) {
    Extremum e;
    e.point = {static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)};
    e.flags = static_cast<std::uint8_t>(flags);
    return e;
  };
  const std::vector<Extremum> list = {
      entry(0, 0, S | MIN), entry(10, 40, MAX), entry(2, 1, MIN),
      entry(12, 42, MAX),   entry(30, 0, MIN),  entry(40, 40, E | MAX),
  };
  const ExtremumCounts tolerant = count_distinct_extrema(list, true, 3);
  EXPECT_EQ(tolerant.minima, 2);
  EXPECT_EQ(tolerant.maxima, 2);
  const ExtremumCounts every = count_distinct_extrema(list, true, -1);
  EXPECT_EQ(every.minima, 3);
  EXPECT_EQ(every.maxima, 3);
  // Without the ends the first minimum is passed over, so the one near it
  // is new.
  const ExtremumCounts interior = count_distinct_extrema(list, false, 3);
  EXPECT_EQ(interior.minima, 2);
  EXPECT_EQ(interior.maxima, 1);
}

}  // namespace
}  // namespace inkrec

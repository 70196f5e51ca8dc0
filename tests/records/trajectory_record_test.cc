#include "engine/records/trajectory_record.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine/foundation/allocation.h"
#include "tests/support/ink.h"

namespace inkrec {
namespace {

using test::point_records;
using test::run_of;

TEST(TrajectoryRecordTest, NewRecordHasNoPartners) {
  const TrajectoryRecord record(12);
  EXPECT_EQ(record.point_number, 12);
  EXPECT_EQ(record.ratio, 10000);
  EXPECT_EQ(record.first_partner, 0xFFFF);
  EXPECT_EQ(record.second_partner, 0xFFFF);
  EXPECT_TRUE(record.has_no_flags());
  EXPECT_FALSE(record.has_crossing_partner());
  EXPECT_EQ(record.crossing.raster.width(), 0u);
}

TEST(TrajectoryRecordTest, MergeTakesOnlyThePartnersTheOtherHas) {
  TrajectoryRecord record(4);
  record.first_partner = 9;
  record.add_flags(TrajectoryRecord::kFirstCrossing);
  TrajectoryRecord other(4);
  other.first_partner = 30;
  other.second_partner = 17;
  other.add_flags(TrajectoryRecord::kSecondCrossing | TrajectoryRecord::kSecondCrossingEnd);
  record.merge_extra_codes(other);
  EXPECT_EQ(record.first_partner, 9);
  EXPECT_EQ(record.second_partner, 17);
  EXPECT_EQ(record.flags, TrajectoryRecord::kFirstCrossing | TrajectoryRecord::kSecondCrossing |
                              TrajectoryRecord::kSecondCrossingEnd);
  EXPECT_TRUE(record.has_crossing_partner());
}

TEST(TrajectoryRecordTest, ScoreIsScaledAndTruncated) {
  struct Case {
    double value;
    std::int32_t score;
  };
  const Case cases[] = {{0.99995, 9999},
                        {-0.99995, -9999},
                        {0.5, 5000},
                        {1e12, std::numeric_limits<std::int32_t>::max()},
                        {-1e12, std::numeric_limits<std::int32_t>::min()},
                        {std::nan(""), 0}};
  for (const Case& c : cases) {
    TrajectoryRecord record;
    record.set_score(c.value);
    EXPECT_EQ(record.score, c.score) << c.value;
  }
}

TEST(TrajectoryRecordTest, StepsGoToEveryPointButTheLast) {
  std::vector<PointRecord> points = point_records({{0, 0}, {3, 0}, {3, 4}, {0, 4}});
  ASSERT_EQ(fill_steps_and_crossings(run_of(points)), kOk);
  const std::int16_t lengths[] = {3, 4, 3, 0};
  const std::int16_t directions[] = {0, 90, 180, 0};
  for (std::size_t i = 0; i < points.size(); ++i) {
    EXPECT_EQ(points[i].trajectory.step_length, lengths[i]) << i;
    EXPECT_EQ(points[i].trajectory.step_direction, directions[i]) << i;
  }
}

TEST(TrajectoryRecordTest, MissingOrShortRuns) {
  EXPECT_EQ(fill_steps_and_crossings(PointRun{nullptr, 3}), kBadArgument);
  EXPECT_EQ(fill_steps_and_crossings(PointRun{}), kOk);
  std::vector<PointRecord> one = point_records({{5, 5}});
  EXPECT_EQ(fill_steps_and_crossings(run_of(one)), kOk);
  EXPECT_EQ(one[0].trajectory.step_length, 0);
}

struct LoopCase {
  const char* name;
  std::vector<PackedPoint> points;  // the loop from the crossing point to its partner
  std::uint32_t kind;
  std::uint8_t turn_marker;
  PackedPoint mean;
};

std::vector<PointRecord> loop_records(const std::vector<PackedPoint>& points) {
  std::vector<PointRecord> records;
  for (const PackedPoint p : points) {
    records.push_back({p, TrajectoryRecord(static_cast<std::uint16_t>(records.size()))});
  }
  records[0].trajectory.first_partner = static_cast<std::uint16_t>(points.size() - 1);
  records[0].trajectory.add_flags(TrajectoryRecord::kFirstCrossing);
  return records;
}

TEST(TrajectoryRecordTest, LoopsGetTheirKindSpanAndTurn) {
  const LoopCase cases[] = {
      // On the tablet y grows downward: right, down, left, up turns positively.
      {"square turning positively", {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}, 1, 1, {4, 4}},
      {"square turning negatively", {{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}}, 1, 0, {4, 4}},
      {"loop straight below", {{5, 0}, {10, 10}, {0, 10}, {5, 0}}, 2, 1, {5, 5}},
      {"loop to the left", {{0, 0}, {-10, -5}, {-10, 5}, {0, 0}}, 4, 0, {-5, 0}},
      {"straight on without turning", {{0, 0}, {5, 0}, {10, 0}}, 0, 0, {5, 0}},
  };
  for (const LoopCase& c : cases) {
    std::vector<PointRecord> records = loop_records(c.points);
    ASSERT_EQ(fill_steps_and_crossings(run_of(records)), kOk) << c.name;
    const CrossingDescription& loop = records[0].trajectory.crossing;
    EXPECT_EQ(loop.loop_kind, c.kind) << c.name;
    EXPECT_EQ(loop.turn_marker, c.turn_marker) << c.name;
    EXPECT_EQ(loop.span, static_cast<std::int16_t>(c.points.size())) << c.name;
    EXPECT_EQ(loop.mean_point, c.mean) << c.name;
  }
}

TEST(TrajectoryRecordTest, LoopRasterGivesWidthsAndHeights) {
  std::vector<PointRecord> records = loop_records({{0, 0}, {10, 0}, {10, 6}, {0, 6}, {0, 0}});
  ASSERT_EQ(fill_steps_and_crossings(run_of(records)), kOk);
  const CrossingDescription& loop = records[0].trajectory.crossing;
  EXPECT_EQ(loop.local_box, (Box16{0, 0, 10, 6}));
  EXPECT_EQ(loop.raster.width(), 11u);
  EXPECT_EQ(loop.raster.height(), 7u);
  EXPECT_EQ(loop.loop_width, 10);
  EXPECT_EQ(loop.mean_row_width, 10);
  EXPECT_EQ(loop.loop_height, 6);
  EXPECT_EQ(loop.mean_column_height, 6);
}

TEST(TrajectoryRecordTest, UnreachedPartnerSetsOnlyTheBox) {
  std::vector<PointRecord> records = point_records({{0, 0}, {5, 5}, {10, 0}});
  records[0].trajectory.first_partner = 9;
  records[0].trajectory.add_flags(TrajectoryRecord::kFirstCrossing);
  ASSERT_EQ(fill_steps_and_crossings(run_of(records)), kOk);
  const CrossingDescription& loop = records[0].trajectory.crossing;
  EXPECT_EQ(loop.local_box, (Box16{0, 0, 10, 5}));
  EXPECT_EQ(loop.span, 0);
  EXPECT_EQ(loop.mean_point, (PackedPoint{0, 0}));
  EXPECT_EQ(loop.raster.width(), 0u);
}

TEST(TrajectoryRecordTest, CopiesDuplicateTheLoopRaster) {
  std::vector<PointRecord> records = loop_records({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}});
  ASSERT_EQ(fill_steps_and_crossings(run_of(records)), kOk);
  records[0].trajectory.set_score(0.25);
  PointRecord entry;
  ASSERT_EQ(make_trajectory_entry({7, 8}, records[0].trajectory, entry), kOk);
  records[0].trajectory.crossing.raster.reset();
  EXPECT_EQ(entry.point, (PackedPoint{7, 8}));
  EXPECT_EQ(entry.trajectory.score, 2500);
  EXPECT_EQ(entry.trajectory.first_partner, 4);
  EXPECT_EQ(entry.trajectory.crossing.span, 5);
  EXPECT_EQ(entry.trajectory.crossing.raster.width(), 11u);
  EXPECT_EQ(entry.trajectory.crossing.raster.row_max(5), 10);

  AllocationFailureScope no_memory;
  PointRecord untouched{{1, 1}, TrajectoryRecord(3)};
  EXPECT_EQ(make_trajectory_entry({7, 8}, entry.trajectory, untouched), kOutOfMemory);
  EXPECT_EQ(untouched.point, (PackedPoint{1, 1}));
  EXPECT_EQ(untouched.trajectory.point_number, 3);
}

}  // namespace
}  // namespace inkrec

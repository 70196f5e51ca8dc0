// TrajectoryRecord: what the trajectory analysis found at one point of a
// stroke; PointRecord: the point followed by its record, the element of every
// stroke trajectory and of every PointRun.
//
// The record keeps the point's number along its stroke, its self-crossing
// partners with their flags, the analysis' ratio and score, the length and
// direction of the step to the next point of its run, and the description of
// the loop the stroke closes between this point and its first crossing
// partner. The loop's raster is the only member that owns memory; records are
// moved freely and copied with copy(), which duplicates it.
#pragma once

#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/foundation/point.h"
#include "engine/foundation/values.h"
#include "engine/records/point_run.h"
#include "engine/records/profile_raster.h"

namespace inkrec {

// The loop from a crossing point to its first crossing partner.
struct CrossingDescription {
  // Becomes a copy of other: 0, or -1 with this description unchanged.
  int copy(const CrossingDescription& other);

  std::uint8_t turn_marker = 0;  // 1 when the loop's summed turning is positive
  Box16 local_box;               // the box of the loop's points
  PackedPoint mean_point;        // the mean of the loop's points
  // 0..7: the sector of the direction from the crossing point to the mean
  // point, about 45 degrees each: 0 around +x, 2 straight below, 4 around
  // -x, 6 straight above.
  std::uint32_t loop_kind = 0;
  ProfileRaster raster;         // traced from the loop's points over the local box
  std::int16_t span = 0;        // the number of points of the loop, both ends included
  std::int16_t loop_width = 0;  // the greatest row width of the raster
  std::int16_t mean_row_width = 0;
  std::int16_t loop_height = 0;  // the greatest column height of the raster
  std::int16_t mean_column_height = 0;
};

struct TrajectoryRecord {
  // Flag bits.
  static constexpr std::uint16_t kFirstCrossing = 1;       // first_partner is valid
  static constexpr std::uint16_t kSecondCrossing = 2;      // second_partner is valid
  static constexpr std::uint16_t kStrokeStart = 4;         // the stroke's first vertex
  static constexpr std::uint16_t kMarker8 = 8;             // set by no pass of the records
  static constexpr std::uint16_t kFirstCrossingEnd = 16;   // far end of a first crossing segment
  static constexpr std::uint16_t kSecondCrossingEnd = 32;  // far end of a second crossing segment

  explicit TrajectoryRecord(std::uint16_t number = 0) : point_number(number) {}
  TrajectoryRecord(TrajectoryRecord&&) noexcept = default;
  TrajectoryRecord& operator=(TrajectoryRecord&&) noexcept = default;
  TrajectoryRecord(const TrajectoryRecord&) = delete;
  TrajectoryRecord& operator=(const TrajectoryRecord&) = delete;

  // Becomes a copy of other: 0, or -1 with this record unchanged.
  int copy(const TrajectoryRecord& other);

  // Stores value * 10000 truncated toward zero (saturated; 0 for a NaN).
  void set_score(double value);

  void clear_flags() { flags = 0; }
  void add_flags(std::uint16_t bits) { flags |= bits; }
  bool has_any_flag(std::uint16_t bits) const { return (flags & bits) != 0; }
  bool has_no_flags() const { return flags == 0; }
  bool has_crossing_partner() const { return has_any_flag(kFirstCrossing | kSecondCrossing); }
  // Takes other's first partner when other has kFirstCrossing, its second
  // partner when it has kSecondCrossing, then adds all of other's flags.
  void merge_extra_codes(const TrajectoryRecord& other);

  // Set by the trajectory analysis: 1000 x the cosine of the turning angle
  // at an interior vertex (negative where the path turns back by more than a
  // right angle), 10000 at a stroke's ends and until set.
  std::int32_t ratio = 10000;
  CrossingDescription crossing;
  std::uint8_t analysis_bytes[4] = {0, 0, 0, 0};
  std::uint16_t point_number;               // index along the stroke, increasing along a run
  std::uint16_t first_partner = kNoKey16;   // point number where the crossing segment starts
  std::uint16_t second_partner = kNoKey16;  // the same for a second crossing
  std::uint16_t flags = 0;
  std::int32_t score = 0;  // a value scaled by 10000
  // The octagonal length and the direction (0..359) of the step to the next
  // point of the run; 0 on the run's last point.
  std::int16_t step_length = 0;
  std::int16_t step_direction = 0;
};

struct PointRecord {
  PackedPoint point;
  TrajectoryRecord trajectory;
};

inline int point_number_of(const PointRecord& record) { return record.trajectory.point_number; }

// Makes `out` the point followed by a copy of the record: 0, or -1 with `out`
// unchanged.
int make_trajectory_entry(PackedPoint point, const TrajectoryRecord& record, PointRecord& out);

// Measures a run of point records: every point but the last gets the length
// and direction of its step to the next point, and every point with a first
// crossing partner gets the description of the loop that runs from it to the
// first point whose number reaches the partner. When no point of the run
// reaches the partner only the loop's local box is set. Runs of fewer than
// two points are left alone. 0; -2 for a run that counts points but has
// none; -1 when a loop's raster cannot be sized (the points before keep
// their descriptions).
int fill_steps_and_crossings(const PointRun& run);

}  // namespace inkrec

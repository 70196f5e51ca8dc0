// Synthetic ink for tests: runs of trajectory point records made from plain
// points, numbered 0, 1, 2, ... along the run.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/foundation/point.h"
#include "engine/records/point_run.h"
#include "engine/records/trajectory_record.h"

namespace inkrec::test {

inline std::vector<PointRecord> point_records(const std::vector<PackedPoint>& points) {
  std::vector<PointRecord> records;
  for (const PackedPoint p : points) {
    records.push_back({p, TrajectoryRecord(static_cast<std::uint16_t>(records.size()))});
  }
  return records;
}

inline PointRun run_of(std::vector<PointRecord>& records) {
  return PointRun{records.data(), static_cast<std::int32_t>(records.size())};
}

}  // namespace inkrec::test

// PointRun over trajectory point records.

#include "engine/records/point_run.h"

#include "engine/records/trajectory_record.h"

namespace inkrec {

PointSpan PointRun::span() const { return PointSpan::of_records(points, count); }

bool has_missing_run(RunList runs) {
  for (const PointRun* run : runs) {
    if (run == nullptr || (run->points == nullptr && run->count > 0)) return true;
  }
  return false;
}

}  // namespace inkrec

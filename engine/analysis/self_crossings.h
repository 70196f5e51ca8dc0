// Self-crossings of one stroke: the places where the pen crosses its own
// earlier path, as crossing marks at the four end points of every pair of
// crossing segments.
//
// SelfCrossings finds the crossing segment pairs once, with the arc between
// them, so that the crossings for any step from a least one up are read off
// without searching the segments again: a pair counts for a step when its
// arc exceeds the step, and nothing else about a pair depends on the step.
#pragma once

#include <cstdint>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/point.h"
#include "engine/foundation/values.h"
#include "engine/records/trajectory_record.h"

namespace inkrec {

// One point's part in the self-crossings: the crossing flags of
// TrajectoryRecord (kFirstCrossing, kFirstCrossingEnd, kSecondCrossing,
// kSecondCrossingEnd) and the partners they make valid.
struct CrossingMark {
  std::uint16_t point_number = 0;
  std::uint16_t first_partner = kNoKey16;
  std::uint16_t second_partner = kNoKey16;
  std::uint16_t flags = 0;
};

// Takes the mark's first partner when it has kFirstCrossing, its second
// partner when it has kSecondCrossing, then adds all its flags: what
// TrajectoryRecord::merge_extra_codes does, for a record or another mark.
template <typename Record>
void merge_crossing_mark(Record& into, const CrossingMark& mark) {
  if ((mark.flags & TrajectoryRecord::kFirstCrossing) != 0) into.first_partner = mark.first_partner;
  if ((mark.flags & TrajectoryRecord::kSecondCrossing) != 0) {
    into.second_partner = mark.second_partner;
  }
  into.flags |= mark.flags;
}

class SelfCrossings {
 public:
  // Finds every pair of segments i < j - 1 (segment k joins points k and
  // k + 1) that cross, whose arc between them (the summed octagonal length
  // of the segments strictly between i and j) exceeds `least_step`, where
  // neither segment merely ends on the other (point j + 1 on segment i, or
  // point i + 1 on segment j). 0; -1 when memory runs out (no pair kept);
  // -2 for a null stroke with points or more than 65535 points.
  int find(const PackedPoint* points, std::int32_t count, int least_step);

  // The marks of the pairs whose arc exceeds `step`, in `out`: for each
  // pair, point i gets flag 1 and point i + 1 flag 16, both with first
  // partner j; point j gets flag 2 and point j + 1 flag 32, both with second
  // partner i. They are sorted by point number, the marks of one point
  // merged into the first found (merge_crossing_mark). 0; -1 when memory
  // runs out; -2 for a step below the least step of find.
  int marks_for(int step, DynArray<CrossingMark>& out);

 private:
  struct Pair {
    std::int32_t i;
    std::int32_t j;
    std::int64_t arc;
  };

  DynArray<Pair> pairs_;  // in the order found: i ascending, then j ascending
  int least_step_ = 0;
  // Where each point's mark stands in the list being made; -1 between calls.
  DynArray<std::int32_t> slot_of_point_;
};

// SelfCrossings::find with `step` as the least step, then its marks for
// that step.
int find_self_crossings(const PackedPoint* points, std::int32_t count, DynArray<CrossingMark>& out,
                        int step);

}  // namespace inkrec

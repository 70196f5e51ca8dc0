// Self-crossings: boxed pair search over the segments, marks for a step.

#include "engine/analysis/self_crossings.h"

#include <algorithm>
#include <cstddef>

#include "engine/foundation/box16.h"
#include "engine/foundation/segments.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"

namespace inkrec {
namespace {

// Segments are grouped in blocks, and blocks in groups of blocks, whose
// united boxes reject a whole block or group of candidate partners at once.
constexpr std::int32_t kBlockSize = 16;
constexpr std::int32_t kGroupSize = kBlockSize * kBlockSize;

// The boxes of all segments and of each block, and the arc lengths.
class SegmentIndex {
 public:
  int build(const PackedPoint* points, std::int32_t segment_count) {
    const auto n = static_cast<std::uint32_t>(segment_count);
    if (boxes_.resize(n) != kOk || arc_.resize(n + 1) != kOk ||
        block_boxes_.resize((n + kBlockSize - 1) / kBlockSize) != kOk ||
        group_boxes_.resize((n + kGroupSize - 1) / kGroupSize) != kOk) {
      return kOutOfMemory;
    }
    arc_[0] = 0;
    for (std::uint32_t k = 0; k < n; ++k) {
      boxes_[k].set_from_points(points[k], points[k + 1]);
      arc_[k + 1] =
          arc_[k] + octagonal_length(points[k + 1].x - points[k].x, points[k + 1].y - points[k].y);
      unite_into(block_boxes_[k / kBlockSize], k % kBlockSize == 0, boxes_[k]);
      unite_into(group_boxes_[k / kGroupSize], k % kGroupSize == 0, boxes_[k]);
    }
    return kOk;
  }

  const Box16& box(std::int32_t k) const { return boxes_[static_cast<std::uint32_t>(k)]; }
  // The united box of the block or the group of blocks that segment j
  // starts.
  const Box16& block_box(std::int32_t j) const {
    return block_boxes_[static_cast<std::uint32_t>(j / kBlockSize)];
  }
  const Box16& group_box(std::int32_t j) const {
    return group_boxes_[static_cast<std::uint32_t>(j / kGroupSize)];
  }
  // The summed length of segments first..last - 1.
  std::int64_t arc(std::int32_t first, std::int32_t last) const {
    return arc_[static_cast<std::uint32_t>(last)] - arc_[static_cast<std::uint32_t>(first)];
  }

 private:
  static void unite_into(Box16& united, bool first, const Box16& box) {
    if (first) {
      united = box;
    } else {
      united.unite(box);
    }
  }

  DynArray<Box16> boxes_;
  DynArray<Box16> block_boxes_;
  DynArray<Box16> group_boxes_;
  DynArray<std::int64_t> arc_;
};

bool segments_cross_properly(const PackedPoint* points, const SegmentIndex& index, std::int32_t i,
                             std::int32_t j) {
  if (!index.box(i).intersects(index.box(j))) return false;
  const PackedPoint a0 = points[i];
  const PackedPoint a1 = points[i + 1];
  const PackedPoint b0 = points[j];
  const PackedPoint b1 = points[j + 1];
  return segments_cross_boxed(index.box(i), a0, a1, b0, b1) && !point_on_segment(b1, a0, a1) &&
         !point_on_segment(a1, b0, b1);
}

CrossingMark mark_of(std::int32_t point, std::uint16_t flags, std::int32_t partner) {
  CrossingMark mark;
  mark.point_number = static_cast<std::uint16_t>(point);
  mark.flags = flags;
  if ((flags & (TrajectoryRecord::kFirstCrossing | TrajectoryRecord::kFirstCrossingEnd)) != 0) {
    mark.first_partner = static_cast<std::uint16_t>(partner);
  } else {
    mark.second_partner = static_cast<std::uint16_t>(partner);
  }
  return mark;
}

}  // namespace

int SelfCrossings::find(const PackedPoint* points, std::int32_t count, int least_step) {
  pairs_.clear();
  least_step_ = least_step;
  if (count > 65535 || (points == nullptr && count > 0)) return kBadArgument;
  if (count < 4) return kOk;
  if (slot_of_point_.resize(static_cast<std::uint32_t>(count), -1) != kOk) return kOutOfMemory;
  const std::int32_t segment_count = count - 1;
  SegmentIndex index;
  if (const int status = index.build(points, segment_count); status != kOk) return status;
  for (std::int32_t i = 0; i < segment_count; ++i) {
    const Box16& box_i = index.box(i);
    for (std::int32_t j = i + 2; j < segment_count; ++j) {
      if (j % kGroupSize == 0 && !box_i.intersects(index.group_box(j))) {
        j += kGroupSize - 1;
        continue;
      }
      if (j % kBlockSize == 0 && !box_i.intersects(index.block_box(j))) {
        j += kBlockSize - 1;
        continue;
      }
      const std::int64_t arc = index.arc(i + 1, j);
      if (arc <= least_step || !segments_cross_properly(points, index, i, j)) continue;
      if (pairs_.push_back({i, j, arc}) != kOk) {
        pairs_.clear();
        return kOutOfMemory;
      }
    }
  }
  return kOk;
}

int SelfCrossings::marks_for(int step, DynArray<CrossingMark>& out) {
  out.clear();
  if (step < least_step_) return kBadArgument;
  for (const Pair& pair : pairs_) {
    if (pair.arc <= step) continue;
    const CrossingMark marks[] = {
        mark_of(pair.i, TrajectoryRecord::kFirstCrossing, pair.j),
        mark_of(pair.i + 1, TrajectoryRecord::kFirstCrossingEnd, pair.j),
        mark_of(pair.j, TrajectoryRecord::kSecondCrossing, pair.i),
        mark_of(pair.j + 1, TrajectoryRecord::kSecondCrossingEnd, pair.i)};
    for (const CrossingMark& mark : marks) {
      std::int32_t& slot = slot_of_point_[mark.point_number];
      if (slot >= 0) {
        merge_crossing_mark(out[static_cast<std::uint32_t>(slot)], mark);
      } else if (out.push_back(mark) == kOk) {
        slot = static_cast<std::int32_t>(out.size() - 1);
      } else {
        for (const CrossingMark& kept : out) slot_of_point_[kept.point_number] = -1;
        out.clear();
        return kOutOfMemory;
      }
    }
  }
  for (const CrossingMark& mark : out) slot_of_point_[mark.point_number] = -1;
  std::sort(out.begin(), out.end(), [](const CrossingMark& a, const CrossingMark& b) {
    return a.point_number < b.point_number;
  });
  return kOk;
}

int find_self_crossings(const PackedPoint* points, std::int32_t count, DynArray<CrossingMark>& out,
                        int step) {
  out.clear();
  SelfCrossings crossings;
  if (const int status = crossings.find(points, count, step); status != kOk) return status;
  return crossings.marks_for(step, out);
}

}  // namespace inkrec

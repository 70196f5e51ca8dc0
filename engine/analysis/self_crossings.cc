// Self-crossings: boxed pair search over the segments, record merge.

#include "engine/analysis/self_crossings.h"

#include <algorithm>
#include <cstddef>

#include "engine/foundation/box16.h"
#include "engine/foundation/segments.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"

namespace inkrec {
namespace {

// Segments are grouped in blocks whose united box rejects a whole block of
// candidate partners at once.
constexpr std::int32_t kBlockSize = 16;

struct CrossingPair {
  std::int32_t i;
  std::int32_t j;
};

// The boxes of all segments and of each block, and the arc lengths.
class SegmentIndex {
 public:
  int build(const PackedPoint* points, std::int32_t segment_count) {
    const auto n = static_cast<std::uint32_t>(segment_count);
    if (boxes_.resize(n) != kOk || arc_.resize(n + 1) != kOk ||
        block_boxes_.resize((n + kBlockSize - 1) / kBlockSize) != kOk) {
      return kOutOfMemory;
    }
    arc_[0] = 0;
    for (std::uint32_t k = 0; k < n; ++k) {
      boxes_[k].set_from_points(points[k], points[k + 1]);
      arc_[k + 1] =
          arc_[k] + octagonal_length(points[k + 1].x - points[k].x, points[k + 1].y - points[k].y);
      Box16& block = block_boxes_[k / kBlockSize];
      if (k % kBlockSize == 0) {
        block = boxes_[k];
      } else {
        block.unite(boxes_[k]);
      }
    }
    return kOk;
  }

  const Box16& box(std::int32_t k) const { return boxes_[static_cast<std::uint32_t>(k)]; }
  const Box16& block_box(std::int32_t b) const {
    return block_boxes_[static_cast<std::uint32_t>(b)];
  }
  // The summed length of segments first..last - 1.
  std::int64_t arc(std::int32_t first, std::int32_t last) const {
    return arc_[static_cast<std::uint32_t>(last)] - arc_[static_cast<std::uint32_t>(first)];
  }

 private:
  DynArray<Box16> boxes_;
  DynArray<Box16> block_boxes_;
  DynArray<std::int64_t> arc_;
};

bool is_crossing_pair(const PackedPoint* points, const SegmentIndex& index, std::int32_t i,
                      std::int32_t j, int step) {
  if (!index.box(i).intersects(index.box(j))) return false;
  if (index.arc(i + 1, j) <= step) return false;
  const PackedPoint a0 = points[i];
  const PackedPoint a1 = points[i + 1];
  const PackedPoint b0 = points[j];
  const PackedPoint b1 = points[j + 1];
  return segments_cross_boxed(index.box(i), a0, a1, b0, b1) && !point_on_segment(b1, a0, a1) &&
         !point_on_segment(a1, b0, b1);
}

int find_pairs(const PackedPoint* points, std::int32_t segment_count, int step,
               DynArray<CrossingPair>& pairs) {
  SegmentIndex index;
  if (const int status = index.build(points, segment_count); status != kOk) return status;
  for (std::int32_t i = 0; i < segment_count; ++i) {
    const Box16& box_i = index.box(i);
    for (std::int32_t j = i + 2; j < segment_count; ++j) {
      if (j % kBlockSize == 0 && !box_i.intersects(index.block_box(j / kBlockSize))) {
        j += kBlockSize - 1;
        continue;
      }
      if (is_crossing_pair(points, index, i, j, step) && pairs.push_back({i, j}) != kOk) {
        return kOutOfMemory;
      }
    }
  }
  return kOk;
}

int add_record(DynArray<TrajectoryRecord>& out, std::int32_t point, std::uint16_t flags,
               std::int32_t partner) {
  TrajectoryRecord record(static_cast<std::uint16_t>(point));
  record.add_flags(flags);
  if ((flags & (TrajectoryRecord::kFirstCrossing | TrajectoryRecord::kFirstCrossingEnd)) != 0) {
    record.first_partner = static_cast<std::uint16_t>(partner);
  } else {
    record.second_partner = static_cast<std::uint16_t>(partner);
  }
  return out.push_back(std::move(record));
}

// Sorted by point; every run of records of one point folded into its first
// record. Folding the run from its end backwards leaves the same record as
// merging its later records into the first one in order, which this does.
int merge_records_of_each_point(DynArray<TrajectoryRecord>& out) {
  std::stable_sort(out.begin(), out.end(),
                   [](const TrajectoryRecord& a, const TrajectoryRecord& b) {
                     return a.point_number < b.point_number;
                   });
  std::uint32_t kept = 0;
  for (std::uint32_t k = 0; k < out.size(); ++k) {
    if (kept > 0 && out[kept - 1].point_number == out[k].point_number) {
      out[kept - 1].merge_extra_codes(out[k]);
    } else {
      if (kept != k) out[kept] = std::move(out[k]);
      ++kept;
    }
  }
  return out.erase(kept, out.size() - kept);
}

}  // namespace

int find_self_crossings(const PackedPoint* points, std::int32_t count,
                        DynArray<TrajectoryRecord>& out, int step) {
  out.clear();
  if (count > 65535 || (points == nullptr && count > 0)) return kBadArgument;
  if (count < 4) return kOk;
  DynArray<CrossingPair> pairs;
  if (const int status = find_pairs(points, count - 1, step, pairs); status != kOk) return status;
  for (const CrossingPair& pair : pairs) {
    if (add_record(out, pair.i, TrajectoryRecord::kFirstCrossing, pair.j) != kOk ||
        add_record(out, pair.i + 1, TrajectoryRecord::kFirstCrossingEnd, pair.j) != kOk ||
        add_record(out, pair.j, TrajectoryRecord::kSecondCrossing, pair.i) != kOk ||
        add_record(out, pair.j + 1, TrajectoryRecord::kSecondCrossingEnd, pair.i) != kOk) {
      out.clear();
      return kOutOfMemory;
    }
  }
  return merge_records_of_each_point(out);
}

}  // namespace inkrec

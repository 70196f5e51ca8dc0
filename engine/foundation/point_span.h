// PointSpan: a read-only run of points in either of the engine's two layouts.
//
// Runs are plain PackedPoint arrays (strokes) or arrays of point records whose
// first member, `point`, is the PackedPoint (the trajectory's records). A span
// remembers the record stride and reads each point through memcpy, so the same
// geometry code serves both and never depends on the records' alignment.
// A span never owns its points; a null base or a count below 1 is empty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/point.h"
#include "engine/foundation/stroke.h"

namespace inkrec {

class PointSpan {
 public:
  PointSpan() = default;
  PointSpan(const PackedPoint* points, std::int32_t count)
      : base_(reinterpret_cast<const std::byte*>(points)),
        count_(points == nullptr || count < 0 ? 0 : count),
        stride_(sizeof(PackedPoint)) {}
  explicit PointSpan(const Stroke& stroke)
      : PointSpan(stroke.data(), static_cast<std::int32_t>(stroke.size())) {}
  explicit PointSpan(const StrokeView& view) : PointSpan(view.points, view.count) {}

  // A run of records whose first member `point` is the PackedPoint.
  template <typename Record>
  static PointSpan of_records(const Record* records, std::int32_t count) {
    static_assert(std::is_standard_layout_v<Record>);
    static_assert(offsetof(Record, point) == 0);
    static_assert(std::is_same_v<decltype(Record::point), PackedPoint>);
    PointSpan span;
    span.base_ = reinterpret_cast<const std::byte*>(records);
    span.count_ = records == nullptr || count < 0 ? 0 : count;
    span.stride_ = sizeof(Record);
    return span;
  }

  std::int32_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  // Point i, unchecked (0 <= i < size()).
  PackedPoint operator[](std::int32_t i) const {
    PackedPoint p;
    std::memcpy(&p, base_ + static_cast<std::size_t>(i) * stride_, sizeof p);
    return p;
  }
  PackedPoint front() const { return (*this)[0]; }
  PackedPoint back() const { return (*this)[count_ - 1]; }

 private:
  const std::byte* base_ = nullptr;
  std::int32_t count_ = 0;
  std::size_t stride_ = sizeof(PackedPoint);
};

}  // namespace inkrec

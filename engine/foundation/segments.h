// Point and segment tests and distances in tablet units.
//
// Every distance is octagonal (trigonometry.h) and saturates to 16 bits; 32767
// stands for "no distance". Segments are given by their two end points.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/foundation/box16.h"
#include "engine/foundation/point.h"
#include "engine/foundation/trigonometry.h"

namespace inkrec {

inline constexpr std::int16_t kNoDistance = 32767;

// The octagonal distance between two points.
inline std::int16_t point_distance(PackedPoint p, PackedPoint q) {
  return octagonal_length(q.x - p.x, q.y - p.y);
}

// p lies on the segment a-b: collinear with it and within its extent.
bool point_on_segment(PackedPoint p, PackedPoint a, PackedPoint b);

// The segments a0-a1 and b0-b1 meet; touching counts.
bool segments_cross(PackedPoint a0, PackedPoint a1, PackedPoint b0, PackedPoint b1);
// The same with the box of a0-a1 already at hand.
bool segments_cross_boxed(const Box16& box_a, PackedPoint a0, PackedPoint a1, PackedPoint b0,
                          PackedPoint b1);

// The distance from p to the nearest point of the segment a-b.
std::int16_t point_to_segment(PackedPoint p, PackedPoint a, PackedPoint b);

// The distance from p to the segment a-b measured across it: beyond an end,
// the distance to that end (the caller's when given); else the length of the
// perpendicular, |cross(b - a, p - a)| / octagonal_length(b - a).
std::int16_t point_segment_distance(PackedPoint p, PackedPoint a, PackedPoint b,
                                    std::optional<std::int16_t> distance_to_a = std::nullopt,
                                    std::optional<std::int16_t> distance_to_b = std::nullopt);

// 0 when the segments cross, else the least distance from an end of one to
// the other.
std::int16_t segments_distance(PackedPoint a0, PackedPoint a1, PackedPoint b0, PackedPoint b1);

// The distance between the closest points of two segments (computed in double
// precision, the difference rounded to whole units); 32767 when either
// segment has length 0.
std::int16_t segment_segment_distance(PackedPoint a0, PackedPoint a1, PackedPoint b0,
                                      PackedPoint b1);

// Where a point lies against a slanted line through line.point at line.angle
// degrees: the distance across the line and the side (true: at or right of
// it). Returns int_sin(line.angle).
struct SlantedDistance {
  std::int32_t distance = 0;
  bool right_side = false;
};
int slanted_line_distance(const LineDirection& line, PackedPoint p, SlantedDistance* out);

}  // namespace inkrec

// Point and segment tests and distances.

#include "engine/foundation/segments.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "engine/foundation/values.h"

namespace inkrec {
namespace {

std::int64_t cross(std::int64_t ux, std::int64_t uy, std::int64_t vx, std::int64_t vy) {
  return ux * vy - uy * vx;
}

int sign(std::int64_t v) { return (v > 0) - (v < 0); }

// The side of p against the directed line a-b: -1, 0 or 1.
int side_of(PackedPoint a, PackedPoint b, PackedPoint p) {
  return sign(cross(b.x - a.x, b.y - a.y, p.x - a.x, p.y - a.y));
}

bool straddles(PackedPoint a0, PackedPoint a1, PackedPoint b0, PackedPoint b1) {
  return side_of(a0, a1, b0) * side_of(a0, a1, b1) <= 0;
}

}  // namespace

bool point_on_segment(PackedPoint p, PackedPoint a, PackedPoint b) {
  if (cross(b.x - a.x, b.y - a.y, p.x - a.x, p.y - a.y) != 0) return false;
  // Both axes: on a level segment the y test alone would accept the whole line.
  return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
         p.y <= std::max(a.y, b.y);
}

bool segments_cross(PackedPoint a0, PackedPoint a1, PackedPoint b0, PackedPoint b1) {
  Box16 box_a;
  box_a.set_from_points(a0, a1);
  return segments_cross_boxed(box_a, a0, a1, b0, b1);
}

bool segments_cross_boxed(const Box16& box_a, PackedPoint a0, PackedPoint a1, PackedPoint b0,
                          PackedPoint b1) {
  Box16 box_b;
  box_b.set_from_points(b0, b1);
  if (!box_a.intersects(box_b)) return false;
  return straddles(a0, a1, b0, b1) && straddles(b0, b1, a0, a1);
}

std::int16_t point_to_segment(PackedPoint p, PackedPoint a, PackedPoint b) {
  const std::int64_t dx = b.x - a.x;
  const std::int64_t dy = b.y - a.y;
  const std::int64_t ex = p.x - a.x;
  const std::int64_t ey = p.y - a.y;
  const std::int64_t dot = dx * ex + dy * ey;
  if (dot <= 0) return point_distance(p, a);
  const std::int64_t length_squared = dx * dx + dy * dy;
  if (dot >= length_squared) return point_distance(p, b);
  if (cross(dx, dy, ex, ey) == 0) return 0;
  const std::int64_t foot_x = a.x + dx * dot / length_squared;
  const std::int64_t foot_y = a.y + dy * dot / length_squared;
  return octagonal_length(static_cast<int>(p.x - foot_x), static_cast<int>(p.y - foot_y));
}

std::int16_t point_segment_distance(PackedPoint p, PackedPoint a, PackedPoint b,
                                    std::optional<std::int16_t> distance_to_a,
                                    std::optional<std::int16_t> distance_to_b) {
  const std::int64_t dx = b.x - a.x;
  const std::int64_t dy = b.y - a.y;
  // The angle at b is not acute: p lies beyond b.
  if (-dx * (p.x - b.x) - dy * (p.y - b.y) <= 0) {
    return distance_to_b ? *distance_to_b : point_distance(p, b);
  }
  if (dx * (p.x - a.x) + dy * (p.y - a.y) <= 0) {
    return distance_to_a ? *distance_to_a : point_distance(p, a);
  }
  const std::int64_t area = std::llabs(cross(dx, dy, p.x - a.x, p.y - a.y));
  if (area == 0) return 0;
  // Both angles acute means a != b, so the length is at least 1.
  return saturate_int16(area / octagonal_length(static_cast<int>(dx), static_cast<int>(dy)));
}

std::int16_t segments_distance(PackedPoint a0, PackedPoint a1, PackedPoint b0, PackedPoint b1) {
  if (segments_cross(a0, a1, b0, b1)) return 0;
  std::int16_t least = point_to_segment(a0, b0, b1);
  if (least == 0) return 0;
  lower_to(least, point_to_segment(a1, b0, b1));
  if (least == 0) return 0;
  lower_to(least, point_to_segment(b0, a0, a1));
  if (least == 0) return 0;
  lower_to(least, point_to_segment(b1, a0, a1));
  return least;
}

std::int16_t segment_segment_distance(PackedPoint a0, PackedPoint a1, PackedPoint b0,
                                      PackedPoint b1) {
  const double ux = a1.x - a0.x;
  const double uy = a1.y - a0.y;
  const double vx = b1.x - b0.x;
  const double vy = b1.y - b0.y;
  const double wx = a0.x - b0.x;
  const double wy = a0.y - b0.y;
  const double a = ux * ux + uy * uy;
  const double e = vx * vx + vy * vy;
  if (a == 0.0 || e == 0.0) return kNoDistance;
  const double b = ux * vx + uy * vy;
  const double c = ux * wx + uy * wy;
  const double f = vx * wx + vy * wy;
  const double denominator = a * e - b * b;
  // s runs along a, t along b; parallel segments start from s = 0.
  double s = denominator != 0.0 ? std::clamp((b * f - c * e) / denominator, 0.0, 1.0) : 0.0;
  double t = (b * s + f) / e;
  if (t < 0.0) {
    t = 0.0;
    s = std::clamp(-c / a, 0.0, 1.0);
  } else if (t > 1.0) {
    t = 1.0;
    s = std::clamp((b - c) / a, 0.0, 1.0);
  }
  const double dx = (a0.x + ux * s) - (b0.x + vx * t);
  const double dy = (a0.y + uy * s) - (b0.y + vy * t);
  return octagonal_length(static_cast<int>(std::lround(dx)), static_cast<int>(std::lround(dy)));
}

int slanted_line_distance(const LineDirection& line, PackedPoint p, SlantedDistance* out) {
  const int sine = int_sin(line.angle);
  const std::int64_t offset =
      std::int64_t{p.y - line.point.y} * scale_by_tangent(90 - line.angle, 1000) / 1000;
  const std::int64_t s = p.x - offset - line.point.x;
  if (out != nullptr) {
    out->right_side = s >= 0;
    out->distance = static_cast<std::int32_t>(std::llabs(sine * s / 1000));
  }
  return sine;
}

}  // namespace inkrec

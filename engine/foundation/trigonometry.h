// Integer trigonometry in whole degrees and thousandths.
//
// Directions are whole degrees of a vector given as (a, b): 0 points along +b,
// 90 along +a, 180 along -b, 270 along -a. The engine passes vectors as
// (dy, dx), so that 0 points along +x, 90 along +y (downward on the tablet),
// 180 along -x and 270 upward; a direction is always in 0..359. Sines,
// cosines and tangents are scaled by 1000 and rounded to the nearest integer.
// Lengths use the octagonal approximation (2 max + min + max) / 3. Integer
// division truncates toward zero unless a function says otherwise.
#pragma once

#include <cstdint>

#include "engine/foundation/point.h"

namespace inkrec {

// round(1000 * sin(d degrees)) for d in 0..90; 0 for any other d.
int sine_table_value(int degrees);
// 1000 * sin(a degrees), rounded, for any whole a.
int int_sin(int degrees);
int int_cos(int degrees);

// The square root of n rounded to the nearest integer; 0 for n below 1.
int int_sqrt(std::int32_t n);
// The same over 64 bits: the square root of n rounded to the nearest
// integer; 0 for n below 1.
std::int64_t int_sqrt64(std::int64_t n);

// (2 * max(|dx|, |dy|) + |dx| + |dy|) / 3, saturated to 16 bits.
std::int16_t octagonal_length(int dx, int dy);
inline std::int16_t octagonal_length(PackedPoint v) { return octagonal_length(v.x, v.y); }

// floor(1000 * tan(k degrees)) for k in 1..44, 999 for k = 45; the thresholds
// that turn a ratio in thousandths into a whole angle of 0..45 degrees.
int tangent_threshold(int k);

// The direction of the vector (a, b) in whole degrees, 0..359.
int direction_degrees(int a, int b);
// The direction of the step from p to q.
inline int step_direction(PackedPoint p, PackedPoint q) {
  return direction_degrees(q.y - p.y, q.x - p.x);
}

// b - a folded into -180..180.
int angle_difference(int a, int b);
// angle_difference of the directions of p1 - p0 and q1 - q0.
int vector_angle_difference(PackedPoint p0, PackedPoint p1, PackedPoint q0, PackedPoint q1);

// An undirected line: an angle in 0..180 through a point.
struct LineDirection {
  std::int16_t angle = 0;
  PackedPoint point;
};
// Folds the angle into 0..180 (181..359 lose 180).
LineDirection make_direction(int angle, PackedPoint point);

// value * tan(a degrees), rounded: (value * sin + cos / 2) / cos, with a zero
// cosine taken as 1.
int scale_by_tangent(int degrees, int value);

// The platform math library, for the few double-precision measures.
double math_sin(double x);
double math_cos(double x);
double math_atan(double x);
double math_acos(double x);
double math_sqrt(double x);
double math_pow(double x, double y);

}  // namespace inkrec

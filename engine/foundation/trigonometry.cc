// Integer trigonometry: the sine table, the tangent thresholds, the integer
// square root, octagonal lengths and whole-degree directions.

#include "engine/foundation/trigonometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "engine/foundation/values.h"

namespace inkrec {
namespace {

// round(1000 * sin(d degrees)), d = 0..90.
constexpr std::array<std::int16_t, 91> kSineTable = {
    0,   17,  35,  52,  70,  87,  105, 122, 139, 156, 174, 191, 208, 225,  242, 259, 276, 292, 309,
    326, 342, 358, 375, 391, 407, 423, 438, 454, 469, 485, 500, 515, 530,  545, 559, 574, 588, 602,
    616, 629, 643, 656, 669, 682, 695, 707, 719, 731, 743, 755, 766, 777,  788, 799, 809, 819, 829,
    839, 848, 857, 866, 875, 883, 891, 899, 906, 914, 921, 927, 934, 940,  946, 951, 956, 961, 966,
    970, 974, 978, 982, 985, 988, 990, 993, 995, 996, 998, 999, 999, 1000, 1000};

// floor(1000 * tan(k degrees)) for k = 1..44, then 999 for k = 45.
constexpr std::array<std::int16_t, 45> kTangentThresholds = {
    17,  34,  52,  69,  87,  105, 122, 140, 158, 176, 194, 212, 230, 249, 267,
    286, 305, 324, 344, 363, 383, 404, 424, 445, 466, 487, 509, 531, 554, 577,
    600, 624, 649, 674, 700, 726, 753, 781, 809, 839, 869, 900, 932, 965, 999};

// The number of thresholds at or below a ratio in thousandths: 0..45 degrees.
int angle_of_ratio(std::int64_t ratio) {
  const auto* end = std::upper_bound(kTangentThresholds.begin(), kTangentThresholds.end(), ratio);
  return static_cast<int>(end - kTangentThresholds.begin());
}

}  // namespace

int sine_table_value(int degrees) {
  return degrees >= 0 && degrees <= 90 ? kSineTable[static_cast<std::size_t>(degrees)] : 0;
}

int int_sin(int degrees) {
  std::int64_t a = std::llabs(std::int64_t{degrees});
  if (a > 360) a %= 360;
  int value;
  if (a <= 90) {
    value = kSineTable[static_cast<std::size_t>(a)];
  } else if (a <= 180) {
    value = kSineTable[static_cast<std::size_t>(180 - a)];
  } else if (a <= 270) {
    value = -kSineTable[static_cast<std::size_t>(a - 180)];
  } else {
    value = -kSineTable[static_cast<std::size_t>(360 - a)];
  }
  return degrees < 0 ? -value : value;
}

int int_cos(int degrees) { return int_sin(static_cast<int>(std::int64_t{90} - degrees)); }

int int_sqrt(std::int32_t n) {
  if (n < 1) return 0;
  std::int32_t g;
  if (n >= (1 << 24)) {
    g = 16383;
  } else if (n >= (1 << 16)) {
    g = 1023;
  } else if (n >= 256) {
    g = 63;
  } else if (n > 4) {
    g = 7;
  } else {
    g = n;
  }
  // Newton steps rounded up, from above, until they stop falling.
  auto step = [n](std::int32_t v) { return (v + n / v + 1) / 2; };
  std::int32_t x = step(g);
  if (n > x) {
    do {
      g = x;
      x = step(g);
    } while (g > x);
  } else {
    g = n;
  }
  return n % g == 0 && n / g == g - 1 ? g - 1 : g;
}

std::int64_t int_sqrt64(std::int64_t n) {
  if (n < 1) return 0;
  // The floating-point root is within a step or two of the floor root;
  // whole steps make it exact (a few divisions, not one per bit).
  std::int64_t low = std::min<std::int64_t>(
      static_cast<std::int64_t>(std::sqrt(static_cast<double>(n))), 3037000499);  // floor(sqrt(2^63 - 1))
  while (low > n / low) --low;
  while (low + 1 <= n / (low + 1)) ++low;
  // n - low^2 > low rounds up: (low + 1/2)^2 = low^2 + low + 1/4.
  return n - low * low > low ? low + 1 : low;
}

std::int16_t octagonal_length(int dx, int dy) {
  const std::int64_t ax = std::llabs(std::int64_t{dx});
  const std::int64_t ay = std::llabs(std::int64_t{dy});
  return saturate_int16((2 * std::max(ax, ay) + ax + ay) / 3);
}

int tangent_threshold(int k) {
  return k >= 1 && k <= 45 ? kTangentThresholds[static_cast<std::size_t>(k - 1)] : 0;
}

int direction_degrees(int a, int b) {
  if (b == 0) return a > 0 ? 90 : a < 0 ? 270 : 0;
  const std::int64_t abs_a = std::llabs(std::int64_t{a});
  const std::int64_t abs_b = std::llabs(std::int64_t{b});
  if (abs_a == abs_b) {
    if (b > 0) return a > 0 ? 45 : 315;
    return a > 0 ? 135 : 225;
  }
  const int d = angle_of_ratio(1000 * std::min(abs_a, abs_b) / std::max(abs_a, abs_b));
  const int angle = abs_a > abs_b ? 90 - d : d;
  if (b > 0) {
    // A vector a hair left of +b has angle 0 here: 360 is direction 0.
    return a >= 0 ? angle : (360 - angle) % 360;
  }
  return a > 0 ? 180 - angle : 180 + angle;
}

int angle_difference(int a, int b) {
  int d = b - a;
  if (d > 180) d -= 360;
  if (d < -180) d += 360;
  return d;
}

int vector_angle_difference(PackedPoint p0, PackedPoint p1, PackedPoint q0, PackedPoint q1) {
  return angle_difference(step_direction(p0, p1), step_direction(q0, q1));
}

LineDirection make_direction(int angle, PackedPoint point) {
  if (angle > 180 && angle < 360) angle -= 180;
  return LineDirection{saturate_int16(angle), point};
}

PackedPoint turn_point(PackedPoint p, int degrees) {
  const std::int64_t s = int_sin(degrees);
  const std::int64_t c = int_sin(degrees + 90);
  return {saturate_int16((p.x * c - p.y * s) / 1000), saturate_int16((p.y * c + p.x * s) / 1000)};
}

int scale_by_tangent(int degrees, int value) {
  std::int64_t c = int_sin(static_cast<int>(std::int64_t{degrees} + 90));
  if (c == 0) c = 1;
  const std::int64_t scaled = (std::int64_t{value} * int_sin(degrees) + c / 2) / c;
  return static_cast<int>(std::clamp<std::int64_t>(scaled, INT32_MIN, INT32_MAX));
}

double math_sin(double x) { return std::sin(x); }
double math_cos(double x) { return std::cos(x); }
double math_atan(double x) { return std::atan(x); }
double math_acos(double x) { return std::acos(x); }
double math_sqrt(double x) { return std::sqrt(x); }
double math_pow(double x, double y) { return std::pow(x, y); }

}  // namespace inkrec

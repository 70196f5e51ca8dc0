#include "engine/foundation/trigonometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>

namespace inkrec {
namespace {

double radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

TEST(TrigonometryTest, SineTableIsTheRoundedSine) {
  for (int d = 0; d <= 90; ++d) {
    EXPECT_EQ(sine_table_value(d), std::lround(1000 * std::sin(radians(d)))) << d;
  }
  EXPECT_EQ(sine_table_value(87), 999);
  EXPECT_EQ(sine_table_value(88), 999);
  EXPECT_EQ(sine_table_value(89), 1000);
  EXPECT_EQ(sine_table_value(91), 0);
  EXPECT_EQ(sine_table_value(-1), 0);
}

TEST(TrigonometryTest, IntSinFollowsTheSineEverywhere) {
  for (int a = -1080; a <= 1080; ++a) {
    EXPECT_EQ(int_sin(a), std::lround(1000 * std::sin(radians(a)))) << a;
  }
  EXPECT_EQ(int_sin(30), 500);
  EXPECT_EQ(int_sin(-30), -500);
  EXPECT_EQ(int_sin(390), 500);
  EXPECT_EQ(int_sin(360), 0);
  EXPECT_EQ(int_sin(270), -1000);
  EXPECT_EQ(int_cos(0), 1000);
  EXPECT_EQ(int_cos(120), -500);
  EXPECT_EQ(int_sin(INT32_MIN), -int_sin(static_cast<int>(2147483648LL % 360)));
}

TEST(TrigonometryTest, TangentThresholdsFollowTheTangent) {
  for (int k = 1; k <= 44; ++k) {
    EXPECT_EQ(tangent_threshold(k), std::floor(1000 * std::tan(radians(k)))) << k;
  }
  EXPECT_EQ(tangent_threshold(45), 999);
}

TEST(TrigonometryTest, IntSqrtIsTheRoundedRoot) {
  for (std::int32_t n = 0; n <= (1 << 20); ++n) {
    const auto root = static_cast<std::int32_t>(std::sqrt(static_cast<double>(n)));
    // n lies nearer to (root + 1)^2 exactly when n > root^2 + root.
    const std::int32_t rounded = n > root * root + root ? root + 1 : root;
    ASSERT_EQ(int_sqrt(n), rounded) << n;
  }
  EXPECT_EQ(int_sqrt(2), 1);
  EXPECT_EQ(int_sqrt(3), 2);
  EXPECT_EQ(int_sqrt(24), 5);
  EXPECT_EQ(int_sqrt(-5), 0);
  EXPECT_EQ(int_sqrt(INT32_MAX), 46341);
  EXPECT_EQ(int_sqrt(1 << 30), 32768);
}

TEST(TrigonometryTest, IntSqrt64AgreesWithTheNarrowRootAndReachesPastIt) {
  for (std::int32_t n = -3; n <= (1 << 16); ++n) ASSERT_EQ(int_sqrt64(n), int_sqrt(n)) << n;
  struct Case {
    std::int64_t n;
    std::int64_t root;
  };
  const Case cases[] = {
      {std::int64_t{1} << 40, std::int64_t{1} << 20},
      {(std::int64_t{1} << 40) - 1, std::int64_t{1} << 20},  // just below a square
      {std::int64_t{1000000007} * 1000000007, 1000000007},
      {std::int64_t{1000000007} * 1000000007 + 1000000007, 1000000007},  // halfway rounds down
      {std::int64_t{1000000007} * 1000000007 + 1000000008, 1000000008},
      {INT64_MAX, 3037000500},
      {std::int64_t{INT32_MAX} + 1, 46341},
  };
  for (const Case& c : cases) EXPECT_EQ(int_sqrt64(c.n), c.root) << c.n;
  // Around large squares, where a floating-point root may land a step off.
  for (const std::int64_t k :
       {std::int64_t{94906265}, std::int64_t{2147483647}, std::int64_t{3037000499}}) {
    EXPECT_EQ(int_sqrt64(k * k - 1), k) << k;
    EXPECT_EQ(int_sqrt64(k * k), k) << k;
    EXPECT_EQ(int_sqrt64(k * k + k), k) << k;
    EXPECT_EQ(int_sqrt64(k * k + k + 1), k + 1) << k;
  }
}

TEST(TrigonometryTest, OctagonalLength) {
  EXPECT_EQ(octagonal_length(3, 4), 5);
  EXPECT_EQ(octagonal_length(-3, 4), 5);
  EXPECT_EQ(octagonal_length(0, 0), 0);
  EXPECT_EQ(octagonal_length(0, 7), 7);
  EXPECT_EQ(octagonal_length(4, 7), 8);  // 25 / 3 truncates
  EXPECT_EQ(octagonal_length(10, 10), 13);
  EXPECT_EQ(octagonal_length(PackedPoint{-32768, 32767}), 32767);
  EXPECT_EQ(octagonal_length(60000, 0), 32767);
}

TEST(TrigonometryTest, DirectionOnTheAxesAndDiagonals) {
  struct Case {
    int a, b, degrees;
  };
  const Case cases[] = {
      {0, 5, 0},
      {5, 0, 90},
      {0, -5, 180},
      {-5, 0, 270},
      {0, 0, 0},
      {5, 5, 45},
      {5, -5, 135},
      {-5, -5, 225},
      {-5, 5, 315},
      // a ratio of 999 is 45 degrees, 998 is 44
      {999, 1000, 45},
      {998, 1000, 44},
      // one of each quadrant, ratio 500 (26 degrees)
      {1, 2, 26},
      {2, 1, 64},
      {1, -2, 154},
      {-1, -2, 206},
      {-2, -1, 244},
      {-2, 1, 296},
      {-1, 2, 334},
      // a hair off +b on the negative side is still 0, not 360
      {-1, 1000, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(direction_degrees(c.a, c.b), c.degrees) << c.a << ' ' << c.b;
  }
}

TEST(TrigonometryTest, DirectionStaysWithinADegreeOfTheTrueAngle) {
  for (int a = -70; a <= 70; ++a) {
    for (int b = -70; b <= 70; ++b) {
      if (a == 0 && b == 0) continue;
      const int d = direction_degrees(a, b);
      ASSERT_GE(d, 0);
      ASSERT_LT(d, 360);
      double exact = std::atan2(a, b) * 180.0 / std::numbers::pi;
      if (exact < 0) exact += 360;
      double error = std::fabs(d - exact);
      if (error > 180) error = 360 - error;
      ASSERT_LT(error, 1.0) << a << ' ' << b;
    }
  }
}

TEST(TrigonometryTest, StepDirectionTakesDyThenDx) {
  EXPECT_EQ(step_direction({0, 0}, {10, 0}), 0);
  EXPECT_EQ(step_direction({0, 0}, {0, 10}), 90);  // down on the tablet
  EXPECT_EQ(step_direction({0, 0}, {-10, 0}), 180);
  EXPECT_EQ(step_direction({0, 0}, {0, -10}), 270);
}

TEST(TrigonometryTest, AngleDifferencesFold) {
  EXPECT_EQ(angle_difference(350, 10), 20);
  EXPECT_EQ(angle_difference(10, 350), -20);
  EXPECT_EQ(angle_difference(0, 180), 180);
  EXPECT_EQ(angle_difference(180, 0), -180);
  EXPECT_EQ(vector_angle_difference({0, 0}, {10, 0}, {5, 5}, {5, -5}), -90);
  EXPECT_EQ(make_direction(200, {1, 2}).angle, 20);
  EXPECT_EQ(make_direction(180, {1, 2}).angle, 180);
  EXPECT_EQ(make_direction(359, {1, 2}).angle, 179);
  EXPECT_EQ(make_direction(359, {1, 2}).point, (PackedPoint{1, 2}));
}

TEST(TrigonometryTest, ScaleByTangentRounds) {
  EXPECT_EQ(scale_by_tangent(45, 1000), 1000);
  EXPECT_EQ(scale_by_tangent(30, 1000), 577);  // (500000 + 433) / 866
  EXPECT_EQ(scale_by_tangent(0, 1000), 0);
  EXPECT_EQ(scale_by_tangent(-30, 256), -147);  // (-128000 + 433) / 866
  EXPECT_EQ(scale_by_tangent(90, 7), 7000);     // zero cosine counts as 1
}

TEST(TrigonometryTest, MathWrappers) {
  EXPECT_DOUBLE_EQ(math_sqrt(2.25), 1.5);
  EXPECT_DOUBLE_EQ(math_pow(2, 10), 1024);
  EXPECT_DOUBLE_EQ(math_cos(0), 1);
  EXPECT_DOUBLE_EQ(math_acos(1), 0);
  EXPECT_NEAR(math_atan(1), std::numbers::pi / 4, 1e-12);
  EXPECT_NEAR(math_sin(std::numbers::pi / 6), 0.5, 1e-12);
}

}  // namespace
}  // namespace inkrec

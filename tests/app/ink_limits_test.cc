#include "app/shell/ink_limits.h"

#include <gtest/gtest.h>

#include <vector>

namespace ductra {
namespace {

using Ink = std::vector<std::vector<InkPoint>>;

// `strokes` strokes of `points` points each, all on one spot.
Ink dots(std::size_t strokes, std::size_t points) {
  return Ink(strokes, std::vector<InkPoint>(points, InkPoint{100, 100}));
}

// A straight stroke `pixels` long (four touch units to a pixel).
std::vector<InkPoint> line(std::int32_t pixels, std::int32_t y = 0) {
  return {{0, y}, {pixels * 4, y}};
}

InkVerdict check(const Ink& ink, int scale = 1) {
  std::vector<InkStrokeView> views(ink.begin(), ink.end());
  return check_ink(views, scale);
}

TEST(InkLimitsTest, InkAtEachLimitIsKeptAndOnePastItRefused) {
  struct Case {
    const char* what;
    Ink ink;
    int scale;
    InkVerdict verdict;
  };
  Ink ink_20000 = Ink(6, line(3000));
  ink_20000.push_back(line(2000));
  Ink ink_20001 = ink_20000;
  ink_20001.back() = {{0, 0}, {8000 + 4, 0}};
  const Case cases[] = {
      {"no ink", {}, 1, InkVerdict::empty},
      {"50 strokes", dots(50, 1), 1, InkVerdict::accepted},
      {"51 strokes", dots(51, 1), 1, InkVerdict::too_many_strokes},
      {"1500 points", dots(1, 1500), 1, InkVerdict::accepted},
      {"1501 points", dots(1, 1501), 1, InkVerdict::stroke_with_too_many_points},
      {"10000 points", [] { Ink i = dots(6, 1500); i.push_back(std::vector<InkPoint>(1000)); return i; }(), 1,
       InkVerdict::accepted},
      {"10001 points", [] { Ink i = dots(6, 1500); i.push_back(std::vector<InkPoint>(1001)); return i; }(), 1,
       InkVerdict::too_many_points},
      {"a stroke of 3000 pixels", {line(3000)}, 1, InkVerdict::accepted},
      {"a stroke of 3001 pixels", {line(3001)}, 1, InkVerdict::stroke_too_long},
      {"6000 pixels at scale 2", {line(6000)}, 2, InkVerdict::accepted},
      {"6001 pixels at scale 2", {line(6001)}, 2, InkVerdict::stroke_too_long},
      {"a scale of 0 counts as 1", {line(3001)}, 0, InkVerdict::stroke_too_long},
      {"20000 pixels in all", ink_20000, 1, InkVerdict::accepted},
      {"20001 pixels in all", ink_20001, 1, InkVerdict::too_long},
  };
  for (const Case& c : cases) EXPECT_EQ(check(c.ink, c.scale), c.verdict) << c.what;
}

TEST(InkLimitsTest, StepsAreMeasuredByTheOctagonalApproximation) {
  struct Case {
    std::vector<InkPoint> stroke;
    std::uint32_t pixels;
  };
  const Case cases[] = {
      {{}, 0},
      {{{5, 5}}, 0},
      {{{0, 0}, {12, 0}}, 3},                // (24 + 12) / 3 = 12 units
      {{{0, 0}, {12, 12}}, 4},               // (24 + 24) / 3 = 16 units
      {{{0, 0}, {-30, 12}}, 8},              // (60 + 30 + 12) / 3 = 34 units
      {{{0, 0}, {4, 0}, {4, 4}, {0, 4}}, 3}, // three steps of 4 units
  };
  for (const Case& c : cases) EXPECT_EQ(stroke_length_pixels(c.stroke), c.pixels);
}

TEST(InkLimitsTest, HugeCoordinatesSaturateInsteadOfWrapping) {
  // Steps that would wrap 16 or 32 bits must still count as long.
  const std::vector<InkPoint> wild = {{INT32_MIN, 0}, {INT32_MAX, 0}, {INT32_MIN, 0}, {INT32_MAX, 0}};
  EXPECT_EQ(stroke_length_pixels(wild), UINT32_MAX / 4);
  EXPECT_EQ(check({wild}), InkVerdict::stroke_too_long);
  const std::vector<InkPoint> wraps_16_bits = {{0, 0}, {70000, 0}};
  EXPECT_EQ(check({wraps_16_bits}), InkVerdict::stroke_too_long);
}

}  // namespace
}  // namespace ductra

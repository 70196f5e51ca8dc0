// The pointer's events over the device's window as touch samples: only the
// first button writes, a stroke's moves come between its press and its
// release, and window pixels become quarter screen pixels within 12 bits.
#include "touchshim/x11/pointer_stroke.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "appplatform/pen_ring.h"

namespace ductra::tapshim {
namespace {

void expect_sample(const std::optional<TouchSample>& sample, std::uint32_t flags, std::int32_t x, std::int32_t y) {
  ASSERT_TRUE(sample.has_value());
  EXPECT_EQ(sample->flags, flags);
  EXPECT_EQ(sample->x, x);
  EXPECT_EQ(sample->y, y);
}

TEST(PointerStrokeTest, TheFirstButtonWritesAStrokeAndOtherButtonsAndHoveringDoNot) {
  PointerStroke stroke(2);
  EXPECT_FALSE(stroke.move(10, 10)) << "a pointer moving without the button writes nothing";
  EXPECT_FALSE(stroke.press(3, 10, 10)) << "the right button writes nothing";
  expect_sample(stroke.press(1, 10, 20), platform::kPenDown, 20, 40);
  EXPECT_FALSE(stroke.press(1, 11, 20)) << "a second press inside a stroke is no new stroke";
  EXPECT_FALSE(stroke.release(3, 11, 20)) << "releasing another button does not end the stroke";
  expect_sample(stroke.move(11.5, 20.25), platform::kPenMove, 23, 41);
  expect_sample(stroke.release(1, 12, 21), platform::kPenUp, 24, 42);
  EXPECT_FALSE(stroke.move(13, 21));
  EXPECT_FALSE(stroke.release(1, 13, 21));
}

TEST(PointerStrokeTest, PositionsBecomeQuarterPixelsOfTheScreenWithin12Bits) {
  struct Case {
    int scale;
    double window;
    std::int32_t touch;
  };
  const Case cases[] = {
      {1, 0, 0},         {1, 239.75, 959},  // a pen's fraction of a pixel is kept
      {3, 3, 4},         {3, 100, 133},     // a screen pixel is three window pixels
      {1, -5, 0},        {1, 5000, 4095},   // outside the window: held at the edges
      {0, 10, 40},                          // no scale counts as 1
      {1, std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const Case& c : cases) {
    PointerStroke stroke(c.scale);
    const std::optional<TouchSample> sample = stroke.press(1, c.window, c.window);
    ASSERT_TRUE(sample.has_value());
    EXPECT_EQ(sample->x, c.touch) << "scale " << c.scale << ", window " << c.window;
    EXPECT_EQ(sample->y, c.touch);
  }
}

}  // namespace
}  // namespace ductra::tapshim

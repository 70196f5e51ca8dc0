// A test fixture that runs the process on a virtual clock, so every time in
// a test is exact and no real time passes.
#pragma once

#include <gtest/gtest.h>

#include "appplatform/clock.h"
#include "appplatform/virtual_clock.h"

namespace ductra::platform {

class VirtualTimeTest : public ::testing::Test {
 protected:
  static constexpr Millis kStart = 1000;

  // Time since the test began.
  Millis elapsed() const { return clock_.now() - kStart; }

  VirtualClock clock_{kStart};

 private:
  ScopedClock installed_{clock_};
};

}  // namespace ductra::platform

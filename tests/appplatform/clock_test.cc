#include "appplatform/clock.h"

#include <gtest/gtest.h>

#include <atomic>

#include "appplatform/event.h"
#include "appplatform/real_clock.h"
#include "appplatform/thread.h"
#include "appplatform/virtual_clock.h"
#include "appplatform/wait.h"

namespace ductra::platform {
namespace {

TEST(ClockTest, TickCountWrapsAtThirtyTwoBits) {
  VirtualClock clock(0xFFFFFFFFull - 9);
  ScopedClock installed(clock);
  const std::uint32_t before = tick_count();
  EXPECT_EQ(before, 0xFFFFFFF6u);
  clock.advance(20);
  EXPECT_EQ(tick_count(), 10u);
  EXPECT_EQ(static_cast<std::uint32_t>(tick_count() - before), 20u) << "unsigned differences stay true";
}

TEST(ClockTest, ScopedClockInstallsAndRestores) {
  Clock* const outer = &process_clock();
  {
    VirtualClock clock(42);
    ScopedClock installed(clock);
    EXPECT_EQ(&process_clock(), &clock);
    EXPECT_EQ(tick_count(), 42u);
  }
  EXPECT_EQ(&process_clock(), outer);
}

TEST(ClockTest, UnderRealTimeASignalFromAnotherThreadEndsAnEndlessWait) {
  RealClock clock;
  ScopedClock installed(clock);
  Event event(EventReset::automatic, false);
  std::atomic<WaitStatus> status{WaitStatus::failed};
  auto waiter = Thread::start([&] {
    status = wait_for(event, kInfinite).status;
    return 0u;
  });
  event.set();
  EXPECT_TRUE(wait_for(*waiter, kInfinite).signalled());
  EXPECT_EQ(status, WaitStatus::object);
  auto stopped = Thread::start([&] { return sleep_for(kInfinite) ? 1u : 0u; });
  stopped->request_stop();
  EXPECT_TRUE(wait_for(*stopped, kInfinite).signalled());
  EXPECT_EQ(stopped->exit_code(), 0u);
}

TEST(ClockTest, RealTimeMovesForwardAndBoundsATimedWait) {
  RealClock clock;
  ScopedClock installed(clock);
  const Millis start = clock.now();
  EXPECT_TRUE(sleep_for(20));
  EXPECT_GE(clock.now() - start, 20u);
}

}  // namespace
}  // namespace ductra::platform

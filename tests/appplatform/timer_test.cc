#include "appplatform/timer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <vector>

#include "appplatform/event.h"
#include "appplatform/thread.h"
#include "appplatform/wait.h"
#include "virtual_time.h"

namespace ductra::platform {
namespace {

using TimerTest = VirtualTimeTest;

TEST_F(TimerTest, A100MsTimerFiresThreeTimesOver300Ms) {
  std::mutex mutex;
  std::vector<Millis> fired;
  auto thread = Thread::start([&] {
    Timer timer(100);
    while (wait_for(timer, kInfinite).signalled()) {
      std::lock_guard lock(mutex);
      fired.push_back(elapsed());
    }
    return 0u;
  });
  clock_.advance(300);
  std::lock_guard lock(mutex);
  EXPECT_EQ(fired, (std::vector<Millis>{100, 200, 300}));
}

TEST_F(TimerTest, ALateTakerGetsOneFiringAndTheRhythmHolds) {
  Timer timer(100);
  clock_.advance(350);
  EXPECT_TRUE(wait_for(timer, 0).signalled());
  EXPECT_EQ(wait_for(timer, 0).status, WaitStatus::timeout);
  EXPECT_EQ(timer.wake_time(), clock_.now() + 50);
  clock_.advance(49);
  EXPECT_EQ(wait_for(timer, 0).status, WaitStatus::timeout);
  clock_.advance(1);
  EXPECT_TRUE(wait_for(timer, 0).signalled());
}

TEST_F(TimerTest, RestartTakesTheNewPeriodFromNowAndWakesAWaiter) {
  auto timer = std::make_shared<Timer>(1000);
  std::atomic<Millis> fired_at{0};
  auto thread = Thread::start([&] {
    if (wait_for(*timer, kInfinite).signalled()) fired_at = elapsed();
    return 0u;
  });
  clock_.advance(100);
  timer->restart(50);
  clock_.advance(49);
  EXPECT_FALSE(thread->has_ended());
  clock_.advance(1);
  EXPECT_TRUE(thread->has_ended());
  EXPECT_EQ(fired_at, 150u);
}

TEST_F(TimerTest, AWaitOnATimerAndAnEventEndsAtWhicheverComesFirst) {
  Timer timer(100);
  Event event(EventReset::automatic, false);
  std::mutex mutex;
  std::vector<std::pair<std::size_t, Millis>> woke;
  auto thread = Thread::start([&] {
    Waitable* const objects[] = {&timer, &event};
    for (int i = 0; i < 3; ++i) {
      const WaitResult result = wait_any(objects, kInfinite);
      std::lock_guard lock(mutex);
      woke.emplace_back(result.index, elapsed());
    }
    return 0u;
  });
  clock_.advance(30);
  event.set();
  clock_.advance(270);
  std::lock_guard lock(mutex);
  const std::vector<std::pair<std::size_t, Millis>> expected = {{1, 30}, {0, 100}, {0, 200}};
  EXPECT_EQ(woke, expected);
}

}  // namespace
}  // namespace ductra::platform

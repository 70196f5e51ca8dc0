#include "appplatform/semaphore.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>

#include "appplatform/thread.h"
#include "appplatform/wait.h"
#include "virtual_time.h"

namespace ductra::platform {
namespace {

using SemaphoreTest = VirtualTimeTest;

TEST_F(SemaphoreTest, CreationNeedsACountWithinAPositiveMaximum) {
  struct Case {
    std::int32_t initial;
    std::int32_t maximum;
    bool valid;
  };
  const Case cases[] = {{0, 1, true}, {1, 1, true}, {3, 5, true}, {2, 1, false},
                        {-1, 1, false}, {0, 0, false}, {0, -3, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.initial << " of " << c.maximum);
    auto semaphore = Semaphore::create(c.initial, c.maximum);
    EXPECT_EQ(semaphore != nullptr, c.valid);
    if (semaphore) {
      EXPECT_EQ(semaphore->count(), c.initial);
    }
  }
}

TEST_F(SemaphoreTest, ReleaseNeverPassesTheMaximum) {
  struct Case {
    std::int32_t initial;
    std::int32_t release;
    std::optional<std::int32_t> previous;
    std::int32_t after;
  };
  const Case cases[] = {
      {0, 1, 0, 1}, {0, 3, 0, 3}, {2, 1, 2, 3}, {3, 1, std::nullopt, 3}, {1, 0, std::nullopt, 1},
      {1, -1, std::nullopt, 1}, {0, 4, std::nullopt, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "count " << c.initial << ", release " << c.release);
    auto semaphore = Semaphore::create(c.initial, 3);
    EXPECT_EQ(semaphore->release(c.release), c.previous);
    EXPECT_EQ(semaphore->count(), c.after);
  }
}

TEST_F(SemaphoreTest, EachWaitTakesOneFromTheCount) {
  auto semaphore = Semaphore::create(2, 2);
  EXPECT_TRUE(wait_for(*semaphore, 0).signalled());
  EXPECT_TRUE(wait_for(*semaphore, 0).signalled());
  EXPECT_EQ(wait_for(*semaphore, 0).status, WaitStatus::timeout);
  EXPECT_EQ(semaphore->count(), 0);
}

// The pattern of the recognition gate: one thread holds the one count while
// it works; another waits for it and gets it when it is released.
TEST_F(SemaphoreTest, OneCountPassesBetweenTwoThreads) {
  auto semaphore = Semaphore::create(1, 1);
  std::atomic<Millis> taken_at{0};
  auto holder = Thread::start([&] {
    wait_for(*semaphore, kInfinite);
    sleep_for(300);
    semaphore->release(1);
    return 0u;
  });
  clock_.advance(0);
  auto taker = Thread::start([&] {
    if (wait_for(*semaphore, kInfinite).signalled()) taken_at = elapsed();
    return 0u;
  });
  clock_.advance(299);
  EXPECT_FALSE(taker->has_ended());
  clock_.advance(1);
  EXPECT_TRUE(taker->has_ended());
  EXPECT_EQ(taken_at, 300u);
  EXPECT_EQ(semaphore->count(), 0);
}

}  // namespace
}  // namespace ductra::platform

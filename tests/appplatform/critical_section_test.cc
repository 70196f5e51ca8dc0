#include "appplatform/critical_section.h"

#include <gtest/gtest.h>

#include <atomic>

#include "appplatform/event.h"
#include "appplatform/thread.h"
#include "appplatform/wait.h"
#include "virtual_time.h"

namespace ductra::platform {
namespace {

using CriticalSectionTest = VirtualTimeTest;

// Another thread enters the section `depth` times and holds it until `done`.
std::unique_ptr<Thread> hold_elsewhere(CriticalSection& section, int depth, Event& done) {
  return Thread::start([&section, depth, &done] {
    for (int i = 0; i < depth; ++i) section.enter();
    wait_for(done, kInfinite);
    for (int i = 0; i < depth; ++i) section.leave();
    return 0u;
  });
}

TEST_F(CriticalSectionTest, TryEnterAcrossTwoThreads) {
  struct Case {
    const char* what;
    int held_here;
    int held_elsewhere;
    TryEnter expected;
  };
  const Case cases[] = {
      {"free", 0, 0, TryEnter::entered},
      {"held by the caller", 1, 0, TryEnter::entered},
      {"held twice by the caller", 2, 0, TryEnter::entered},
      {"held by another thread", 0, 1, TryEnter::busy},
      {"held twice by another thread", 0, 2, TryEnter::busy},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CriticalSection section;
    Event done(EventReset::manual, false);
    for (int i = 0; i < c.held_here; ++i) section.enter();
    auto other = hold_elsewhere(section, c.held_elsewhere, done);
    clock_.advance(0);
    const TryEnter result = section.try_enter();
    EXPECT_EQ(result, c.expected);
    const int entered_here = c.held_here + (result == TryEnter::entered ? 1 : 0);
    for (int i = 0; i < entered_here; ++i) EXPECT_TRUE(section.leave());
    EXPECT_FALSE(section.leave()) << "left more often than entered";
    done.set();
    wait_for(*other, kInfinite);
    EXPECT_EQ(section.try_enter(), TryEnter::entered) << "free once everyone has left";
    section.leave();
  }
}

TEST_F(CriticalSectionTest, EnterWaitsUntilTheHolderHasLeftEveryLevel) {
  CriticalSection section;
  section.enter();
  section.enter();
  std::atomic<Millis> entered_at{0};
  auto waiter = Thread::start([&] {
    section.enter();
    entered_at = elapsed();
    section.leave();
    return 0u;
  });
  clock_.advance(50);
  EXPECT_TRUE(section.leave());
  clock_.advance(50);
  EXPECT_FALSE(waiter->has_ended());
  EXPECT_TRUE(section.leave());
  EXPECT_TRUE(wait_for(*waiter, kInfinite).signalled());
  EXPECT_EQ(entered_at, 100u);
}

TEST_F(CriticalSectionTest, ANonHolderCannotLeave) {
  CriticalSection section;
  Event done(EventReset::manual, false);
  auto other = hold_elsewhere(section, 1, done);
  clock_.advance(0);
  EXPECT_FALSE(section.leave());
  EXPECT_EQ(section.try_enter(), TryEnter::busy) << "still held by its owner";
  done.set();
}

TEST_F(CriticalSectionTest, EnteringIsNotCutShortByAStop) {
  CriticalSection section;
  section.enter();
  std::atomic<bool> entered{false};
  auto waiter = Thread::start([&] {
    section.enter();
    entered = true;
    section.leave();
    return 0u;
  });
  clock_.advance(0);
  waiter->request_stop();
  clock_.advance(10);
  EXPECT_FALSE(entered);
  section.leave();
  EXPECT_TRUE(wait_for(*waiter, kInfinite).signalled());
  EXPECT_TRUE(entered);
}

}  // namespace
}  // namespace ductra::platform

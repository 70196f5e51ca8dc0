#include "appplatform/thread.h"

#include <gtest/gtest.h>

#include <atomic>

#include "appplatform/event.h"
#include "appplatform/wait.h"
#include "virtual_time.h"

namespace ductra::platform {
namespace {

using ThreadTest = VirtualTimeTest;

TEST_F(ThreadTest, SuspendedThreadRunsOnlyAfterResume) {
  std::atomic<bool> ran{false};
  auto thread = Thread::start(
      [&] {
        ran = true;
        return 5u;
      },
      {.suspended = true});
  ASSERT_NE(thread, nullptr);
  clock_.advance(1000);
  EXPECT_FALSE(ran);
  EXPECT_EQ(wait_for(*thread, 0).status, WaitStatus::timeout);
  thread->resume();
  EXPECT_TRUE(wait_for(*thread, kInfinite).signalled());
  EXPECT_TRUE(ran);
  EXPECT_EQ(thread->exit_code(), 5u);
  EXPECT_TRUE(wait_for(*thread, 0).signalled()) << "an ended thread stays signalled";
}

TEST_F(ThreadTest, ThreadStoppedBeforeResumeNeverRunsItsBody) {
  std::atomic<bool> ran{false};
  auto thread = Thread::start(
      [&] {
        ran = true;
        return 5u;
      },
      {.suspended = true});
  thread->request_stop();
  EXPECT_TRUE(wait_for(*thread, kInfinite).signalled());
  EXPECT_FALSE(ran);
  EXPECT_EQ(thread->exit_code(), std::nullopt);
}

TEST_F(ThreadTest, ThreadStartedRunningRunsItsBodyEvenWhenStoppedAtOnce) {
  for (int round = 0; round < 20; ++round) {
    auto thread = Thread::start([] { return sleep_for(kInfinite) ? 1u : 2u; });
    thread->request_stop();
    EXPECT_TRUE(wait_for(*thread, kInfinite).signalled());
    EXPECT_EQ(thread->exit_code(), 2u) << "the body ran and its sleep was cut short";
  }
}

TEST_F(ThreadTest, PrioritiesAreRecordedWithinTheirRange) {
  EXPECT_EQ(Thread::start([] { return 0u; }, {.priority = -1}), nullptr);
  EXPECT_EQ(Thread::start([] { return 0u; }, {.priority = 8}), nullptr);
  auto thread = Thread::start([] { return 0u; }, {.suspended = true, .priority = kPriorityHighest});
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(thread->priority(), kPriorityHighest);
  EXPECT_TRUE(thread->set_priority(kPriorityNormal));
  EXPECT_FALSE(thread->set_priority(8));
  EXPECT_EQ(thread->priority(), kPriorityNormal);
}

TEST_F(ThreadTest, DestroyingTheOwnerStopsABlockedThreadAndWaitsForItsEnd) {
  Event never(EventReset::manual, false);
  std::atomic<bool> cleaned_up{false};
  auto thread = Thread::start([&] {
    wait_for(never, kInfinite);
    cleaned_up = true;
    return 0u;
  });
  clock_.advance(0);
  thread.reset();
  EXPECT_TRUE(cleaned_up);
}

TEST_F(ThreadTest, CurrentContextIsTheThreadsOwn) {
  std::atomic<ThreadContext*> seen{nullptr};
  auto thread = Thread::start([&] {
    seen = &ThreadContext::current();
    return 0u;
  });
  wait_for(*thread, kInfinite);
  EXPECT_EQ(seen, thread->context().get());
  EXPECT_NE(seen, &ThreadContext::current());
}

}  // namespace
}  // namespace ductra::platform

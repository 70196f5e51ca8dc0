#include "appplatform/wait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <vector>

#include "appplatform/event.h"
#include "appplatform/sent_message_service.h"
#include "appplatform/thread.h"
#include "virtual_time.h"

namespace ductra::platform {
namespace {

using WaitTest = VirtualTimeTest;

// A kind whose previous owner always ended without releasing it.
class AbandonedObject final : public Waitable {
 public:
  Acquire try_acquire() override { return Acquire::abandoned; }
};

TEST_F(WaitTest, TimedWaitReturnsAtItsDeadlineAndNotBefore) {
  Event never(EventReset::manual, false);
  std::atomic<WaitStatus> status{WaitStatus::failed};
  std::atomic<Millis> woke_at{0};
  auto waiter = Thread::start([&] {
    status = wait_for(never, 5000).status;
    woke_at = elapsed();
    return 0u;
  });
  ASSERT_NE(waiter, nullptr);
  clock_.advance(4999);
  EXPECT_FALSE(waiter->has_ended());
  clock_.advance(1);
  EXPECT_TRUE(waiter->has_ended());
  EXPECT_EQ(status, WaitStatus::timeout);
  EXPECT_EQ(woke_at, 5000u);
}

TEST_F(WaitTest, ResultsOfOneCall) {
  Event on(EventReset::manual, true);
  Event off(EventReset::manual, false);
  Event also_on(EventReset::manual, true);
  AbandonedObject abandoned;
  std::vector<Waitable*> too_many(kMaxWaitObjects + 1, &on);
  std::vector<Waitable*> most(kMaxWaitObjects, &off);
  most.back() = &on;
  struct Case {
    const char* what;
    std::vector<Waitable*> objects;
    WaitResult expected;
    std::uint32_t code;
  };
  const Case cases[] = {
      {"one signalled", {&on}, {WaitStatus::object, 0}, 0},
      {"first signalled of several wins", {&off, &on, &also_on}, {WaitStatus::object, 1}, 1},
      {"the last of the most allowed", most, {WaitStatus::object, kMaxWaitObjects - 1}, 63},
      {"abandoned", {&off, &abandoned}, {WaitStatus::abandoned, 1}, 0x81},
      {"none signalled, zero time-out", {&off}, {WaitStatus::timeout, 0}, 0x102},
      {"no objects", {}, {WaitStatus::failed, 0}, 0xFFFFFFFF},
      {"a null object", {&on, nullptr}, {WaitStatus::failed, 0}, 0xFFFFFFFF},
      {"too many objects", too_many, {WaitStatus::failed, 0}, 0xFFFFFFFF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const WaitResult result = wait_any(c.objects, 0);
    EXPECT_EQ(result, c.expected);
    EXPECT_EQ(result.code(), c.code);
  }
  EXPECT_EQ(WaitResult{WaitStatus::stopped}.code(), 0xFFFFFFFFu);
  EXPECT_EQ(elapsed(), 0u);
}

TEST_F(WaitTest, WaitEndsWhenAnotherThreadSignals) {
  Event first(EventReset::manual, false);
  Event second(EventReset::manual, false);
  std::atomic<std::size_t> index{99};
  auto waiter = Thread::start([&] {
    Waitable* const objects[] = {&first, &second};
    index = wait_any(objects, kInfinite).index;
    return 0u;
  });
  clock_.advance(10);
  EXPECT_FALSE(waiter->has_ended());
  second.set();
  EXPECT_TRUE(wait_for(*waiter, kInfinite).signalled());
  EXPECT_EQ(index, 1u);
  EXPECT_EQ(elapsed(), 10u);
}

TEST_F(WaitTest, StoppedThreadLeavesAnEndlessWaitAtOnce) {
  Event never(EventReset::manual, false);
  std::atomic<WaitStatus> status{WaitStatus::failed};
  auto waiter = Thread::start([&] {
    status = wait_for(never, kInfinite).status;
    return 7u;
  });
  clock_.advance(0);
  waiter->request_stop();
  EXPECT_TRUE(wait_for(*waiter, kInfinite).signalled());
  EXPECT_EQ(status, WaitStatus::stopped);
  EXPECT_EQ(waiter->exit_code(), 7u);
  EXPECT_EQ(elapsed(), 0u);
}

TEST_F(WaitTest, StopAlsoEndsSleepsAndLaterWaitsButNotUnstoppableOnes) {
  Event gate(EventReset::manual, false);
  std::atomic<bool> slept_fully{true};
  std::atomic<WaitStatus> later{WaitStatus::failed};
  std::atomic<WaitStatus> unstoppable{WaitStatus::failed};
  auto sleeper = Thread::start([&] {
    slept_fully = sleep_for(kInfinite);
    later = wait_for(gate, 100).status;
    unstoppable = wait_for(gate, 100, {.stoppable = false}).status;
    return 0u;
  });
  clock_.advance(50);
  sleeper->request_stop();
  clock_.advance(100);
  EXPECT_TRUE(sleeper->has_ended());
  EXPECT_FALSE(slept_fully);
  EXPECT_EQ(later, WaitStatus::stopped);
  EXPECT_EQ(unstoppable, WaitStatus::timeout);
}

TEST_F(WaitTest, SleepsWakeAtTheirExactTimesInOrder) {
  std::mutex mutex;
  std::vector<std::pair<char, Millis>> wakes;
  auto record = [&](char who) {
    std::lock_guard lock(mutex);
    wakes.emplace_back(who, elapsed());
  };
  auto slow = Thread::start([&] {
    sleep_for(250);
    record('s');
    return 0u;
  });
  auto fast = Thread::start([&] {
    for (int i = 0; i < 3; ++i) {
      sleep_for(100);
      record('f');
    }
    return 0u;
  });
  clock_.advance(1000);
  const std::vector<std::pair<char, Millis>> expected = {{'f', 100}, {'f', 200}, {'s', 250}, {'f', 300}};
  EXPECT_EQ(wakes, expected);
  EXPECT_EQ(elapsed(), 1000u);
}

// Messages sent to a thread, answered by its own waits.
class SentQueue final : public SentMessageService {
 public:
  // Called by the sender: queues the message and wakes the owner.
  void send(int message, ThreadContext& owner) {
    {
      std::lock_guard lock(mutex_);
      pending_.push_back(message);
    }
    owner.wake();
  }

  bool service_sent_messages() override {
    std::deque<int> taken;
    {
      std::lock_guard lock(mutex_);
      taken.swap(pending_);
    }
    for (int message : taken) {
      answered_ += message;
      answer_.set();
    }
    return !taken.empty();
  }

  Event answer_{EventReset::automatic, false};
  std::atomic<int> answered_{0};

 private:
  std::mutex mutex_;
  std::deque<int> pending_;
};

TEST_F(WaitTest, WaitOfAWindowOwnerAnswersSentMessages) {
  SentQueue queue;
  Event done(EventReset::manual, false);
  std::atomic<WaitStatus> status{WaitStatus::failed};
  auto owner = Thread::start([&] {
    ThreadContext::current().set_sent_message_service(&queue);
    status = wait_for(done, kInfinite).status;
    ThreadContext::current().set_sent_message_service(nullptr);
    return 0u;
  });
  clock_.advance(0);
  for (int message : {3, 4}) {
    queue.send(message, *owner->context());
    ASSERT_TRUE(wait_for(queue.answer_, kInfinite).signalled());
  }
  EXPECT_EQ(queue.answered_, 7);
  EXPECT_FALSE(owner->has_ended());
  done.set();
  EXPECT_TRUE(wait_for(*owner, kInfinite).signalled());
  EXPECT_EQ(status, WaitStatus::object);
}

// A message handler that itself waits (a nested wait on the same thread)
// must not make the outer wait miss what happened meanwhile.
class NestedWaitingHandler final : public SentMessageService {
 public:
  explicit NestedWaitingHandler(Event& inner) : inner_(inner) {}
  bool service_sent_messages() override {
    if (!pending_.exchange(false)) return false;
    nested_ = wait_for(inner_, kInfinite).status;
    return true;
  }
  std::atomic<bool> pending_{false};
  std::atomic<WaitStatus> nested_{WaitStatus::failed};

 private:
  Event& inner_;
};

TEST_F(WaitTest, NestedWaitInAHandlerLosesNoWakeOfTheOuterWait) {
  Event inner(EventReset::manual, false);
  Event outer(EventReset::manual, false);
  NestedWaitingHandler handler(inner);
  std::atomic<WaitStatus> status{WaitStatus::failed};
  auto owner = Thread::start([&] {
    ThreadContext::current().set_sent_message_service(&handler);
    status = wait_for(outer, kInfinite).status;
    ThreadContext::current().set_sent_message_service(nullptr);
    return 0u;
  });
  clock_.advance(0);
  handler.pending_ = true;
  owner->context()->wake();
  clock_.advance(0);
  outer.set();  // wakes the nested wait, which goes back to sleep
  clock_.advance(0);
  EXPECT_FALSE(owner->has_ended());
  inner.set();
  EXPECT_TRUE(wait_for(*owner, kInfinite).signalled());
  EXPECT_EQ(handler.nested_, WaitStatus::object);
  EXPECT_EQ(status, WaitStatus::object);
}

TEST_F(WaitTest, WaitThatDoesNotServiceLeavesSentMessagesQueued) {
  SentQueue queue;
  ThreadContext::current().set_sent_message_service(&queue);
  queue.send(5, ThreadContext::current());
  Event off(EventReset::manual, false);
  EXPECT_EQ(wait_for(off, 0, {.services_sent_messages = false}).status, WaitStatus::timeout);
  EXPECT_EQ(queue.answered_, 0);
  EXPECT_EQ(wait_for(off, 0).status, WaitStatus::timeout);
  EXPECT_EQ(queue.answered_, 5);
  ThreadContext::current().set_sent_message_service(nullptr);
}

}  // namespace
}  // namespace ductra::platform

#include "appplatform/event.h"

#include <gtest/gtest.h>

#include <atomic>

#include "appplatform/thread.h"
#include "appplatform/wait.h"
#include "virtual_time.h"

namespace ductra::platform {
namespace {

using EventTest = VirtualTimeTest;

TEST_F(EventTest, WaitsPassAsTheKindAndStateSay) {
  struct Case {
    const char* what;
    EventReset reset;
    bool initially;
    bool set_before;
    bool reset_before;
    WaitStatus first;
    WaitStatus second;
  };
  constexpr WaitStatus kObject = WaitStatus::object;
  constexpr WaitStatus kTimeout = WaitStatus::timeout;
  const Case cases[] = {
      {"manual, created signalled", EventReset::manual, true, false, false, kObject, kObject},
      {"manual, created clear", EventReset::manual, false, false, false, kTimeout, kTimeout},
      {"manual, set", EventReset::manual, false, true, false, kObject, kObject},
      {"manual, set then reset", EventReset::manual, false, true, true, kTimeout, kTimeout},
      {"auto, created signalled", EventReset::automatic, true, false, false, kObject, kTimeout},
      {"auto, created clear", EventReset::automatic, false, false, false, kTimeout, kTimeout},
      {"auto, set twice passes once", EventReset::automatic, false, true, false, kObject, kTimeout},
      {"auto, set then reset", EventReset::automatic, true, true, true, kTimeout, kTimeout},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Event event(c.reset, c.initially);
    if (c.set_before) {
      event.set();
      event.set();
    }
    if (c.reset_before) event.reset();
    EXPECT_EQ(wait_for(event, 0).status, c.first);
    EXPECT_EQ(wait_for(event, 0).status, c.second);
    EXPECT_EQ(event.is_signalled(), c.second == kObject);
  }
}

TEST_F(EventTest, AutoResetLetsOneOfTwoWaitersThroughPerSet) {
  Event event(EventReset::automatic, false);
  std::atomic<int> passed{0};
  auto body = [&] {
    while (wait_for(event, kInfinite).signalled()) ++passed;
    return 0u;
  };
  auto first = Thread::start(body);
  auto second = Thread::start(body);
  for (int sets = 1; sets <= 3; ++sets) {
    event.set();
    clock_.advance(0);
    EXPECT_EQ(passed, sets);
    EXPECT_FALSE(event.is_signalled());
  }
}

TEST_F(EventTest, ManualResetLetsEveryWaiterThroughAndStaysSet) {
  Event event(EventReset::manual, false);
  std::atomic<int> passed{0};
  auto body = [&] {
    if (wait_for(event, kInfinite).signalled()) ++passed;
    return 0u;
  };
  auto first = Thread::start(body);
  auto second = Thread::start(body);
  clock_.advance(0);
  EXPECT_EQ(passed, 0);
  event.set();
  EXPECT_TRUE(wait_for(*first, kInfinite).signalled());
  EXPECT_TRUE(wait_for(*second, kInfinite).signalled());
  EXPECT_EQ(passed, 2);
  EXPECT_TRUE(event.is_signalled());
}

}  // namespace
}  // namespace ductra::platform

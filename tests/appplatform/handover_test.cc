// A waiter that is let through may free the object at once: a common way to
// hand over one answer is an event on the waiter's own stack, signalled by
// the thread that answers. The signalling call must be done with the object
// before any waiter can pass it.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "appplatform/event.h"
#include "appplatform/semaphore.h"
#include "appplatform/shared_event.h"
#include "appplatform/wait.h"
#include "tests/appplatform/device_fixture.h"

namespace ductra::platform {
namespace {

constexpr int kRounds = 3000;
// A shared event starts a watcher thread of its own: fewer rounds.
constexpr int kSharedRounds = 300;

// Each round makes a fresh object, hands it to a signalling thread, waits
// for it and frees it the moment the wait has passed.
void free_each_object_once_through(const std::function<std::unique_ptr<Waitable>()>& make,
                                   const std::function<void(Waitable&)>& signal, int rounds = kRounds) {
  std::atomic<Waitable*> handed{nullptr};
  std::atomic<bool> done{false};
  std::thread signaller([&] {
    while (!done) {
      if (Waitable* object = handed.exchange(nullptr)) signal(*object);
    }
  });
  int passed = 0;
  for (int round = 0; round < rounds; ++round) {
    std::unique_ptr<Waitable> object = make();
    handed = object.get();
    if (wait_for(*object, kInfinite).signalled()) ++passed;
  }
  done = true;
  signaller.join();
  EXPECT_EQ(passed, rounds);
}

TEST(HandoverTest, AWaiterMayFreeTheObjectAsSoonAsItIsThrough) {
  struct Case {
    const char* what;
    std::function<std::unique_ptr<Waitable>()> make;
    std::function<void(Waitable&)> signal;
  };
  const Case cases[] = {
      {"auto-reset event", [] { return std::make_unique<Event>(EventReset::automatic, false); },
       [](Waitable& object) { static_cast<Event&>(object).set(); }},
      {"manual-reset event", [] { return std::make_unique<Event>(EventReset::manual, false); },
       [](Waitable& object) { static_cast<Event&>(object).set(); }},
      {"semaphore", [] { return std::make_unique<Semaphore>(0, 1); },
       [](Waitable& object) { static_cast<Semaphore&>(object).release(1); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    free_each_object_once_through(c.make, c.signal);
  }
}

class SharedHandoverTest : public testing::DeviceFixture {};

TEST_F(SharedHandoverTest, AWaiterMayFreeASharedEventAsSoonAsItIsThrough) {
  free_each_object_once_through(
      [this]() -> std::unique_ptr<Waitable> {
        std::unique_ptr<SharedEvent> event;
        EXPECT_EQ(SharedEvent::create(runtime(), u"handed over", EventReset::automatic, false, &event), Status::ok);
        return event;
      },
      [](Waitable& object) { static_cast<SharedEvent&>(object).set(); }, kSharedRounds);
}

}  // namespace
}  // namespace ductra::platform

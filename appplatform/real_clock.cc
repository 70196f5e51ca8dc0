#include "appplatform/real_clock.h"

#include <chrono>

#include "appplatform/waiter.h"

namespace ductra::platform {

namespace {

using Steady = std::chrono::steady_clock;

}  // namespace

Millis RealClock::now() const {
  const auto since_epoch = Steady::now().time_since_epoch();
  return static_cast<Millis>(std::chrono::duration_cast<std::chrono::milliseconds>(since_epoch).count());
}

void RealClock::block(Waiter& waiter, std::optional<Millis> deadline) {
  std::unique_lock lock(waiter.mutex_);
  if (!deadline) {
    waiter.wake_.wait(lock, [&] { return waiter.notified_; });
    return;
  }
  const Steady::time_point until{std::chrono::milliseconds(*deadline)};
  waiter.wake_.wait_until(lock, until, [&] { return waiter.notified_; });
}

}  // namespace ductra::platform

#include "appplatform/clock.h"

#include <atomic>

#include "appplatform/real_clock.h"

namespace ductra::platform {

namespace {

RealClock& real_clock() {
  static RealClock clock;
  return clock;
}

std::atomic<Clock*>& current_clock() {
  static std::atomic<Clock*> clock{&real_clock()};
  return clock;
}

}  // namespace

Clock& process_clock() { return *current_clock().load(); }

std::uint32_t tick_count() { return static_cast<std::uint32_t>(process_clock().now()); }

ScopedClock::ScopedClock(Clock& clock) : previous_(current_clock().exchange(&clock)) {}

ScopedClock::~ScopedClock() { current_clock().store(previous_); }

}  // namespace ductra::platform

#include "appplatform/timer.h"

#include <algorithm>

namespace ductra::platform {

Timer::Timer(std::uint32_t period_ms) : clock_(process_clock()) { restart(period_ms); }

void Timer::restart(std::uint32_t period_ms) {
  {
    std::lock_guard lock(mutex_);
    period_ = std::max<Millis>(period_ms, 1);
    due_ = clock_.now() + period_;
  }
  notify_waiters();
}

Acquire Timer::try_acquire() {
  const Millis now = clock_.now();
  std::lock_guard lock(mutex_);
  if (now < due_) return Acquire::not_signalled;
  const Millis periods_passed = (now - due_) / period_ + 1;
  due_ += periods_passed * period_;
  return Acquire::signalled;
}

std::optional<Millis> Timer::wake_time() const {
  std::lock_guard lock(mutex_);
  return due_;
}

}  // namespace ductra::platform

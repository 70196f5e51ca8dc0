#include "appplatform/semaphore.h"

namespace ductra::platform {

bool Semaphore::arguments_valid(std::int32_t initial, std::int32_t maximum) {
  return maximum > 0 && initial >= 0 && initial <= maximum;
}

std::shared_ptr<Semaphore> Semaphore::create(std::int32_t initial, std::int32_t maximum) {
  if (!arguments_valid(initial, maximum)) return nullptr;
  return std::make_shared<Semaphore>(initial, maximum);
}

// As with an event, the waiters are told under the lock: a waiter let
// through may free the semaphore at once.
std::optional<std::int32_t> Semaphore::release(std::int32_t count) {
  std::lock_guard lock(mutex_);
  if (count <= 0 || count > maximum_ - count_) return std::nullopt;
  const std::int32_t previous = count_;
  count_ += count;
  notify_waiters();
  return previous;
}

std::int32_t Semaphore::count() const {
  std::lock_guard lock(mutex_);
  return count_;
}

Acquire Semaphore::try_acquire() {
  std::lock_guard lock(mutex_);
  if (count_ == 0) return Acquire::not_signalled;
  --count_;
  return Acquire::signalled;
}

}  // namespace ductra::platform

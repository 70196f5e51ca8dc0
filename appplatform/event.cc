#include "appplatform/event.h"

namespace ductra::platform {

// The waiters are told while the lock is held, so none takes the signal (and
// perhaps frees the event) before set() is done with it.
void Event::set() {
  std::lock_guard lock(mutex_);
  signalled_ = true;
  notify_waiters();
}

void Event::reset() {
  std::lock_guard lock(mutex_);
  signalled_ = false;
}

bool Event::is_signalled() const {
  std::lock_guard lock(mutex_);
  return signalled_;
}

Acquire Event::try_acquire() {
  std::lock_guard lock(mutex_);
  if (!signalled_) return Acquire::not_signalled;
  if (reset_ == EventReset::automatic) signalled_ = false;
  return Acquire::signalled;
}

}  // namespace ductra::platform

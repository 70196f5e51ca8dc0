#include "appplatform/event.h"

namespace ductra::platform {

void Event::set() {
  {
    std::lock_guard lock(mutex_);
    signalled_ = true;
  }
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

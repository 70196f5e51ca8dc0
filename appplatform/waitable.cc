#include "appplatform/waitable.h"

#include <algorithm>

#include "appplatform/waiter.h"

namespace ductra::platform {

void Waitable::subscribe(Waiter& waiter) {
  std::lock_guard lock(waiters_mutex_);
  waiters_.push_back(&waiter);
}

void Waitable::unsubscribe(Waiter& waiter) {
  std::lock_guard lock(waiters_mutex_);
  if (auto it = std::find(waiters_.begin(), waiters_.end(), &waiter); it != waiters_.end()) waiters_.erase(it);
}

void Waitable::notify_waiters() {
  std::lock_guard lock(waiters_mutex_);
  for (Waiter* waiter : waiters_) waiter->notify();
}

}  // namespace ductra::platform

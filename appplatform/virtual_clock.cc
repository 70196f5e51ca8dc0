#include "appplatform/virtual_clock.h"

#include <algorithm>

#include "appplatform/waiter.h"

namespace ductra::platform {

Millis VirtualClock::now() const {
  std::lock_guard lock(mutex_);
  return now_;
}

void VirtualClock::block(Waiter& waiter, std::optional<Millis> deadline) {
  {
    std::lock_guard lock(mutex_);
    if (deadline && *deadline <= now_) return;
    blocked_[&waiter] = deadline;
  }
  changed_.notify_all();
  {
    std::unique_lock lock(waiter.mutex_);
    waiter.wake_.wait(lock, [&] { return waiter.notified_; });
  }
  std::lock_guard lock(mutex_);
  blocked_.erase(&waiter);
}

void VirtualClock::register_thread(Waiter& waiter) {
  std::lock_guard lock(mutex_);
  registered_.insert(&waiter);
}

void VirtualClock::unregister_thread(Waiter& waiter) {
  {
    std::lock_guard lock(mutex_);
    if (auto it = registered_.find(&waiter); it != registered_.end()) registered_.erase(it);
  }
  changed_.notify_all();
}

void VirtualClock::advance(Millis ms) {
  std::unique_lock lock(mutex_);
  const Millis target = now_ + ms;
  for (;;) {
    changed_.wait(lock, [this] { return all_registered_blocked(); });
    const std::optional<Millis> next = earliest_pending_deadline();
    if (!next || *next > target) break;
    now_ = std::max(now_, *next);
    wake_due();
  }
  now_ = target;
}

bool VirtualClock::all_registered_blocked() const {
  return std::all_of(registered_.begin(), registered_.end(), [this](Waiter* waiter) {
    return blocked_.contains(waiter) && !waiter->notified();
  });
}

std::optional<Millis> VirtualClock::earliest_pending_deadline() const {
  std::optional<Millis> earliest;
  for (const auto& [waiter, deadline] : blocked_) {
    if (deadline && !waiter->notified() && (!earliest || *deadline < *earliest)) earliest = deadline;
  }
  return earliest;
}

void VirtualClock::wake_due() {
  for (const auto& [waiter, deadline] : blocked_) {
    if (deadline && *deadline <= now_) waiter->notify();
  }
}

}  // namespace ductra::platform

#include "appplatform/waiter.h"

namespace ductra::platform {

void Waiter::notify() {
  {
    std::lock_guard lock(mutex_);
    notified_ = true;
  }
  wake_.notify_all();
}

void Waiter::clear() {
  std::lock_guard lock(mutex_);
  notified_ = false;
}

bool Waiter::notified() const {
  std::lock_guard lock(mutex_);
  return notified_;
}

}  // namespace ductra::platform

// The thing a blocked thread sleeps on.
//
// Every thread that waits through this library owns one Waiter. Objects the
// thread waits on call notify() whenever their state may have changed; the
// clock blocks the thread on it until notified or a deadline passes. A
// notification that arrives before the thread blocks is kept, so none is
// lost between polling the objects and going to sleep.
#pragma once

#include <condition_variable>
#include <mutex>

namespace ductra::platform {

class Waiter {
 public:
  Waiter() = default;
  Waiter(const Waiter&) = delete;
  Waiter& operator=(const Waiter&) = delete;

  // Wakes the owner (or keeps the wake-up for its next block). Any thread.
  void notify();

  // Forgets earlier notifications; the owner calls it before it polls.
  void clear();

  bool notified() const;

 private:
  friend class RealClock;
  friend class VirtualClock;

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool notified_ = false;
};

}  // namespace ductra::platform

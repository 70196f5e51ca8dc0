// Test time: a clock that moves only when told to, and only when every
// registered thread is blocked.
//
// Threads started by this library register themselves. advance() is called
// by a thread that is not registered (a test's own thread); it waits until
// all registered threads are blocked, then moves time deadline by deadline,
// waking what falls due at each step and letting it run until everything is
// blocked again. So a timed wait, a sleep or a timer fires at its exact
// millisecond, in order, with no real time passing. A registered thread that
// never blocks holds advance() until it does.
#pragma once

#include <condition_variable>
#include <map>
#include <mutex>
#include <set>

#include "appplatform/clock.h"

namespace ductra::platform {

class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(Millis start = 0) : now_(start) {}

  Millis now() const override;
  void block(Waiter& waiter, std::optional<Millis> deadline) override;
  void register_thread(Waiter& waiter) override;
  void unregister_thread(Waiter& waiter) override;

  // Moves time forward by `ms` as described above. Returns with every
  // registered thread blocked; advance(0) only waits for that.
  void advance(Millis ms);

 private:
  bool all_registered_blocked() const;
  std::optional<Millis> earliest_pending_deadline() const;
  void wake_due();

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  Millis now_;
  std::multiset<Waiter*> registered_;
  std::map<Waiter*, std::optional<Millis>> blocked_;
};

}  // namespace ductra::platform

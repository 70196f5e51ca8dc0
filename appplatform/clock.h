// The one source of time under sleeps, timed waits, the tick count and timers.
//
// The process has one current clock: real monotonic time unless a test has
// installed a VirtualClock. Every blocking call of this library goes through
// Clock::block, so a virtual clock sees which threads are blocked and can move
// time exactly when all of them are.
#pragma once

#include <cstdint>
#include <optional>

namespace ductra::platform {

class Waiter;

// Milliseconds on the clock's monotonic scale.
using Millis = std::uint64_t;

class Clock {
 public:
  virtual ~Clock() = default;

  virtual Millis now() const = 0;

  // Blocks the calling thread, the owner of `waiter`, until the waiter is
  // notified or `deadline` (when given) is reached. May return early; callers
  // re-check what they wait for.
  virtual void block(Waiter& waiter, std::optional<Millis> deadline) = 0;

  // A thread whose blocking the clock must see before time may move. Real
  // time ignores these.
  virtual void register_thread(Waiter& waiter) = 0;
  virtual void unregister_thread(Waiter& waiter) = 0;
};

// The process's current clock.
Clock& process_clock();

// The system tick count: milliseconds of the current clock, wrapping at 2^32.
std::uint32_t tick_count();

// Makes `clock` the process's clock for the guard's life. Install it before
// any thread of this library starts and remove it after all have ended.
class ScopedClock {
 public:
  explicit ScopedClock(Clock& clock);
  ~ScopedClock();
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;

 private:
  Clock* previous_;
};

}  // namespace ductra::platform

// An object a thread can wait on: events, semaphores, threads, timers, and
// any kind another part of the platform adds.
//
// A kind says two things: whether the calling thread can take the object now
// (try_acquire, which also consumes what a successful wait consumes: an
// auto-reset event's signal, a semaphore's count), and, when time alone will
// make it signalled, at what time (wake_time). Whenever its state changes in
// a way that might let a waiter through, it calls notify_waiters(); the
// subscription keeps that from being missed between a poll and a block. It
// makes that call still holding the lock its try_acquire takes: a waiter let
// through may free the object at once, so the signalling call must be done
// with it before any waiter can pass. A kind whose state changes outside
// this process must arrange that call itself (for example from a watcher
// thread).
#pragma once

#include <mutex>
#include <optional>
#include <vector>

#include "appplatform/clock.h"

namespace ductra::platform {

class Waiter;

enum class Acquire {
  not_signalled,
  signalled,
  abandoned,  // taken, but its previous owner ended without releasing it
};

class Waitable {
 public:
  Waitable() = default;
  Waitable(const Waitable&) = delete;
  Waitable& operator=(const Waitable&) = delete;
  virtual ~Waitable() = default;

  // Takes the object for the calling thread when it is signalled. Never blocks.
  virtual Acquire try_acquire() = 0;

  // When the object will become signalled by the passing of time alone.
  virtual std::optional<Millis> wake_time() const { return std::nullopt; }

  // The waiter is notified at every change until unsubscribed. A waiter may
  // subscribe more than once (nested waits); each subscribe needs its own
  // unsubscribe.
  void subscribe(Waiter& waiter);
  void unsubscribe(Waiter& waiter);

 protected:
  void notify_waiters();

 private:
  std::mutex waiters_mutex_;
  std::vector<Waiter*> waiters_;
};

}  // namespace ductra::platform

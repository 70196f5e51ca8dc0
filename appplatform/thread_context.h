// What this library knows about one thread: its waiter, its stop request,
// its priority and its sent-message hook.
//
// Every thread has one, made on first use; threads started by Thread get
// theirs from it. Other threads (the window server, a sender) keep a
// shared_ptr to reach a thread: wake() to make its current wait re-check,
// request_stop() to end its waits.
#pragma once

#include <atomic>
#include <memory>

#include "appplatform/waiter.h"

namespace ductra::platform {

class SentMessageService;

// Priorities as the application names them: 0 (time critical) is the highest,
// 7 (idle) the lowest. They are recorded, not applied.
inline constexpr int kPriorityHighest = 1;
inline constexpr int kPriorityNormal = 3;
inline constexpr int kPriorityLowestLevel = 7;

class ThreadContext {
 public:
  ThreadContext() = default;
  ThreadContext(const ThreadContext&) = delete;
  ThreadContext& operator=(const ThreadContext&) = delete;

  // The calling thread's context.
  static ThreadContext& current();
  static std::shared_ptr<ThreadContext> current_shared();

  // Makes `context` the calling thread's context; Thread calls it first thing
  // on the new thread.
  static void adopt(std::shared_ptr<ThreadContext> context);

  Waiter& waiter() { return waiter_; }

  // Makes the thread's current wait (if any) poll again. Any thread.
  void wake() { waiter_.notify(); }

  // Asks the thread to end: its current wait and every later stoppable wait
  // return WaitStatus::stopped at once. Any thread; cannot be undone.
  void request_stop();
  bool stop_requested() const { return stop_requested_.load(); }

  // False (and nothing changes) outside 0..7.
  bool set_priority(int priority);
  int priority() const { return priority_.load(); }

  // Installed by the thread itself; null removes it.
  void set_sent_message_service(SentMessageService* service) { sent_message_service_.store(service); }
  SentMessageService* sent_message_service() const { return sent_message_service_.load(); }

 private:
  Waiter waiter_;
  std::atomic<bool> stop_requested_{false};
  std::atomic<int> priority_{kPriorityNormal};
  std::atomic<SentMessageService*> sent_message_service_{nullptr};
};

}  // namespace ductra::platform

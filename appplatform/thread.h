// A thread of the application, and the object to wait on for its end.
//
// A thread may start suspended, records its priority, and is stopped only
// cooperatively: request_stop() makes its current and later waits and sleeps
// return at once (WaitStatus::stopped), and its body returns on its own.
// Nothing ends a thread from outside. The owner object asks for that stop
// and waits for the end when it is destroyed; destroy it from another thread
// than its own. The thread is registered with the process clock from its
// creation to its end.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "appplatform/event.h"
#include "appplatform/thread_context.h"
#include "appplatform/waitable.h"

namespace ductra::platform {

struct ThreadOptions {
  bool suspended = false;
  int priority = kPriorityNormal;
};

class Thread final : public Waitable {
 public:
  using Body = std::function<std::uint32_t()>;

  // Null when the priority is out of range or the system gives no thread.
  static std::unique_ptr<Thread> start(Body body, ThreadOptions options = {});

  ~Thread() override;

  // Lets a suspended thread run; no effect on a running one.
  void resume() { resumed_.set(); }

  void request_stop() { context_->request_stop(); }

  bool set_priority(int priority) { return context_->set_priority(priority); }
  int priority() const { return context_->priority(); }

  bool has_ended() const;

  // The body's result; empty while it runs, and for a thread stopped before
  // it was resumed (its body never ran).
  std::optional<std::uint32_t> exit_code() const;

  // How other threads reach this one (wake, stop).
  const std::shared_ptr<ThreadContext>& context() const { return context_; }

  // Signalled from the thread's end on, for every waiter.
  Acquire try_acquire() override;

 private:
  struct Key {};

 public:
  Thread(Key, Clock& clock, std::shared_ptr<ThreadContext> context);

 private:
  void run(const Body& body);
  void finish(std::optional<std::uint32_t> exit_code);

  Clock& clock_;
  std::shared_ptr<ThreadContext> context_;
  Event resumed_{EventReset::manual, false};
  mutable std::mutex mutex_;
  bool ended_ = false;
  std::optional<std::uint32_t> exit_code_;
  std::thread thread_;
};

}  // namespace ductra::platform

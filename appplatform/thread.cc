#include "appplatform/thread.h"

#include <system_error>
#include <utility>

#include "appplatform/wait.h"

namespace ductra::platform {

std::unique_ptr<Thread> Thread::start(Body body, ThreadOptions options) {
  auto context = std::make_shared<ThreadContext>();
  if (!context->set_priority(options.priority)) return nullptr;
  Clock& clock = process_clock();
  auto thread = std::make_unique<Thread>(Key{}, clock, std::move(context));
  if (!options.suspended) thread->resume();
  clock.register_thread(thread->context_->waiter());
  try {
    thread->thread_ = std::thread([raw = thread.get(), body = std::move(body)] { raw->run(body); });
  } catch (const std::system_error&) {
    clock.unregister_thread(thread->context_->waiter());
    return nullptr;
  }
  return thread;
}

Thread::Thread(Key, Clock& clock, std::shared_ptr<ThreadContext> context)
    : clock_(clock), context_(std::move(context)) {}

Thread::~Thread() {
  if (!thread_.joinable()) return;
  request_stop();
  resume();
  wait_for(*this, kInfinite, {.stoppable = false, .services_sent_messages = true});
  thread_.join();
}

void Thread::run(const Body& body) {
  ThreadContext::adopt(context_);
  // A thread started running always runs its body; a suspended one only
  // when resumed before it is stopped.
  const bool runs = resumed_.is_signalled() ||
                    wait_for(resumed_, kInfinite, {.stoppable = true, .services_sent_messages = false}).signalled();
  std::optional<std::uint32_t> exit_code;
  if (runs) exit_code = body();
  finish(exit_code);
  clock_.unregister_thread(context_->waiter());
}

void Thread::finish(std::optional<std::uint32_t> exit_code) {
  {
    std::lock_guard lock(mutex_);
    ended_ = true;
    exit_code_ = exit_code;
  }
  notify_waiters();
}

bool Thread::has_ended() const {
  std::lock_guard lock(mutex_);
  return ended_;
}

std::optional<std::uint32_t> Thread::exit_code() const {
  std::lock_guard lock(mutex_);
  return exit_code_;
}

Acquire Thread::try_acquire() { return has_ended() ? Acquire::signalled : Acquire::not_signalled; }

}  // namespace ductra::platform

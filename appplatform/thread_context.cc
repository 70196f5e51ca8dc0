#include "appplatform/thread_context.h"

#include <utility>

namespace ductra::platform {

namespace {

std::shared_ptr<ThreadContext>& current_slot() {
  thread_local std::shared_ptr<ThreadContext> context;
  return context;
}

}  // namespace

ThreadContext& ThreadContext::current() { return *current_shared(); }

std::shared_ptr<ThreadContext> ThreadContext::current_shared() {
  std::shared_ptr<ThreadContext>& slot = current_slot();
  if (!slot) slot = std::make_shared<ThreadContext>();
  return slot;
}

void ThreadContext::adopt(std::shared_ptr<ThreadContext> context) { current_slot() = std::move(context); }

void ThreadContext::request_stop() {
  stop_requested_.store(true);
  waiter_.notify();
}

bool ThreadContext::set_priority(int priority) {
  if (priority < 0 || priority > kPriorityLowestLevel) return false;
  priority_.store(priority);
  return true;
}

}  // namespace ductra::platform

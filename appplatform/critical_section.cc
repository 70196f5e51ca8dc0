#include "appplatform/critical_section.h"

#include "appplatform/thread_context.h"
#include "appplatform/wait.h"

namespace ductra::platform {

void CriticalSection::enter() {
  wait_for(ownership_, kInfinite, {.stoppable = false, .services_sent_messages = false});
}

TryEnter CriticalSection::try_enter() {
  return ownership_.try_acquire() == Acquire::signalled ? TryEnter::entered : TryEnter::busy;
}

bool CriticalSection::leave() { return ownership_.release(); }

Acquire CriticalSection::Ownership::try_acquire() {
  const ThreadContext* caller = &ThreadContext::current();
  std::lock_guard lock(mutex_);
  if (owner_ != nullptr && owner_ != caller) return Acquire::not_signalled;
  owner_ = caller;
  ++depth_;
  return Acquire::signalled;
}

bool CriticalSection::Ownership::release() {
  const ThreadContext* caller = &ThreadContext::current();
  std::lock_guard lock(mutex_);
  if (owner_ != caller) return false;
  if (--depth_ > 0) return true;
  owner_ = nullptr;
  notify_waiters();  // under the lock: the next holder may free the section
  return true;
}

}  // namespace ductra::platform

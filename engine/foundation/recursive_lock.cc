#include "engine/foundation/recursive_lock.h"

namespace inkrec {

void RecursiveLock::enter() {
  mutex_.lock();
  ++entries_;
}

void RecursiveLock::leave_all() {
  const int entries = entries_;
  entries_ = 0;
  for (int i = 0; i < entries; ++i) mutex_.unlock();
}

ConditionalGuard::ConditionalGuard(RecursiveLock& lock, bool active) : lock_(lock), active_(active) {
  if (active_) lock_.enter();
}

ConditionalGuard::~ConditionalGuard() {
  if (active_) lock_.leave_all();
}

}  // namespace inkrec

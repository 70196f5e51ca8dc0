// FailingAllocations: while one exists, the test program's global operator
// new fails (throws std::bad_alloc; the nothrow forms return null) on this
// thread once `successes` further allocations have succeeded, and keeps
// failing. AllocationCount counts the
// allocations of this thread, so a test can learn how many a build makes.
#pragma once

#include <cstddef>

namespace ductra::testing {

class FailingAllocations {
 public:
  explicit FailingAllocations(std::size_t successes);
  ~FailingAllocations();
  FailingAllocations(const FailingAllocations&) = delete;
  FailingAllocations& operator=(const FailingAllocations&) = delete;
};

// The number of allocations this thread has made since the program started.
std::size_t allocation_count();

}  // namespace ductra::testing

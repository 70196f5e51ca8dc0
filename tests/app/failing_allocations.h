// FailingAllocations: while one exists, the test program's global operator
// new fails (throws std::bad_alloc; the nothrow forms return null) on this
// thread once `successes` further allocations have succeeded, and keeps
// failing. AllocationCount counts the
// allocations of this thread, so a test can learn how many a build makes.
// ReportsWithoutMemory records error reports without allocating, so it
// works while allocations fail.
#pragma once

#include <cstddef>

#include "app/shell/controller_parts.h"

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

class ReportsWithoutMemory final : public ErrorReports {
 public:
  void show_error_box(int, int) override {}
  void report_engine_error(const ExceptionInfo& info) override {
    last = info;
    ++reports;
  }
  void report_start_failure(const EngineStartFailure&) override {}

  ExceptionInfo last;
  int reports = 0;
};

}  // namespace ductra::testing

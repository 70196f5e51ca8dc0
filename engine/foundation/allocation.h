// Non-throwing allocation for the engine.
//
// Every buffer and object the engine creates on the heap comes from here, so
// running out of memory is a result the caller can turn into a status, never
// an exception. Tests can make allocations fail on purpose with
// AllocationFailureScope.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <utility>

namespace inkrec {

// Returns `bytes` bytes of raw storage, or null when the allocation fails.
void* allocate_bytes(std::size_t bytes) noexcept;
void release_bytes(void* p) noexcept;

// Whether the next allocation must fail because a test asked for it.
bool allocation_should_fail() noexcept;

// Creates a T on the heap; null when memory runs out. The result owns it.
template <typename T, typename... Args>
std::unique_ptr<T> make_nothrow(Args&&... args) {
  if (allocation_should_fail()) return nullptr;
  return std::unique_ptr<T>(new (std::nothrow) T(std::forward<Args>(args)...));
}

// While alive, lets `successes` more allocations succeed and makes every
// later one fail. Not thread-safe; meant for single-threaded tests.
class AllocationFailureScope {
 public:
  explicit AllocationFailureScope(long successes = 0) noexcept;
  ~AllocationFailureScope();
  AllocationFailureScope(const AllocationFailureScope&) = delete;
  AllocationFailureScope& operator=(const AllocationFailureScope&) = delete;

 private:
  long saved_;
};

}  // namespace inkrec

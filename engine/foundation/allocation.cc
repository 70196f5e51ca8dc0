#include "engine/foundation/allocation.h"

namespace inkrec {
namespace {

// Allocations still allowed before failures begin; negative means unlimited.
long allowed_allocations = -1;

}  // namespace

bool allocation_should_fail() noexcept {
  if (allowed_allocations < 0) return false;
  if (allowed_allocations == 0) return true;
  --allowed_allocations;
  return false;
}

void* allocate_bytes(std::size_t bytes) noexcept {
  if (allocation_should_fail()) return nullptr;
  return ::operator new(bytes, std::nothrow);
}

void release_bytes(void* p) noexcept { ::operator delete(p); }

AllocationFailureScope::AllocationFailureScope(long successes) noexcept
    : saved_(allowed_allocations) {
  allowed_allocations = successes;
}

AllocationFailureScope::~AllocationFailureScope() { allowed_allocations = saved_; }

}  // namespace inkrec

#include "tests/app/failing_allocations.h"

#include <cstdlib>
#include <new>

namespace ductra::testing {
namespace {

thread_local bool armed = false;
thread_local std::size_t successes_left = 0;
thread_local std::size_t allocations = 0;

}  // namespace

FailingAllocations::FailingAllocations(std::size_t successes) {
  armed = true;
  successes_left = successes;
}

FailingAllocations::~FailingAllocations() { armed = false; }

std::size_t allocation_count() { return allocations; }

}  // namespace ductra::testing

void* operator new(std::size_t size) {
  using namespace ductra::testing;
  if (armed) {
    if (successes_left == 0) throw std::bad_alloc();
    --successes_left;
  }
  ++allocations;
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}

// Every other form goes through the two above, so whatever one form
// allocates any other may free (the engine and the engine client hand
// blocks across with the nothrow form).
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return ::operator new(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new[](std::size_t size, const std::nothrow_t& nothrow) noexcept {
  return ::operator new(size, nothrow);
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

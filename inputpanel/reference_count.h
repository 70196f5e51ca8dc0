// The reference count of a component object: it starts at 1, and the
// object frees itself when Release brings it to 0. Changed with interlocked
// operations, so any thread may add or release a reference.
#pragma once

#include <atomic>
#include <cstdint>

namespace ductra::quillpad {

class ReferenceCount {
 public:
  std::uint32_t add() { return count_.fetch_add(1) + 1; }
  // The count left; 0 means the caller must free the object.
  std::uint32_t release() { return count_.fetch_sub(1) - 1; }

 private:
  std::atomic<std::uint32_t> count_{1};
};

}  // namespace ductra::quillpad

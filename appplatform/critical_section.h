// A critical section: a lock inside one process that its holder may enter
// again (each enter needs its leave).
//
// Entering blocks through the process clock, so a thread waiting for the
// section counts as blocked under a virtual clock. Entering neither answers
// sent messages nor ends on a stop request: a section is held only briefly.
#pragma once

#include <cstdint>
#include <mutex>

#include "appplatform/waitable.h"

namespace ductra::platform {

class ThreadContext;

enum class TryEnter { entered, busy };

class CriticalSection {
 public:
  void enter();

  // Enters when free or held by the caller; busy when another thread holds it.
  TryEnter try_enter();

  // False, and nothing changes, when the caller does not hold the section.
  bool leave();

 private:
  // The section's ownership as something to wait on.
  class Ownership final : public Waitable {
   public:
    Acquire try_acquire() override;
    bool release();

   private:
    std::mutex mutex_;
    const ThreadContext* owner_ = nullptr;
    std::uint32_t depth_ = 0;
  };

  Ownership ownership_;
};

}  // namespace ductra::platform

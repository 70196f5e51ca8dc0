// An event: a flag threads wait for.
//
// A manual-reset event stays signalled until reset and lets every waiter
// through; an auto-reset event lets exactly one waiter through per set() and
// resets itself as it does. Thread-safe; a waiter let through may destroy
// the event at once (an answer handed over on the waiter's stack).
#pragma once

#include <mutex>

#include "appplatform/waitable.h"

namespace ductra::platform {

enum class EventReset { manual, automatic };

class Event final : public Waitable {
 public:
  Event(EventReset reset, bool initially_signalled) : reset_(reset), signalled_(initially_signalled) {}

  void set();
  void reset();
  bool is_signalled() const;

  Acquire try_acquire() override;

 private:
  const EventReset reset_;
  mutable std::mutex mutex_;
  bool signalled_;
};

}  // namespace ductra::platform

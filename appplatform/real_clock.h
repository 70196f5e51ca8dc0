// Real monotonic time (CLOCK_MONOTONIC through std::chrono::steady_clock).
//
// The product and cross-process tests run on it. Registration is not needed:
// time moves by itself.
#pragma once

#include "appplatform/clock.h"

namespace ductra::platform {

class RealClock final : public Clock {
 public:
  Millis now() const override;
  void block(Waiter& waiter, std::optional<Millis> deadline) override;
  void register_thread(Waiter&) override {}
  void unregister_thread(Waiter&) override {}
};

}  // namespace ductra::platform

// A periodic timer on the process clock.
//
// It is signalled once a period has passed since it was started, and each
// wait that takes it moves it to its next due time. A taker that comes late
// by several periods gets one firing, and the timer keeps its rhythm (the
// next due time is the first one still ahead). Thread-safe.
#pragma once

#include <cstdint>
#include <mutex>

#include "appplatform/clock.h"
#include "appplatform/waitable.h"

namespace ductra::platform {

class Timer final : public Waitable {
 public:
  // Starts now; a period of 0 counts as 1 ms.
  explicit Timer(std::uint32_t period_ms);

  // Starts again from now with a new period.
  void restart(std::uint32_t period_ms);

  Acquire try_acquire() override;
  std::optional<Millis> wake_time() const override;

 private:
  Clock& clock_;
  mutable std::mutex mutex_;
  Millis period_ = 1;
  Millis due_ = 0;
};

}  // namespace ductra::platform

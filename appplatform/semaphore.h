// A counting semaphore: each wait that passes takes one from the count;
// release() gives back, never above the maximum. Thread-safe.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

#include "appplatform/waitable.h"

namespace ductra::platform {

class Semaphore final : public Waitable {
 public:
  // A semaphore needs 0 <= initial <= maximum and maximum > 0.
  static bool arguments_valid(std::int32_t initial, std::int32_t maximum);

  // Null unless the arguments are valid.
  static std::shared_ptr<Semaphore> create(std::int32_t initial, std::int32_t maximum);

  Semaphore(std::int32_t initial, std::int32_t maximum) : count_(initial), maximum_(maximum) {}

  // Adds `count` and returns the count before; empty, and nothing changes,
  // when `count` is not positive or the sum would pass the maximum.
  std::optional<std::int32_t> release(std::int32_t count);

  std::int32_t count() const;

  Acquire try_acquire() override;

 private:
  mutable std::mutex mutex_;
  std::int32_t count_;
  const std::int32_t maximum_;
};

}  // namespace ductra::platform

#include "device/typed_result.h"

#include <functional>

#include "appplatform/clock.h"
#include "appplatform/wait.h"

namespace ductra::device {
namespace {

// How often the ring's header is looked at while waiting: the application
// tells its state through shared memory only.
constexpr std::uint32_t kLookEveryMs = 5;

// Looks at `done` until it holds; false when `limit_ms` passes first.
bool wait_until(const std::function<bool()>& done, std::uint32_t limit_ms) {
  const platform::Millis end = platform::process_clock().now() + limit_ms;
  while (!done()) {
    if (platform::process_clock().now() >= end) return false;
    platform::sleep_for(kLookEveryMs);
  }
  return true;
}

}  // namespace

bool waits_for_pen(const platform::PenRing& ring) {
  return ring.load(&platform::PenRingHeader::capture_on_) == 1 &&
         ring.load(&platform::PenRingHeader::always_capture_) == 0;
}

bool wait_until_waiting_for_pen(const platform::PenRing& ring, std::uint32_t limit_ms) {
  return wait_until([&] { return waits_for_pen(ring); }, limit_ms);
}

TypedResult wait_for_typed_result(const platform::PenRing& ring, PrintedText& typed, std::uint32_t playing_ms,
                                  std::uint32_t limit_ms) {
  const platform::Millis pen_done = platform::process_clock().now() + playing_ms;
  bool seen_busy = false;
  const auto result_typed = [&] {
    // Typing before the look at the ring: a result is typed before the
    // application waits for the pen again.
    const bool has_typed = typed.has_text();
    if (!waits_for_pen(ring)) {
      seen_busy = true;
      return false;
    }
    return (seen_busy || has_typed) && platform::process_clock().now() >= pen_done;
  };
  TypedResult result;
  result.complete = wait_until(result_typed, limit_ms);
  result.text = typed.take_line();
  return result;
}

}  // namespace ductra::device

#include "device/typed_result.h"

#include <functional>
#include <string>

#include "appplatform/clock.h"
#include "appplatform/wait.h"

namespace ductra::device {
namespace {

using platform::PenRingHeader;

// How often the ring is looked at while waiting: the application tells
// where it is through shared memory only.
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

std::uint32_t samples_not_taken(const platform::PenRing& ring) {
  return (ring.load(&PenRingHeader::write_index_) + platform::kPenRingCapacity -
          ring.load(&PenRingHeader::read_index_)) %
         platform::kPenRingCapacity;
}

}  // namespace

bool waits_for_pen(const platform::PenRing& ring) {
  return ring.load(&PenRingHeader::capture_on_) == 1 && ring.load(&PenRingHeader::always_capture_) == 0;
}

std::uint32_t pen_awaited(const platform::PenRing& ring) {
  return ring.load(&platform::PenRingTail::pen_awaited_);
}

bool wait_until_ready_for_pen(const platform::PenRing& ring, std::uint32_t limit_ms) {
  return wait_until([&] { return pen_awaited(ring) != 0 && waits_for_pen(ring); }, limit_ms);
}

TypedResult wait_for_typed_result(const platform::PenRing& ring, PrintedText& typed, std::uint32_t awaited_before,
                                  std::uint32_t playing_ms, std::uint32_t limit_ms) {
  const platform::Millis pen_done = platform::process_clock().now() + playing_ms;
  const auto result_typed = [&] {
    return platform::process_clock().now() >= pen_done && pen_awaited(ring) != awaited_before &&
           waits_for_pen(ring) && samples_not_taken(ring) == 0;
  };
  TypedResult result;
  result.complete = wait_until(result_typed, limit_ms);
  result.text = typed.take_line();
  return result;
}

std::string pen_state(const platform::PenRing& ring, std::uint32_t awaited_before) {
  return "began to wait for the pen since: " + std::to_string(pen_awaited(ring) - awaited_before) +
         " times, capture words: " + std::to_string(ring.load(&PenRingHeader::capture_on_)) + "/" +
         std::to_string(ring.load(&PenRingHeader::always_capture_)) +
         ", samples not taken: " + std::to_string(samples_not_taken(ring));
}

}  // namespace ductra::device

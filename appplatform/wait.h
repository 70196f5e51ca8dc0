// Waiting on one or several objects, with a time-out, and sleeping.
//
// A wait returns as soon as one of its objects can be taken (the first in
// the list wins when several can), when the time-out passes, or when the
// thread is asked to stop. While it waits, a thread that owns windows answers
// messages sent to it. All time comes from the process clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace ductra::platform {

class Waitable;

// No time limit.
inline constexpr std::uint32_t kInfinite = 0xFFFFFFFF;

// The most objects one wait takes.
inline constexpr std::size_t kMaxWaitObjects = 64;

enum class WaitStatus {
  object,     // objects[index] was taken
  abandoned,  // objects[index] was taken, abandoned by its previous owner
  timeout,
  failed,     // the wait was malformed: no objects, a null one, too many
  stopped,    // the thread was asked to stop (ThreadContext::request_stop)
};

struct WaitResult {
  WaitStatus status = WaitStatus::failed;
  std::size_t index = 0;

  bool signalled() const { return status == WaitStatus::object; }

  // The platform's number for the result: the index for an object, 0x80 plus
  // the index when abandoned, 0x102 for a time-out, 0xFFFFFFFF when failed
  // or stopped.
  std::uint32_t code() const;

  friend bool operator==(const WaitResult&, const WaitResult&) = default;
};

struct WaitOptions {
  bool stoppable = true;               // a stop request ends the wait
  bool services_sent_messages = true;  // answer Sends while waiting
};

WaitResult wait_for(Waitable& object, std::uint32_t timeout_ms, WaitOptions options = {});
WaitResult wait_any(std::span<Waitable* const> objects, std::uint32_t timeout_ms, WaitOptions options = {});

// Sleeps `ms` milliseconds on the process clock (kInfinite: until stopped);
// 0 only yields the processor. A stop request cuts it short: false then.
bool sleep_for(std::uint32_t ms);

}  // namespace ductra::platform

// The recognition watchdog: bounds every recognition in time.
//
// After the first limit (the long first limit when the recognition asks for
// it) the watchdog sets the engine's quick flag, so the recognition hurries;
// when the total limit has passed it sets the stop flag, after which the
// engine ends the recognition with 4034. The engine thread brackets every
// recognition with begin() and end(); each recognition is timed from its own
// begin(), however soon it follows the last one, and once end() has
// returned no flag of that recognition is set any more. The watchdog's
// thread ends with the watchdog.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

#include "app/shell/engine.h"
#include "appplatform/clock.h"
#include "appplatform/event.h"
#include "appplatform/thread.h"

namespace ductra {

struct WatchdogLimits {
  std::uint32_t first = 0;
  std::uint32_t long_first = 0;
  std::uint32_t total = 0;

  friend bool operator==(const WatchdogLimits&, const WatchdogLimits&) = default;
};

// first <= long_first <= total: long_first is raised to first, and total to
// the larger of the two.
WatchdogLimits normalise(WatchdogLimits limits);

class RecognitionWatchdog {
 public:
  RecognitionWatchdog(Engine& engine, WatchdogLimits limits);
  ~RecognitionWatchdog();
  RecognitionWatchdog(const RecognitionWatchdog&) = delete;
  RecognitionWatchdog& operator=(const RecognitionWatchdog&) = delete;

  const WatchdogLimits& limits() const { return limits_; }

  // Whether the watchdog's thread runs (false when none could be started).
  bool is_running() const { return thread_ != nullptr; }

  void begin(bool long_limit);
  void end();

 private:
  // The recognition being timed: its number, when it began, and its limit.
  struct Timed {
    std::uint64_t number = 0;
    platform::Millis began = 0;
    bool long_limit = false;
  };

  std::uint32_t run();
  // Waits for a recognition after the one numbered `last`; empty when the
  // thread is to end.
  std::optional<Timed> await_begin(std::uint64_t last);
  // Waits until `deadline` unless the recognition ends first: true at the
  // deadline with the recognition still running; empty when the thread is
  // to end.
  std::optional<bool> await_deadline(std::uint64_t number, platform::Millis deadline);
  // Calls `set_flag` on the engine while the recognition runs.
  void raise(std::uint64_t number, int (Engine::*set_flag)());
  bool running(std::uint64_t number) const;  // timing_mutex_ held

  Engine& engine_;
  const WatchdogLimits limits_;
  platform::Event changed_{platform::EventReset::automatic, false};
  mutable std::mutex timing_mutex_;
  Timed current_;          // the last recognition begun
  bool timing_ = false;    // ... and it runs
  std::unique_ptr<platform::Thread> thread_;
};

}  // namespace ductra

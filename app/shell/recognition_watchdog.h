// The recognition watchdog: bounds every recognition in time.
//
// After the first limit (the long first limit when the recognition asks for
// it) the watchdog sets the engine's quick flag, so the recognition hurries;
// when the total limit has passed it sets the stop flag, after which the
// engine ends the recognition with 4034. The engine thread brackets every
// recognition with begin() and end(); once end() has returned, no flag of
// that recognition is set any more. The watchdog's thread ends with the
// watchdog.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

#include "app/shell/engine.h"
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
  enum class Stretch { ended, timed_out, abandoned, thread_ends };

  std::uint32_t run();
  // Waits up to `ms` for the end of the recognition.
  Stretch await_end(std::uint32_t ms);
  // Calls `set_flag` on the engine unless the recognition has ended.
  void raise(int (Engine::*set_flag)());

  Engine& engine_;
  const WatchdogLimits limits_;
  platform::Event start_{platform::EventReset::automatic, false};
  platform::Event end_{platform::EventReset::automatic, false};
  std::mutex timing_mutex_;
  bool timing_ = false;    // a recognition runs between begin and end
  bool long_limit_ = false;
  std::unique_ptr<platform::Thread> thread_;
};

}  // namespace ductra

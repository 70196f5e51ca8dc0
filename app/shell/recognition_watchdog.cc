#include "app/shell/recognition_watchdog.h"

#include <algorithm>

#include "appplatform/wait.h"

namespace ductra {
namespace {

// The thread's end: asked to end, or its wait failed.
constexpr std::uint32_t kEnded = 3;

}  // namespace

WatchdogLimits normalise(WatchdogLimits limits) {
  limits.long_first = std::max(limits.long_first, limits.first);
  limits.total = std::max(limits.total, limits.long_first);
  return limits;
}

RecognitionWatchdog::RecognitionWatchdog(Engine& engine, WatchdogLimits limits)
    : engine_(engine), limits_(normalise(limits)) {
  thread_ = platform::Thread::start([this] { return run(); },
                                    {.suspended = true, .priority = platform::kPriorityHighest});
  if (thread_) thread_->resume();
}

RecognitionWatchdog::~RecognitionWatchdog() {
  if (thread_) thread_->request_stop();
  thread_.reset();
}

void RecognitionWatchdog::begin(bool long_limit) {
  {
    std::lock_guard lock(timing_mutex_);
    current_ = {current_.number + 1, platform::process_clock().now(), long_limit};
    timing_ = true;
  }
  changed_.set();
}

void RecognitionWatchdog::end() {
  {
    std::lock_guard lock(timing_mutex_);
    timing_ = false;
  }
  changed_.set();
}

// Every change of the recognition's state sets changed_; the thread reads the
// state itself after each wake, so a begin or end it did not see happen
// (a recognition that ended and the next begun meanwhile) is never lost.
std::uint32_t RecognitionWatchdog::run() {
  std::uint64_t last = 0;
  while (const std::optional<Timed> timed = await_begin(last)) {
    last = timed->number;
    const std::uint32_t first = timed->long_limit ? limits_.long_first : limits_.first;
    const std::pair<std::uint32_t, int (Engine::*)()> stages[] = {
        {first, &Engine::set_quick_flag}, {limits_.total, &Engine::set_stop_flag}};
    for (const auto& [after, set_flag] : stages) {
      const std::optional<bool> due = await_deadline(last, timed->began + after);
      if (!due) return kEnded;
      if (!*due) break;
      raise(last, set_flag);
    }
  }
  return kEnded;
}

std::optional<RecognitionWatchdog::Timed> RecognitionWatchdog::await_begin(std::uint64_t last) {
  for (;;) {
    {
      std::lock_guard lock(timing_mutex_);
      if (timing_ && current_.number != last) return current_;
    }
    if (!platform::wait_for(changed_, platform::kInfinite).signalled()) return std::nullopt;
  }
}

std::optional<bool> RecognitionWatchdog::await_deadline(std::uint64_t number,
                                                        platform::Millis deadline) {
  for (;;) {
    {
      std::lock_guard lock(timing_mutex_);
      if (!running(number)) return false;
    }
    const platform::Millis now = platform::process_clock().now();
    if (now >= deadline) return true;
    // At most a limit away, so it fits.
    const auto left = static_cast<std::uint32_t>(deadline - now);
    const platform::WaitStatus status = platform::wait_for(changed_, left).status;
    if (status != platform::WaitStatus::object && status != platform::WaitStatus::timeout) {
      return std::nullopt;
    }
  }
}

// The flag is set under the timing lock, so end() cannot return while a flag
// of its recognition is still on its way. Setting a flag takes no other lock
// of the application and does not wait.
void RecognitionWatchdog::raise(std::uint64_t number, int (Engine::*set_flag)()) {
  std::lock_guard lock(timing_mutex_);
  if (running(number)) (engine_.*set_flag)();
}

bool RecognitionWatchdog::running(std::uint64_t number) const {
  return timing_ && current_.number == number;
}

}  // namespace ductra

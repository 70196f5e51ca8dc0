#include "app/shell/recognition_watchdog.h"

#include <algorithm>

#include "appplatform/wait.h"

namespace ductra {
namespace {

// The thread's ends: asked to end (or a failed wait), and an abandoned wait.
constexpr std::uint32_t kEnded = 3;
constexpr std::uint32_t kAbandoned = 4;

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
    long_limit_ = long_limit;
    timing_ = true;
  }
  end_.reset();
  start_.set();
}

void RecognitionWatchdog::end() {
  {
    std::lock_guard lock(timing_mutex_);
    timing_ = false;
  }
  end_.set();
}

std::uint32_t RecognitionWatchdog::run() {
  for (;;) {
    if (!platform::wait_for(start_, platform::kInfinite).signalled()) return kEnded;
    bool long_limit = false;
    {
      std::lock_guard lock(timing_mutex_);
      long_limit = long_limit_;
    }
    const std::uint32_t first = long_limit ? limits_.long_first : limits_.first;
    for (const auto& [ms, set_flag] : {std::pair{first, &Engine::set_quick_flag},
                                       std::pair{limits_.total - first, &Engine::set_stop_flag}}) {
      const Stretch stretch = await_end(ms);
      if (stretch == Stretch::abandoned) return kAbandoned;
      if (stretch == Stretch::thread_ends) return kEnded;
      if (stretch == Stretch::ended) break;
      raise(set_flag);
    }
  }
}

RecognitionWatchdog::Stretch RecognitionWatchdog::await_end(std::uint32_t ms) {
  switch (platform::wait_for(end_, ms).status) {
    case platform::WaitStatus::object:
      return Stretch::ended;
    case platform::WaitStatus::timeout:
      return Stretch::timed_out;
    case platform::WaitStatus::abandoned:
      return Stretch::abandoned;
    case platform::WaitStatus::failed:
    case platform::WaitStatus::stopped:
      break;
  }
  return Stretch::thread_ends;
}

void RecognitionWatchdog::raise(int (Engine::*set_flag)()) {
  std::lock_guard lock(timing_mutex_);
  if (timing_) (engine_.*set_flag)();
}

}  // namespace ductra

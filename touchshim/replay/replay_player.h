// Plays a replay file (see replay_step.h) to a sample callback on a thread
// of its own, each sample after its wait. The file is read as the replay
// goes, so it may be a pipe that a test or a tool fills while it plays.
//
// stop() ends the replay at once (also in a wait or while the pipe is
// empty) and joins the thread; after it returns the callback is not called
// again. outcome() tells how the last replay ended; a malformed line is
// also reported on the standard error.
#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <string>
#include <thread>

#include "touchshim/touch_driver.h"

namespace ductra::tapshim {

enum class ReplayOutcome {
  playing,
  finished,        // every line was played
  stopped,         // stop() came first
  malformed_line,  // a line was not a sample; the replay ended there
  read_error,
};

class ReplayPlayer {
 public:
  ReplayPlayer() = default;
  ~ReplayPlayer() { stop(); }
  ReplayPlayer(const ReplayPlayer&) = delete;
  ReplayPlayer& operator=(const ReplayPlayer&) = delete;

  // Stops any replay, opens `file` and starts playing it to `callback`.
  // False, starting nothing, when the file cannot be opened or a stop
  // signal cannot be made.
  bool start(const std::filesystem::path& file, SampleCallback callback);
  void stop();

  ReplayOutcome outcome() const { return outcome_.load(); }
  // The line the replay ended at when it was malformed (1 the first).
  std::size_t malformed_line() const { return malformed_line_.load(); }

 private:
  enum class Ready { input, stop, failed };

  void play(SampleCallback callback);
  bool wait_ms(std::uint32_t ms);
  Ready wait_for_input();
  bool play_line(std::string_view line, SampleCallback callback);

  int file_ = -1;
  int stop_signal_ = -1;
  std::size_t line_number_ = 0;
  std::thread thread_;
  std::atomic<ReplayOutcome> outcome_{ReplayOutcome::finished};
  std::atomic<std::size_t> malformed_line_{0};
};

}  // namespace ductra::tapshim

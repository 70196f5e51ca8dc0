// A handle to a running (or ended) program of the device: started through
// the launcher, or found in a snapshot. Waiting on it ends when the
// program ends; closing the handle leaves the program running.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>

#include "appplatform/status.h"

namespace ductra::platform {

class Process {
 public:
  Process() = default;
  ~Process() { close(); }
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // A handle to the process `pid`; not_found when it does not run.
  static Status open(pid_t pid, Process* out);
  // A handle to a program that has already ended with `exit_code` (what a
  // request that is only recorded gives back).
  static Process ended(int exit_code);
  // Takes over a child this process started.
  static Status adopt_child(pid_t pid, Process* out);

  bool is_open() const { return pid_ > 0 || ended_; }
  pid_t pid() const { return pid_; }

  // Waits up to `timeout_ms` (0: only looks) for the program to end: ok
  // when it has ended, timeout otherwise.
  Status wait(std::uint32_t timeout_ms);
  bool has_ended();

  // The exit code of an ended child of this process; none for a program
  // that was not our child, or one killed by a signal.
  std::optional<int> exit_code() const { return exit_code_; }

  void close();

 private:
  void collect_child();

  pid_t pid_ = -1;
  int pidfd_ = -1;
  bool child_ = false;
  bool ended_ = false;
  std::optional<int> exit_code_;
};

}  // namespace ductra::platform

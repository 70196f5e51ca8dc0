// The replay driver's pipe as the headless replay writes samples into it.
//
// The driver opens the pipe for reading once the touch shim enables it. An
// ordinary open for writing waits for that for good, so a driver that
// never comes (not loaded, failed) would hang the device; the pipe is
// opened without blocking, tried again until a limit passes, and only then
// given up with a clear failure.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace ductra::device {

class PenPipe {
 public:
  PenPipe() = default;
  ~PenPipe() { close(); }
  PenPipe(const PenPipe&) = delete;
  PenPipe& operator=(const PenPipe&) = delete;

  // Opens `pipe` for writing once a reader has it open; false when none
  // comes within `limit_ms` (process clock) or the pipe cannot be opened.
  bool open(const std::filesystem::path& pipe, std::uint32_t limit_ms);
  bool is_open() const { return fd_ >= 0; }

  // Writes all of `text`; false when the reader has gone or the write fails.
  bool write(std::string_view text) const;

  void close();

 private:
  int fd_ = -1;
};

}  // namespace ductra::device

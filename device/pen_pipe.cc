#include "device/pen_pipe.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "appplatform/clock.h"
#include "appplatform/wait.h"

namespace ductra::device {
namespace {

// How often the open is tried while no reader has the pipe.
constexpr std::uint32_t kTryEveryMs = 10;

}  // namespace

bool PenPipe::open(const std::filesystem::path& pipe, std::uint32_t limit_ms) {
  close();
  const platform::Millis end = platform::process_clock().now() + limit_ms;
  for (;;) {
    fd_ = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ >= 0) break;
    // ENXIO: nobody reads the pipe yet.
    if (errno != ENXIO || platform::process_clock().now() >= end) return false;
    platform::sleep_for(kTryEveryMs);
  }
  // From here a full pipe makes the writer wait while the driver plays.
  const int flags = ::fcntl(fd_, F_GETFL);
  if (flags < 0 || ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    close();
    return false;
  }
  return true;
}

bool PenPipe::write(std::string_view text) const {
  if (fd_ < 0) return false;
  while (!text.empty()) {
    const ssize_t written = ::write(fd_, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

void PenPipe::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace ductra::device

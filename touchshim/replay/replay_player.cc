#include "touchshim/replay/replay_player.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>

#include "touchshim/replay/replay_step.h"

namespace ductra::tapshim {

bool ReplayPlayer::start(const std::filesystem::path& file, SampleCallback callback) {
  stop();
  file_ = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  stop_signal_ = ::eventfd(0, EFD_CLOEXEC);
  if (file_ < 0 || stop_signal_ < 0) {
    stop();
    return false;
  }
  line_number_ = 0;
  malformed_line_ = 0;
  outcome_ = ReplayOutcome::playing;
  thread_ = std::thread([this, callback] { play(callback); });
  return true;
}

void ReplayPlayer::stop() {
  if (stop_signal_ >= 0) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(stop_signal_, &one, sizeof one);
  }
  if (thread_.joinable()) thread_.join();
  for (int* fd : {&file_, &stop_signal_}) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
  }
}

void ReplayPlayer::play(SampleCallback callback) {
  std::string pending;
  std::array<char, 4096> chunk;
  while (true) {
    switch (wait_for_input()) {
      case Ready::stop:
        outcome_ = ReplayOutcome::stopped;
        return;
      case Ready::failed:
        outcome_ = ReplayOutcome::read_error;
        return;
      case Ready::input:
        break;
    }
    const ssize_t got = ::read(file_, chunk.data(), chunk.size());
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (got < 0) {
      outcome_ = ReplayOutcome::read_error;
      return;
    }
    if (got == 0) {  // the end; a last line may lack its line break
      if (!pending.empty() && !play_line(pending, callback)) return;
      outcome_ = ReplayOutcome::finished;
      return;
    }
    pending.append(chunk.data(), static_cast<std::size_t>(got));
    for (std::size_t end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
      const std::string line = pending.substr(0, end);
      pending.erase(0, end + 1);
      if (!play_line(line, callback)) return;
    }
  }
}

// False when the replay ends here (stopped or malformed).
bool ReplayPlayer::play_line(std::string_view line, SampleCallback callback) {
  ++line_number_;
  ReplayStep step;
  switch (parse_replay_line(line, &step)) {
    case ReplayLine::skipped:
      return true;
    case ReplayLine::malformed:
      std::fprintf(stderr, "replay: line %zu is not \"<wait ms> <flags> <x> <y>\"; the replay ends there\n",
                   line_number_);
      malformed_line_ = line_number_;
      outcome_ = ReplayOutcome::malformed_line;
      return false;
    case ReplayLine::sample:
      break;
  }
  if (!wait_ms(step.wait_ms)) {
    outcome_ = ReplayOutcome::stopped;
    return false;
  }
  callback(step.flags, step.x, step.y);
  return true;
}

// False when stop() came during the wait.
bool ReplayPlayer::wait_ms(std::uint32_t ms) {
  pollfd stop{stop_signal_, POLLIN, 0};
  return ::poll(&stop, 1, static_cast<int>(ms)) == 0;
}

// A pipe without a writer reports the end at once; a regular file is
// always ready.
ReplayPlayer::Ready ReplayPlayer::wait_for_input() {
  std::array<pollfd, 2> ready{pollfd{stop_signal_, POLLIN, 0}, pollfd{file_, POLLIN, 0}};
  while (::poll(ready.data(), ready.size(), -1) < 0) {
    if (errno != EINTR) return Ready::failed;
  }
  if (ready[0].revents != 0) return Ready::stop;
  return Ready::input;
}

}  // namespace ductra::tapshim

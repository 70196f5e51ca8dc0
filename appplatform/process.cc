#include "appplatform/process.h"

#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace ductra::platform {
namespace {

int open_pidfd(pid_t pid) { return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)); }

}  // namespace

Process::Process(Process&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)),
      pidfd_(std::exchange(other.pidfd_, -1)),
      child_(std::exchange(other.child_, false)),
      ended_(std::exchange(other.ended_, false)),
      exit_code_(std::exchange(other.exit_code_, std::nullopt)) {}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    close();
    pid_ = std::exchange(other.pid_, -1);
    pidfd_ = std::exchange(other.pidfd_, -1);
    child_ = std::exchange(other.child_, false);
    ended_ = std::exchange(other.ended_, false);
    exit_code_ = std::exchange(other.exit_code_, std::nullopt);
  }
  return *this;
}

Status Process::open(pid_t pid, Process* out) {
  if (pid <= 0) return Status::invalid_argument;
  const int fd = open_pidfd(pid);
  if (fd < 0) return errno == ESRCH ? Status::not_found : Status::access_denied;
  out->close();
  out->pid_ = pid;
  out->pidfd_ = fd;
  return Status::ok;
}

Process Process::ended(int exit_code) {
  Process process;
  process.ended_ = true;
  process.exit_code_ = exit_code;
  return process;
}

Status Process::adopt_child(pid_t pid, Process* out) {
  const Status status = open(pid, out);
  out->child_ = status == Status::ok;
  return status;
}

Status Process::wait(std::uint32_t timeout_ms) {
  if (ended_) return Status::ok;
  if (pidfd_ < 0) return Status::invalid_argument;
  pollfd gone{pidfd_, POLLIN, 0};
  int ready;
  do {
    ready = ::poll(&gone, 1, timeout_ms > 0x7FFFFFFF ? -1 : static_cast<int>(timeout_ms));
  } while (ready < 0 && errno == EINTR);
  if (ready < 0) return Status::io_error;
  if (ready == 0) return Status::timeout;
  ended_ = true;
  if (child_) collect_child();
  return Status::ok;
}

bool Process::has_ended() { return wait(0) == Status::ok; }

void Process::collect_child() {
  int status = 0;
  if (::waitpid(pid_, &status, 0) == pid_ && WIFEXITED(status)) exit_code_ = WEXITSTATUS(status);
  child_ = false;
}

void Process::close() {
  // A child that has ended is collected so it leaves no zombie behind.
  if (child_ && !ended_ && has_ended()) child_ = false;
  if (pidfd_ >= 0) ::close(pidfd_);
  pid_ = -1;
  pidfd_ = -1;
  child_ = false;
  ended_ = false;
  exit_code_.reset();
}

}  // namespace ductra::platform

#include "appplatform/alive_marker.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace ductra::platform {
namespace {

// True when `fd` is still the file at `path` (an owner that was letting go
// may have removed it after this process opened it).
struct flock whole_file(short type) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;  // l_start 0 and l_len 0 cover the whole file
  return lock;
}

bool still_named(int fd, const std::filesystem::path& path) {
  struct stat held {}, named {};
  return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
         held.st_dev == named.st_dev;
}

}  // namespace

AliveMarker::AliveMarker(AliveMarker&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), file_(std::move(other.file_)) {}

AliveMarker& AliveMarker::operator=(AliveMarker&& other) noexcept {
  if (this != &other) {
    release();
    fd_ = std::exchange(other.fd_, -1);
    file_ = std::move(other.file_);
  }
  return *this;
}

Status AliveMarker::hold(const RuntimeDir& dir, std::u16string_view name, AliveMarker* out) {
  if (name.empty()) return Status::invalid_argument;
  out->release();
  const std::filesystem::path file = dir.object_path("alive", name);
  while (true) {
    bool created = false;
    const int fd = open_runtime_file(file, &created);
    if (fd < 0) return Status::access_denied;
    struct flock lock = whole_file(F_WRLCK);
    if (::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
      const bool busy = errno == EAGAIN || errno == EACCES;
      ::close(fd);
      return busy ? Status::already_exists : Status::io_error;
    }
    if (still_named(fd, file)) {
      out->fd_ = fd;
      out->file_ = file;
      return Status::ok;
    }
    ::close(fd);  // the file went away under us; take the new one
  }
}

bool AliveMarker::is_held(const RuntimeDir& dir, std::u16string_view name) {
  if (name.empty()) return false;
  const int fd = ::open(dir.object_path("alive", name).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  // Only asks about the lock: nothing is taken, so a process raising the
  // sign at the same moment never finds it busy because of a probe.
  struct flock lock = whole_file(F_WRLCK);
  const bool held = ::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
  ::close(fd);
  return held;
}

void AliveMarker::release() {
  if (fd_ < 0) return;
  ::unlink(file_.c_str());  // still under our lock, so no new owner holds it yet
  ::close(fd_);
  fd_ = -1;
}

}  // namespace ductra::platform

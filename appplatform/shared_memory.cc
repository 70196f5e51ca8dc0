#include "appplatform/shared_memory.h"

#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "appplatform/file_lock.h"

namespace ductra::platform {
namespace {

constexpr const char* kGuardFile = "objects.lock";

// Maps `size` bytes of the open block, growing it first when it is smaller.
void* map_block(int fd, std::size_t size) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return nullptr;
  if (static_cast<std::size_t>(info.st_size) < size && ::ftruncate(fd, static_cast<off_t>(size)) != 0) return nullptr;
  void* view = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  return view == MAP_FAILED ? nullptr : view;
}

}  // namespace

SharedMemory::SharedMemory(SharedMemory&& other) noexcept
    : view_(std::exchange(other.view_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      fd_(std::exchange(other.fd_, -1)),
      file_(std::move(other.file_)),
      guard_(std::move(other.guard_)) {}

SharedMemory& SharedMemory::operator=(SharedMemory&& other) noexcept {
  if (this != &other) {
    close();
    view_ = std::exchange(other.view_, nullptr);
    size_ = std::exchange(other.size_, 0);
    fd_ = std::exchange(other.fd_, -1);
    file_ = std::move(other.file_);
    guard_ = std::move(other.guard_);
  }
  return *this;
}

Status SharedMemory::open(const RuntimeDir& dir, std::u16string_view name, std::size_t size, SharedMemory* out,
                          bool* created) {
  if (name.empty() || size == 0) return Status::invalid_argument;
  out->close();
  SharedMemory block;
  block.guard_ = dir.path() / kGuardFile;
  block.file_ = dir.object_path("shm", name);
  const FileLock guard(block.guard_);
  if (!guard.locked()) return Status::access_denied;
  bool made = false;
  block.fd_ = open_runtime_file(block.file_, &made);
  if (block.fd_ < 0) return Status::access_denied;
  // Every holder keeps a shared lock; the last one to close finds none.
  if (::flock(block.fd_, LOCK_SH | LOCK_NB) != 0) return Status::io_error;
  block.view_ = map_block(block.fd_, size);
  if (block.view_ == nullptr) {
    if (made) ::unlink(block.file_.c_str());
    return Status::io_error;
  }
  block.size_ = size;
  if (created != nullptr) *created = made;
  *out = std::move(block);
  return Status::ok;
}

void SharedMemory::close() {
  if (fd_ < 0) return;
  const FileLock guard(guard_);
  if (view_ != nullptr) ::munmap(view_, size_);
  if (guard.locked() && ::flock(fd_, LOCK_EX | LOCK_NB) == 0) ::unlink(file_.c_str());
  ::close(fd_);
  view_ = nullptr;
  size_ = 0;
  fd_ = -1;
}

}  // namespace ductra::platform

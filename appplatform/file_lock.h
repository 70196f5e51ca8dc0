// An exclusive lock on a lock file, held from construction to destruction.
// Every process that takes the same file waits for the holder; a holder
// that dies lets go at once. Used to make a change of a shared file or of a
// shared object's life one step.
#pragma once

#include <filesystem>

namespace ductra::platform {

class FileLock {
 public:
  explicit FileLock(const std::filesystem::path& path);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // False when the lock file could not be opened or locked.
  bool locked() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace ductra::platform

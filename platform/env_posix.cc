#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <utility>

#include "platform/env.h"

namespace platform {

ReadOnlyMapping::ReadOnlyMapping(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
    void* view = ::mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (view != MAP_FAILED) {
      data_ = static_cast<const unsigned char*>(view);
      size_ = static_cast<std::size_t>(info.st_size);
    }
  }
  ::close(fd);  // the mapping stays valid without the descriptor
}

ReadOnlyMapping::ReadOnlyMapping(ReadOnlyMapping&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

ReadOnlyMapping& ReadOnlyMapping::operator=(ReadOnlyMapping&& other) noexcept {
  if (this != &other) {
    close();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

void ReadOnlyMapping::close() {
  if (data_ != nullptr) ::munmap(const_cast<unsigned char*>(data_), size_);
  data_ = nullptr;
  size_ = 0;
}

void* load_library(const std::string& path) { return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }

void free_library(void* handle) {
  if (handle != nullptr) ::dlclose(handle);
}

long long file_size(std::FILE* stream) {
  struct stat status {};
  if (stream == nullptr || ::fstat(::fileno(stream), &status) != 0) return -1;
  return static_cast<long long>(status.st_size);
}

bool sync_file(std::FILE* stream) {
  return stream != nullptr && std::fflush(stream) == 0 && ::fsync(::fileno(stream)) == 0;
}

bool replace_file(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0;
}

bool remove_file(const std::string& path) { return ::unlink(path.c_str()) == 0; }

}  // namespace platform

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "platform/env.h"

namespace platform {
namespace {

// The folder part of a path, without its last separator ("." for none).
std::string folder_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Twelve hex digits that differ between calls, threads and processes; the
// exclusive creation, not this, is what makes a name unique.
std::string random_suffix() {
  static std::atomic<std::uint64_t> counter{0};
  std::uint64_t x = static_cast<std::uint64_t>(::getpid()) << 40;
  x ^= counter.fetch_add(1, std::memory_order_relaxed) * 0x9E3779B97F4A7C15ull;
  x ^= static_cast<std::uint64_t>(
      std::chrono::steady_clock::now().time_since_epoch().count());
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  x ^= x >> 31;
  char digits[13];
  std::snprintf(digits, sizeof digits, "%012llx",
                static_cast<unsigned long long>(x & 0xFFFFFFFFFFFFull));
  return digits;
}

}  // namespace


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

std::string resolve_links(const std::string& path) {
  std::string current = path;
  for (int hop = 0; hop < 40; ++hop) {
    char target[PATH_MAX];
    const ssize_t length = ::readlink(current.c_str(), target, sizeof target);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof target) return current;
    std::string next(target, static_cast<std::size_t>(length));
    if (next[0] != '/') next = folder_of(current) + "/" + next;
    current = std::move(next);
  }
  return current;
}

std::FILE* create_unique_file(const std::string& prefix, const std::string& mode_of,
                              std::string* path) {
  path->clear();
  struct stat existing {};
  const bool keep_mode = ::stat(mode_of.c_str(), &existing) == 0;
  const mode_t mode = keep_mode ? (existing.st_mode & 0777) : 0666;
  for (int attempt = 0; attempt < 64; ++attempt) {
    std::string candidate = prefix + random_suffix() + ".tmp";
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return nullptr;
    }
    // The creation mask may have taken bits the old file had.
    std::FILE* stream = nullptr;
    if (!keep_mode || ::fchmod(fd, mode) == 0) stream = ::fdopen(fd, "wb");
    if (stream == nullptr) {
      ::close(fd);
      ::unlink(candidate.c_str());
      return nullptr;
    }
    *path = std::move(candidate);
    return stream;
  }
  return nullptr;
}

bool replace_file(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0;
}

bool remove_file(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool sync_folder_of(const std::string& path) {
  const int fd = ::open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  return ::close(fd) == 0 && synced;
}

}  // namespace platform

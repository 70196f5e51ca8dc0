// Ways to make the file system refuse a process, for tests of what a
// failed save leaves behind. Both hold for the scope of the object.
#pragma once

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>

namespace inkrec::testing {

// No further file can be opened or created: the descriptor limit is put at
// the lowest free descriptor.
class NoFreeDescriptors {
 public:
  NoFreeDescriptors() {
    ::getrlimit(RLIMIT_NOFILE, &saved_);
    const int lowest_free = ::dup(0);
    ::close(lowest_free);
    rlimit limit = saved_;
    limit.rlim_cur = static_cast<rlim_t>(lowest_free);
    ::setrlimit(RLIMIT_NOFILE, &limit);
  }
  ~NoFreeDescriptors() { ::setrlimit(RLIMIT_NOFILE, &saved_); }
  NoFreeDescriptors(const NoFreeDescriptors&) = delete;
  NoFreeDescriptors& operator=(const NoFreeDescriptors&) = delete;

 private:
  rlimit saved_{};
};

// A full disk: no file may grow past `bytes` (writes beyond fail).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previous_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*previous_handler_)(int) = nullptr;
};

// The names in a folder, to show that nothing was left beside a file.
inline std::set<std::string> names_in(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

}  // namespace inkrec::testing

// A fresh device for one test: its root in a new temporary folder and its
// runtime folder, both removed when the test ends. A small program
// (`appplatform_helper`) plays the other process where a test needs one.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "appplatform/device_root.h"
#include "appplatform/runtime_dir.h"

namespace ductra::platform::testing {

class DeviceFixture : public ::testing::Test {
 protected:
  DeviceFixture() : root_(make_folder()) {
    EXPECT_EQ(RuntimeDir::for_device(root_, &runtime_), Status::ok);
  }
  ~DeviceFixture() override {
    std::filesystem::remove_all(runtime_.path());
    std::filesystem::remove_all(root_.host());
  }

  const DeviceRoot& root() const { return root_; }
  const RuntimeDir& runtime() const { return runtime_; }

 private:
  static std::filesystem::path make_folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ductra-device-XXXXXX").string();
    return ::mkdtemp(pattern.data());
  }

  DeviceRoot root_;
  RuntimeDir runtime_;
};

// The helper program started with `arguments`; its standard output comes
// back line by line. The process is killed and reaped at destruction.
class Helper {
 public:
  explicit Helper(const std::vector<std::string>& arguments) {
    int pipe_ends[2];
    if (::pipe2(pipe_ends, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
    std::vector<std::string> words{APPPLATFORM_HELPER};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe_ends[1]);
    output_ = pipe_ends[0];
  }
  ~Helper() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (output_ >= 0) ::close(output_);
  }
  Helper(const Helper&) = delete;
  Helper& operator=(const Helper&) = delete;

  pid_t pid() const { return pid_; }

  // The next line the helper printed; empty when none came within the time.
  std::string read_line(std::chrono::milliseconds timeout = std::chrono::seconds(2)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::string line;
    while (true) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd ready{output_, POLLIN, 0};
      char c;
      if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0 || ::read(output_, &c, 1) != 1) {
        return {};
      }
      if (c == '\n') return line;
      line += c;
    }
  }

  // The exit code, or -1 when the helper did not end normally in time.
  int wait_exit(std::chrono::milliseconds timeout = std::chrono::seconds(2)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      ::usleep(2000);
    }
    return -1;
  }

  void kill_hard() {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int output_ = -1;
};

}  // namespace ductra::platform::testing

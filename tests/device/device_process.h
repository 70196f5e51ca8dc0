// A device process of a test: ductra-device started as a person starts
// it, on a device root of its own (removed with its runtime folder at the
// end), its standard output and error going to files of the root.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "appplatform/device_root.h"
#include "appplatform/runtime_dir.h"

extern "C" char** environ;

namespace ductra::device {

class DeviceProcessFixture : public ::testing::Test {
 protected:
  DeviceProcessFixture() : root_(make_folder()) {
    EXPECT_EQ(platform::RuntimeDir::for_device(root_, &runtime_), platform::Status::ok);
  }
  ~DeviceProcessFixture() override {
    std::filesystem::remove_all(runtime_.path());
    std::filesystem::remove_all(root_.host());
  }

  static std::filesystem::path make_folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ductra-device-run-XXXXXX").string();
    return ::mkdtemp(pattern.data());
  }

  // Starts the device with `arguments`, its output going to files of the root.
  pid_t start(const std::vector<std::string>& arguments, const std::string& name) {
    std::vector<std::string> words{DUCTRA_DEVICE_PROGRAM};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    ::setenv("DUCTRA_DEVICE_ROOT", root_.host().c_str(), 1);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, (root_.host() / (name + ".out")).c_str(), O_WRONLY | O_CREAT, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, (root_.host() / (name + ".err")).c_str(), O_WRONLY | O_CREAT, 0600);
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::unsetenv("DUCTRA_DEVICE_ROOT");
    return pid;
  }

  static int exit_code(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  std::string output(const std::string& file) const {
    std::stringstream text;
    text << std::ifstream(root_.host() / file).rdbuf();
    return text.str();
  }

  std::vector<std::string> lines(const std::string& file) const {
    std::vector<std::string> result;
    std::ifstream in(root_.host() / file);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
  }

  platform::DeviceRoot root_;
  platform::RuntimeDir runtime_;
};

}  // namespace ductra::device

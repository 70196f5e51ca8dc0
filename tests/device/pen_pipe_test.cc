#include "device/pen_pipe.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <string>

#include "appplatform/thread.h"
#include "appplatform/wait.h"
#include "tests/appplatform/virtual_time.h"

namespace ductra::device {
namespace {

class PenPipeTest : public platform::VirtualTimeTest {
 protected:
  PenPipeTest() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ductra-pen-pipe-XXXXXX").string();
    folder_ = ::mkdtemp(pattern.data());
    pipe_ = folder_ / "pipe";
    EXPECT_EQ(::mkfifo(pipe_.c_str(), 0600), 0);
  }
  ~PenPipeTest() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path folder_;
  std::filesystem::path pipe_;
};

TEST_F(PenPipeTest, ADriverThatNeverReadsEndsTheWaitAtTheLimit) {
  std::optional<bool> opened;
  PenPipe pen;
  auto writer = platform::Thread::start([&] {
    opened = pen.open(pipe_, 10000);
    return 0u;
  });
  clock_.advance(12000);
  EXPECT_EQ(opened, false);
  EXPECT_FALSE(pen.is_open());
  EXPECT_FALSE(pen.write("10 7 1 1\n"));
}

TEST_F(PenPipeTest, TheSamplesReachADriverThatOpensThePipeLate) {
  std::optional<bool> opened;
  PenPipe pen;
  auto writer = platform::Thread::start([&] {
    opened = pen.open(pipe_, 10000);
    return 0u;
  });
  int reader = -1;
  auto driver = platform::Thread::start([&] {
    platform::sleep_for(3000);
    reader = ::open(pipe_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    return 0u;
  });
  clock_.advance(5000);
  ASSERT_GE(reader, 0);
  EXPECT_EQ(opened, true);
  ASSERT_TRUE(pen.write("10 7 1 1\n"));
  std::array<char, 32> got{};
  EXPECT_EQ(::read(reader, got.data(), got.size()), 9);
  EXPECT_EQ(std::string(got.data()), "10 7 1 1\n");

  // A driver that has gone fails the write instead of ending the process.
  ::close(reader);
  ::signal(SIGPIPE, SIG_IGN);
  EXPECT_FALSE(pen.write("10 13 1 1\n"));
}

}  // namespace
}  // namespace ductra::device

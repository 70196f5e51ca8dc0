#include "touchshim/replay/replay_player.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "touchshim/replay/replay_step.h"

namespace ductra::tapshim {
namespace {

TEST(ReplayStepTest, ReadsSamplesSkipsCommentsAndRefusesTheRest) {
  struct Case {
    std::string_view line;
    ReplayLine kind;
    ReplayStep step;
  };
  const Case cases[] = {
      {"10 15 812 1400", ReplayLine::sample, {10, 15, 812, 1400}},
      {"  0\t7 0 4095\r", ReplayLine::sample, {0, 7, 0, 4095}},
      {"", ReplayLine::skipped, {}},
      {"   ", ReplayLine::skipped, {}},
      {"# pen down", ReplayLine::skipped, {}},
      {"10 15 812", ReplayLine::malformed, {}},
      {"10 15 812 1400 9", ReplayLine::malformed, {}},
      {"10 15 -3 1400", ReplayLine::malformed, {}},
      {"10 15 812 70000", ReplayLine::malformed, {}},
      {"10 15 812 14x0", ReplayLine::malformed, {}},
      {"99999999999999999999 15 1 1", ReplayLine::malformed, {}},
  };
  for (const Case& c : cases) {
    ReplayStep step;
    EXPECT_EQ(parse_replay_line(c.line, &step), c.kind) << c.line;
    if (c.kind == ReplayLine::sample) {
      EXPECT_EQ(step, c.step) << c.line;
    }
  }
}

struct Played {
  std::uint32_t flags;
  std::int32_t x;
  std::int32_t y;
  friend bool operator==(const Played&, const Played&) = default;
};

std::mutex played_mutex;
std::vector<Played> played;

std::int32_t record(std::uint32_t flags, std::int32_t x, std::int32_t y) {
  std::scoped_lock lock(played_mutex);
  played.push_back({flags, x, y});
  return 1;
}

std::vector<Played> played_so_far() {
  std::scoped_lock lock(played_mutex);
  return played;
}

class ReplayPlayerTest : public ::testing::Test {
 protected:
  ReplayPlayerTest() {
    std::scoped_lock lock(played_mutex);
    played.clear();
  }
  ~ReplayPlayerTest() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path write_file(const std::string& text) {
    const std::filesystem::path file = folder_ / "replay.txt";
    std::ofstream(file) << text;
    return file;
  }

  void wait_until_done(const ReplayPlayer& player) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (player.outcome() == ReplayOutcome::playing && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

  std::filesystem::path folder_ = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "ductra-replay-XXXXXX").string();
    return std::filesystem::path(::mkdtemp(pattern.data()));
  }();
};

TEST_F(ReplayPlayerTest, PlaysEveryLineInOrderAlsoALastLineWithoutItsBreak) {
  ReplayPlayer player;
  ASSERT_TRUE(player.start(write_file("# a tap\n0 7 10 20\n\n2 13 10 20"), &record));
  wait_until_done(player);
  EXPECT_EQ(player.outcome(), ReplayOutcome::finished);
  EXPECT_EQ(played_so_far(), (std::vector<Played>{{7, 10, 20}, {13, 10, 20}}));
}

TEST_F(ReplayPlayerTest, AMalformedLineEndsTheReplayThereAndSaysWhich) {
  ReplayPlayer player;
  ASSERT_TRUE(player.start(write_file("0 7 10 20\n0 15 oops\n0 13 10 20\n"), &record));
  wait_until_done(player);
  EXPECT_EQ(player.outcome(), ReplayOutcome::malformed_line);
  EXPECT_EQ(player.malformed_line(), 2u);
  EXPECT_EQ(played_so_far(), (std::vector<Played>{{7, 10, 20}}));
}

TEST_F(ReplayPlayerTest, AMissingFileStartsNothing) {
  ReplayPlayer player;
  EXPECT_FALSE(player.start(folder_ / "none.txt", &record));
  EXPECT_NE(player.outcome(), ReplayOutcome::playing);
}

// A long wait or an empty pipe does not hold stop() up.
TEST_F(ReplayPlayerTest, StopEndsAWaitAndAnEmptyPipeAtOnce) {
  ReplayPlayer waiting;
  ASSERT_TRUE(waiting.start(write_file("0 7 1 1\n60000 15 2 2\n"), &record));
  const std::filesystem::path pipe = folder_ / "pipe";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const int writer = ::open(pipe.c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(writer, 0);
  ReplayPlayer reading;
  ASSERT_TRUE(reading.start(pipe, &record));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (played_so_far().empty() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  waiting.stop();
  reading.stop();
  ::close(writer);
  EXPECT_EQ(waiting.outcome(), ReplayOutcome::stopped);
  EXPECT_EQ(reading.outcome(), ReplayOutcome::stopped);
  EXPECT_EQ(played_so_far(), (std::vector<Played>{{7, 1, 1}}));
}

}  // namespace
}  // namespace ductra::tapshim

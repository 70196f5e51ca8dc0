// The pool the word search's per-box tables keep their runs in: runs that
// stay where they are and keep their values while more are taken, and a
// clearing that hands the same room out again.
#include "engine/segmentation/stable_pool.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace inkrec {
namespace {

// Run sizes that fill a chunk, pass its end, and need a chunk of their own.
const std::vector<std::size_t> kRunSizes = {1,    3, StablePool<int>::kChunk - 4, 5, 0,
                                            2,    StablePool<int>::kChunk + 7,     1,
                                            4000, 200};

// Takes a run of each size, each value its run's number.
std::vector<std::span<int>> take_runs(StablePool<int>& pool) {
  std::vector<std::span<int>> runs;
  for (std::size_t r = 0; r < kRunSizes.size(); ++r) {
    runs.push_back(pool.take(kRunSizes[r]));
    EXPECT_EQ(runs.back().size(), kRunSizes[r]) << r;
    for (int& value : runs.back()) value = static_cast<int>(r);
  }
  return runs;
}

void expect_runs_kept(const std::vector<std::span<int>>& runs) {
  for (std::size_t r = 0; r < runs.size(); ++r) {
    for (const int value : runs[r]) ASSERT_EQ(value, static_cast<int>(r)) << r;
  }
}

TEST(StablePoolTest, RunsStayPutAndApartWhileMoreAreTaken) {
  StablePool<int> pool;
  const std::vector<std::span<int>> runs = take_runs(pool);
  expect_runs_kept(runs);
  // No two runs share a value.
  for (std::size_t a = 0; a < runs.size(); ++a) {
    for (std::size_t b = a + 1; b < runs.size(); ++b) {
      if (runs[a].empty() || runs[b].empty()) continue;
      const bool apart = runs[a].data() + runs[a].size() <= runs[b].data() ||
                         runs[b].data() + runs[b].size() <= runs[a].data();
      EXPECT_TRUE(apart) << a << " " << b;
    }
  }
}

TEST(StablePoolTest, AClearedPoolHandsItsRoomOutAgain) {
  StablePool<int> pool;
  const std::vector<std::span<int>> first = take_runs(pool);
  pool.clear();
  const std::vector<std::span<int>> again = take_runs(pool);
  expect_runs_kept(again);
  for (std::size_t r = 0; r < first.size(); ++r) {
    EXPECT_EQ(again[r].data(), first[r].data()) << r;
  }
}

}  // namespace
}  // namespace inkrec

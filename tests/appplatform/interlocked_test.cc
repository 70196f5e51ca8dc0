#include "appplatform/interlocked.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "appplatform/thread.h"
#include "appplatform/wait.h"

namespace ductra::platform {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(InterlockedTest, ResultsAndWrapping) {
  struct Case {
    const char* what;
    std::int32_t (*operation)(std::int32_t&);
    std::int32_t before;
    std::int32_t result;
    std::int32_t after;
  };
  const Case cases[] = {
      {"increment gives the new value", [](std::int32_t& w) { return interlocked_increment(w); }, 0, 1, 1},
      {"increment wraps", [](std::int32_t& w) { return interlocked_increment(w); }, kMax, kMin, kMin},
      {"decrement gives the new value", [](std::int32_t& w) { return interlocked_decrement(w); }, 1, 0, 0},
      {"decrement wraps", [](std::int32_t& w) { return interlocked_decrement(w); }, kMin, kMax, kMax},
      {"exchange gives the old value", [](std::int32_t& w) { return interlocked_exchange(w, 9); }, 4, 4, 9},
      {"exchange-add gives the old value", [](std::int32_t& w) { return interlocked_exchange_add(w, -3); }, 4, 4,
       1},
      {"compare-exchange that matches", [](std::int32_t& w) { return interlocked_compare_exchange(w, 7, 4); }, 4, 4,
       7},
      {"compare-exchange that does not", [](std::int32_t& w) { return interlocked_compare_exchange(w, 7, 5); }, 4,
       4, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::int32_t word = c.before;
    EXPECT_EQ(c.operation(word), c.result);
    EXPECT_EQ(interlocked_read(word), c.after);
  }
  std::uint32_t unsigned_word = 0;
  EXPECT_EQ(interlocked_decrement(unsigned_word), std::numeric_limits<std::uint32_t>::max());
}

TEST(InterlockedTest, ConcurrentIncrementsAndDecrementsLoseNothing) {
  std::int32_t counter = 0;
  std::int32_t firsts = 0;  // how many increments found the counter at 0
  constexpr int kRounds = 20000;
  auto body = [&] {
    for (int i = 0; i < kRounds; ++i) {
      if (interlocked_increment(counter) == 1) interlocked_increment(firsts);
      interlocked_decrement(counter);
    }
    return 0u;
  };
  std::vector<std::unique_ptr<Thread>> threads;
  for (int i = 0; i < 4; ++i) threads.push_back(Thread::start(body));
  for (auto& thread : threads) wait_for(*thread, kInfinite);
  EXPECT_EQ(interlocked_read(counter), 0);
  EXPECT_GE(interlocked_read(firsts), 1);
}

}  // namespace
}  // namespace ductra::platform

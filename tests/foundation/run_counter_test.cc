#include "engine/foundation/run_counter.h"

#include <gtest/gtest.h>

namespace inkrec {
namespace {

TEST(RunCounterTest, CountsRunsIncludingTheFirst) {
  RunCounter counter;
  EXPECT_EQ(counter.state(), RunCounter::kNeither);
  counter.enter_one();
  counter.enter_one();
  counter.enter_zero();
  counter.enter_one();
  EXPECT_EQ(counter.count(), 3u);
  EXPECT_EQ(counter.state(), 1);
  counter.set(10, 0);
  counter.enter_zero();
  EXPECT_EQ(counter.count(), 10u);
}

}  // namespace
}  // namespace inkrec

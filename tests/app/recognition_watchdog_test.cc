#include "app/shell/recognition_watchdog.h"

#include <gtest/gtest.h>

#include "tests/app/engine_client_support.h"

namespace ductra {
namespace {

using testing::FakeEngineTest;

TEST(RecognitionWatchdogLimitsTest, LimitsAreOrdered) {
  struct Case {
    WatchdogLimits given;
    WatchdogLimits used;
  };
  const Case cases[] = {
      {{5000, 10000, 15000}, {5000, 10000, 15000}},
      {{5000, 3000, 2000}, {5000, 5000, 5000}},
      {{5000, 10000, 7000}, {5000, 10000, 10000}},
      {{5000, 3000, 8000}, {5000, 5000, 8000}},
  };
  for (const Case& c : cases) EXPECT_EQ(normalise(c.given), c.used);
}

class RecognitionWatchdogTest : public FakeEngineTest {
 protected:
  RecognitionWatchdog watchdog_{*engine_, {5000, 10000, 15000}};
};

TEST_F(RecognitionWatchdogTest, RunsOnAThreadOfHighestPriorityAndLeavesAQuickRecognitionAlone) {
  EXPECT_TRUE(watchdog_.is_running());
  watchdog_.begin(false);
  clock_.advance(4999);
  watchdog_.end();
  clock_.advance(20000);
  EXPECT_TRUE(calls().empty());
}

TEST_F(RecognitionWatchdogTest, HurriesATwelveSecondRecognitionAtFiveSecondsAndLetsItFinish) {
  watchdog_.begin(false);
  clock_.advance(12000);
  watchdog_.end();
  clock_.advance(10000);
  EXPECT_EQ(call_names(), std::vector<std::string>{"crmSetQuickFlag"});
  EXPECT_EQ(first_call_at("crmSetQuickFlag"), 5000);
}

TEST_F(RecognitionWatchdogTest, TheLongLimitHurriesAtTenSeconds) {
  watchdog_.begin(true);
  clock_.advance(12000);
  watchdog_.end();
  clock_.advance(10000);
  EXPECT_EQ(call_names(), std::vector<std::string>{"crmSetQuickFlag"});
  EXPECT_EQ(first_call_at("crmSetQuickFlag"), 10000);
}

TEST_F(RecognitionWatchdogTest, StopsARecognitionAtFifteenSecondsInAllThenTimesTheNextAfresh) {
  watchdog_.begin(false);
  clock_.advance(20000);
  watchdog_.end();
  watchdog_.begin(true);  // at 20000
  clock_.advance(20000);
  watchdog_.end();
  clock_.advance(30000);
  std::vector<std::pair<std::string, platform::Millis>> seen;
  for (const testing::EngineCall& call : calls()) {
    EXPECT_FALSE(call.gate_held) << "the flags are set while a recognition holds the gate";
    seen.emplace_back(call.name, call.at - kStart);
  }
  const std::vector<std::pair<std::string, platform::Millis>> expected = {
      {"crmSetQuickFlag", 5000},
      {"crmSetStopFlag", 15000},
      {"crmSetQuickFlag", 30000},
      {"crmSetStopFlag", 35000},
  };
  EXPECT_EQ(seen, expected);
}

// The next recognition may begin before the watchdog's thread has seen the
// end of the last one; it is still timed from its own beginning (repeated,
// as the order in which the threads run varies).
TEST_F(RecognitionWatchdogTest, ARecognitionBegunRightAfterTheLastIsTimedFromItsOwnBeginning) {
  std::vector<std::pair<std::string, platform::Millis>> expected;
  for (int round = 0; round < 50; ++round) {
    watchdog_.begin(false);
    clock_.advance(3000);
    watchdog_.end();
    watchdog_.begin(false);
    expected.emplace_back("crmSetQuickFlag", elapsed() + 5000);
    clock_.advance(6000);
    watchdog_.end();
    clock_.advance(20000);
  }
  std::vector<std::pair<std::string, platform::Millis>> seen;
  for (const testing::EngineCall& call : calls()) seen.emplace_back(call.name, call.at - kStart);
  EXPECT_EQ(seen, expected);
}

TEST_F(RecognitionWatchdogTest, SetsNoFlagOnceTheRecognitionHasEnded) {
  watchdog_.begin(false);
  clock_.advance(5000);
  watchdog_.end();
  clock_.advance(30000);
  EXPECT_EQ(call_names(), std::vector<std::string>{"crmSetQuickFlag"});
}

}  // namespace
}  // namespace ductra

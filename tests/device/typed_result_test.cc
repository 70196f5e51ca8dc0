#include "device/typed_result.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <vector>

#include "appplatform/thread.h"
#include "appplatform/wait.h"
#include "tests/appplatform/virtual_time.h"

namespace ductra::device {
namespace {

using platform::PenRingHeader;

constexpr std::uint32_t kPlayingMs = 500;
constexpr std::uint32_t kLimitMs = 60000;

// What the application does, as the replay sees it: the ring's capture
// words and the keys it types.
enum class Act { wait_for_pen, write, take_sample, recognise, stop_capture, type, backspace, tab, finish };

struct Step {
  std::uint32_t after_ms;  // since the step before
  Act act;
  std::u16string_view text = {};
};

struct Case {
  const char* what;
  std::vector<Step> steps;
  bool complete;
  std::u16string text;
  platform::Millis ends_at_ms;  // when the replay has the result, or gives up
};

class TypedResultTest : public platform::VirtualTimeTest {
 protected:
  TypedResultTest() {
    ring_.initialize();
    ring_.exchange(&PenRingHeader::capture_on_, 1);
  }

  void act(const Step& step) {
    switch (step.act) {
      case Act::wait_for_pen:
        set_capture(1, 0);
        break;
      case Act::write:
        set_capture(1, 1);
        break;
      case Act::take_sample:
        ring_.take();
        break;
      case Act::recognise:
        set_capture(0, 1);
        break;
      case Act::stop_capture:
        set_capture(0, 0);
        break;
      case Act::type:
        typed_.send_string(step.text);
        break;
      case Act::backspace:
        typed_.send_key(8, false);
        typed_.send_key(8, true);
        break;
      case Act::tab:
        typed_.send_character(9, u'\t', false);
        typed_.send_character(9, u'\t', true);
        break;
      case Act::finish:
        ring_.add(&platform::PenRingTail::pen_awaited_, 1);
        break;
    }
  }

  void set_capture(std::uint32_t on, std::uint32_t always) {
    ring_.exchange(&PenRingHeader::capture_on_, on);
    ring_.exchange(&PenRingHeader::always_capture_, always);
  }

  // Plays the application's steps on one thread while `replay` runs on
  // another, for run_ms of virtual time; returns how long the replay ran.
  template <typename Replay>
  platform::Millis play(const std::vector<Step>& steps, platform::Millis run_ms, Replay replay) {
    platform::Millis ran_ms = 0;
    const platform::Millis start = clock_.now();
    auto replayer = platform::Thread::start([&] {
      replay();
      ran_ms = clock_.now() - start;
      return 0u;
    });
    auto application = platform::Thread::start([&] {
      for (const Step& step : steps) {
        platform::sleep_for(step.after_ms);
        act(step);
      }
      return 0u;
    });
    clock_.advance(run_ms);
    EXPECT_TRUE(replayer->has_ended());
    return ran_ms;
  }

  // Plays the application's steps while the replay waits for the result;
  // *waited_ms: how long the replay waited.
  TypedResult run(const std::vector<Step>& steps, platform::Millis* waited_ms) {
    std::optional<TypedResult> result;
    const std::uint32_t awaited_before = pen_awaited(ring_);
    *waited_ms = play(steps, kLimitMs + 1000, [&] {
      result = wait_for_typed_result(ring_, typed_, awaited_before, kPlayingMs, kLimitMs);
    });
    return result.value_or(TypedResult{});
  }

  // Plays the application's steps while the replay waits, at most 2 s, for
  // the application to be ready for the pen; whether it was, and
  // *waited_ms how long that took.
  std::optional<bool> wait_for_pen(const std::vector<Step>& steps, platform::Millis* waited_ms) {
    std::optional<bool> ready;
    *waited_ms = play(steps, 5000, [&] { ready = wait_until_ready_for_pen(ring_, 2000); });
    return ready;
  }

  alignas(8) std::array<std::byte, platform::kPenRingWithTailBytes> block_{};
  platform::PenRing ring_{block_};
  PrintedText typed_;
};

TEST_F(TypedResultTest, TheWholeResultIsTakenHoweverItsPiecesAreSpread) {
  const std::vector<Case> cases = {
      {"pieces far apart, the last long after the first",
       {{100, Act::write}, {800, Act::recognise}, {300, Act::stop_capture}, {0, Act::type, u"ab"},
        {300, Act::backspace}, {0, Act::type, u"c"}, {300, Act::tab}, {0, Act::type, u"de "},
        {400, Act::wait_for_pen}, {0, Act::finish}},
       true, u"ac\tde ", 2200},
      {"an empty result",
       {{100, Act::write}, {800, Act::recognise}, {300, Act::stop_capture}, {10, Act::wait_for_pen}, {0, Act::finish}},
       true, u"", 1210},
      {"an empty result too quick to be seen busy",
       {{100, Act::write}, {0, Act::recognise}, {0, Act::stop_capture}, {0, Act::wait_for_pen}, {0, Act::finish}},
       true, u"", kPlayingMs},
      {"waiting for the pen again before the last piece is typed",
       {{100, Act::write}, {800, Act::recognise}, {300, Act::wait_for_pen}, {50, Act::type, u"ok"}, {0, Act::finish}},
       true, u"ok", 1250},
      {"a pen rest inside the sample makes two results before the pen is done",
       {{100, Act::write}, {50, Act::recognise}, {50, Act::stop_capture}, {0, Act::type, u"l"}, {10, Act::wait_for_pen},
        {0, Act::finish}, {100, Act::write}, {800, Act::recognise}, {300, Act::stop_capture}, {0, Act::type, u"t "},
        {10, Act::wait_for_pen}, {0, Act::finish}},
       true, u"lt ", 1420},
      {"the application never finishes the ink",
       {{100, Act::write}, {800, Act::recognise}, {300, Act::stop_capture}, {0, Act::type, u"ab"},
        {10, Act::wait_for_pen}},
       false, u"ab", kLimitMs},
      {"nothing happens", {}, false, u"", kLimitMs},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    set_capture(1, 0);
    typed_.take_line();
    platform::Millis waited_ms = 0;
    const TypedResult result = run(c.steps, &waited_ms);
    EXPECT_EQ(result.complete, c.complete);
    EXPECT_EQ(result.text, c.text);
    // Told by the application, not by a guess: done within a look of the
    // moment.
    EXPECT_GE(waited_ms, c.ends_at_ms);
    EXPECT_LE(waited_ms, c.ends_at_ms + 5);
  }
}

TEST_F(TypedResultTest, SamplesTheApplicationHasNotTakenYetKeepTheResultOpen) {
  // The first ink is finished, but the pen's next samples still wait in the
  // ring: the application has not yet begun the ink they make.
  ring_.append(platform::PenSample::make(platform::kPenDown, 1, 1, 1));
  platform::Millis waited_ms = 0;
  const TypedResult result =
      run({{0, Act::finish}, {900, Act::write}, {0, Act::take_sample}, {100, Act::type, u"x"},
           {0, Act::wait_for_pen}, {0, Act::finish}},
          &waited_ms);
  EXPECT_TRUE(result.complete);
  EXPECT_EQ(result.text, u"x");
  EXPECT_GE(waited_ms, 1000u);
  EXPECT_LE(waited_ms, 1005u);
}

TEST_F(TypedResultTest, TheFirstSampleWaitsUntilTheApplicationIsSwitchedOn) {
  // As the application opens the ring its capture words already say
  // "ready"; it is ready only once it has taken up its configuration
  // (capture off meanwhile) and is switched on.
  set_capture(1, 0);
  platform::Millis waited_ms = 0;
  const std::optional<bool> waited = wait_for_pen(
      {{300, Act::stop_capture}, {400, Act::wait_for_pen}, {0, Act::finish}}, &waited_ms);
  EXPECT_EQ(waited, true);
  EXPECT_GE(waited_ms, 700u);
  EXPECT_LE(waited_ms, 705u);
}

TEST_F(TypedResultTest, ASampleWaitsForThePenOnlyAsLongAsTheApplicationIsBusy) {
  act({0, Act::finish});  // switched on
  set_capture(0, 0);
  platform::Millis waited_ms = 0;
  EXPECT_EQ(wait_for_pen({{700, Act::wait_for_pen}}, &waited_ms), true);
  EXPECT_GE(waited_ms, 700u);
  EXPECT_LE(waited_ms, 705u);

  set_capture(1, 1);  // a stroke in hand that never ends
  EXPECT_EQ(wait_for_pen({}, &waited_ms), false);
}

}  // namespace
}  // namespace ductra::device

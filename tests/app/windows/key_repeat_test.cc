// The key row driving the controller's backspace repeat, on the virtual
// clock: the repeat runs every 200 ms from the press of backspace and ends
// at the release, or as soon as the pen slides off the row.
#include <gtest/gtest.h>

#include <memory>

#include "app/windows/keyboard_window.h"
#include "tests/app/shell_test_support.h"
#include "tests/app/windows/small_window_fixture.h"

namespace ductra {
namespace {

using platform::PointerAction;

class KeyRepeatTest : public testing::ShellTest {
 protected:
  static constexpr platform::Point kBackspace{220, 320 - 2 * 26 + 10};

  KeyRepeatTest() {
    parts_.keyboard_created = [this] {
      keys_ = std::make_unique<KeyboardWindow>(system_, shell_window(), info_);
      keys_->create();
      keys_->show(true, true);
    };
    parts_.keyboard_destroyed = [this] { keys_.reset(); };
    run(u"start");
  }
  ~KeyRepeatTest() override {
    post(WM_QUILLPAD_DESELECT);
    exit_code();
  }

  void pen(PointerAction action, platform::Point at) {
    server_.pointer_input(action, at);
    clock_.advance(0);
  }
  // The backspaces typed so far, one entry per unit sent.
  std::size_t backspaces() {
    std::size_t count = 0;
    for (const std::u16string& units : parts_.sent_units()) count += std::ranges::count(units, u'\b');
    return count;
  }

  testing::TestScreenPlatform platform_{testing::Screen{}};
  ScreenInfo info_{platform_};
  std::unique_ptr<KeyboardWindow> keys_;
};

TEST_F(KeyRepeatTest, HeldBackspaceRepeatsEveryTwoHundredMillisecondsUntilTheRelease) {
  pen(PointerAction::down, kBackspace);
  clock_.advance(199);
  EXPECT_EQ(backspaces(), 0u);
  for (std::size_t tick = 1; tick <= 3; ++tick) {
    clock_.advance(tick == 1 ? 1 : 200);
    EXPECT_EQ(backspaces(), tick) << "at " << tick * 200 << " ms";
  }
  pen(PointerAction::up, kBackspace);
  EXPECT_EQ(backspaces(), 4u) << "the key itself at the release";
  clock_.advance(1000);
  EXPECT_EQ(backspaces(), 4u) << "nothing after the release";
}

TEST_F(KeyRepeatTest, SlidingOffTheRowEndsTheRepeatAtOnce) {
  pen(PointerAction::down, kBackspace);
  clock_.advance(400);
  EXPECT_EQ(backspaces(), 2u);
  pen(PointerAction::move, {220, 100});
  clock_.advance(2000);
  EXPECT_EQ(backspaces(), 2u) << "no repeat once the pen has left the row";
  pen(PointerAction::up, {220, 100});
  clock_.advance(1000);
  EXPECT_EQ(backspaces(), 2u) << "and the release away from the row types nothing";
  EXPECT_EQ(parts_.sent_units().size(), 2u);
}

}  // namespace
}  // namespace ductra

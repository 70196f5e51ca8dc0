#include "app/windows/keyboard_window.h"

#include <gtest/gtest.h>

#include "tests/app/windows/small_window_fixture.h"

namespace ductra {
namespace {

using platform::PointerAction;
using testing::Received;
using testing::SmallWindowTest;

constexpr Received kRepeatStop{WM_DUCTRA_REPEAT_STOP, 0, 0};
constexpr Received kRepeatStart{WM_DUCTRA_REPEAT_START, 0, 0};
Received key(char16_t unit) { return {WM_DUCTRA_KEY, unit, 0}; }

class KeyboardWindowTest : public SmallWindowTest {
 protected:
  KeyboardWindowTest() {
    EXPECT_TRUE(keys_.create());
    keys_.show(true, true);
    pump();
  }

  // The screen point of the middle of key `index`'s cell row.
  platform::Point on_key(int index) const { return {index * keys_.key_width() + 5, kRowTop + 10}; }

  static constexpr int kRowTop = 320 - 2 * 26;
  KeyboardWindow keys_{system_, shell_window_, info_};
};

TEST_F(KeyboardWindowTest, TheRowLiesAcrossTheScreenOneKeyAboveTheBottomBar) {
  const auto info = system_.describe(keys_.window());
  ASSERT_TRUE(info);
  EXPECT_EQ(info->window_rect, (platform::Rect{0, kRowTop, 240, kRowTop + 26}));
  EXPECT_EQ(info->ex_style, platform::WS_EX_NOACTIVATE | platform::WS_EX_TOPMOST);
  EXPECT_TRUE(info->visible);
  EXPECT_EQ(keys_.key_width(), 40);
  keys_.show(false, true);
  EXPECT_FALSE(system_.is_window_visible(keys_.window())) << "a disabled row is hidden";
  keys_.show(true, false);
  EXPECT_FALSE(system_.is_window_visible(keys_.window()));
}

TEST_F(KeyboardWindowTest, EachKeyPostsItsCharacterAtTheReleaseThenTheStop) {
  const char16_t characters[] = {u'.', u',', u' ', u':', u'\'', u'\b'};
  for (int index = 0; index < KeyboardWindow::kKeysPerRow; ++index) {
    tap(on_key(index));
    const std::vector<Received> expected =
        index == 5 ? std::vector<Received>{kRepeatStart, key(u'\b'), kRepeatStop} : std::vector<Received>{key(characters[index]), kRepeatStop};
    EXPECT_EQ(take_received(), expected) << "key " << index;
  }
  tap({239, kRowTop + 25});
  EXPECT_EQ(take_received(), (std::vector<Received>{kRepeatStart, key(u'\b'), kRepeatStop})) << "the last pixel is backspace";
}

TEST_F(KeyboardWindowTest, SlidingFromBackspaceToAnotherKeyTypesThatKey) {
  pen(PointerAction::down, on_key(5));
  pen(PointerAction::move, on_key(1));
  pen(PointerAction::up, on_key(1));
  EXPECT_EQ(take_received(), (std::vector<Received>{kRepeatStart, key(u','), kRepeatStop}));
}

// The row holds the pen from press to release: leaving it ends the repeat
// at once, and a release away from it types nothing.
TEST_F(KeyboardWindowTest, LeavingTheRowWithTheKeyHeldStopsTheRepeatAndTypesNothing) {
  pen(PointerAction::down, on_key(5));
  pen(PointerAction::move, {200, 100});
  EXPECT_EQ(take_received(), (std::vector<Received>{kRepeatStart, kRepeatStop}));
  pen(PointerAction::move, {10, 10});
  pen(PointerAction::up, {10, 10});
  EXPECT_EQ(take_received(), (std::vector<Received>{kRepeatStop}));
  EXPECT_FALSE(system_.capture()) << "the row lets the pen go";
}

TEST_F(KeyboardWindowTest, ARotationWidensTheKeysAndMovesTheRowToTheNewBottom) {
  server_.set_screen(320, 240, 1);
  pump();
  EXPECT_EQ(keys_.key_width(), 53);
  EXPECT_EQ(system_.window_rect(keys_.window()), (platform::Rect{0, 240 - 2 * 26, 320, 240 - 26}));
}

TEST_F(KeyboardWindowTest, TheRowIsPaintedWithItsSeparatorsAndDrawnKeys) {
  const auto row = snapshot(keys_.window(), "key_row");
  const platform::ColorRef blue = platform::rgb(32, 32, 255), line = platform::rgb(238, 238, 255),
                           white = platform::rgb(255, 255, 255);
  EXPECT_TRUE(has_colour(*row, 100, 5, blue));
  EXPECT_TRUE(has_colour(*row, 80, 5, line)) << "the separator left of the space key";
  EXPECT_TRUE(has_colour(*row, 0, 5, line)) << "the outline";
  EXPECT_TRUE(has_colour(*row, 100, 16, white)) << "the space symbol's floor, an eighth of the row below its middle";
  EXPECT_TRUE(has_colour(*row, 88, 12, white)) << "its left side, 8 pixels inside the cell";
  EXPECT_TRUE(has_colour(*row, 100, 9, blue)) << "the box is open at the top";
  EXPECT_TRUE(has_colour(*row, 220, 13, white)) << "the backspace arrow's shaft";
}

}  // namespace
}  // namespace ductra

#include "app/windows/shell_small_windows.h"

#include <gtest/gtest.h>

#include "tests/app/windows/small_window_fixture.h"

namespace ductra {
namespace {

class ShellSmallWindowsTest : public testing::SmallWindowTest {
 protected:
  ShellSmallWindowsTest() { settings_.large_moving_icon = 1; }

  Settings settings_;
  ShellSmallWindows windows_{{system_, shell_window_, platform_, info_, settings_, CtlColorRegistry::instance(), 5}};
};

// What the controller asks at start-up and at the end, on the real windows.
TEST_F(ShellSmallWindowsTest, TheControllersCallsReachTheWindowsAndTheSettings) {
  settings_.icon_portrait_x = 12;
  settings_.icon_portrait_y = 34;
  windows_.create_prompt();
  windows_.init_screen_metrics();
  windows_.create_tool_window();
  windows_.create_keyboard();
  EXPECT_FALSE(system_.is_window_visible(windows_.prompt().window()));
  EXPECT_EQ(windows_.prompt().size(), (platform::Point{4, 2}));
  EXPECT_TRUE(windows_.tool_is_movable());
  EXPECT_EQ(windows_.tool_top_left(), (platform::Point{12, 34}));
  EXPECT_FALSE(system_.is_window_visible(windows_.keyboard().window()));

  windows_.show_keyboard(true, true);
  windows_.set_tool_expanded(true);
  windows_.update_tool_window(u"rus", true);
  EXPECT_TRUE(system_.is_window_visible(windows_.keyboard().window()));
  EXPECT_EQ(windows_.tool_top_left(), (platform::Point{0, 34})) << "expanded, the movable window starts at the left edge";
  EXPECT_FALSE(windows_.tool().shows_default_icon());
  windows_.update_tool_window(u"rus", false);
  EXPECT_FALSE(system_.is_window_visible(windows_.tool().window()));

  platform::DeviceContext dc(nullptr);
  EXPECT_NE(windows_.prompt_colour(reinterpret_cast<platform::WParam>(&dc), windows_.prompt().window().id), 0);
  EXPECT_EQ(windows_.prompt_colour(reinterpret_cast<platform::WParam>(&dc), windows_.tool().window().id), 0);

  const platform::WindowHandle tool = windows_.tool().window();
  windows_.save_tool_position(false);
  EXPECT_EQ((platform::Point{settings_.icon_portrait_x, settings_.icon_portrait_y}), (platform::Point{0, 34}));
  windows_.destroy_keyboard();
  windows_.destroy_tool_window();
  windows_.destroy_prompt();
  EXPECT_FALSE(system_.is_window(tool));
}

// The calculator's bubble: centred on the ink, kept on the screen, shown in
// its colour.
TEST_F(ShellSmallWindowsTest, TheBubbleIsCentredOnTheInkAndKeptOnTheScreen) {
  windows_.create_prompt();
  struct Case {
    std::optional<InkBox> ink;
    bool left_edge;
    bool right_edge;
  };
  const Case cases[] = {{InkBox{100, 150, 140, 170}, false, false},
                        {InkBox{0, 0, 10, 10}, true, false},
                        {InkBox{230, 300, 239, 319}, false, true},
                        {std::nullopt, false, false}};
  for (const Case& c : cases) {
    windows_.show_prompt(u"1/0=\nError: division by zero", platform::rgb(255, 0, 0), c.ink);
    const platform::Rect rect = system_.window_rect(windows_.prompt().window()).value_or(platform::Rect{});
    const InkBox box = c.ink.value_or(InkBox{0, 0, 240, 320});
    EXPECT_TRUE(system_.is_window_visible(windows_.prompt().window()));
    if (c.left_edge) {
      EXPECT_EQ((platform::Point{rect.left, rect.top}), (platform::Point{0, 0}));
    } else if (c.right_edge) {
      EXPECT_EQ((platform::Point{rect.right, rect.bottom}), (platform::Point{240, 320}));
    } else {
      EXPECT_EQ(rect.left, (box.min_x + box.max_x - rect.width()) / 2);
      EXPECT_EQ(rect.top, (box.min_y + box.max_y - rect.height()) / 2);
    }
  }
  pump();
  snapshot(windows_.prompt().window(), "calculator_bubble");
  windows_.hide_prompt();
  EXPECT_FALSE(system_.is_window_visible(windows_.prompt().window()));
}

}  // namespace
}  // namespace ductra

#include "app/windows/tool_window.h"

#include <gtest/gtest.h>

#include <string>

#include "appplatform/draw/bitmap.h"
#include "tests/app/windows/small_window_fixture.h"

namespace ductra {
namespace {

using platform::Point;
using platform::PointerAction;
using platform::Rect;
using testing::Received;
using testing::Screen;
using testing::SmallWindowTest;
using testing::TestScreenPlatform;

constexpr Received kRepeatStop{WM_DUCTRA_REPEAT_STOP, 0, 0};
constexpr Received kRepeatStart{WM_DUCTRA_REPEAT_START, 0, 0};
constexpr Received kToggle{WM_DUCTRA_TOGGLE_KEYBOARD, 0, 514};
constexpr Received kNextPressed{WM_DUCTRA_NEXT_CONFIGURATION, 0, 513};
constexpr Received kNextReleased{WM_DUCTRA_NEXT_CONFIGURATION, 0, 514};
constexpr Received kMenu{platform::WM_NOTIFY, 0, kNotifyTapAndHold};
Received key(char16_t unit) { return {WM_DUCTRA_KEY, unit, 0}; }

class ToolWindowTest : public SmallWindowTest {
 protected:
  explicit ToolWindowTest(Screen screen = {}) : SmallWindowTest(screen) {}

  ToolWindowHost host(const ScreenInfo& info) { return {system_, shell_window_, info, 5}; }

  // A movable window at (x, y): bar 26 doubled gives size index 2, s = 42.
  void make_movable(int x, int y) {
    ASSERT_TRUE(tool_.init(true, x, y));
    pump();
    take_received();
  }

  ToolWindow tool_{host(info_)};
};

class LargeScreenToolWindowTest : public ToolWindowTest {
 protected:
  LargeScreenToolWindowTest() : ToolWindowTest(Screen{480, 640, 96, std::nullopt}) {}
};

// The size index follows the bottom bar (doubled in movable mode); the
// window is 5/3 s wide collapsed and 17/3 s expanded, and stands at the
// default place: centred left of the middle of a 480 x 640 screen, its
// middle on the bar's middle when the bar is as high as the icon.
TEST_F(LargeScreenToolWindowTest, GeometryForEachSizeIndex) {
  struct Row {
    bool movable;
    int bar;
    int index;
    int s;
    Rect created;
    int expanded_width;
  };
  const Row table[] = {
      {false, 26, 0, 22, {204, 616, 240, 638}, 124}, {false, 35, 1, 30, {190, 608, 240, 638}, 170},
      {false, 42, 2, 42, {170, 598, 240, 640}, 238}, {false, 60, 3, 54, {150, 583, 240, 637}, 306},
      {false, 90, 4, 84, {100, 553, 240, 637}, 476}, {true, 14, 0, 22, {204, 618, 240, 640}, 124},
      {true, 15, 1, 30, {190, 610, 240, 640}, 170},  {true, 26, 2, 42, {170, 598, 240, 640}, 238},
      {true, 27, 3, 54, {150, 586, 240, 640}, 306},  {true, 42, 4, 84, {100, 556, 240, 640}, 476},
  };
  for (const Row& row : table) {
    SCOPED_TRACE(std::string(row.movable ? "movable" : "fixed") + ", bar " + std::to_string(row.bar));
    const TestScreenPlatform platform(Screen{480, 640, 96, row.bar});
    const ScreenInfo info(platform);
    ToolWindow tool(host(info));
    ASSERT_TRUE(tool.init(row.movable, -1, -1));
    EXPECT_EQ(tool.size_index(), row.index);
    EXPECT_EQ(tool.icon_size(), row.s);
    EXPECT_EQ(system_.window_rect(tool.window()), row.created);
    tool.set_expanded(true);
    tool.refresh();
    const Rect expanded = system_.window_rect(tool.window()).value_or(Rect{});
    EXPECT_EQ(expanded.width(), row.movable ? row.expanded_width : row.created.width())
        << "only a movable window grows";
    if (row.movable) {
      EXPECT_EQ(expanded.left, 0);
    }
    tool.set_expanded(false);
    tool.refresh();
    EXPECT_EQ(system_.window_rect(tool.window()).value_or(Rect{}).width(), row.created.width());
  }
}

TEST(ToolGeometryTest, TheDefaultPlaceByPlatformVersionScaleAndInputPanelButton) {
  struct Case {
    const char* what;
    ToolScreen screen;
    int s;
    Point expected;
  };
  const Case cases[] = {
      {"centred", {240, 320, 26, 1, 5, std::nullopt}, 22, {84, 296}},
      {"older platform: from the right edge", {240, 320, 26, 1, 4, std::nullopt}, 22, {182, 296}},
      {"older platform at scale 2", {480, 640, 52, 2, 4, std::nullopt}, 42, {366, 593}},
      {"left of the input panel's button", {240, 320, 26, 1, 5, 200}, 22, {164, 296}},
      {"never left of the screen", {240, 320, 26, 1, 5, 10}, 22, {0, 296}},
      {"a bar lower than the icon: on the bottom edge", {240, 320, 20, 1, 5, std::nullopt}, 30, {70, 290}},
  };
  for (const Case& c : cases) EXPECT_EQ(tool_default_position(c.screen, c.s), c.expected) << c.what;
}

TEST_F(ToolWindowTest, ASavedPlaceIsUsedOnlyInMovableModeAndOnlyOnTheScreen) {
  struct Case {
    const char* what;
    bool movable;
    Point saved;
    Point expected;
  };
  const Case cases[] = {
      {"never saved", true, {-1, -1}, {50, 278}},
      {"right of the screen", true, {240, 10}, {50, 278}},
      {"below the screen", true, {10, 320}, {50, 278}},
      {"on the screen", true, {10, 20}, {10, 20}},
      {"fixed mode ignores it", false, {10, 20}, {84, 296}},
  };
  for (const Case& c : cases) {
    ToolWindow tool(host(info_));
    ASSERT_TRUE(tool.init(c.movable, c.saved.x, c.saved.y));
    EXPECT_EQ(tool.top_left(), c.expected) << c.what;
  }
}

// The movable window of s = 42, expanded at the left edge: the tab below
// x 28, the label below 70, then ".", ",", backspace and space, 42 each.
TEST_F(ToolWindowTest, TapZones) {
  make_movable(0, 100);
  tool_.set_expanded(true);
  tool_.refresh();
  struct Zone {
    int x;
    std::vector<Received> posted;
  };
  const Zone zones[] = {
      {0, {kRepeatStop, kToggle}},
      {27, {kRepeatStop, kToggle}},
      {28, {kRepeatStop, kNextPressed, kNextReleased}},
      {69, {kRepeatStop, kNextPressed, kNextReleased}},
      {70, {kRepeatStop, key(u'.')}},
      {111, {kRepeatStop, key(u'.')}},
      {112, {kRepeatStop, key(u',')}},
      {153, {kRepeatStop, key(u',')}},
      {154, {kRepeatStop, key(u'\b')}},
      {155, {kRepeatStart, kRepeatStop, key(u'\b')}},
      {195, {kRepeatStart, kRepeatStop, key(u'\b')}},
      {196, {kRepeatStop, key(u' ')}},
      {237, {kRepeatStop, key(u' ')}},
  };
  for (const Zone& zone : zones) {
    tap({zone.x, 120});
    EXPECT_EQ(take_received(), zone.posted) << "x " << zone.x;
  }
}

TEST_F(ToolWindowTest, AReleaseAwayFromTheWindowIsNoTap) {
  ASSERT_TRUE(tool_.init(false, -1, -1));
  pen(PointerAction::down, {90, 300});
  pen(PointerAction::up, {10, 300});
  EXPECT_EQ(take_received(), (std::vector<Received>{kRepeatStop}));
  EXPECT_FALSE(system_.capture());
}

TEST_F(ToolWindowTest, HoldingAFixedWindowAsksForTheOptionsMenuAndNothingElse) {
  ASSERT_TRUE(tool_.init(false, -1, -1));
  responder_.answer_hold(true);
  tap({100, 300});
  EXPECT_EQ(take_received(), (std::vector<Received>{kMenu, kRepeatStop}));
  ASSERT_EQ(responder_.holds().size(), 1u);
  EXPECT_EQ(responder_.holds()[0].point, (Point{16, 4}));
}

TEST_F(ToolWindowTest, AMovableWindowHeldStillPastFourHundredMillisecondsAsksOnceAtTheNextMove) {
  make_movable(40, 100);
  pen(PointerAction::down, {80, 120});
  clock_.advance(400);
  pen(PointerAction::move, {81, 121});
  EXPECT_EQ(take_received(), std::vector<Received>{}) << "400 ms is not yet a hold";
  clock_.advance(1);
  pen(PointerAction::move, {82, 122});
  pen(PointerAction::move, {83, 123});
  pen(PointerAction::up, {83, 123});
  EXPECT_EQ(take_received(), (std::vector<Received>{kMenu, kRepeatStop}));
  EXPECT_EQ(tool_.top_left(), (Point{40, 100})) << "not moved";
}

TEST_F(ToolWindowTest, ADragMovesTheWindowAndKeepsItOnTheScreen) {
  make_movable(40, 100);
  pen(PointerAction::down, {80, 120});
  pen(PointerAction::move, {86, 126});
  pen(PointerAction::move, {110, 170});
  pen(PointerAction::up, {110, 170});
  EXPECT_EQ(tool_.top_left(), (Point{70, 150})) << "moved by the pen";
  EXPECT_EQ(take_received(), (std::vector<Received>{kRepeatStop})) << "a drag is no tap";

  pen(PointerAction::down, {80, 160});
  pen(PointerAction::move, {300, 400});
  pen(PointerAction::up, {300, 400});
  EXPECT_EQ(system_.window_rect(tool_.window()), (Rect{240 - 70, 320 - 42, 240, 320})) << "touching both edges";

  pen(PointerAction::down, {200, 300});
  pen(PointerAction::up, {-200, -300});
  pen(PointerAction::down, {190, 290});
  pen(PointerAction::move, {0, 0});
  pen(PointerAction::up, {0, 0});
  EXPECT_EQ(tool_.top_left(), (Point{0, 0}));
}

TEST_F(ToolWindowTest, TheLabelIsRenderedOnlyWhenItChangesAndAnEmptyOneShowsTheDefaultIcon) {
  ASSERT_TRUE(tool_.init(false, -1, -1));
  EXPECT_TRUE(tool_.shows_default_icon());
  tool_.update(u"rus", true);
  const auto rus = tool_.icon();
  ASSERT_TRUE(rus);
  EXPECT_FALSE(tool_.shows_default_icon());
  EXPECT_EQ(rus->width(), 22);
  tool_.update(u"rus", true);
  EXPECT_EQ(tool_.icon(), rus) << "the same label keeps its icon";
  tool_.update(u"rusX", true);
  EXPECT_EQ(tool_.icon(), rus) << "a label has three units at most";
  tool_.update(u"eng", false);
  EXPECT_FALSE(tool_.visible());
  EXPECT_EQ(tool_.icon(), rus) << "a hidden window keeps what it showed";
  tool_.update(u"", true);
  EXPECT_TRUE(tool_.visible());
  EXPECT_TRUE(tool_.shows_default_icon());
}

TEST_F(ToolWindowTest, ThePlaceIsSavedForTheOrientationItBelongsTo) {
  make_movable(30, 40);
  Settings settings;
  tool_.save_position(settings, false);
  EXPECT_EQ((Point{settings.icon_portrait_x, settings.icon_portrait_y}), (Point{30, 40}));
  EXPECT_EQ(settings.icon_landscape_x, kNoIconPosition);
  server_.set_screen(320, 240, 1);
  tool_.save_position(settings, true);
  EXPECT_EQ(settings.icon_landscape_x, kNoIconPosition) << "after a rotation the place is still the portrait one";
  tool_.save_position(settings, false);
  EXPECT_EQ((Point{settings.icon_landscape_x, settings.icon_landscape_y}), (Point{30, 40}));

  ToolWindow fixed(host(info_));
  ASSERT_TRUE(fixed.init(false, -1, -1));
  Settings untouched;
  fixed.save_position(untouched, false);
  EXPECT_EQ(untouched, Settings{});
}

TEST(ToolGeometryTest, TheDefaultIconFollowsTheScaleAndTheMode) {
  EXPECT_EQ(tool_default_icon_id(1, false), 149);
  EXPECT_EQ(tool_default_icon_id(2, false), 125);
  EXPECT_EQ(tool_default_icon_id(1, true), 125);
  EXPECT_EQ(tool_default_icon_id(2, true), 150);
}

TEST_F(ToolWindowTest, ThePaintedWindowCollapsedAndExpanded) {
  make_movable(0, 100);
  tool_.update(u"eng", true);
  pump();
  const platform::ColorRef dark = platform::default_palette()[8], white = platform::rgb(255, 255, 255);
  const auto collapsed = snapshot(tool_.window(), "tool_window_collapsed");
  ASSERT_EQ(collapsed->width(), 70);
  EXPECT_TRUE(has_colour(*collapsed, 1, 20, dark)) << "the tab's border";
  EXPECT_TRUE(has_colour(*collapsed, 10, 21, white)) << "its triangle";
  EXPECT_TRUE(has_colour(*collapsed, 26, 21, dark)) << "pointing right";

  tool_.set_expanded(true);
  tool_.refresh();
  pump();
  const auto expanded = snapshot(tool_.window(), "tool_window_expanded");
  ASSERT_EQ(expanded->width(), 238);
  EXPECT_TRUE(has_colour(*expanded, 10, 21, white)) << "the triangle now points left";
  EXPECT_TRUE(has_colour(*expanded, 2, 21, dark));
  EXPECT_TRUE(has_colour(*expanded, 27, 21, dark));
  EXPECT_TRUE(has_colour(*expanded, 154 + 21, 21, white)) << "the backspace arrow's shaft";
  EXPECT_TRUE(has_colour(*expanded, 196 + 21, 21 + 42 / 8, white)) << "the space symbol's floor";
}

}  // namespace
}  // namespace ductra

#include "appplatform/window_tree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ductra::platform {
namespace {

constexpr ThreadRef kThread{1, 1};

class WindowTreeTest : public ::testing::Test {
 protected:
  WindowHandle make(std::u16string class_name, Rect rect, std::uint32_t style = WS_VISIBLE | WS_POPUP,
                    std::uint32_t ex_style = 0, WindowHandle parent = {}, std::u16string title = u"") {
    return tree_.create({class_name, title, style, ex_style, rect, parent}, kThread);
  }
  WindowHandle child(WindowHandle parent, std::u16string class_name, Rect rect, std::uint32_t style = 0) {
    return make(class_name, rect, WS_CHILD | WS_VISIBLE | style, 0, parent);
  }
  std::vector<WindowHandle> top() const { return tree_.top_level_windows(); }

  WindowTree tree_{Rect{0, 0, 240, 320}};
};

TEST_F(WindowTreeTest, ZOrderKeepsTheTopmostBandAboveAndOwnedWindowsAboveTheirOwners) {
  const WindowHandle a = make(u"A", {0, 0, 10, 10});
  const WindowHandle topmost = make(u"T", {0, 0, 10, 10}, WS_VISIBLE | WS_POPUP, WS_EX_TOPMOST);
  const WindowHandle b = make(u"B", {0, 0, 10, 10});
  // A new ordinary window comes in below the topmost band.
  EXPECT_EQ(top(), (std::vector{topmost, b, a}));

  const WindowHandle owned = make(u"O", {0, 0, 10, 10}, WS_VISIBLE | WS_POPUP, 0, a);
  struct Step {
    WindowHandle window;
    WindowHandle insert_after;
    std::vector<WindowHandle> expected;
  };
  const std::vector<Step> steps = {
      {a, HWND_TOP, {topmost, owned, a, b}},            // the owned window follows its owner up
      {b, HWND_TOPMOST, {b, topmost, owned, a}},        // into the topmost band
      {a, HWND_TOP, {b, topmost, owned, a}},            // the top of the ordinary band is below it
      {b, HWND_NOTOPMOST, {topmost, b, owned, a}},      // back to the top of the ordinary band
      {topmost, HWND_BOTTOM, {b, owned, a, topmost}},   // the bottom leaves the band
      {b, a, {owned, a, b, topmost}},                   // just below a given sibling
  };
  for (const Step& step : steps) {
    ASSERT_TRUE(tree_.set_z_order(step.window, step.insert_after));
    EXPECT_EQ(top(), step.expected) << "moving " << step.window.id;
  }
  EXPECT_FALSE(tree_.set_z_order(a, WindowHandle{999}));
}

TEST_F(WindowTreeTest, AWindowOwnedByATopmostWindowIsTopmostToo) {
  const WindowHandle owner = make(u"T", {0, 0, 10, 10}, WS_VISIBLE | WS_POPUP, WS_EX_TOPMOST);
  const WindowHandle ordinary = make(u"A", {0, 0, 10, 10});
  const WindowHandle owned = make(u"O", {0, 0, 10, 10}, WS_VISIBLE | WS_POPUP, 0, owner);
  EXPECT_TRUE(tree_.find_record(owned)->ex_style & WS_EX_TOPMOST);
  EXPECT_EQ(top(), (std::vector{owned, owner, ordinary}));
}

TEST_F(WindowTreeTest, HitTestsAnswerTheDeepestVisibleEnabledWindow) {
  const WindowHandle back = make(u"Back", {0, 0, 240, 320});
  const WindowHandle panel = make(u"Panel", {20, 20, 220, 200}, WS_VISIBLE | WS_POPUP | WS_BORDER);
  const WindowHandle button = child(panel, u"Button", {10, 10, 60, 40});
  const WindowHandle hidden = child(panel, u"Hidden", {100, 10, 150, 40}, 0);
  tree_.find_record(hidden)->style &= ~WS_VISIBLE;
  const WindowHandle disabled = child(panel, u"Off", {10, 100, 60, 140}, WS_DISABLED);
  const WindowHandle inner = child(button, u"Inner", {5, 5, 15, 15});
  const WindowHandle blocked = make(u"Blocked", {200, 250, 240, 320}, WS_VISIBLE | WS_POPUP | WS_DISABLED);

  struct Case {
    Point point;
    WindowHandle expected;
  };
  // The panel's client area starts at (21, 21) because of its border.
  const std::vector<Case> cases = {
      {{5, 5}, back},
      {{20, 20}, panel},          // on the border
      {{31, 31}, button},         // the button's top-left pixel
      {{81, 60}, panel},          // the button ends before x 81
      {{37, 37}, inner},
      {{130, 40}, panel},         // a hidden child is not there
      {{40, 130}, panel},         // a disabled child answers its parent
      {{219, 199}, panel},
      {{220, 200}, back},         // right and bottom lie outside
      {{230, 300}, {}},           // a disabled top-level window blocks what is under it
      {{-1, 5}, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(tree_.window_from_point(c.point), c.expected) << c.point.x << "," << c.point.y;
  }
  (void)blocked;

  const std::vector<Case> child_cases = {
      {{10, 10}, button},
      {{110, 20}, hidden},        // the child test sees hidden children
      {{20, 110}, disabled},      // and disabled ones
      {{150, 150}, panel},        // inside the parent, on no child
      {{-1, 0}, panel},           // the border still belongs to the parent
      {{199, 10}, {}},            // outside the parent
  };
  for (const Case& c : child_cases) {
    EXPECT_EQ(tree_.child_from_point(panel, c.point), c.expected) << c.point.x << "," << c.point.y;
  }
}

TEST_F(WindowTreeTest, TheChildWalkVisitsEveryWindowDepthFirstInZOrder) {
  const WindowHandle first = make(u"First", {0, 0, 100, 100});
  const WindowHandle a = child(first, u"A", {0, 0, 10, 10});
  const WindowHandle b = child(first, u"B", {0, 0, 10, 10});
  const WindowHandle a1 = child(a, u"A1", {0, 0, 5, 5});
  const WindowHandle second = make(u"Second", {0, 0, 100, 100});
  // Children come in at the bottom, top-level windows at the top.
  EXPECT_EQ(tree_.walk(), (std::vector{second, first, a, a1, b}));

  struct Case {
    WindowHandle window;
    int relation;
    WindowHandle expected;
  };
  const std::vector<Case> cases = {
      {kDesktopWindow, GW_CHILD, second}, {second, GW_HWNDNEXT, first}, {first, GW_HWNDNEXT, {}},
      {first, GW_HWNDPREV, second},       {first, GW_CHILD, a},         {a, GW_HWNDNEXT, b},
      {b, GW_HWNDFIRST, a},               {a, GW_HWNDLAST, b},          {a1, GW_CHILD, {}},
      {second, GW_OWNER, {}},             {WindowHandle{77}, GW_CHILD, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(tree_.relation(c.window, c.relation), c.expected) << c.window.id << " relation " << c.relation;
  }

  // Destroying removes children and owned windows, deepest first.
  const WindowHandle owned = make(u"Owned", {0, 0, 5, 5}, WS_VISIBLE | WS_POPUP, 0, first);
  EXPECT_EQ(tree_.destroy(first), (std::vector{owned, a1, a, b, first}));
  EXPECT_EQ(tree_.walk(), (std::vector{second}));
  EXPECT_FALSE(tree_.exists(a1));
}

TEST_F(WindowTreeTest, LookUpByClassAndTitleSearchesTopLevelWindowsFromTheTop) {
  const WindowHandle shell = make(u"Korvale Software Ductra Shell Class", {0, 0, 1, 1}, WS_DISABLED, 0, {},
                                  u"Korvale Software Ductra");
  const WindowHandle panel = make(u"SipWndClass", {0, 0, 1, 1});
  const WindowHandle relay = make(u"Korvale Software Ductra SIP Class", {0, 0, 1, 1}, WS_CHILD | WS_VISIBLE, 0, panel);
  const WindowHandle other = make(u"SipWndClass", {0, 0, 1, 1}, WS_POPUP, 0, {}, u"second");

  EXPECT_EQ(tree_.find(u"Korvale Software Ductra Shell Class", u"Korvale Software Ductra"), shell);
  EXPECT_EQ(tree_.find(u"korvale software ductra shell class", std::nullopt), shell);  // class names ignore case
  EXPECT_EQ(tree_.find(std::nullopt, u"korvale software ductra"), WindowHandle{});     // titles do not
  EXPECT_EQ(tree_.find(u"SipWndClass", std::nullopt), other);                            // the upper one
  EXPECT_EQ(tree_.find(u"SipWndClass", u""), panel);
  EXPECT_EQ(tree_.find(u"Korvale Software Ductra SIP Class", std::nullopt), WindowHandle{});  // children are not top-level
  EXPECT_EQ(tree_.relation(panel, GW_CHILD), relay);
}

TEST_F(WindowTreeTest, CoordinatesFollowBordersScrollBarsAndParents) {
  const WindowHandle outer = make(u"Outer", {10, 20, 110, 220}, WS_VISIBLE | WS_POPUP | WS_BORDER | WS_VSCROLL);
  const WindowHandle inner = child(outer, u"Inner", {5, 6, 25, 36}, WS_BORDER | WS_HSCROLL);

  EXPECT_EQ(tree_.window_rect(outer), (Rect{10, 20, 110, 220}));
  EXPECT_EQ(tree_.client_rect(outer), (Rect{0, 0, 98 - kScrollBarWidth, 198}));
  EXPECT_EQ(tree_.client_origin(outer), (Point{11, 21}));
  EXPECT_EQ(tree_.window_rect(inner), (Rect{16, 27, 36, 57}));
  EXPECT_EQ(tree_.client_origin(inner), (Point{17, 28}));
  EXPECT_EQ(tree_.client_rect(inner), (Rect{0, 0, 18, 28 - kScrollBarWidth}));

  tree_.find_record(outer)->style &= ~WS_VISIBLE;
  EXPECT_FALSE(tree_.is_visible(inner));  // a hidden parent hides its children
}

TEST_F(WindowTreeTest, TheUpdateRegionGathersInvalidatedPartsInsideTheClientArea) {
  const WindowHandle w = make(u"W", {0, 0, 100, 50});
  EXPECT_FALSE(tree_.take_update(w));
  EXPECT_TRUE(tree_.invalidate(w, Rect{10, 10, 20, 20}, false));
  EXPECT_TRUE(tree_.invalidate(w, Rect{90, 40, 200, 200}, true));
  EXPECT_FALSE(tree_.invalidate(w, Rect{100, 0, 120, 10}, false));  // wholly outside
  auto update = tree_.take_update(w);
  ASSERT_TRUE(update);
  EXPECT_EQ(update->first, (Rect{10, 10, 100, 50}));
  EXPECT_TRUE(update->second);
  EXPECT_FALSE(tree_.take_update(w));
}

TEST_F(WindowTreeTest, AChildNeedsAnExistingParent) {
  EXPECT_FALSE(tree_.create({u"C", u"", WS_CHILD, 0, {}, {}}, kThread));
  EXPECT_FALSE(tree_.create({u"C", u"", WS_CHILD, 0, {}, WindowHandle{42}}, kThread));
  EXPECT_FALSE(tree_.create({u"P", u"", WS_POPUP, 0, {}, WindowHandle{42}}, kThread));
}

}  // namespace
}  // namespace ductra::platform

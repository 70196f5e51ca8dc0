#include <gtest/gtest.h>

#include "appplatform/message_box.h"
#include "appplatform/popup_menu.h"
#include "appplatform/scripted_responder.h"
#include "window_test_support.h"

namespace ductra::platform {
namespace {

TEST(PopupMenuTest, MnemonicsAreMarkedByAnAmpersand) {
  struct Case {
    std::u16string text;
    std::u16string shown;
    std::optional<std::size_t> mnemonic;
  };
  const std::vector<Case> cases = {
      {u"&Опции", u"Опции", 0},    {u"Save &as", u"Save as", 5}, {u"R&&D", u"R&D", std::nullopt},
      {u"&&&x", u"&x", 1},          {u"end&", u"end&", std::nullopt}, {u"", u"", std::nullopt},
      {u"&a&b", u"ab", 0},
  };
  for (const Case& c : cases) {
    const MenuLabel label = menu_label(c.text);
    EXPECT_EQ(label.text, c.shown);
    EXPECT_EQ(label.mnemonic, c.mnemonic);
  }
}

TEST(PopupMenuTest, ItemsKeepTheirFlagsAndUnknownFlagsAreRefused) {
  PopupMenu menu;
  EXPECT_TRUE(menu.append(MF_STRING, -100, u"Опции"));
  EXPECT_TRUE(menu.append(MF_SEPARATOR, 0, u""));
  EXPECT_TRUE(menu.append(MF_STRING | MF_CHECKED, 1004, u"Русский"));
  EXPECT_TRUE(menu.append(MF_GRAYED, 7, u"off"));
  EXPECT_FALSE(menu.append(0x4000, 8, u"unknown"));
  ASSERT_EQ(menu.items().size(), 4u);
  EXPECT_EQ(menu.items()[0].id, -100);
  EXPECT_TRUE(menu.items()[1].separator);
  EXPECT_TRUE(menu.items()[2].checked);
  EXPECT_FALSE(menu.items()[3].enabled);
  EXPECT_NE(menu.find(1004), nullptr);
  EXPECT_EQ(menu.find(7), nullptr);  // not selectable
  EXPECT_EQ(menu.find(0), nullptr);  // the separator
}

TEST(PopupMenuTest, LayoutAlignsAtThePointAndStaysOnTheScreen) {
  PopupMenu menu;
  menu.append(MF_STRING, 1, u"one");
  menu.append(MF_SEPARATOR, 0, u"");
  menu.append(MF_STRING, 2, u"two");
  const int height = 2 * kMenuItemHeight + kMenuSeparatorHeight;
  const Rect screen{0, 0, 240, 320};
  struct Case {
    Point at;
    std::uint32_t flags;
    Point top_left;
  };
  const std::vector<Case> cases = {
      {{10, 20}, TPM_LEFTALIGN, {10, 20}},
      {{10, 300}, TPM_BOTTOMALIGN, {10, 300 - height}},
      {{100, 100}, TPM_RIGHTALIGN, {40, 100}},
      {{230, 310}, 0, {180, 320 - height}},           // pushed back inside
      {{-5, 10}, TPM_BOTTOMALIGN, {0, 0}},
  };
  for (const Case& c : cases) {
    const MenuLayout layout = layout_menu(menu, c.at, c.flags, screen);
    EXPECT_EQ((Point{layout.frame.left, layout.frame.top}), c.top_left) << c.at.x << "," << c.at.y;
    EXPECT_EQ(layout.frame.height(), height);
    EXPECT_EQ(layout.frame.width(), 60);
  }
  const MenuLayout layout = layout_menu(menu, {0, 0}, 0, screen);
  EXPECT_EQ(menu_item_at(menu, layout, {5, 5}), 0u);
  EXPECT_EQ(menu_item_at(menu, layout, {5, kMenuItemHeight + 2}), std::nullopt);  // the separator
  EXPECT_EQ(menu_item_at(menu, layout, {5, kMenuItemHeight + kMenuSeparatorHeight}), 2u);
  EXPECT_EQ(menu_item_at(menu, layout, {61, 5}), std::nullopt);
}

class ScriptedUiTest : public WindowServerTest {
 protected:
  ScriptedResponder responder_;
};

TEST_F(ScriptedUiTest, TrackingAMenuReturnsOrPostsTheChoice) {
  MessageLog log;
  const WindowHandle owner = make_window(log, {0, 0, 10, 10}, WS_POPUP);
  PopupMenu menu;
  menu.append(MF_STRING, -100, u"&Опции");
  menu.append(MF_SEPARATOR, 0, u"");
  menu.append(MF_STRING | MF_CHECKED, 1004, u"Русский");
  menu.append(MF_STRING, -1, u"По умолчанию");
  menu.append(MF_GRAYED, 5, u"Off");

  const std::uint32_t returning = TPM_RETURNCMD | TPM_NONOTIFY;
  responder_.choose_text(u"Опции");
  EXPECT_EQ(track_popup_menu(menu, returning | TPM_BOTTOMALIGN, 20, 200, owner), -100);
  responder_.choose_id(-1);
  EXPECT_EQ(track_popup_menu(menu, returning, 0, 0, owner), -1);
  responder_.dismiss_menu();
  EXPECT_EQ(track_popup_menu(menu, returning, 0, 0, owner), 0);
  responder_.choose_id(5);  // grayed: not a choice
  EXPECT_EQ(track_popup_menu(menu, returning, 0, 0, owner), 0);
  responder_.choose_id(77);  // not in the menu
  EXPECT_EQ(track_popup_menu(menu, returning, 0, 0, owner), 0);

  responder_.choose_id(1004);
  EXPECT_EQ(track_popup_menu(menu, 0, 0, 0, owner), 1);
  responder_.choose_id(1004);
  EXPECT_EQ(track_popup_menu(menu, TPM_NONOTIFY, 0, 0, owner), 1);
  pump();
  ASSERT_EQ(log.numbers(), (std::vector<std::uint32_t>{WM_COMMAND}));
  EXPECT_EQ(log.all()[0].wparam, 1004u);

  ASSERT_EQ(responder_.menus().size(), 7u);
  const ShownMenu first = responder_.menus()[0];
  EXPECT_EQ(first.items.size(), 5u);
  EXPECT_TRUE(first.items[2].checked);
  EXPECT_EQ(first.layout.frame.bottom, 200);
  EXPECT_EQ(first.owner, owner);
  EXPECT_EQ(responder_.unscripted(), 0);
  EXPECT_EQ(track_popup_menu(menu, returning, 0, 0, owner), 0);
  EXPECT_EQ(responder_.unscripted(), 1);
}

TEST_F(ScriptedUiTest, MessageBoxesOfferTheButtonSetsAndIconsOfTheirFlags) {
  struct Case {
    std::uint32_t flags;
    std::vector<int> buttons;
    MessageBoxIcon icon;
    bool topmost;
    bool foreground;
  };
  const std::vector<Case> cases = {
      {MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST, {IDOK}, MessageBoxIcon::stop, true, true},
      {MB_YESNO | MB_ICONQUESTION, {IDYES, IDNO}, MessageBoxIcon::question, false, false},
      {MB_OKCANCEL, {IDOK, IDCANCEL}, MessageBoxIcon::none, false, false},
      {MB_ICONHAND, {IDOK}, MessageBoxIcon::stop, false, false},
  };
  for (const Case& c : cases) {
    auto request = message_box_request({}, u"text", u"Ductra 9.0", c.flags);
    ASSERT_TRUE(request) << c.flags;
    EXPECT_EQ(request->buttons, c.buttons);
    EXPECT_EQ(request->icon, c.icon);
    EXPECT_EQ(request->topmost, c.topmost);
    EXPECT_EQ(request->set_foreground, c.foreground);
  }
  EXPECT_FALSE(message_box_request({}, u"", u"", 2));       // a button set nobody uses
  EXPECT_FALSE(message_box_request({}, u"", u"", 0x0040));  // an icon nobody uses
  EXPECT_EQ(message_box({}, u"", u"", 2), 0);

  MessageLog log;
  const WindowHandle owner = make_window(log, {0, 0, 10, 10}, WS_POPUP);
  responder_.answer_box(IDYES);
  EXPECT_EQ(message_box(owner, u"Удалить из конфигурации?", u"Ductra", MB_YESNO | MB_ICONQUESTION), IDYES);
  responder_.answer_box(IDOK);  // not offered by a yes/no box: counts as no
  EXPECT_EQ(message_box(owner, u"x", u"y", MB_YESNO), IDNO);
  EXPECT_EQ(message_box(owner, u"x", u"y", MB_OKCANCEL), IDCANCEL);  // unscripted
  EXPECT_TRUE(system_.is_window_enabled(owner));
  ASSERT_EQ(responder_.boxes().size(), 3u);
  EXPECT_EQ(responder_.boxes()[0].text, u"Удалить из конфигурации?");
  EXPECT_EQ(responder_.boxes()[0].owner, owner);
}

}  // namespace
}  // namespace ductra::platform

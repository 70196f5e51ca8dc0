#include "appplatform/dialog/menu_bar.h"

#include <gtest/gtest.h>

#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/full_screen_dialog.h"
#include "appplatform/message_box.h"
#include "dialog_fixture.h"

namespace ductra::platform {
namespace {

std::vector<int> commands_heard;

MessageResult command_recorder(WindowHandle, std::uint32_t message, WParam wparam, LParam) {
  if (message == WM_COMMAND) commands_heard.push_back(low_word(wparam));
  return message == WM_COMMAND ? 1 : 0;
}

DialogTemplate plain_dialog() {
  DialogTemplate t;
  t.title = u"Plain";
  t.style = WS_VISIBLE;
  t.frame = {20, 20, 200, 200};
  t.items = {{1025, u"STATIC", u"Title", 0, {4, 4, 100, 18}}};
  return t;
}

TEST_F(DialogTest, SoftKeysSendTheirCommandsToTheOwnerOnlyWhenLiftedOnTheKeyPressed) {
  commands_heard.clear();
  const WindowHandle dialog = create_dialog(plain_dialog(), {}, command_recorder, 0);
  ASSERT_TRUE(dialog);
  const SoftKey keys[] = {{1, u"Done"}, {2, u"Cancel"}};
  const WindowHandle bar = create_menu_bar(dialog, keys);
  ASSERT_TRUE(bar);
  EXPECT_EQ(system_.window_rect(bar), (Rect{0, kHeight - kMenuBarHeight, kWidth, kHeight}));
  EXPECT_EQ(system_.get_window(bar, GW_OWNER), dialog);
  const std::vector<Rect> rects = menu_bar_key_rects(bar);
  ASSERT_EQ(rects.size(), 2u);
  pen(centre_of(rects[1]), centre_of(rects[1]));
  pen(centre_of(rects[0]), centre_of(rects[1]));  // slid from one key to the other
  pen(centre_of(rects[0]), centre_of(rects[0]));
  EXPECT_EQ(commands_heard, (std::vector<int>{2, 1}));
  EXPECT_FALSE(create_menu_bar(WindowHandle{4321}, keys));
  EXPECT_TRUE(system_.destroy_window(dialog));
  EXPECT_FALSE(system_.is_window(bar));  // the bar goes with its owner
  EXPECT_TRUE(menu_bar_key_rects(bar).empty());
}

TEST_F(DialogTest, AFullScreenDialogFillsTheScreenAboveItsMenuBarWithAnOkButton) {
  commands_heard.clear();
  const WindowHandle dialog = create_dialog(plain_dialog(), {}, command_recorder, 0);
  ASSERT_TRUE(dialog);
  EXPECT_FALSE(init_full_screen_dialog(dialog, 0, SHIDIF_SIZEDLGFULLSCREEN));
  EXPECT_EQ(system_.window_rect(dialog), (Rect{20, 20, 200, 200}));
  ASSERT_TRUE(init_full_screen_dialog(dialog, SHIDIM_FLAGS, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_EMPTYMENU));
  EXPECT_EQ(system_.window_rect(dialog), (Rect{0, 0, kWidth, kHeight - kMenuBarHeight}));
  const WindowHandle bar = system_.find_window(kMenuBarClass, std::nullopt);
  ASSERT_TRUE(bar);
  EXPECT_TRUE(menu_bar_key_rects(bar).empty());
  const WindowHandle done = dialog_item(dialog, IDOK);
  ASSERT_TRUE(done);
  tap_item(dialog, IDOK);
  EXPECT_EQ(commands_heard, std::vector<int>{IDOK});
  ASSERT_TRUE(init_full_screen_dialog(dialog, SHIDIM_FLAGS, SHIDIF_DONEBUTTON));
  EXPECT_EQ(dialog_item(dialog, IDOK), done);  // one OK button, not two
  EXPECT_FALSE(init_full_screen_dialog(bar, SHIDIM_FLAGS, SHIDIF_DONEBUTTON));
  system_.destroy_window(dialog);
}

}  // namespace
}  // namespace ductra::platform

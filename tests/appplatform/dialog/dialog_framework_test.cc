#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/dialog_box.h"
#include "appplatform/dialog/keyboard_demand.h"
#include "appplatform/draw/color.h"
#include "appplatform/draw/font.h"
#include "appplatform/message_box.h"
#include "appplatform/scripted_responder.h"
#include "appplatform/thread.h"
#include "dialog_fixture.h"

namespace ductra::platform {
namespace {

constexpr int kTitle = 1025;
constexpr ColorRef kStrip = rgb(0, 128, 64);
const Brush kStripBrush = solid_brush(kStrip);

// A procedure that keeps the commands it hears, gives control 1025 its own
// background and ends on OK and Cancel.
struct Heard {
  std::vector<std::pair<int, int>> commands;
};

MessageResult recording_procedure(WindowHandle dialog, std::uint32_t message, WParam wparam, LParam lparam) {
  WindowSystem& system = WindowSystem::current();
  if (message == WM_INITDIALOG) {
    system.set_user_data(dialog, static_cast<std::uintptr_t>(lparam));
    return 0;
  }
  if (message == WM_CTLCOLORSTATIC && WindowHandle{static_cast<std::uint32_t>(lparam)} == dialog_item(dialog, kTitle)) {
    reinterpret_cast<DeviceContext*>(wparam)->set_text_color(rgb(0, 0, 0xC0));
    return reinterpret_cast<MessageResult>(&kStripBrush);
  }
  auto* heard = reinterpret_cast<Heard*>(system.user_data(dialog));
  if (message != WM_COMMAND || !heard) return 0;
  heard->commands.emplace_back(low_word(wparam), high_word(wparam));
  if (low_word(wparam) == IDOK || low_word(wparam) == IDCANCEL) end_dialog(dialog, low_word(wparam));
  return 1;
}

DialogTemplate groups_template() {
  DialogTemplate t;
  t.title = u"Groups";
  t.font_face = kFixedTestFace;
  t.frame = {10, 10, 230, 200};
  t.items = {
      {kTitle, u"STATIC", u"Title", 0, {4, 4, 120, 18}},
      {11, u"BUTTON", u"A1", BS_AUTORADIOBUTTON | WS_GROUP, {4, 20, 100, 36}},
      {12, u"BUTTON", u"A2", BS_AUTORADIOBUTTON, {4, 40, 100, 56}},
      {21, u"BUTTON", u"B1", BS_AUTORADIOBUTTON | WS_GROUP, {4, 60, 100, 76}},
      {22, u"BUTTON", u"B2", BS_AUTORADIOBUTTON, {4, 80, 100, 96}},
      {IDOK, u"BUTTON", u"OK", BS_PUSHBUTTON | WS_GROUP, {4, 150, 80, 174}},
  };
  return t;
}

TEST_F(DialogTest, RadioGroupsAreSeparateAndAButtonLiftedOutsideIsNotClicked) {
  Heard heard;
  const WindowHandle dialog = create_dialog(groups_template(), {}, recording_procedure, reinterpret_cast<LParam>(&heard));
  ASSERT_TRUE(dialog);
  EXPECT_FALSE(system_.is_window_visible(dialog));  // no WS_VISIBLE in the template
  system_.show_window(dialog, SW_SHOW);
  auto checked = [&](int id) { return system_.send_message(dialog_item(dialog, id), BM_GETCHECK, 0, 0).result; };
  struct Step {
    int tap;
    std::vector<int> now_checked;
  };
  const Step steps[] = {{11, {11}}, {21, {11, 21}}, {12, {12, 21}}, {22, {12, 22}}, {22, {12, 22}}};
  for (const Step& step : steps) {
    const Rect r = *system_.window_rect(dialog_item(dialog, step.tap));
    pen(centre_of(r), centre_of(r));
    for (int id : {11, 12, 21, 22}) {
      const bool expected = std::find(step.now_checked.begin(), step.now_checked.end(), id) != step.now_checked.end();
      EXPECT_EQ(checked(id), expected ? BST_CHECKED : BST_UNCHECKED) << "after tapping " << step.tap << ", button " << id;
    }
  }
  heard.commands.clear();
  const Rect ok = *system_.window_rect(dialog_item(dialog, IDOK));
  pen(centre_of(ok), {ok.right + 20, ok.top});  // pressed, then slid off and lifted
  EXPECT_TRUE(heard.commands.empty());
  EXPECT_EQ(system_.capture(), WindowHandle{});

  // The title static took the dialog's brush; the dialog's own background
  // is the window colour.
  const Rect title = *system_.window_rect(dialog_item(dialog, kTitle));
  EXPECT_EQ(screen_->color_at(title.right - 2, title.bottom - 2), screen_->color_of(screen_->native_of(kStrip)));
  EXPECT_EQ(screen_->color_at(150, 150), sys_color(COLOR_WINDOW));
  EXPECT_TRUE(system_.destroy_window(dialog));
  EXPECT_FALSE(dialog_item(dialog, kTitle));
}

TEST_F(DialogTest, AModalDialogDisablesItsOwnerAndItsKeysEndIt) {
  system_.register_class({u"Owner", [](WindowHandle w, std::uint32_t m, WParam wp, LParam lp) {
                            return WindowSystem::current().default_procedure(w, m, wp, lp);
                          }});
  CreateWindowParams params;  // the owner lives on the dialog's thread, as in the application
  params.class_name = u"Owner";
  params.style = WS_POPUP | WS_VISIBLE;
  params.width = 240;
  params.height = 320;
  std::vector<bool> demand;
  server_.set_keyboard_listener([&](bool wanted) { demand.push_back(wanted); });
  DialogTemplate with_field = groups_template();
  with_field.items.push_back({40, u"EDIT", u"", WS_TABSTOP, {4, 100, 100, 116}});
  struct Case {
    WParam key;
    std::intptr_t result;
  };
  for (const Case& c : {Case{VK_RETURN, IDOK}, Case{VK_ESCAPE, IDCANCEL}}) {
    Heard heard;
    std::atomic<std::intptr_t> result{0};
    std::atomic<std::uint32_t> owner_id{0};
    auto ui = Thread::start([&]() -> std::uint32_t {
      const WindowHandle owner = system_.create_window(params);
      owner_id.store(owner.id);
      result.store(dialog_box(with_field, owner, recording_procedure, reinterpret_cast<LParam>(&heard)));
      return system_.is_window_enabled(owner) ? 1 : 0;
    });
    ASSERT_TRUE(ui);
    settle();
    const WindowHandle owner{owner_id.load()};
    EXPECT_FALSE(system_.is_window_enabled(owner));
    EXPECT_TRUE(keyboard_wanted());
    const WindowHandle dialog = system_.find_window(kDialogClass, u"Groups");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(system_.foreground_window(), dialog);
    tap_item(dialog, 40);
    system_.post_message(system_.focus(), WM_KEYDOWN, c.key, 0);
    settle();
    EXPECT_TRUE(ui->has_ended());
    EXPECT_EQ(ui->exit_code(), 1u);  // the owner was enabled again
    ui.reset();
    EXPECT_EQ(result.load(), c.result);
    EXPECT_FALSE(system_.is_window(dialog));
    EXPECT_FALSE(keyboard_wanted());
  }
  EXPECT_EQ(demand, (std::vector<bool>{true, false, true, false})) << "the device heard each dialog's demand";
  server_.set_keyboard_listener({});
}

TEST_F(DialogTest, ABrokenTemplateOrAnUnscriptedDialogEndsWithAClearResult) {
  DialogTemplate broken = groups_template();
  broken.items.push_back({50, u"NoSuchClass", u"", 0, {0, 0, 10, 10}});
  Heard heard;
  EXPECT_EQ(dialog_box(broken, {}, recording_procedure, reinterpret_cast<LParam>(&heard)), kDialogFailed);
  EXPECT_FALSE(system_.find_window(kDialogClass, std::nullopt));
  EXPECT_FALSE(create_dialog(groups_template(), {}, nullptr, 0));
  EXPECT_FALSE(end_dialog(WindowHandle{12345}, IDOK));

  ScriptedResponder script;
  EXPECT_EQ(dialog_box(groups_template(), {}, recording_procedure, reinterpret_cast<LParam>(&heard)), IDCANCEL);
  script.script_dialog({DialogAction::click(77), DialogAction::click(IDOK)});
  EXPECT_EQ(dialog_box(groups_template(), {}, recording_procedure, reinterpret_cast<LParam>(&heard)), IDOK);
  EXPECT_EQ(script.unscripted(), 2);  // the unscripted dialog and the missing control 77
  EXPECT_EQ(script.dialog_titles().size(), 2u);
}

MessageResult quiet_procedure(WindowHandle, std::uint32_t, WParam, LParam) { return 0; }

TEST_F(DialogTest, TheTabKeyWalksTheShownEnabledTabStopsInTheirOrderAndShiftTabWalksBack) {
  DialogTemplate t;
  t.title = u"Tabs";
  t.style = WS_VISIBLE;
  t.font_face = kFixedTestFace;
  t.frame = {0, 0, 240, 320};
  t.items = {
      {11, u"EDIT", u"", WS_TABSTOP, {6, 4, 200, 20}},
      {12, u"STATIC", u"Not a stop", 0, {6, 24, 200, 40}},
      {13, u"BUTTON", u"Box", BS_AUTOCHECKBOX | WS_TABSTOP, {6, 44, 200, 60}},
      {14, u"BUTTON", u"Disabled", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, {6, 64, 200, 80}},
      {IDOK, u"BUTTON", u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, {20, 280, 100, 304}},
  };
  const WindowHandle dialog = create_dialog(t, {}, quiet_procedure, 0);
  ASSERT_TRUE(dialog);
  // A page of the dialog (a child dialog, made after its controls) takes its
  // controls' place in the order.
  DialogTemplate page;
  page.style = WS_CHILD | WS_VISIBLE;
  page.font_face = kFixedTestFace;
  page.frame = {0, 100, 240, 200};
  page.items = {{7, u"EDIT", u"", WS_TABSTOP, {6, 4, 200, 20}}};
  const WindowHandle page_window = create_dialog(page, dialog, quiet_procedure, 0);
  ASSERT_TRUE(page_window);
  const WindowHandle page_edit = dialog_item(page_window, 7);

  const auto key = [&](std::uint32_t message, WParam key_code) {
    return is_dialog_message(dialog, Message{system_.focus(), message, key_code, 0});
  };
  system_.set_focus(dialog_item(dialog, 11));
  std::vector<WindowHandle> visited;
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(key(WM_KEYDOWN, VK_TAB));
    visited.push_back(system_.focus());
  }
  EXPECT_EQ(visited, (std::vector<WindowHandle>{dialog_item(dialog, 13), dialog_item(dialog, IDOK), page_edit,
                                                dialog_item(dialog, 11)}));
  EXPECT_FALSE(key(WM_KEYDOWN, VK_SHIFT));  // the shift key itself goes on to the control
  visited.clear();
  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(key(WM_KEYDOWN, VK_TAB));
    visited.push_back(system_.focus());
  }
  EXPECT_EQ(visited, (std::vector<WindowHandle>{page_edit, dialog_item(dialog, IDOK)}));
  EXPECT_FALSE(key(WM_KEYUP, VK_SHIFT));

  // A hidden control and a hidden page are passed over.
  system_.show_window(dialog_item(dialog, 13), SW_HIDE);
  system_.show_window(page_window, SW_HIDE);
  system_.set_focus(dialog_item(dialog, 11));
  EXPECT_TRUE(key(WM_KEYDOWN, VK_TAB));
  EXPECT_EQ(system_.focus(), dialog_item(dialog, IDOK));
  EXPECT_TRUE(key(WM_KEYDOWN, VK_TAB));
  EXPECT_EQ(system_.focus(), dialog_item(dialog, 11));
  system_.destroy_window(dialog);
}

}  // namespace
}  // namespace ductra::platform

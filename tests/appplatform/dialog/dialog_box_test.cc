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
constexpr int kSaveInk = 1001;
constexpr int kPrinted = 1002;
constexpr int kCursive = 1003;
constexpr int kName = 1004;
constexpr std::size_t kNameLimit = 8;

DialogTemplate choices_template() {
  DialogTemplate t;
  t.id = 120;
  t.title = u"Choices";
  t.font_face = kFixedTestFace;
  t.frame = {0, 0, 240, 320};
  t.items = {
      {kTitle, u"STATIC", u"Writing", 0, {6, 4, 200, 20}},
      {kSaveInk, u"Button", u"Keep the ink", BS_AUTOCHECKBOX | WS_TABSTOP, {6, 30, 200, 46}},
      {kPrinted, u"button", u"Printed", BS_AUTORADIOBUTTON | WS_GROUP, {6, 52, 200, 68}},
      {kCursive, u"BUTTON", u"Cursive", BS_AUTORADIOBUTTON, {6, 72, 200, 88}},
      {kName, u"EDIT", u"", WS_TABSTOP, {6, 96, 200, 114}},
      {IDOK, u"BUTTON", u"OK", BS_DEFPUSHBUTTON, {20, 280, 100, 304}},
      {IDCANCEL, u"BUTTON", u"Cancel", BS_PUSHBUTTON, {140, 280, 220, 304}},
  };
  return t;
}

// What the dialog reports when it is accepted, with every notification it
// received and the screen as it was then.
struct Choices {
  bool save_ink = false;
  bool printed = false;
  bool cursive = false;
  std::u16string name;
  std::vector<std::pair<int, int>> commands;  // id, code
  std::shared_ptr<Bitmap> picture;
  WParam first_tab_stop = 0;
};

bool is_checked(WindowHandle dialog, int id) {
  return WindowSystem::current().send_message(dialog_item(dialog, id), BM_GETCHECK, 0, 0).result == BST_CHECKED;
}

MessageResult choices_procedure(WindowHandle dialog, std::uint32_t message, WParam wparam, LParam lparam) {
  WindowSystem& system = WindowSystem::current();
  if (message == WM_INITDIALOG) {
    system.set_user_data(dialog, static_cast<std::uintptr_t>(lparam));
    reinterpret_cast<Choices*>(lparam)->first_tab_stop = wparam;
    system.send_message(dialog_item(dialog, kName), EM_LIMITTEXT, kNameLimit, 0);
    return 1;
  }
  auto* choices = reinterpret_cast<Choices*>(system.user_data(dialog));
  if (message != WM_COMMAND || !choices) return 0;
  choices->commands.emplace_back(low_word(wparam), high_word(wparam));
  if (low_word(wparam) == IDOK) {
    choices->save_ink = is_checked(dialog, kSaveInk);
    choices->printed = is_checked(dialog, kPrinted);
    choices->cursive = is_checked(dialog, kCursive);
    choices->name = dialog_item_text(dialog, kName);
    paint_tree_now(dialog);
    choices->picture = copy_of_display();
    end_dialog(dialog, IDOK);
  } else if (low_word(wparam) == IDCANCEL) {
    end_dialog(dialog, IDCANCEL);
  }
  return 1;
}

TEST_F(DialogTest, ADialogDrivenByThePenAndByAScriptGivesTheSameResultAndPicture) {
  // By the pen, on a UI thread, as a person would use it.
  Choices by_pen;
  std::atomic<std::intptr_t> pen_result{0};
  auto ui = Thread::start([&]() -> std::uint32_t {
    pen_result.store(dialog_box(choices_template(), {}, choices_procedure, reinterpret_cast<LParam>(&by_pen)));
    return 0;
  });
  ASSERT_TRUE(ui);
  clock_.advance(0);
  const WindowHandle dialog = system_.find_window(kDialogClass, u"Choices");
  ASSERT_TRUE(dialog);
  tap_item(dialog, kSaveInk);
  tap_item(dialog, kPrinted);
  tap_item(dialog, kCursive);
  tap_item(dialog, kName);
  type(u"handwriting");
  tap_item(dialog, IDOK);
  EXPECT_TRUE(ui->has_ended());
  ui.reset();
  EXPECT_EQ(pen_result.load(), IDOK);
  EXPECT_FALSE(system_.is_window(dialog));

  // By a script on this thread.
  Choices by_script;
  ScriptedResponder script;
  script.script_dialog({DialogAction::click(kSaveInk), DialogAction::click(kPrinted), DialogAction::click(kCursive),
                        DialogAction::type(kName, u"handwriting"), DialogAction::click(IDOK)});
  EXPECT_EQ(dialog_box(choices_template(), {}, choices_procedure, reinterpret_cast<LParam>(&by_script)), IDOK);
  EXPECT_EQ(script.dialog_titles(), std::vector<std::u16string>{u"Choices"});
  EXPECT_EQ(script.unscripted(), 0);

  for (const Choices* c : {&by_pen, &by_script}) {
    EXPECT_TRUE(c->save_ink);
    EXPECT_FALSE(c->printed);  // the group's other radio button was cleared
    EXPECT_TRUE(c->cursive);
    EXPECT_EQ(c->name, u"handwrit");  // cut at the limit
    ASSERT_TRUE(c->picture);
  }
  EXPECT_EQ(by_pen.commands, by_script.commands);
  EXPECT_EQ(differing_pixels(*by_pen.picture, *by_script.picture), 0);
  keep(*by_pen.picture, "dialog_by_pen.png");
  keep(*by_script.picture, "dialog_by_script.png");

  // What the dialog heard: clicks, the field's focus, eight changes and the
  // three characters refused at the limit, then OK.
  std::vector<std::pair<int, int>> expected{{kSaveInk, BN_CLICKED}, {kPrinted, BN_CLICKED}, {kCursive, BN_CLICKED},
                                            {kName, EN_SETFOCUS}};
  for (int i = 0; i < 8; ++i) expected.emplace_back(kName, EN_CHANGE);
  for (int i = 0; i < 3; ++i) expected.emplace_back(kName, EN_MAXTEXT);
  expected.emplace_back(IDOK, BN_CLICKED);
  EXPECT_EQ(by_script.commands, expected);
}

}  // namespace
}  // namespace ductra::platform

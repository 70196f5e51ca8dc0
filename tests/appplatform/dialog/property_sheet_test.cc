#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/notify_header.h"
#include "appplatform/dialog/property_sheet.h"
#include "appplatform/draw/color.h"
#include "appplatform/draw/font.h"
#include "appplatform/message_box.h"
#include "appplatform/popup_menu.h"
#include "appplatform/scripted_responder.h"
#include "appplatform/thread.h"
#include "dialog_fixture.h"

namespace ductra::platform {
namespace {

constexpr int kMode = 40013;
constexpr int kLargeIcon = 1049;
constexpr int kDelay = 1047;
constexpr int kAutoSpace = 1066;
const std::u16string kModes[] = {u"Fast", u"Normal", u"Careful"};

// The settings the two pages edit, and everything the pages heard.
struct Settings {
  std::uintptr_t mode = 20;
  bool large_icon = false;
  int delay = 5;
  bool auto_space = false;
  std::vector<std::pair<int, int>> heard;  // page index or control id, notification
  std::shared_ptr<Bitmap> picture;
};

MessageResult send_to_item(WindowHandle page, int id, std::uint32_t message, WParam wparam, LParam lparam) {
  return WindowSystem::current().send_message(dialog_item(page, id), message, wparam, lparam).result;
}

void fill_page(WindowHandle page, int index, const Settings& s) {
  if (index == 0) {
    for (int i = 0; i < 3; ++i) {
      if (send_to_item(page, kMode, CB_GETCOUNT, 0, 0) == i) {
        send_to_item(page, kMode, CB_ADDSTRING, 0, reinterpret_cast<LParam>(kModes[i].c_str()));
        send_to_item(page, kMode, CB_SETITEMDATA, i, (i + 1) * 10);
      }
      if (static_cast<std::uintptr_t>((i + 1) * 10) == s.mode) send_to_item(page, kMode, CB_SETCURSEL, i, 0);
    }
    send_to_item(page, kLargeIcon, BM_SETCHECK, s.large_icon ? BST_CHECKED : BST_UNCHECKED, 0);
  } else {
    send_to_item(page, kDelay, TBM_SETRANGE, 1, make_lparam(1, 30));
    send_to_item(page, kDelay, TBM_SETPOS, 1, s.delay);
    send_to_item(page, kAutoSpace, BM_SETCHECK, s.auto_space ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void read_page(WindowHandle page, int index, Settings& s) {
  if (index == 0) {
    const auto selected = send_to_item(page, kMode, CB_GETCURSEL, 0, 0);
    if (selected >= 0) s.mode = static_cast<std::uintptr_t>(send_to_item(page, kMode, CB_GETITEMDATA, selected, 0));
    s.large_icon = send_to_item(page, kLargeIcon, BM_GETCHECK, 0, 0) == BST_CHECKED;
  } else {
    s.delay = static_cast<int>(send_to_item(page, kDelay, TBM_GETPOS, 0, 0));
    s.auto_space = send_to_item(page, kAutoSpace, BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
}

MessageResult page_procedure(WindowHandle page, std::uint32_t message, WParam wparam, LParam lparam) {
  WindowSystem& system = WindowSystem::current();
  if (message == WM_INITDIALOG) {
    system.set_user_data(page, static_cast<std::uintptr_t>(lparam));
    return 0;
  }
  const auto* me = reinterpret_cast<const PropertySheetPage*>(system.user_data(page));
  if (!me) return 0;
  auto* settings = reinterpret_cast<Settings*>(me->parameter & ~LParam{1});
  const int index = static_cast<int>(me->parameter & 1);
  if (message == WM_COMMAND) settings->heard.emplace_back(low_word(wparam), high_word(wparam));
  if (message == WM_HSCROLL && low_word(wparam) == TB_ENDTRACK) settings->heard.emplace_back(kDelay, high_word(wparam));
  if (message != WM_NOTIFY) return 0;
  const int code = reinterpret_cast<const NotifyHeader*>(lparam)->code;
  settings->heard.emplace_back(index, code);
  if (code == PSN_SETACTIVE) fill_page(page, index, *settings);
  if (code == PSN_KILLACTIVE) read_page(page, index, *settings);
  if (code == PSN_APPLY && index == 1) {
    paint_tree_now(system.parent(page));
    settings->picture = copy_of_display();
  }
  return 0;
}

int initialized = 0;
int sheet_callback(WindowHandle, int event, LParam) {
  if (event == PSCB_INITIALIZED) ++initialized;
  return 0;
}

PropertySheetHeader two_pages(Settings& settings) {
  PropertySheetHeader header;
  header.flags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_USECALLBACK | PSH_MAXIMIZED;
  header.caption = u"Settings";
  header.callback = sheet_callback;
  PropertySheetPage pen;
  pen.dialog_template.title = u"Pen";
  pen.dialog_template.font_face = kFixedTestFace;
  pen.dialog_template.items = {
      {1025, u"STATIC", u"Pen", 0, {4, 4, 200, 18}},
      {kMode, u"COMBOBOX", u"", CBS_DROPDOWNLIST | WS_TABSTOP, {4, 24, 160, 42}},
      {kLargeIcon, u"BUTTON", u"Large icon", BS_AUTOCHECKBOX, {4, 50, 200, 66}},
  };
  pen.procedure = page_procedure;
  pen.parameter = reinterpret_cast<LParam>(&settings);
  PropertySheetPage timing = pen;
  timing.dialog_template.title = u"Timing";
  timing.dialog_template.items = {
      {1025, u"STATIC", u"Timing", 0, {4, 4, 200, 18}},
      {kDelay, u"msctls_trackbar32", u"", 0, {4, 24, 184, 48}},
      {kAutoSpace, u"BUTTON", u"Space after", BS_AUTOCHECKBOX, {4, 56, 200, 72}},
  };
  timing.parameter = reinterpret_cast<LParam>(&settings) | 1;
  header.pages = {pen, timing};
  return header;
}

TEST_F(DialogTest, ATwoPageSheetDrivenByThePenAndByAScriptGivesTheSameResultAndPicture) {
  initialized = 0;
  Settings by_pen;
  const PropertySheetHeader pen_header = two_pages(by_pen);
  std::atomic<std::intptr_t> pen_result{-5};
  auto ui = Thread::start([&]() -> std::uint32_t {
    pen_result.store(property_sheet(pen_header));
    return 0;
  });
  ASSERT_TRUE(ui);
  settle();
  const WindowHandle sheet = system_.find_window(kDialogClass, u"Settings");
  ASSERT_TRUE(sheet);

  // Open the mode list and pick "Careful" from it.
  const Rect mode = *system_.window_rect(shown_control(sheet, kMode));
  server_.pointer_input(PointerAction::down, centre_of(mode));
  server_.pointer_input(PointerAction::up, centre_of(mode));
  settle();
  PopupMenu list;
  for (int i = 0; i < 3; ++i) list.append(MF_STRING, i + 1, kModes[i]);
  const MenuLayout shown = layout_menu(list, {mode.left, mode.bottom}, TPM_RETURNCMD | TPM_NONOTIFY, {0, 0, kWidth, kHeight});
  ASSERT_TRUE(system_.find_window(u"Ductra Menu", std::nullopt));
  // The open list is drawn: its frame, and the first item's text on white.
  const auto as_shown = [&](ColorRef c) { return screen_->color_of(screen_->native_of(c)); };
  EXPECT_EQ(screen_->color_at(shown.frame.left, shown.frame.top), as_shown(sys_color(COLOR_WINDOWFRAME)));
  int text_pixels = 0;
  const Rect first = shown.item_rects[0];
  for (int y = first.top; y < first.bottom; ++y)
    for (int x = first.left + 1; x < first.right - 1; ++x) text_pixels += screen_->color_at(x, y) != as_shown(sys_color(COLOR_WINDOW));
  EXPECT_GT(text_pixels, 10);
  keep(*copy_of_display(), "sheet_combo_list_open.png");
  pen(centre_of(shown.item_rects[2]), centre_of(shown.item_rects[2]));
  tap_item_of(sheet, kLargeIcon);
  // The second tab, then the trackbar dragged from its start to position 20.
  const Rect tabs = *system_.window_rect(dialog_item(sheet, kSheetTabControl));
  pen({tabs.right - 10, tabs.top + 5}, {tabs.right - 10, tabs.top + 5});
  const Rect delay = *system_.window_rect(shown_control(sheet, kDelay));
  const int left = delay.left + 6;
  const int right = delay.right - 7;
  pen({left, delay.top + 10}, {left + 19 * (right - left) / 29, delay.top + 10});
  tap_item_of(sheet, kAutoSpace);
  tap_item_of(sheet, IDOK);
  EXPECT_TRUE(ui->has_ended());
  ui.reset();
  EXPECT_EQ(pen_result.load(), 1);
  EXPECT_FALSE(system_.is_window(sheet));

  Settings by_script;
  const PropertySheetHeader script_header = two_pages(by_script);
  ScriptedResponder script;
  script.script_dialog({DialogAction::pick(kMode, 2), DialogAction::click(kLargeIcon),
                        DialogAction::pick(kSheetTabControl, 1), DialogAction::pick(kDelay, 20),
                        DialogAction::click(kAutoSpace), DialogAction::click(IDOK)});
  EXPECT_EQ(property_sheet(script_header), 1);
  EXPECT_EQ(script.unscripted(), 0);
  EXPECT_EQ(initialized, 2);

  for (const Settings* s : {&by_pen, &by_script}) {
    EXPECT_EQ(s->mode, 30u);
    EXPECT_TRUE(s->large_icon);
    EXPECT_EQ(s->delay, 20);
    EXPECT_TRUE(s->auto_space);
    ASSERT_TRUE(s->picture);
  }
  const std::vector<std::pair<int, int>> expected{
      {0, PSN_SETACTIVE}, {kMode, CBN_SELCHANGE}, {kLargeIcon, BN_CLICKED}, {0, PSN_KILLACTIVE},
      {1, PSN_SETACTIVE}, {kDelay, 20},          {kAutoSpace, BN_CLICKED}, {1, PSN_KILLACTIVE},
      {0, PSN_APPLY},     {1, PSN_APPLY}};
  EXPECT_EQ(by_pen.heard, expected);
  EXPECT_EQ(by_script.heard, expected);
  EXPECT_EQ(differing_pixels(*by_pen.picture, *by_script.picture), 0);
  keep(*by_pen.picture, "sheet_by_pen.png");
  keep(*by_script.picture, "sheet_by_script.png");
}

}  // namespace
}  // namespace ductra::platform

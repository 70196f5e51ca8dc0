#include <gtest/gtest.h>

#include <vector>

#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/notify_header.h"
#include "appplatform/dialog/property_sheet.h"
#include "appplatform/message_box.h"
#include "appplatform/scripted_responder.h"
#include "dialog_fixture.h"

namespace ductra::platform {
namespace {

// Each page's parameter points at one of these: what it answers to
// PSN_KILLACTIVE and PSN_APPLY, and every code it heard.
struct PageRules {
  int page = 0;
  MessageResult kill_answer = 0;
  MessageResult apply_answer = 0;
  std::vector<std::pair<int, int>>* heard = nullptr;
};

MessageResult ruled_page(WindowHandle page, std::uint32_t message, WParam, LParam lparam) {
  WindowSystem& system = WindowSystem::current();
  if (message == WM_INITDIALOG) {
    system.set_user_data(page, static_cast<std::uintptr_t>(reinterpret_cast<const PropertySheetPage*>(lparam)->parameter));
    return 0;
  }
  auto* rules = reinterpret_cast<PageRules*>(system.user_data(page));
  if (message != WM_NOTIFY || !rules) return 0;
  const int code = reinterpret_cast<const NotifyHeader*>(lparam)->code;
  rules->heard->emplace_back(rules->page, code);
  if (code == PSN_KILLACTIVE) return rules->kill_answer;
  if (code == PSN_APPLY) return rules->apply_answer;
  return 0;
}

PropertySheetHeader ruled_sheet(std::vector<PageRules>& rules) {
  PropertySheetHeader header;
  header.caption = u"Rules";
  for (PageRules& r : rules) {
    PropertySheetPage page;
    page.dialog_template.title = u"Page";
    page.dialog_template.items = {{1025, u"STATIC", u"Page", 0, {4, 4, 100, 18}}};
    page.procedure = ruled_page;
    page.parameter = reinterpret_cast<LParam>(&r);
    header.pages.push_back(page);
  }
  return header;
}

TEST_F(DialogTest, SheetPagesMayRefuseToBeLeftOrAppliedAndCancelResetsEveryPageMade) {
  std::vector<std::pair<int, int>> heard;
  struct Case {
    MessageResult kill;   // page 0's answer to PSN_KILLACTIVE
    MessageResult apply;  // page 1's answer to PSN_APPLY
    std::vector<DialogAction> script;
    std::intptr_t result;
    std::vector<std::pair<int, int>> heard;
    int unscripted;
  };
  const Case cases[] = {
      // Page 0 refuses to be left: the tab stays, OK stays, Cancel resets it.
      {1, 0,
       {DialogAction::pick(kSheetTabControl, 1), DialogAction::click(IDOK), DialogAction::click(IDCANCEL)},
       0,
       {{0, PSN_SETACTIVE}, {0, PSN_KILLACTIVE}, {0, PSN_KILLACTIVE}, {0, PSN_RESET}},
       1},
      // Page 1 refuses its apply: the sheet stays open until Cancel resets both pages.
      {0, 1,
       {DialogAction::pick(kSheetTabControl, 1), DialogAction::click(IDOK), DialogAction::click(IDCANCEL)},
       0,
       {{0, PSN_SETACTIVE}, {0, PSN_KILLACTIVE}, {1, PSN_SETACTIVE}, {1, PSN_KILLACTIVE}, {0, PSN_APPLY},
        {1, PSN_APPLY}, {0, PSN_RESET}, {1, PSN_RESET}},
       0},
  };
  for (const Case& c : cases) {
    heard.clear();
    std::vector<PageRules> rules{{0, c.kill, 0, &heard}, {1, 0, c.apply, &heard}};
    ScriptedResponder script;
    script.script_dialog(c.script);
    EXPECT_EQ(property_sheet(ruled_sheet(rules)), c.result);
    EXPECT_EQ(heard, c.heard);
    EXPECT_EQ(script.unscripted(), c.unscripted);
  }

  std::vector<PageRules> none;
  EXPECT_EQ(property_sheet(ruled_sheet(none)), -1);
  std::vector<PageRules> one{{0, 0, 0, &heard}};
  PropertySheetHeader out_of_range = ruled_sheet(one);
  out_of_range.start_page = 1;
  EXPECT_EQ(property_sheet(out_of_range), -1);
  PropertySheetHeader no_procedure = ruled_sheet(one);
  no_procedure.pages[0].procedure = nullptr;
  EXPECT_EQ(property_sheet(no_procedure), -1);
  EXPECT_FALSE(system_.find_window(kDialogClass, std::nullopt));
}

TEST_F(DialogTest, AQuitMetInsideAModalDialogEndsItAndReachesTheOuterLoop) {
  DialogTemplate t;
  t.title = u"Waiting";
  t.items = {{1025, u"STATIC", u"Title", 0, {4, 4, 100, 18}}};
  const auto procedure = [](WindowHandle dialog, std::uint32_t message, WParam, LParam) -> MessageResult {
    if (message == WM_INITDIALOG) WindowSystem::current().post_message(dialog, WM_APP, 0, 0);
    if (message == WM_APP) WindowSystem::current().post_quit_message(7);
    return 0;
  };
  EXPECT_EQ(dialog_box(t, {}, procedure, 0), kDialogFailed);
  Message m;
  EXPECT_EQ(system_.get_message(m), 0);
  EXPECT_EQ(m.wparam, 7u);
}

}  // namespace
}  // namespace ductra::platform

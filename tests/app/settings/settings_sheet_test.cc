#include "app/settings/settings_sheet.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>

#include "app/settings/recognition_page.h"
#include "appplatform/dialog/menu_bar.h"
#include "appplatform/dialog/property_sheet.h"
#include "appplatform/dialog/up_down_control.h"
#include "appplatform/request_log.h"
#include "appplatform/thread.h"
#include "settings_fixture.h"

namespace ductra {
namespace {

using platform::DialogAction;
using platform::WindowHandle;

// The sheet's tabs.
constexpr int kStandardTab = 0;
constexpr int kProfilesTab = 1;
constexpr int kRecognitionTab = 2;
constexpr int kAboutTab = 3;

constexpr int kLanguageList = 1075, kPenWidthEdit = 1084, kPenWidthSpinner = 1072, kLargeIcon = 1049;
constexpr int kDelay = 1047, kDelayLabel = 1050, kMode = 40013, kTrailingSpace = 1080, kAdvanced = 1065;
constexpr int kPromptFrequency = 1075, kCopybook = 1094, kDictionaries = 1095;

class SettingsSheetTest : public testing::SettingsTest {
 protected:
  SettingsSheetTest() {
    start_.pen_width = 7;
    start_.pen_color = platform::rgb(0, 0, 255);
    start_.time_out = 400;
    start_.recognize_mode = 2;
    start_.use_prompt = 3;
    start_.sheet_page_number = 1;
  }
  int show(Settings& settings) { return sheet_.show(WindowHandle{}, &settings, &configurations_); }
  static std::u16string delay_text(double seconds) {
    const FormatArg args[] = {seconds};
    return localizer().format(31, args, 64);
  }

  Settings start_;
  Configurations configurations_{CharsetSet{3, 4, 5}};
  SettingsSheet sheet_{services_};
};

TEST_F(SettingsSheetTest, EveryPageShowsTheSettingsAndOkTakesBackWhatWasChanged) {
  testing::DialogDriver driver;
  driver.then([&](WindowHandle sheet) {
    EXPECT_EQ(SettingsSheet::window(), sheet);
    // The standard page: the shipped languages, Russian chosen; the pen.
    const std::vector<std::u16string> languages{u"English [English]", u"Russian [Русский]"};
    EXPECT_EQ(items(sheet, kLanguageList), languages);
    EXPECT_EQ(selected(sheet, kLanguageList), 1);
    EXPECT_EQ(ask(sheet, kPenWidthSpinner, platform::UDM_GETPOS32), 7);
    EXPECT_EQ(text(sheet, kPenWidthEdit), u"7");
    EXPECT_FALSE(checked(sheet, kLargeIcon));
    keep_picture(sheet, "standard_page.png");
    act(sheet, DialogAction::pick(kLanguageList, 0));
    act(sheet, DialogAction::type(kPenWidthEdit, u"\b45"));
    act(sheet, DialogAction::click(kLargeIcon));

    // The recognition page: 400 ms, letter by letter, no trailing space.
    act(sheet, DialogAction::pick(platform::kSheetTabControl, kRecognitionTab));
    EXPECT_EQ(current_sheet_page(), 2);
    EXPECT_EQ(ask(sheet, kDelay, platform::TBM_GETPOS), 4);
    EXPECT_EQ(text(sheet, kDelayLabel), delay_text(0.4));
    const std::vector<std::u16string> modes{u"Побуквенный", u"Слитный", u"Раздельный", u"Интеллектуальный"};
    EXPECT_EQ(items(sheet, kMode), modes);
    EXPECT_EQ(selected(sheet, kMode), 0);
    EXPECT_FALSE(enabled(sheet, kTrailingSpace));
    keep_picture(sheet, "recognition_page.png");
    act(sheet, DialogAction::pick(kMode, 1));  // joined writing
    EXPECT_TRUE(enabled(sheet, kTrailingSpace));
    act(sheet, DialogAction::pick(kDelay, 30));
    EXPECT_EQ(text(sheet, kDelayLabel), delay_text(3.0));
    act(sheet, DialogAction::click(kAdvanced));

    // The about page.
    act(sheet, DialogAction::pick(platform::kSheetTabControl, kAboutTab));
    EXPECT_EQ(text(sheet, 1011), u"Build UI 9.0.238.11807");
    EXPECT_EQ(text(sheet, 1018), u"Build CORE 9.0.462.11806");
    EXPECT_EQ(text(sheet, 1032), localizer().string(505));
    keep_picture(sheet, "about_page.png");
    act(sheet, DialogAction::click(1065));
    act(sheet, DialogAction::click(platform::IDOK));
  });
  driver.then([&](WindowHandle advanced) {
    const std::vector<std::u16string> frequencies{u"Никогда", u"Редко", u"Часто", u"Всегда"};
    EXPECT_EQ(items(advanced, kPromptFrequency), frequencies);
    EXPECT_EQ(selected(advanced, kPromptFrequency), 3);
    EXPECT_TRUE(enabled(advanced, kPromptFrequency));  // joined writing was chosen
    keep_picture(advanced, "advanced_settings.png");
    act(advanced, DialogAction::pick(kPromptFrequency, 0));
    act(advanced, DialogAction::click(kCopybook));
    act(advanced, DialogAction::click(kDictionaries));
    act(advanced, DialogAction::click(platform::IDOK));
  });

  Settings settings = start_;
  EXPECT_EQ(show(settings), 1);
  EXPECT_EQ(driver.undriven, 0);
  EXPECT_FALSE(sheet_.is_open());
  EXPECT_FALSE(SettingsSheet::window());

  Settings expected = start_;
  expected.language = 1033;
  expected.pen_width = 30;  // 45 typed
  expected.large_moving_icon = 1;
  expected.time_out = 3000;
  expected.recognize_mode = 0;
  expected.use_prompt = 0;
  expected.sheet_page_number = 3;  // the about page was shown last
  EXPECT_EQ(settings, expected);
  EXPECT_EQ(localizer().language(), 1033);
  EXPECT_EQ(dialogs_.copybook_runs, std::vector<CharsetId>{0});
  EXPECT_EQ(dialogs_.dictionaries_runs, std::vector<int>{0});
  EXPECT_EQ(pages_opened_, std::vector<std::u16string>{localizer().string(504)});
}

TEST_F(SettingsSheetTest, CancelLeavesTheCallersSettingsAndLanguageAlone) {
  testing::DialogDriver driver;
  driver.then([&](WindowHandle sheet) {
    act(sheet, DialogAction::pick(kLanguageList, 0));
    act(sheet, DialogAction::type(kPenWidthEdit, u"\b\b3"));
    act(sheet, DialogAction::pick(platform::kSheetTabControl, kRecognitionTab));
    act(sheet, DialogAction::pick(kDelay, 12));
    act(sheet, DialogAction::click(platform::IDCANCEL));
  });
  Settings settings = start_;
  EXPECT_EQ(show(settings), 0);
  EXPECT_EQ(settings, start_);
  EXPECT_EQ(localizer().language(), 1049);
}

TEST_F(SettingsSheetTest, EachModeShowsItsItemAndTheTrailingSpaceAndPromptFrequencyOnlyWhereTheyApply) {
  struct Case {
    std::int32_t mode;
    int item;
    bool trailing_space;
    bool prompt_frequency;
  };
  const Case cases[] = {{0, 1, true, true}, {1, 2, true, true}, {2, 0, false, false}, {3, 3, false, false}};
  for (const Case& c : cases) {
    testing::DialogDriver driver;
    bool prompt_enabled = !c.prompt_frequency;
    driver.then([&](WindowHandle sheet) {
      act(sheet, DialogAction::pick(platform::kSheetTabControl, kRecognitionTab));
      EXPECT_EQ(selected(sheet, kMode), c.item) << c.mode;
      EXPECT_EQ(enabled(sheet, kTrailingSpace), c.trailing_space) << c.mode;
      act(sheet, DialogAction::click(kAdvanced));
      act(sheet, DialogAction::click(platform::IDOK));
    });
    driver.then([&](WindowHandle advanced) {
      prompt_enabled = enabled(advanced, kPromptFrequency);
      act(advanced, DialogAction::click(platform::IDOK));
    });
    Settings settings = start_;
    settings.recognize_mode = c.mode;
    EXPECT_EQ(show(settings), 1);
    EXPECT_EQ(prompt_enabled, c.prompt_frequency) << c.mode;
    EXPECT_EQ(settings.recognize_mode, c.mode);
  }
  EXPECT_EQ(mode_item_of(7), 0);
  EXPECT_EQ(mode_of_item(-1), 3);
}

TEST_F(SettingsSheetTest, TheSheetHasTabsAtTheBottomAnEmptyMenuBarAndRunsOnceAtATime) {
  testing::DialogDriver driver;
  Settings settings = start_;
  driver.then([&](WindowHandle sheet) {
    const WindowHandle tabs = platform::dialog_item(sheet, platform::kSheetTabControl);
    EXPECT_TRUE(system_.window_style(tabs).value_or(0) & platform::TCS_BOTTOM);
    const WindowHandle bar = system_.find_window(platform::kMenuBarClass, std::nullopt);
    ASSERT_TRUE(bar);
    EXPECT_EQ(system_.get_window(bar, platform::GW_OWNER), sheet);
    EXPECT_TRUE(platform::menu_bar_key_rects(bar).empty());
    EXPECT_TRUE(sheet_.is_open());

    Settings other = start_;
    EXPECT_EQ(show(other), -1);
    EXPECT_EQ(sheet_.show(WindowHandle{}, nullptr, &configurations_), -1);
    // Closed from outside: the working copy is written back at once.
    act(sheet, DialogAction::type(kPenWidthEdit, u"\b9"));
    act(sheet, DialogAction::pick(platform::kSheetTabControl, kRecognitionTab));
    EXPECT_EQ(sheet_.close(), 1);
    EXPECT_EQ(settings.pen_width, 9);
    EXPECT_FALSE(sheet_.is_open());
  });
  EXPECT_EQ(show(settings), 0);
  EXPECT_EQ(settings.pen_width, 9);
  EXPECT_EQ(sheet_.close(), 0);
  EXPECT_EQ(SettingsSheet::callback(WindowHandle{}, platform::PSCB_GETVERSION, 0), 524);
  EXPECT_EQ(SettingsSheet::callback(WindowHandle{}, 2, 0), 0);
}

TEST_F(SettingsSheetTest, TheControllerHearsOkCancelAndARunningSheet) {
  Settings settings = start_;
  ControllerSheet control(sheet_, settings, configurations_);
  testing::DialogDriver driver;
  driver.then([&](WindowHandle sheet) {
    EXPECT_TRUE(control.sheet_is_open());
    EXPECT_EQ(control.run_sheet(WindowHandle{}), SheetControl::Result::already_running);
    act(sheet, DialogAction::click(platform::IDOK));
  });
  driver.then([&](WindowHandle sheet) { act(sheet, DialogAction::click(platform::IDCANCEL)); });
  EXPECT_EQ(control.run_sheet(WindowHandle{}), SheetControl::Result::ok);
  EXPECT_EQ(control.run_sheet(WindowHandle{}), SheetControl::Result::cancelled);
  EXPECT_FALSE(control.close_sheet());
}

TEST_F(SettingsSheetTest, EveryPagesHelpOpensItsTopicInTheHelpPageOfTheLanguage) {
  testing::DialogDriver driver;
  driver.then([&](WindowHandle sheet) {
    for (const int tab : {kStandardTab, kProfilesTab, kRecognitionTab, kAboutTab}) {
      act(sheet, DialogAction::pick(platform::kSheetTabControl, tab));
      system_.send_message(sheet, platform::WM_HELP, 0, 0);
    }
    act(sheet, DialogAction::pick(platform::kSheetTabControl, kRecognitionTab));
    act(sheet, DialogAction::click(kAdvanced));
    act(sheet, DialogAction::click(platform::IDCANCEL));
  });
  driver.then([&](WindowHandle advanced) {
    system_.send_message(advanced, platform::WM_COMMAND, kHelpCommand, 0);
    act(advanced, DialogAction::click(platform::IDOK));
  });
  Settings settings = start_;
  show(settings);
  const std::vector<std::u16string> requests{
      u"\\Windows\\PegHelp.exe \\Windows\\ductra_Russian.htm#standard",
      u"\\Windows\\PegHelp.exe \\Windows\\ductra_Russian.htm#profiles",
      u"\\Windows\\PegHelp.exe \\Windows\\ductra_Russian.htm#recognition",
      u"\\Windows\\PegHelp.exe \\Windows\\ductra_Russian.htm#about",
      u"\\Windows\\PegHelp.exe \\Windows\\ductra_Russian.htm#advanced_settings",
  };
  EXPECT_EQ(platform::recorded_requests(root_), requests);
  EXPECT_TRUE(help_boxes_.empty());
}

TEST_F(SettingsSheetTest, TheHelpPageWithoutTopicOrLanguageFileAndTheShippedPagesTopics) {
  EXPECT_EQ(help_.show(u""), 1);
  localizer().set_language(1033);
  EXPECT_EQ(help_.show(kDictionariesTopic), 1);
  const std::vector<std::u16string> requests{u"\\Windows\\PegHelp.exe \\Windows\\ductra_Russian.htm",
                                             u"\\Windows\\PegHelp.exe \\Windows\\ductra_English.htm#dictionaries"};
  EXPECT_EQ(platform::recorded_requests(root_), requests);

  std::filesystem::remove(root_.host() / "Windows" / "ductra_English.htm");
  EXPECT_EQ(help_.show(kAboutTopic), 1);
  EXPECT_EQ(help_boxes_, std::vector<std::uint32_t>{kHelpMissingText});
  EXPECT_EQ(platform::recorded_requests(root_).size(), 2u);  // nothing started

  // Each shipped page has a section for every topic the dialogs open.
  for (const char* page : {"ductra_English.htm", "ductra_Russian.htm"}) {
    std::ifstream in(std::filesystem::path(DUCTRA_HELP_DIR) / page);
    std::stringstream html;
    html << in.rdbuf();
    for (const char* topic :
         {"about", "recognition", "profiles", "standard", "advanced_settings", "copybook", "dictionaries"}) {
      EXPECT_NE(html.str().find(std::string("id=\"") + topic + "\""), std::string::npos) << page << " " << topic;
    }
  }
}

TEST_F(SettingsSheetTest, InEnglishThePagesAndTabsTakeTheTextsOfTheEnglishBundle) {
  localizer().set_language(1033);
  testing::DialogDriver driver;
  driver.then([&](WindowHandle sheet) {
    EXPECT_EQ(text(sheet, kTitleControl), u"Standard");
    EXPECT_EQ(text(sheet, kLargeIcon), u"Movable language indicator");
    EXPECT_EQ(selected(sheet, kLanguageList), 0);  // English
    keep_picture(sheet, "standard_page_english.png");
    act(sheet, DialogAction::pick(platform::kSheetTabControl, kRecognitionTab));
    EXPECT_EQ(items(sheet, kMode)[1], u"Cursive");
    act(sheet, DialogAction::click(platform::IDCANCEL));
  });
  Settings settings = start_;
  show(settings);
}

}  // namespace
}  // namespace ductra

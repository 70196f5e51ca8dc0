#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/configurations/recognition_configurations.h"
#include "app/configurations/stored_configurations.h"
#include "app/shell/shell_messages.h"
#include "appplatform/resources/builtin_resources.h"
#include "appplatform/scripted_responder.h"
#include "tests/app/shell_test_support.h"

namespace ductra {
namespace {

using Active = std::vector<std::uint32_t>;

// The controller on the scripted engine with the real configurations part,
// the device's registry and the program's own (Russian) strings; the system
// language is Russian.
class ConfigurationSwitchingTest : public testing::ShellTest {
 protected:
  ConfigurationSwitchingTest() {
    const std::uint32_t charsets[] = {1, 2, 3, 4, 5, 37, 38};
    control_.script_charsets(charsets, std::size(charsets));
    control_.script_charset_code(4, u"rus");
    control_.script_charset_code(5, u"eng");
    environment_.configurations = &configurations_;
  }
  ~ConfigurationSwitchingTest() override { ui_.reset(); }  // the controller goes before its part

  Active active() const { return control_.observe().active_charsets; }

  void send(std::uint32_t message, platform::WParam wparam, platform::LParam lparam) {
    system_.send_message(shell_window(), message, wparam, lparam);
    clock_.advance(0);
  }

  void next_configuration() { send(WM_DUCTRA_NEXT_CONFIGURATION, 0, kNextConfigurationPressed); }

  // A tap-and-hold on the tool window, which asks for the options menu.
  void hold_tool_window() {
    const NotifyHeader hold{{}, 0, kNotifyTapAndHold};
    send(platform::WM_NOTIFY, 0, reinterpret_cast<platform::LParam>(&hold));
  }

  bool logged(const std::string& entry) { return parts_.log.count(entry) > 0; }

  platform::Registry registry_{device_};
  Localizer localizer_{"/no/bundles", 0x0419, platform::builtin_strings()};
  platform::ScriptedResponder responder_;
  RecognitionConfigurations configurations_{*engine_, registry_, localizer_, system_, parts_, parts_, 0x0419};
};

TEST_F(ConfigurationSwitchingTest, TheToolWindowsNextConfigurationSwitchesTheEnginesCharsetsInTurn) {
  run(u"start");
  EXPECT_EQ(active(), (Active{1, 2, 4, 38})) << "the defaults of a Russian device, Russian current";
  EXPECT_TRUE(logged("tool label rus active"));
  EXPECT_TRUE(logged("segmenter charsets 1 2 4 38"));
  const struct {
    Active charsets;
    const char* label;
  } turns[] = {{{1, 2, 5, 38}, "tool label eng active"},
               {{1, 2, 3, 37}, "tool label  active"},
               {{1, 2, 4, 38}, "tool label rus active"}};
  for (const auto& turn : turns) {
    parts_.log.clear();
    next_configuration();
    EXPECT_EQ(active(), turn.charsets);
    EXPECT_TRUE(logged(turn.label)) << turn.label;
  }
}

TEST_F(ConfigurationSwitchingTest, TheOptionsMenuOffersTheConfigurationsAndSwitchesToTheOneChosen) {
  run(u"start");
  responder_.choose_id(kOptionsFirstConfigurationItem + 5);
  hold_tool_window();
  EXPECT_EQ(active(), (Active{1, 2, 5, 38}));
  EXPECT_TRUE(logged("tool label eng active"));

  ASSERT_EQ(responder_.menus().size(), 1u);
  const platform::ShownMenu menu = responder_.menus()[0];
  struct Item {
    int id;
    std::u16string text;
    bool separator, checked;
  };
  const Item expected[] = {
      {-100, u"Опции", false, false},
      {0, u"", true, false},
      {1, u"Раздельный без вариантов написания", false, false},
      {0, u"", true, false},
      {1003, u"Цифры", false, false},
      {1004, u"Русский", false, true},
      {1005, u"Английский", false, false},
  };
  ASSERT_EQ(menu.items.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(menu.items[i].id, expected[i].id);
    EXPECT_EQ(menu.items[i].text, expected[i].text);
    EXPECT_EQ(menu.items[i].separator, expected[i].separator);
    EXPECT_EQ(menu.items[i].checked, expected[i].checked);
  }
  EXPECT_EQ(menu.flags, platform::TPM_RETURNCMD | platform::TPM_NONOTIFY | platform::TPM_BOTTOMALIGN);
  EXPECT_EQ(menu.owner, shell_window());
  EXPECT_EQ(responder_.unscripted(), 0);
}

TEST_F(ConfigurationSwitchingTest, TheSeparateLettersEntryTurnsTheVariantsOffAndIsOfferedInModesZeroAndOne) {
  run(u"start");
  responder_.choose_id(kOptionsSeparateLettersItem);
  hold_tool_window();
  ASSERT_TRUE(published_controller()->separate_letters());
  responder_.dismiss_menu();
  hold_tool_window();
  ASSERT_EQ(responder_.menus().size(), 2u);
  EXPECT_EQ(responder_.menus()[1].items[2].id, kOptionsSeparateLettersItem);
  EXPECT_TRUE(responder_.menus()[1].items[2].checked);

  parts_.pen_rested = true;
  clock_.advance(kTickMs);
  ASSERT_FALSE(control_.observe().requests.empty());
  const crRecognitionParams request = control_.observe().requests.back();
  EXPECT_EQ(request.word_pass, 0) << "mode 0 asks for the dictionary unless the variants are off";
  EXPECT_EQ(request.cursive_split, 0);

  for (const int mode : {1, 2, 3}) {
    SCOPED_TRACE(mode);
    parts_.values.recognize_mode = mode;
    responder_.dismiss_menu();
    hold_tool_window();
    const std::vector<platform::MenuItem> items = responder_.menus().back().items;
    const bool offered = std::ranges::any_of(
        items, [](const platform::MenuItem& item) { return item.id == kOptionsSeparateLettersItem; });
    EXPECT_EQ(offered, mode == 1);
    EXPECT_EQ(items.size(), mode == 1 ? 7u : 5u);
  }
}

TEST_F(ConfigurationSwitchingTest, TheOptionsEntryOpensTheSettingsAndADismissedMenuChangesNothing) {
  run(u"start");
  parts_.log.clear();
  responder_.choose_id(kOptionsSettingsItem);
  hold_tool_window();
  EXPECT_TRUE(logged("sheet run"));
  responder_.dismiss_menu();
  parts_.log.clear();
  hold_tool_window();
  EXPECT_EQ(active(), (Active{1, 2, 4, 38}));
  EXPECT_EQ(parts_.log.entries(), (std::vector<std::string>{"capture mode 2", "capture mode 0"}));
}

TEST_F(ConfigurationSwitchingTest, TheConfigurationsAreSavedAtTheEndAndLoadedAtTheNextStart) {
  run(u"start");
  next_configuration();
  post(WM_QUILLPAD_DESELECT);
  ASSERT_EQ(exit_code(), 0u);
  std::uint32_t current = 0;
  std::uint32_t size = 0;
  ASSERT_EQ(registry_.read_value(platform::Hive::local_machine, kConfigurationsKey, kCurrentConfigurationValue,
                                 nullptr, std::as_writable_bytes(std::span(&current, 1)), &size),
            platform::Status::ok);
  EXPECT_EQ(current, 5u);
  ASSERT_EQ(registry_.read_value(platform::Hive::local_machine, kConfigurationsKey, kConfigurationsValue, nullptr,
                                 {}, &size),
            platform::Status::ok);
  EXPECT_EQ(size, 3 * sizeof(ConfigurationRecord));

  ASSERT_TRUE(active().empty()) << "the engine was freed";
  run(u"start");
  EXPECT_EQ(active(), (Active{1, 2, 5, 38})) << "English was current when the last run ended";
}

}  // namespace
}  // namespace ductra

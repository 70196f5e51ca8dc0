#include "app/shell/ductra_main.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/shell/shell_messages.h"
#include "app/shell/registry_settings.h"
#include "app/shell/startup_link.h"
#include "appplatform/alive_marker.h"
#include "appplatform/shared_event.h"
#include "tests/app/shell_test_support.h"

namespace ductra {
namespace {

using testing::ShellTest;
using Log = std::vector<std::string>;

class DuctraMainTest : public ShellTest {
 protected:
  bool alive() { return platform::AliveMarker::is_held(runtime_, kStillAliveEvent); }
};

TEST_F(DuctraMainTest, StartCreatesTheHiddenShellWindowAndASecondStartExitsAtOnce) {
  run(u"start");
  const platform::WindowHandle window = system_.find_window(kShellClass, kShellTitle);
  ASSERT_TRUE(window);
  EXPECT_EQ(window, shell_window());
  EXPECT_FALSE(system_.is_window_visible(window));
  EXPECT_FALSE(system_.is_window_enabled(window));
  {
    std::unique_ptr<platform::SharedEvent> created;
    ASSERT_EQ(platform::SharedEvent::open(runtime_, kWindowCreatedEvent, &created), platform::Status::ok);
    EXPECT_TRUE(platform::wait_for(*created, 0).signalled()) << "window created is signalled";
  }
  EXPECT_TRUE(alive());
  EXPECT_NE(published_controller(), nullptr);

  EXPECT_EQ(ductra_main(u"start", environment_), kExitNotStarted);
  EXPECT_EQ(environment_.controllers_made, 1) << "the second start builds nothing";
  EXPECT_EQ(system_.find_window(kShellClass, kShellTitle), window);
}

TEST_F(DuctraMainTest, DeselectingShutsDownInOrderAndSavesTheSettings) {
  parts_.stored_values.time_out = 700;
  run(u"start");
  parts_.log.clear();
  post(WM_QUILLPAD_DESELECT);
  EXPECT_EQ(exit_code(), 0u);
  const Log expected = {
      "indicator inactive", "capture mode 2",  // deactivated
      "configurations saved", "tool position saved", "settings saved",  // WM_CLOSE
      "segmenter destroyed", "prompt destroyed", "configurations destroyed", "keyboard destroyed",
      "tool window destroyed", "ink layer destroyed"};
  EXPECT_EQ(parts_.log.entries(), expected);
  EXPECT_EQ(parts_.saves, 1);
  EXPECT_EQ(parts_.stored_values.time_out, 700) << "the loaded settings are the ones saved";
  EXPECT_FALSE(system_.find_window(kShellClass, kShellTitle));
  EXPECT_EQ(published_controller(), nullptr);
  EXPECT_FALSE(alive()) << "the alive sign ends with the run";
  EXPECT_FALSE(control_.observe().started) << "the engine is freed";
}

TEST_F(DuctraMainTest, AfterDeselectingTheRegistryHoldsTheFifteenSettings) {
  ASSERT_EQ(device_.prepare(), platform::Status::ok);
  const platform::Registry registry(device_);
  ASSERT_EQ(registry.create_key(platform::Hive::local_machine, kSettingsKey), platform::Status::ok);
  ASSERT_EQ(registry.write_dword(platform::Hive::local_machine, kSettingsKey, u"TimeOut", 700),
            platform::Status::ok);
  RegistrySettings settings(registry);
  environment_.settings = &settings;
  run(u"start");
  post(WM_QUILLPAD_DESELECT);
  EXPECT_EQ(exit_code(), 0u);
  const char16_t* const names[] = {
      u"SheetPageNumber", u"AutoSpace",         u"TimeOut",           u"PenWidth",          u"PenColor",
      u"SpaceAfterResult", u"UsePrompt",        u"recognize_mode_",   u"large_moving_icon", u"Language",
      u"branding",         u"icon_landscape_x_", u"icon_landscape_y_", u"icon_portrait_x_",  u"icon_portrait_y_"};
  int stored = 0;
  for (const char16_t* name : names) {
    std::uint32_t value = 0;
    const platform::Status status = registry.read_dword(platform::Hive::local_machine, kSettingsKey, name, &value);
    stored += status == platform::Status::ok;
  }
  EXPECT_EQ(stored, 15);
  std::uint32_t time_out = 0;
  ASSERT_EQ(registry.read_dword(platform::Hive::local_machine, kSettingsKey, u"TimeOut", &time_out),
            platform::Status::ok);
  EXPECT_EQ(time_out, 700u) << "the value loaded at start is the value saved";
}

TEST_F(DuctraMainTest, EachCommandLineTakesItsOwnRoad) {
  struct Case {
    const char* what;
    std::u16string line;
    std::uint32_t branding;
    Log expected;  // for a normal run: empty
  };
  const Case cases[] = {
      {"reboot installs, tells and restarts", u"reboot", 0,
       {"settings loaded", "install \\temp\\Catalog.arm.cab", "message 30", "reboot"}},
      {"branding variant 3 ships without the cabinet", u"reboot", 3,
       {"settings loaded", "message 30", "reboot"}},
      {"branding variant 4 too", u"reboot", 259, {"settings loaded", "message 30", "reboot"}},
      {"branding variant 5 installs", u"reboot", 5,
       {"settings loaded", "install \\temp\\Catalog.arm.cab", "message 30", "reboot"}},
      {"empty: the first run", u"", 0,
       {"settings loaded", "link removed", "dialog 133 on installation window",
        "dialog 154 on installation window"}},
      {"upper-case reboot is a normal run", u"REBOOT", 0, {}},
      {"any other line is a normal run", u"x", 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    parts_.log.clear();
    environment_.branding = c.branding;
    const int made = environment_.controllers_made;
    run(c.line);
    if (c.expected.empty()) {
      EXPECT_TRUE(shell_window());
      EXPECT_EQ(environment_.controllers_made, made + 1);
      post(WM_QUILLPAD_DESELECT);
    } else {
      clock_.advance(kRebootPauseMs);
      EXPECT_EQ(parts_.log.entries(), c.expected);
      EXPECT_EQ(environment_.controllers_made, made);
    }
    EXPECT_EQ(exit_code(), 0u);
    EXPECT_FALSE(system_.find_window(kInstallationClass, std::nullopt));
  }
}

TEST_F(DuctraMainTest, TheDeviceRestartsTwoSecondsAfterTheMessage) {
  run(u"reboot");
  clock_.advance(kRebootPauseMs - 1);
  EXPECT_EQ(parts_.log.count("reboot"), 0);
  clock_.advance(1);
  EXPECT_EQ(parts_.log.count("reboot"), 1);
  EXPECT_EQ(exit_code(), 0u);
}

TEST_F(DuctraMainTest, AControllerThatCannotBeBuiltEndsWithCodeFourAndLeavesNoWindow) {
  environment_.controller_allocates = false;
  run(u"start");
  EXPECT_EQ(exit_code(), static_cast<std::uint32_t>(kExitNoController));
  EXPECT_FALSE(system_.find_window(kShellClass, kShellTitle));
  environment_.controller_allocates = true;
  run(u"start");
  EXPECT_TRUE(system_.find_window(kShellClass, kShellTitle)) << "a later start is not blocked";
}

TEST_F(DuctraMainTest, TheStartUpLinkIsRemovedWhetherOrNotThereIsOne) {
  ASSERT_EQ(device_.prepare(), platform::Status::ok);
  std::filesystem::path link;
  ASSERT_EQ(device_.to_host(u"\\Windows\\StartUp\\Ductra.lnk", &link), platform::Status::ok);
  std::ofstream(link) << "link";
  remove_startup_link(device_);
  EXPECT_FALSE(std::filesystem::exists(link));
  remove_startup_link(device_);
  EXPECT_FALSE(std::filesystem::exists(link));
}

}  // namespace
}  // namespace ductra

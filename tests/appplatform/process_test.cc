// Programs of the device started by device path, waited for, found in a
// snapshot; requests that are only recorded.
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "appplatform/exit_hook.h"
#include "appplatform/launcher.h"
#include "appplatform/request_log.h"
#include "tests/appplatform/device_fixture.h"

namespace ductra::platform {
namespace {

using testing::DeviceFixture;

class ProcessTest : public DeviceFixture {
 protected:
  void SetUp() override {
    ASSERT_EQ(root().prepare(), Status::ok);
    map.add(u"\\Program Files\\Ductra\\Ductra.exe", ProgramKind::executable, APPPLATFORM_HELPER);
    map.add(u"\\Windows\\wceload.exe", ProgramKind::executable, APPPLATFORM_HELPER);
    map.add(u"\\Windows\\PegHelp.exe", ProgramKind::opener, APPPLATFORM_HELPER);
    map.add(u"\\Windows\\iexplore.exe", ProgramKind::opener, APPPLATFORM_HELPER);
  }

  // The command line and device path the helper reported.
  std::vector<std::string> launch_report() {
    std::ifstream in(root().host() / "launched.txt");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  ProgramMap map;
};

TEST_F(ProcessTest, StartsAMappedProgramAndWaitsWithATimeout) {
  Process process;
  ASSERT_EQ(start_program(root(), map, u"\\program files\\DUCTRA\\ductra.exe", u"start 300", &process), Status::ok);
  EXPECT_EQ(process.wait(20), Status::timeout);
  EXPECT_FALSE(process.exit_code());
  ASSERT_EQ(process.wait(3000), Status::ok);
  EXPECT_EQ(process.exit_code(), 7);
  EXPECT_EQ(launch_report(), (std::vector<std::string>{"start 300", "\\Program Files\\Ductra\\Ductra.exe"}));
}

TEST_F(ProcessTest, ASnapshotNamesTheDevicesRunningPrograms) {
  Process installer;
  ASSERT_EQ(start_program(root(), map, u"wceload.exe", u"x 1500", &installer), Status::ok);
  // A program that is still being loaded (its environment not yet readable)
  // is not listed; look again until it is.
  RunningProgram found;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
  while (found.pid == 0 && std::chrono::steady_clock::now() < deadline) {
    for (const RunningProgram& program : running_programs(root())) {
      if (program.name == u"wceload.exe") found = program;
    }
  }
  ASSERT_EQ(found.pid, installer.pid());
  Process seen;
  ASSERT_EQ(Process::open(found.pid, &seen), Status::ok);
  EXPECT_EQ(seen.wait(0), Status::timeout);
  EXPECT_EQ(seen.wait(3000), Status::ok);
  EXPECT_FALSE(seen.exit_code());  // not our child: the code is its parent's
  EXPECT_EQ(installer.wait(1000), Status::ok);
  EXPECT_EQ(installer.exit_code(), 7);

  EXPECT_TRUE(running_programs(root()).empty());  // ended programs are struck off
  const DeviceRoot other(root().host() / "other");
  EXPECT_TRUE(running_programs(other).empty());
  RuntimeDir other_dir;
  ASSERT_EQ(RuntimeDir::for_device(other, &other_dir), Status::ok);
  std::filesystem::remove_all(other_dir.path());
}

TEST_F(ProcessTest, OpenersGetAFileUrlOrTheAddress) {
  std::ofstream(root().host() / "Windows/ductra_russian.htm") << "<html>";
  Process help;
  ASSERT_EQ(start_program(root(), map, u"PegHelp.exe", u"\\Windows\\ductra_Russian.htm#about", &help), Status::ok);
  ASSERT_EQ(help.wait(3000), Status::ok);
  const std::string root_url = "file://" + std::filesystem::absolute(root().host()).string();
  EXPECT_EQ(launch_report().at(0), root_url + "/Windows/ductra_russian.htm#about");

  Process browser;
  ASSERT_EQ(start_program(root(), map, u"\\Windows\\iexplore.exe", u"http://example.org/a b", &browser), Status::ok);
  ASSERT_EQ(browser.wait(3000), Status::ok);
  EXPECT_EQ(launch_report().at(0), "http://example.org/a b");
}

TEST_F(ProcessTest, UnknownProgramsAreNotFound) {
  Process process;
  EXPECT_EQ(start_program(root(), map, u"\\Windows\\calc.exe", u"", &process), Status::not_found);
  ProgramMap broken;
  broken.add(u"\\Windows\\x.exe", ProgramKind::executable, root().host() / "no-such-program");
  EXPECT_EQ(start_program(root(), broken, u"x.exe", u"", &process), Status::not_found);
  EXPECT_FALSE(process.is_open());
}

TEST_F(ProcessTest, TheInstallerAndRebootAreOnlyRecorded) {
  const ProgramMap standard = ProgramMap::standard(APPPLATFORM_HELPER);
  Process installer;
  ASSERT_EQ(start_program(root(), standard, u"wceload.exe", u" /noui \"\\temp\\Catalog.arm.cab\" ", &installer),
            Status::ok);
  EXPECT_EQ(installer.wait(0), Status::ok);
  EXPECT_EQ(installer.exit_code(), 0);
  ASSERT_EQ(request_reboot(root()), Status::ok);
  EXPECT_EQ(recorded_requests(root()),
            (std::vector<std::u16string>{u"\\Windows\\wceload.exe  /noui \"\\temp\\Catalog.arm.cab\" ", u"reboot"}));
}

TEST(ExitHookTest, AHookSeesTheCodeInsteadOfTheEnd) {
  int seen = -1;
  const ExitHook old = set_exit_hook([&seen](int code) { seen = code; });
  exit_process(4);
  EXPECT_EQ(seen, 4);
  set_exit_hook(old);
}

}  // namespace
}  // namespace ductra::platform

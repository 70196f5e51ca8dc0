#include "app/shell/cabinet_installation.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/shell/ductra_main.h"
#include "appplatform/launcher.h"
#include "appplatform/request_log.h"
#include "appplatform/runtime_dir.h"
#include "appplatform/thread.h"
#include "appplatform/wait.h"
#include "appplatform/window_server.h"
#include "tests/appplatform/virtual_time.h"

namespace ductra {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kDeclaredSize = 64;

fs::path make_folder() {
  std::string pattern = (fs::temp_directory_path() / "ductra-cab-XXXXXX").string();
  return ::mkdtemp(pattern.data());
}

// A device of its own with a cabinet of 64 declared bytes followed by
// `appended` more.
class CabinetDevice {
 public:
  CabinetDevice() : root_(make_folder()), registry_(root_) {
    EXPECT_EQ(root_.prepare(), platform::Status::ok);
    EXPECT_EQ(root_.to_host(kInstallationCab, &cab_), platform::Status::ok);
  }
  ~CabinetDevice() {
    platform::RuntimeDir runtime;
    if (platform::RuntimeDir::for_device(root_, &runtime) == platform::Status::ok) fs::remove_all(runtime.path());
    fs::remove_all(root_.host());
  }

  void write_cab(std::size_t appended, std::uint32_t declared = kDeclaredSize) {
    std::string bytes(kDeclaredSize + appended, 'x');
    bytes.replace(0, 4, "MSCF");
    for (int i = 0; i < 4; ++i) bytes[8 + i] = static_cast<char>(declared >> (8 * i) & 0xFF);
    std::ofstream(cab_, std::ios::binary) << bytes;
  }
  std::vector<std::u16string> requests() const { return platform::recorded_requests(root_); }
  CabinetPlatform platform(int version) const { return {root_, registry_, programs_, version}; }

  platform::DeviceRoot root_;
  platform::Registry registry_;
  platform::ProgramMap programs_ = platform::ProgramMap::standard("/nonexistent/Ductra");
  fs::path cab_;
};

const std::u16string kInstallerRun = u"\\Windows\\wceload.exe  /noui \"\\temp\\Catalog.arm.cab\" ";

TEST(CabinetInstallationTest, TheMarkerTheVersionAndTheCabinetDecideWhatIsInstalled) {
  struct Case {
    const char* what;
    bool marker;
    int version;
    std::size_t appended;
    std::uint32_t declared;
    bool file_left;
    std::uintmax_t size_after;
    bool installed;
  };
  const Case cases[] = {
      {"utilities installed: the cabinet goes, nothing runs", true, 5, 100, kDeclaredSize, false, 0, false},
      {"version 5: installed as it is", false, 5, 100, kDeclaredSize, true, kDeclaredSize + 100, true},
      {"version 4: cut to the declared size first", false, 4, 100, kDeclaredSize, true, kDeclaredSize, true},
      {"version 4, declared larger than the file: never made longer", false, 4, 0, 1000, true, kDeclaredSize, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CabinetDevice device;
    if (c.marker) {
      ASSERT_EQ(device.registry_.create_key(platform::Hive::local_machine, kUtilitiesKey), platform::Status::ok);
      ASSERT_EQ(device.registry_.write_dword(platform::Hive::local_machine, kUtilitiesKey, kUtilitiesInstalledValue, 1),
                platform::Status::ok);
    }
    device.write_cab(c.appended, c.declared);
    install_cab(device.platform(c.version), kInstallationCab);
    EXPECT_EQ(fs::exists(device.cab_), c.file_left);
    if (c.file_left) {
      EXPECT_EQ(fs::file_size(device.cab_), c.size_after);
    }
    EXPECT_EQ(device.requests(), c.installed ? std::vector<std::u16string>{kInstallerRun} : std::vector<std::u16string>{});
  }
}

TEST(CabinetInstallationTest, ACabinetWhoseSizeCannotBeReadIsNotInstalledOnAnOldPlatform) {
  CabinetDevice device;
  std::ofstream(device.cab_, std::ios::binary) << "MSCF";
  install_cab(device.platform(4), kInstallationCab);
  EXPECT_TRUE(device.requests().empty());
  EXPECT_EQ(fs::file_size(device.cab_), 4u) << "the file stays";
  EXPECT_FALSE(trim_cab(device.root_, u"\\temp\\missing.cab"));
}

// An installer already running (a stand-in that takes a moment) is waited
// for: the new one starts only after it has ended.
TEST(CabinetInstallationTest, AnInstallerStillRunningIsWaitedFor) {
  CabinetDevice device;
  const fs::path log = device.root_.host() / "installer.log";
  const fs::path script = device.root_.host() / "installer.sh";
  std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"start$1\" >> '" << log.string()
                        << "'\nsleep 0.3\nprintf '%s\\n' \"end$1\" >> '" << log.string() << "'\n";
  fs::permissions(script, fs::perms::owner_all);
  device.programs_ = platform::ProgramMap();
  device.programs_.add(u"\\Windows\\wceload.exe", platform::ProgramKind::executable, script);
  platform::Process first;
  ASSERT_EQ(platform::start_program(device.root_, device.programs_, u"wceload.exe", u" first", &first),
            platform::Status::ok);
  device.write_cab(0);
  install_cab(device.platform(5), kInstallationCab);
  std::ifstream in(log);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  const std::vector<std::string> expected = {"start first", "end first", "start /noui \"\\temp\\Catalog.arm.cab\" ",
                                             "end /noui \"\\temp\\Catalog.arm.cab\" "};
  EXPECT_EQ(lines, expected);
}

// The "reboot" start on the device's own pieces: the cabinet is installed
// through the recorded installer, then the restart is recorded.
class RebootStartTest : public platform::VirtualTimeTest, public StartupEnvironment, public ErrorReports {
 protected:
  platform::WindowSystem& windows() override { return system_; }
  const platform::RuntimeDir& runtime() override { return runtime_; }
  ErrorReports& errors() override { return *this; }
  void empty_prompt_colours() override {}
  std::uint32_t load_settings() override { return 0; }
  void install_cab(std::u16string_view device_path) override {
    ductra::install_cab(device_.platform(5), device_path);
  }
  void show_message(int id) override { messages.push_back(id); }
  void reboot_device() override { platform::request_reboot(device_.root_); }
  void remove_startup_link() override {}
  void run_dialog(int, platform::WindowHandle) override {}
  std::unique_ptr<Controller> make_controller(platform::WindowHandle) override { return nullptr; }
  void show_error_box(int, int) override {}
  void report_engine_error(const ExceptionInfo&) override {}
  void report_start_failure(const EngineStartFailure&) override {}

  CabinetDevice device_;
  platform::RuntimeDir runtime_;
  platform::WindowServer server_{240, 320};
  platform::WindowSystem system_{server_};
  std::vector<int> messages;
};

TEST_F(RebootStartTest, InstallsTheCabinetWaitsForTheInstallerAndRecordsTheReboot) {
  device_.write_cab(0);
  auto run = platform::Thread::start([this] { return static_cast<std::uint32_t>(ductra_main(u"reboot", *this)); });
  clock_.advance(kRebootPauseMs - 1);
  EXPECT_EQ(device_.requests(), std::vector<std::u16string>{kInstallerRun}) << "installed, not yet restarted";
  clock_.advance(1);
  platform::wait_for(*run, platform::kInfinite);
  EXPECT_EQ(run->exit_code(), 0u);
  EXPECT_EQ(messages, std::vector<int>{kStringRestartingDevice});
  EXPECT_EQ(device_.requests(), (std::vector<std::u16string>{kInstallerRun, u"reboot"}));
}

}  // namespace
}  // namespace ductra

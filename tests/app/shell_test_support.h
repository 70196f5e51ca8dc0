// A device in the test process for the start-up and controller tests: the
// window server, the scripted engine, the recording parts, and a start-up
// environment that builds the controller on them. Runs on the virtual clock.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <stdlib.h>
#include <unistd.h>

#include "app/shell/controller.h"
#include "app/shell/ductra_main.h"
#include "app/shell/shell_window.h"
#include "appplatform/device_root.h"
#include "appplatform/runtime_dir.h"
#include "appplatform/thread.h"
#include "appplatform/window_server.h"
#include "appplatform/window_system.h"
#include "tests/app/controller_parts_fake.h"
#include "tests/app/engine_client_support.h"

namespace ductra::testing {

class TestEnvironment final : public StartupEnvironment {
 public:
  TestEnvironment(platform::WindowSystem& windows, const platform::RuntimeDir& runtime, Engine& engine,
                  FakeParts& parts, CoreFiles files)
      : windows_(windows), runtime_(runtime), engine_(engine), parts_(parts), files_(std::move(files)) {}

  platform::WindowSystem& windows() override { return windows_; }
  const platform::RuntimeDir& runtime() override { return runtime_; }
  ErrorReports& errors() override { return parts_; }
  void empty_prompt_colours() override { parts_.log.add("prompt colours emptied"); }
  std::uint32_t load_settings() override {
    parts_.log.add("settings loaded");
    return branding;
  }
  void install_cab(std::u16string_view path) override {
    parts_.log.add("install " + std::string(path.begin(), path.end()));
  }
  void show_message(int id) override { parts_.log.add("message " + std::to_string(id)); }
  void reboot_device() override { parts_.log.add("reboot"); }
  void remove_startup_link() override { parts_.log.add("link removed"); }
  void run_dialog(int id, platform::WindowHandle parent) override {
    const auto info = windows_.describe(parent);
    const bool on_installation_window = info && info->class_name == kInstallationClass && info->visible &&
                                        info->window_rect.width() == 1000;
    parts_.log.add("dialog " + std::to_string(id) + (on_installation_window ? " on installation window" : ""));
  }
  std::unique_ptr<Controller> make_controller(platform::WindowHandle shell_window) override {
    ++controllers_made;
    if (!controller_allocates) return nullptr;
    return std::make_unique<Controller>(windows_, shell_window, engine_, files_,
                                        parts_.parts(settings, configurations, results, segmenter));
  }

  std::uint32_t branding = 0;
  bool controller_allocates = true;
  ControllerSettings* settings = nullptr;  // the recording ones when null
  ConfigurationControl* configurations = nullptr;  // likewise
  ResultRoad* results = nullptr;                   // likewise
  SegmenterControl* segmenter = nullptr;           // likewise
  int controllers_made = 0;

 private:
  platform::WindowSystem& windows_;
  const platform::RuntimeDir& runtime_;
  Engine& engine_;
  FakeParts& parts_;
  const CoreFiles files_;
};

// A device of its own (root folder and runtime folder) per test.
class ShellTest : public FakeEngineTest {
 protected:
  ShellTest()
      : device_(make_folder()),
        overrides_(device_.host() / "rec_param.txt"),
        environment_(system_, runtime_, *engine_, parts_, CoreFiles{"/device/qlmain.dt", overrides_}) {
    EXPECT_EQ(platform::RuntimeDir::for_device(device_, &runtime_), platform::Status::ok);
  }
  ~ShellTest() override {
    ui_.reset();
    std::filesystem::remove_all(runtime_.path());
    std::filesystem::remove_all(device_.host());
  }

  static std::filesystem::path make_folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ductra-shell-XXXXXX").string();
    return ::mkdtemp(pattern.data());
  }

  // Runs ductra_main(command_line) on a UI thread and lets it settle.
  void run(std::u16string_view command_line) {
    const std::u16string line(command_line);
    ui_ = platform::Thread::start([this, line] { return static_cast<std::uint32_t>(ductra_main(line, environment_)); });
    clock_.advance(0);
  }

  // The exit code of the run once it has ended.
  std::uint32_t exit_code() {
    platform::wait_for(*ui_, platform::kInfinite);
    return ui_->exit_code().value_or(0xDEAD);
  }

  void post(std::uint32_t message, platform::WParam wparam = 0, platform::LParam lparam = 0) {
    system_.post_message(shell_window(), message, wparam, lparam);
    clock_.advance(0);
  }

  std::vector<std::string> log_since_clear() { return parts_.log.entries(); }

  platform::DeviceRoot device_;
  platform::RuntimeDir runtime_;
  std::filesystem::path overrides_;
  platform::WindowServer server_{240, 320};
  platform::WindowSystem system_{server_};
  FakeParts parts_;
  TestEnvironment environment_;
  std::unique_ptr<platform::Thread> ui_;
};

}  // namespace ductra::testing

// The component as the device uses it: libquillpad.so loaded into a device
// in the test process (window server on its socket, input-panel manager,
// a stand-in keyboard as the user's default input method), and a stand-in
// application (helper/application.cc) that the component starts through the
// launcher as a real process. Real time: the component waits for a real
// process.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "appplatform/com/input_panel_manager.h"
#include "appplatform/component_protocol.h"
#include "appplatform/device_socket.h"
#include "appplatform/launcher.h"
#include "appplatform/library.h"
#include "appplatform/pen_ring.h"
#include "appplatform/registry.h"
#include "appplatform/window_server.h"
#include "appplatform/relay_protocol.h"
#include "appplatform/runtime_dir.h"
#include "appplatform/shared_memory.h"
#include "appplatform/window_system.h"
#include "tests/appplatform/environment_guard.h"
#include "tests/support/no_keys.h"

namespace ductra::quillpad {
namespace {

using platform::Guid;
using platform::HResult;

constexpr Guid kKeyboardClassId{0x4B455953, 1, 1, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr std::uint32_t kSelectDefault = platform::WM_APP + 1;  // the stand-in's engine failure

// The user's default input method: it takes no part in the story but must
// be there to switch to.
class Keyboard final : public platform::IInputMethod {
 public:
  HResult QueryInterface(const Guid& iid, void** out) override {
    *out = nullptr;
    if (!(iid == platform::IID_IUnknown) && !(iid == platform::IID_IInputMethod) &&
        !(iid == platform::IID_IClassFactory)) {
      return platform::E_NOINTERFACE;
    }
    *out = this;
    return platform::S_OK;
  }
  std::uint32_t AddRef() override { return 2; }
  std::uint32_t Release() override { return 1; }
  HResult Select(platform::WindowHandle) override { return platform::S_OK; }
  HResult Deselect() override { return platform::S_OK; }
  HResult Showing() override { return platform::S_OK; }
  HResult Hiding() override { return platform::S_OK; }
  HResult GetInfo(platform::ImInfo*) override { return platform::S_OK; }
  HResult ReceiveSipInfo(const platform::SipInfo*) override { return platform::S_OK; }
  HResult RegisterCallback(platform::IIMCallback*) override { return platform::S_OK; }
  HResult GetImData(std::uint32_t, void*) override { return platform::S_OK; }
  HResult SetImData(std::uint32_t, void*) override { return platform::S_OK; }
  HResult UserOptionsDlg(platform::WindowHandle) override { return platform::S_OK; }
};

// The keyboard is its own factory.
class KeyboardFactory final : public platform::IClassFactory {
 public:
  HResult QueryInterface(const Guid&, void** out) override {
    *out = this;
    return platform::S_OK;
  }
  std::uint32_t AddRef() override { return 2; }
  std::uint32_t Release() override { return 1; }
  HResult CreateInstance(platform::IUnknown*, const Guid& iid, void** out) override {
    return keyboard.QueryInterface(iid, out);
  }
  HResult LockServer(std::int32_t) override { return platform::S_OK; }
  Keyboard keyboard;
};

KeyboardFactory keyboard_factory;

HResult keyboard_class_object(const Guid&, const Guid&, void** out) {
  *out = &keyboard_factory;
  return platform::S_OK;
}

// A fresh device root and runtime folder per test.
class DeviceFolders : public ::testing::Test {
 protected:
  DeviceFolders() : root_(make_folder()) { EXPECT_EQ(platform::RuntimeDir::for_device(root_, &runtime_), platform::Status::ok); }
  ~DeviceFolders() override {
    std::filesystem::remove_all(runtime_.path());
    std::filesystem::remove_all(root_.host());
  }
  const platform::DeviceRoot& root() const { return root_; }
  const platform::RuntimeDir& runtime() const { return runtime_; }

 private:
  static std::filesystem::path make_folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillpad-device-XXXXXX").string();
    return ::mkdtemp(pattern.data());
  }

  platform::DeviceRoot root_;
  platform::RuntimeDir runtime_;
};

class QuillpadDeviceTest : public DeviceFolders {
 protected:
  QuillpadDeviceTest() {
    environment_.set("DUCTRA_DEVICE_ROOT", root().host().c_str());
    environment_.set("DUCTRA_APPLICATION", QUILLPAD_APPLICATION_STAND_IN);
    EXPECT_EQ(root().prepare(), platform::Status::ok);
    EXPECT_TRUE(server_.listen(platform::window_server_socket(runtime())));
    std::filesystem::create_symlink(QUILLPAD_LIBRARY, root().host() / "Windows" / "Quillpad.dll");
    EXPECT_EQ(platform::Library::load(root(), platform::LibraryMap::standard(), u"\\Windows\\Quillpad.dll", &library_),
              platform::Status::ok);
    record_default_input_method();
    manager_ = std::make_unique<platform::InputPanelManager>(keys_, platform::Rect{0, 240, 240, 320});
    EXPECT_TRUE(manager_->register_input_method({kKeyboardClassId, u"Keyboard", &keyboard_class_object}));
    EXPECT_TRUE(manager_->register_input_method(
        {platform::kQuillpadClassId, u"Quillpad",
         reinterpret_cast<platform::GetClassObjectFunction>(library_.entry("DllGetClassObject"))}));
    EXPECT_TRUE(manager_->set_current(kKeyboardClassId));
    EXPECT_TRUE(manager_->show(true));
  }
  ~QuillpadDeviceTest() override {
    manager_.reset();  // deselects the current input method
    library_.close();
  }

  void record_default_input_method() {
    const platform::Registry registry(root());
    ASSERT_EQ(registry.create_key(platform::kDefaultImHive, platform::kDefaultImKey), platform::Status::ok);
    std::u16string text = platform::guid_to_string(kKeyboardClassId);
    text.push_back(u'\0');
    ASSERT_EQ(registry.write_value(platform::kDefaultImHive, platform::kDefaultImKey, platform::kDefaultImValue,
                                   platform::ValueType::string, std::as_bytes(std::span(text))),
              platform::Status::ok);
  }

  // The stand-in application's lines so far.
  std::vector<std::string> application_log() {
    std::vector<std::string> lines;
    std::ifstream file(root().host() / "ductra.log");
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
  }

  // The same without "hiding": the component posts Hiding just before it
  // sends Deselect, so the application may take either first.
  std::vector<std::string> application_log_without_hiding() {
    std::vector<std::string> lines = application_log();
    std::erase(lines, "hiding");
    return lines;
  }

  // Waits for the stand-in to have written `line`.
  bool wait_for_line(const std::string& line, int count = 1) {
    return wait_until([&] {
      const std::vector<std::string> lines = application_log();
      return std::count(lines.begin(), lines.end(), line) >= count;
    });
  }

  // Waits for `done`, with a deadline long enough for a loaded machine.
  static bool wait_until(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done()) {
      if (std::chrono::steady_clock::now() >= end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }

  bool application_runs() { return !platform::running_programs(root()).empty(); }

  std::uint32_t saved_value() {
    std::uint32_t saved = 0;
    platform::Registry(root()).read_dword(platform::Hive::local_machine, u"SOFTWARE\\Test", u"Saved", &saved);
    return saved;
  }

  platform::testing::EnvironmentGuard environment_;
  platform::WindowServer server_{240, 320};
  platform::WindowSystem system_{server_};
  platform::Library library_;
  testing::NoKeys keys_;
  std::unique_ptr<platform::InputPanelManager> manager_;
};

TEST_F(QuillpadDeviceTest, SelectingTheComponentStartsTheApplicationOnceAndSwitchingAwayEndsItInOrder) {
  ASSERT_TRUE(manager_->set_current(platform::kQuillpadClassId));
  ASSERT_TRUE(wait_for_line("showing ours=1 shown=1")) << "the application started and sees the panel shown";
  EXPECT_TRUE(system_.get_window(manager_->panel_window(), platform::GW_CHILD)) << "the relay window is in the panel";
  const platform::Rect panel = system_.window_rect(manager_->panel_window()).value_or(platform::Rect{});
  EXPECT_EQ(panel.width(), 0);
  EXPECT_EQ(panel.height(), 0) << "the panel gives its area up";

  ASSERT_TRUE(manager_->show(false));
  ASSERT_TRUE(manager_->show(true));
  ASSERT_TRUE(manager_->set_current(platform::kQuillpadClassId));
  ASSERT_TRUE(wait_for_line("showing ours=1 shown=1", 2));
  std::vector<std::string> lines = application_log();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "start"), 1) << "a running application is not started again";
  EXPECT_EQ(platform::running_programs(root()).size(), 1u);

  ASSERT_TRUE(manager_->set_current(kKeyboardClassId));
  EXPECT_EQ(manager_->current(), kKeyboardClassId);
  ASSERT_TRUE(wait_until([&] { return !application_runs(); })) << "Deselect asked the application to end";
  lines = application_log();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "hiding"), 2);
  const std::vector<std::string> expected = {"start", "showing ours=1 shown=1", "showing ours=1 shown=1", "deselect",
                                             "end"};
  EXPECT_EQ(application_log_without_hiding(), expected);
  EXPECT_EQ(saved_value(), 1u) << "the application saved before it ended";
  // The stand-in leaves its window to the end of its process, and the server
  // drops it only once it has read the end of the process's connection:
  // that may come after the test saw the process end.
  EXPECT_TRUE(wait_until([&] {
    return !system_.find_window(platform::kShellWindowClass, platform::kShellWindowTitle);
  })) << "the shell window went with the application";
  EXPECT_FALSE(system_.get_window(manager_->panel_window(), platform::GW_CHILD)) << "the relay window went with it";
}

TEST_F(QuillpadDeviceTest, TheApplicationGivingUpRestoresTheUsersDefaultInputMethod) {
  ASSERT_TRUE(manager_->set_current(platform::kQuillpadClassId));
  ASSERT_TRUE(wait_for_line("showing ours=1 shown=1"));
  const platform::WindowHandle shell = system_.find_window(platform::kShellWindowClass, platform::kShellWindowTitle);
  ASSERT_TRUE(shell);
  system_.post_message(shell, kSelectDefault, 0, 0);
  ASSERT_TRUE(wait_for_line("end"));
  EXPECT_EQ(manager_->current(), kKeyboardClassId);
  const std::vector<std::string> expected = {"start", "showing ours=1 shown=1", "deselect", "default selected 1",
                                             "end"};
  EXPECT_EQ(application_log_without_hiding(), expected)
      << "the switch deselected the component, which ended the application";
  EXPECT_EQ(saved_value(), 1u);
}

#ifdef DUCTRA_PROGRAM

// The same device with the application itself: the program Ductra with the
// engine and the default data, and the pen ring the touch shim would make.
class RealApplicationTest : public QuillpadDeviceTest {
 protected:
  RealApplicationTest() {
    environment_.set("DUCTRA_APPLICATION", DUCTRA_PROGRAM);
    std::filesystem::path data;
    EXPECT_EQ(root().to_host(u"\\Program Files\\Ductra\\qlmain.dt", &data), platform::Status::ok);
    std::filesystem::copy_file(DUCTRA_DEFAULT_DATA, data);
    EXPECT_EQ(platform::SharedMemory::open(runtime(), platform::kPenRingName, platform::kPenRingBytes, &ring_),
              platform::Status::ok);
    platform::PenRing(ring_.bytes()).initialize();
  }

  bool application_window() {
    return static_cast<bool>(system_.find_window(platform::kShellWindowClass, platform::kShellWindowTitle));
  }

  int stored_settings() {
    const platform::Registry registry(root());
    int stored = 0;
    for (const char16_t* name : {u"SheetPageNumber", u"AutoSpace", u"TimeOut", u"PenWidth", u"PenColor",
                                 u"SpaceAfterResult", u"UsePrompt", u"recognize_mode_", u"large_moving_icon",
                                 u"Language", u"branding", u"icon_landscape_x_", u"icon_landscape_y_",
                                 u"icon_portrait_x_", u"icon_portrait_y_"}) {
      std::uint32_t value = 0;
      stored += registry.read_dword(platform::Hive::local_machine, u"SOFTWARE\\Korvale Software\\Ductra\\9.0", name,
                                    &value) == platform::Status::ok;
    }
    return stored;
  }

  platform::SharedMemory ring_;
};

TEST_F(RealApplicationTest, TheComponentStartsTheApplicationOnceAndDeselectingEndsItWithItsSettingsSaved) {
  ASSERT_TRUE(manager_->set_current(platform::kQuillpadClassId));
  ASSERT_TRUE(application_window()) << "the component waited for the window";
  for (const char16_t* small_window : {u"Ductra ToolWindow Class", u"Ductra KeyboardWindow Class"}) {
    EXPECT_TRUE(wait_until([&] { return static_cast<bool>(system_.find_window(small_window, std::nullopt)); }))
        << "made with the controller";
  }
  ASSERT_TRUE(manager_->show(false));
  ASSERT_TRUE(manager_->show(true));
  ASSERT_TRUE(manager_->set_current(platform::kQuillpadClassId));
  EXPECT_EQ(platform::running_programs(root()).size(), 1u) << "a running application is not started again";
  EXPECT_EQ(stored_settings(), 0);

  ASSERT_TRUE(manager_->set_current(kKeyboardClassId));
  ASSERT_TRUE(wait_until([&] { return !application_runs(); }));
  EXPECT_FALSE(application_window());
  EXPECT_FALSE(system_.find_window(u"Ductra ToolWindow Class", std::nullopt)) << "gone with the application";
  EXPECT_EQ(stored_settings(), 15) << "the application saved its settings as it ended";
}

#endif  // DUCTRA_PROGRAM

}  // namespace
}  // namespace ductra::quillpad

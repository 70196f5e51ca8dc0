// The component's input method and class factory in a window server of the
// test process: the test thread plays the input-panel manager's thread and
// owns the panel window and a stand-in for the application's shell window.
#include "inputpanel/quillpad.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "appplatform/component_protocol.h"
#include "appplatform/install_dir.h"
#include "appplatform/relay_protocol.h"
#include "appplatform/request_log.h"
#include "appplatform/window_server.h"
#include "inputpanel/class_factory.h"
#include "inputpanel/panel_placement.h"
#include "tests/inputpanel/relay_fixture.h"

namespace ductra::quillpad {
namespace {

using platform::Guid;
using platform::HResult;
using platform::WindowHandle;

std::vector<std::uint32_t>* shell_messages = nullptr;

platform::MessageResult plain_procedure(WindowHandle window, std::uint32_t message, platform::WParam wparam,
                                        platform::LParam lparam) {
  return platform::WindowSystem::current().default_procedure(window, message, wparam, lparam);
}

platform::MessageResult shell_procedure(WindowHandle window, std::uint32_t message, platform::WParam wparam,
                                        platform::LParam lparam) {
  if (message >= platform::WM_QUILLPAD_SHOWING && message <= platform::WM_QUILLPAD_RELEASED) {
    shell_messages->push_back(message);
    return 0;
  }
  return platform::WindowSystem::current().default_procedure(window, message, wparam, lparam);
}

constexpr std::u16string_view kPanelClass = u"Panel Test Class";

class QuillpadTest : public ::testing::Test {
 protected:
  QuillpadTest() : root_(make_folder()), component_(ComponentDevice{platform::DeviceRoot(root_), programs()}) {
    shell_messages = &received_;
    system_.register_class({std::u16string(kPanelClass), &plain_procedure});
  }
  ~QuillpadTest() override {
    shell_messages = nullptr;
    std::filesystem::remove_all(root_);
  }

  static std::filesystem::path make_folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillpad-XXXXXX").string();
    return ::mkdtemp(pattern.data());
  }

  // The application is a program that does not exist.
  static platform::ProgramMap programs() {
    return platform::ProgramMap::standard(std::filesystem::temp_directory_path() / "no-such-ductra");
  }

  WindowHandle make_window(std::u16string_view class_name, std::u16string_view title, platform::Rect where) {
    platform::CreateWindowParams params;
    params.class_name = class_name;
    params.title = title;
    params.style = platform::WS_POPUP | platform::WS_VISIBLE;
    params.x = where.left;
    params.y = where.top;
    params.width = where.width();
    params.height = where.height();
    return system_.create_window(params);
  }

  WindowHandle make_shell_window() {
    system_.register_class({std::u16string(platform::kShellWindowClass), &shell_procedure});
    return make_window(platform::kShellWindowClass, platform::kShellWindowTitle, {0, 0, 0, 0});
  }

  // Handles what was posted to this thread's windows.
  void pump() {
    platform::Message message;
    while (system_.peek_message(message, true)) system_.dispatch_message(message);
  }

  // A new input method, as the manager makes it: through the factory.
  platform::IInputMethod* make_method() {
    void* factory = nullptr;
    EXPECT_EQ(get_class_object(component_, platform::kQuillpadClassId, platform::IID_IClassFactory, &factory),
              platform::S_OK);
    void* method = nullptr;
    EXPECT_EQ(static_cast<platform::IClassFactory*>(factory)->CreateInstance(nullptr, platform::IID_IInputMethod,
                                                                             &method),
              platform::S_OK);
    static_cast<platform::IClassFactory*>(factory)->Release();
    return static_cast<platform::IInputMethod*>(method);
  }

  std::filesystem::path root_;
  platform::WindowServer server_{240, 320};
  platform::WindowSystem system_{server_};
  Component component_;
  std::vector<std::uint32_t> received_;
};

TEST_F(QuillpadTest, TheFactoryIsFoundOnlyByTheComponentsClassAndHandsOverOneReference) {
  void* out = &out;
  EXPECT_EQ(get_class_object(component_, platform::IID_IUnknown, platform::IID_IClassFactory, &out),
            platform::CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);

  ASSERT_EQ(get_class_object(component_, platform::kQuillpadClassId, platform::IID_IClassFactory, &out), platform::S_OK);
  auto* factory = static_cast<platform::IClassFactory*>(out);
  EXPECT_EQ(factory->AddRef(), 2u) << "the caller held the only reference";
  EXPECT_EQ(factory->Release(), 1u);

  struct Query {
    const char* what;
    Guid iid;
    HResult factory_answer;
    HResult method_answer;
  };
  const Query queries[] = {
      {"unknown", platform::IID_IUnknown, platform::S_OK, platform::S_OK},
      {"class factory", platform::IID_IClassFactory, platform::S_OK, platform::E_NOINTERFACE},
      {"input method", platform::IID_IInputMethod, platform::E_NOINTERFACE, platform::S_OK},
      {"callback", platform::IID_IIMCallback, platform::E_NOINTERFACE, platform::E_NOINTERFACE},
  };
  platform::IInputMethod* method = make_method();
  for (const Query& q : queries) {
    SCOPED_TRACE(q.what);
    void* answer = &answer;
    EXPECT_EQ(factory->QueryInterface(q.iid, &answer), q.factory_answer);
    if (answer != nullptr) static_cast<platform::IUnknown*>(answer)->Release();
    EXPECT_EQ(answer == nullptr, q.factory_answer != platform::S_OK) << "a refused query clears the pointer";
    answer = &answer;
    EXPECT_EQ(method->QueryInterface(q.iid, &answer), q.method_answer);
    if (answer != nullptr) static_cast<platform::IUnknown*>(answer)->Release();
    EXPECT_EQ(answer == nullptr, q.method_answer != platform::S_OK);
  }

  void* aggregated = &aggregated;
  EXPECT_EQ(factory->CreateInstance(method, platform::IID_IInputMethod, &aggregated), platform::CLASS_E_NOAGGREGATION);
  EXPECT_EQ(aggregated, nullptr);
  method->Release();
  factory->Release();
}

TEST_F(QuillpadTest, TheLibraryMayUnloadOnlyWithoutObjectsAndLocks) {
  void* out = nullptr;
  ASSERT_EQ(get_class_object(component_, platform::kQuillpadClassId, platform::IID_IClassFactory, &out), platform::S_OK);
  auto* factory = static_cast<platform::IClassFactory*>(out);
  EXPECT_EQ(can_unload_now(component_), platform::S_OK) << "a factory alone keeps nothing";
  EXPECT_EQ(factory->LockServer(1), platform::S_OK);
  EXPECT_EQ(can_unload_now(component_), platform::S_FALSE);
  EXPECT_EQ(factory->LockServer(0), platform::S_OK);
  EXPECT_EQ(can_unload_now(component_), platform::S_OK);
  platform::IInputMethod* method = make_method();
  EXPECT_EQ(can_unload_now(component_), platform::S_FALSE);
  method->Release();
  EXPECT_EQ(can_unload_now(component_), platform::S_OK);
  factory->Release();
}

TEST_F(QuillpadTest, TheFactorysLastReleaseTellsTheApplicationWhenItRuns) {
  void* out = nullptr;
  ASSERT_EQ(get_class_object(component_, platform::kQuillpadClassId, platform::IID_IClassFactory, &out), platform::S_OK);
  static_cast<platform::IClassFactory*>(out)->Release();  // no application: nothing to tell
  make_shell_window();
  ASSERT_EQ(get_class_object(component_, platform::kQuillpadClassId, platform::IID_IUnknown, &out), platform::S_OK);
  static_cast<platform::IUnknown*>(out)->AddRef();
  static_cast<platform::IUnknown*>(out)->Release();
  pump();
  EXPECT_TRUE(received_.empty());
  static_cast<platform::IUnknown*>(out)->Release();
  pump();
  EXPECT_EQ(received_, std::vector<std::uint32_t>{platform::WM_QUILLPAD_RELEASED});
}

TEST_F(QuillpadTest, ShowingWithoutTheApplicationAndWithoutItsProgramSendsNothing) {
  const WindowHandle panel = make_window(kPanelClass, u"", {0, 240, 240, 320});
  platform::IInputMethod* method = make_method();
  ASSERT_EQ(method->Select(panel), platform::S_OK);
  EXPECT_EQ(method->Showing(), platform::S_FALSE);
  EXPECT_EQ(method->UserOptionsDlg(panel), platform::S_FALSE);
  EXPECT_EQ(method->Hiding(), platform::S_OK);
  pump();
  EXPECT_TRUE(received_.empty());
  method->Deselect();
  method->Release();
}

TEST_F(QuillpadTest, ShowingCollapsesThePanelAboveTheButtonOrTheWorkAreaAndTellsTheApplication) {
  struct Case {
    const char* what;
    bool button;
    int expected_top;
  };
  const Case cases[] = {{"above the input-panel button", true, 250}, {"at the work area's height", false, 268}};
  make_shell_window();
  server_.set_work_area({0, 0, 240, 268});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    received_.clear();
    const WindowHandle panel = make_window(kPanelClass, u"", {0, 200, 240, 320});
    WindowHandle button;
    if (c.button) {
      system_.register_class({std::u16string(kSipButtonClass), &plain_procedure});
      button = make_window(kSipButtonClass, u"", {200, 250, 240, 270});
    }
    platform::IInputMethod* method = make_method();
    ASSERT_EQ(method->Select(panel), platform::S_OK);
    EXPECT_EQ(method->Showing(), platform::S_OK);
    EXPECT_EQ(system_.window_rect(panel), (platform::Rect{0, c.expected_top, 0, c.expected_top}));
    EXPECT_EQ(method->Hiding(), platform::S_OK);
    EXPECT_EQ(method->UserOptionsDlg(panel), platform::S_OK);
    pump();
    EXPECT_EQ(received_, (std::vector<std::uint32_t>{platform::WM_QUILLPAD_OPTIONS, platform::WM_QUILLPAD_RELEASED,
                                                     platform::WM_QUILLPAD_SHOWING, platform::WM_QUILLPAD_HIDING}))
        << "the options are sent at once; the factory's release (after making the object), showing and hiding posted";
    method->Deselect();
    method->Release();
    if (button) system_.destroy_window(button);
    system_.destroy_window(panel);
  }
}

TEST_F(QuillpadTest, SelectMakesTheRelayWindowInThePanelAndDeselectTakesItAway) {
  const WindowHandle panel = make_window(kPanelClass, u"", {0, 240, 240, 320});
  platform::IInputMethod* method = make_method();
  ASSERT_EQ(method->Select(panel), platform::S_OK);
  const WindowHandle relay = system_.get_window(panel, platform::GW_CHILD);
  ASSERT_TRUE(relay) << "the application finds it as the panel's first child";
  EXPECT_EQ(system_.class_name(relay), platform::kRelayWindowClass);
  EXPECT_EQ(system_.window_text(relay), platform::kRelayWindowTitle);

  platform::ImInfo info;
  ASSERT_EQ(method->GetInfo(&info), platform::S_OK);
  EXPECT_NE(info.narrow_images, nullptr);
  EXPECT_NE(info.wide_images, nullptr);
  EXPECT_EQ(info.flags, 0u);
  EXPECT_EQ(info.sip_rect, system_.window_rect(relay));
  EXPECT_EQ(method->GetInfo(nullptr), platform::E_POINTER);
  platform::ImInfo short_record;
  short_record.cb_size = 40;
  EXPECT_EQ(method->GetInfo(&short_record), platform::E_INVALIDARG);
  platform::SipInfo sip;
  sip.cb_size = 44;
  EXPECT_EQ(method->ReceiveSipInfo(&sip), platform::E_INVALIDARG);
  EXPECT_EQ(method->ReceiveSipInfo(nullptr), platform::E_POINTER);

  testing::RecordingCallback callback;
  EXPECT_EQ(method->RegisterCallback(&callback), platform::S_OK);
  EXPECT_EQ(callback.references.load(), 2u) << "the relay window holds the callback";
  EXPECT_EQ(method->Deselect(), platform::S_OK) << "no application was started: no wait";
  EXPECT_FALSE(system_.is_window(relay));
  EXPECT_EQ(callback.references.load(), 1u) << "and lets the callback go";
  EXPECT_TRUE(system_.register_class({std::u16string(platform::kRelayWindowClass), &plain_procedure}))
      << "the relay class was unregistered";
  system_.unregister_class(platform::kRelayWindowClass);

  ASSERT_EQ(method->Select(panel), platform::S_OK) << "selected again, the window is made again";
  EXPECT_TRUE(system_.get_window(panel, platform::GW_CHILD));
  method->Deselect();
  method->Release();
}

TEST_F(QuillpadTest, TheApplicationIsLookedForInABoundedInstallFolderAndASilentOneFailsTheShowing) {
  // Both places are recorded instead of run, so the request tells which was
  // chosen; a recorded program never signals that its window exists.
  const std::u16string long_folder = u"\\" + std::u16string(300, u'x');
  platform::ProgramMap programs;
  programs.add(u"\\Program Files\\Ductra\\Ductra.exe", platform::ProgramKind::recorder);
  programs.add(long_folder + u"\\Ductra.exe", platform::ProgramKind::recorder);
  programs.add(u"\\Storage\\Ductra.exe", platform::ProgramKind::recorder);
  Component component(ComponentDevice{platform::DeviceRoot(root_), programs, 20});
  const platform::Registry registry(component.device().root);
  struct Case {
    const char* what;
    std::optional<std::u16string> folder;
    std::u16string started;
  };
  const Case cases[] = {
      {"no key: it is made, and the default folder used", std::nullopt, u"\\Program Files\\Ductra\\Ductra.exe start"},
      {"the recorded folder", u"\\Storage", u"\\Storage\\Ductra.exe start"},
      {"a folder too long for the path: the default", long_folder, u"\\Program Files\\Ductra\\Ductra.exe start"},
  };
  const WindowHandle panel = make_window(kPanelClass, u"", {0, 240, 240, 320});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.folder) {
      std::u16string text = *c.folder;
      text.push_back(u'\0');
      ASSERT_EQ(registry.write_value(platform::Hive::local_machine, platform::kInstallKey, u"InstallDir",
                                     platform::ValueType::string, std::as_bytes(std::span(text))),
                platform::Status::ok);
    }
    std::filesystem::remove(root_ / "requests.log");
    void* factory = nullptr;
    ASSERT_EQ(get_class_object(component, platform::kQuillpadClassId, platform::IID_IClassFactory, &factory),
              platform::S_OK);
    void* made = nullptr;
    static_cast<platform::IClassFactory*>(factory)->CreateInstance(nullptr, platform::IID_IInputMethod, &made);
    static_cast<platform::IClassFactory*>(factory)->Release();
    auto* method = static_cast<platform::IInputMethod*>(made);
    ASSERT_EQ(method->Select(panel), platform::S_OK);
    EXPECT_EQ(method->Showing(), platform::S_FALSE) << "started, but its window never came";
    EXPECT_TRUE(registry.key_exists(platform::Hive::local_machine, platform::kInstallKey));
    EXPECT_EQ(platform::recorded_requests(component.device().root), std::vector<std::u16string>{c.started});
    method->Deselect();
    method->Release();
  }
  pump();
  EXPECT_TRUE(received_.empty());
}

}  // namespace
}  // namespace ductra::quillpad

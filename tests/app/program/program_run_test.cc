// The program's own parts in a device of the test process: the window
// server, an input-panel manager with this application's input method
// current and another as the user's default, the scripted engine, and the
// program's environment (its small windows, settings sheet, word dialog
// and error reporting) running Ductra on a UI thread of the test. Runs on
// the virtual clock.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/delivery/alternatives_menu.h"
#include "app/program/product_environment.h"
#include "app/settings/settings_sheet.h"
#include "app/shell/result_choice.h"
#include "app/shell/screen_metrics.h"
#include "app/shell/shell_messages.h"
#include "app/windows/ctl_color_registry.h"
#include "app/windows/keyboard_window.h"
#include "app/windows/tool_window.h"
#include "appplatform/com/input_panel_manager.h"
#include "appplatform/component_protocol.h"
#include "appplatform/dialog/control_constants.h"
#include "appplatform/draw/display.h"
#include "appplatform/message_box.h"
#include "appplatform/request_log.h"
#include "appplatform/scripted_responder.h"
#include "tests/app/shell_test_support.h"
#include "tests/support/no_keys.h"

namespace ductra {
namespace {

using platform::DialogAction;
using platform::Guid;
using platform::HResult;
using platform::WindowHandle;

constexpr Guid kOtherClassId{0x07E5, 9, 9, {9, 9, 9, 9, 9, 9, 9, 9}};

// An input method that only takes part: it is its own factory and is never
// freed.
class StandInMethod final : public platform::IInputMethod, public platform::IClassFactory {
 public:
  HResult QueryInterface(const Guid&, void** out) override {
    *out = static_cast<platform::IInputMethod*>(this);
    return platform::S_OK;
  }
  std::uint32_t AddRef() override { return 2; }
  std::uint32_t Release() override { return 1; }
  HResult CreateInstance(platform::IUnknown*, const Guid&, void** out) override {
    *out = static_cast<platform::IInputMethod*>(this);
    return platform::S_OK;
  }
  HResult LockServer(std::int32_t) override { return platform::S_OK; }
  HResult Select(WindowHandle) override { return platform::S_OK; }
  HResult Deselect() override { return platform::S_OK; }
  HResult Showing() override { return platform::S_OK; }
  HResult Hiding() override { return platform::S_OK; }
  HResult GetInfo(platform::ImInfo*) override { return platform::S_OK; }
  HResult ReceiveSipInfo(const platform::SipInfo*) override { return platform::S_OK; }
  HResult RegisterCallback(platform::IIMCallback*) override { return platform::S_OK; }
  HResult GetImData(std::uint32_t, void*) override { return platform::S_OK; }
  HResult SetImData(std::uint32_t, void*) override { return platform::S_OK; }
  HResult UserOptionsDlg(WindowHandle) override { return platform::S_OK; }
};

StandInMethod ours;
StandInMethod other;

HResult our_class_object(const Guid&, const Guid&, void** out) {
  *out = static_cast<platform::IClassFactory*>(&ours);
  return platform::S_OK;
}

HResult other_class_object(const Guid&, const Guid&, void** out) {
  *out = static_cast<platform::IClassFactory*>(&other);
  return platform::S_OK;
}

const platform::Brush* no_colour(platform::DeviceContext&, void*) { return nullptr; }

// A word result the engine asks about: its alternatives, best first.
class WordChoice {
 public:
  explicit WordChoice(std::vector<std::u16string> texts) : texts_(std::move(texts)) {
    for (std::u16string& text : texts_) {
      arrays_.push_back({0, static_cast<std::uint32_t>(text.size()), static_cast<std::uint32_t>(text.size()),
                         text.data()});
    }
    const auto count = static_cast<std::uint32_t>(arrays_.size());
    choice.candidates = {0, count, count, arrays_.data()};
    choice.kind = kChoiceWord;
    choice.right = 480;
    choice.bottom = 200;
    choice.chosen = kChoiceKeep;
  }
  ~WordChoice() { ::operator delete(choice.returned_text.data); }
  WordChoice(const WordChoice&) = delete;
  WordChoice& operator=(const WordChoice&) = delete;

  std::u16string returned() const {
    return {static_cast<const char16_t*>(choice.returned_text.data), choice.returned_text.count};
  }

  crResultChoice choice{};

 private:
  std::vector<std::u16string> texts_;
  std::vector<crDynArray> arrays_;
};

class ProgramRunTest : public testing::ShellTest {
 protected:
  ProgramRunTest() {
    platform::set_display(screen_);
    EXPECT_EQ(device_.prepare(), platform::Status::ok);
    const std::uint32_t charsets[] = {1, 2, 3, 4, 5, 37, 38};
    control_.script_charsets(charsets, std::size(charsets));
    control_.script_charset_code(4, u"rus");
    control_.script_charset_code(5, u"eng");
    const std::uint32_t dictionaries[] = {4, 5};
    control_.script_user_dictionaries(dictionaries, std::size(dictionaries));
    record_default_input_method();
    EXPECT_TRUE(manager_.register_input_method({platform::kQuillpadClassId, u"Quillpad", &our_class_object}));
    EXPECT_TRUE(manager_.register_input_method({kOtherClassId, u"Other", &other_class_object}));
    EXPECT_TRUE(manager_.set_current(platform::kQuillpadClassId));
    EXPECT_TRUE(manager_.show(true));
  }
  // A run a failed test left is ended before its environment goes.
  ~ProgramRunTest() override {
    if (ui_ && shell_window()) post(WM_QUILLPAD_DESELECT);
    if (ui_) exit_code();
    ui_.reset();
    platform::set_display(nullptr);
  }

  void record_default_input_method() {
    std::u16string text = platform::guid_to_string(kOtherClassId);
    text.push_back(u'\0');
    ASSERT_EQ(registry_.create_key(platform::kDefaultImHive, platform::kDefaultImKey), platform::Status::ok);
    ASSERT_EQ(registry_.write_value(platform::kDefaultImHive, platform::kDefaultImKey, platform::kDefaultImValue,
                                    platform::ValueType::string, std::as_bytes(std::span(text))),
              platform::Status::ok);
  }

  // Runs the program with `command_line` on a UI thread and lets it settle.
  void run_program(std::u16string command_line) {
    ui_ = platform::Thread::start(
        [this, command_line] { return static_cast<std::uint32_t>(ductra_main(command_line, program_)); });
    clock_.advance(0);
  }
  void start() { run_program(u"start"); }

  WindowHandle window_of_class(std::u16string_view name) { return system_.find_window(name, std::nullopt); }

  // The pop-up static the prompt bubble is: owned by the shell window.
  WindowHandle prompt_window() {
    for (WindowHandle w = system_.get_window(platform::kDesktopWindow, platform::GW_CHILD); w;
         w = system_.get_window(w, platform::GW_HWNDNEXT)) {
      if (system_.class_name(w) == platform::kStaticClass && system_.get_window(w, platform::GW_OWNER) == shell_window()) {
        return w;
      }
    }
    return {};
  }

  std::optional<std::uint32_t> stored(std::u16string_view name) {
    std::uint32_t value = 0;
    if (registry_.read_dword(platform::Hive::local_machine, kSettingsKey, name, &value) != platform::Status::ok) {
      return std::nullopt;
    }
    return value;
  }

  std::shared_ptr<platform::Bitmap> screen_ = platform::Bitmap::create_rgb565(240, 320);
  const platform::Registry registry_{device_};
  testing::NoKeys keys_;
  platform::InputPanelManager manager_{keys_, platform::Rect{0, 240, 240, 320}};
  platform::ScriptedResponder responder_;
  ProductEnvironment program_{system_, device_, runtime_, *engine_};
};

TEST_F(ProgramRunTest, TheSmallWindowsAreMadeOverTheShellWindowAndGoWithIt) {
  const WindowHandle stale{0x7777};
  CtlColorRegistry::instance().add(stale, &no_colour, nullptr);
  start();
  ASSERT_TRUE(shell_window());
  const WindowHandle tool = window_of_class(kToolWindowClass);
  const WindowHandle key_row = window_of_class(kKeyRowClass);
  const WindowHandle prompt = prompt_window();
  ASSERT_TRUE(tool);
  ASSERT_TRUE(key_row);
  ASSERT_TRUE(prompt);
  EXPECT_TRUE(system_.is_window_visible(tool)) << "recognition is on: the panel shows ours";
  EXPECT_FALSE(system_.is_window_visible(key_row)) << "the key row waits to be asked for";
  EXPECT_FALSE(system_.is_window_visible(prompt));
  EXPECT_TRUE(responder_.boxes().empty()) << "no part failed to start";
  EXPECT_EQ(CtlColorRegistry::instance().size(), 1u) << "the stale entry went before the bubble registered";
  platform::DeviceContext dc(platform::Bitmap::create_rgb565(1, 1));
  EXPECT_EQ(CtlColorRegistry::instance().dispatch(platform::WM_CTLCOLORSTATIC,
                                                  reinterpret_cast<platform::WParam>(&dc), stale.id),
            0);
  const ScreenMetrics metrics = screen_metrics();
  EXPECT_EQ(metrics.width, 240) << "the screen is the device's";
  EXPECT_EQ(metrics.height, 320);

  post(WM_QUILLPAD_DESELECT);
  EXPECT_EQ(exit_code(), 0u);
  EXPECT_FALSE(window_of_class(kToolWindowClass));
  EXPECT_FALSE(window_of_class(kKeyRowClass));
  EXPECT_EQ(CtlColorRegistry::instance().size(), 0u);
  EXPECT_EQ(stored(u"icon_portrait_x_").has_value(), true) << "the tool window's place is saved with the settings";
}

TEST_F(ProgramRunTest, TheOptionsMessageOpensTheSheetWhoseChangesAreAppliedAndSaved) {
  start();
  const WindowHandle fixed_tool = window_of_class(kToolWindowClass);
  ASSERT_TRUE(fixed_tool);
  responder_.script_dialog({DialogAction::type(1084, u"\b9"), DialogAction::click(1049),
                            DialogAction::click(platform::IDOK)});
  post(WM_QUILLPAD_OPTIONS);
  ASSERT_EQ(responder_.dialog_titles().size(), 1u) << "the sheet ran";
  EXPECT_EQ(responder_.unscripted(), 0);
  EXPECT_FALSE(SettingsSheet::window());
  EXPECT_EQ(stored(u"PenWidth"), 9u) << "saved when applied, before the run ends";
  EXPECT_EQ(stored(u"large_moving_icon"), 1u);
  const WindowHandle movable_tool = window_of_class(kToolWindowClass);
  ASSERT_TRUE(movable_tool);
  EXPECT_NE(movable_tool, fixed_tool) << "the tool window was made again, movable";
  EXPECT_TRUE(shell_window()) << "the panel still shows ours: the application goes on";
  EXPECT_TRUE(published_controller()->is_active());

  responder_.script_dialog({DialogAction::type(1084, u"\b3"), DialogAction::click(platform::IDCANCEL)});
  post(WM_QUILLPAD_OPTIONS);
  EXPECT_EQ(stored(u"PenWidth"), 9u) << "a cancelled sheet changes nothing";
  post(WM_QUILLPAD_DESELECT);
  EXPECT_EQ(exit_code(), 0u);
  EXPECT_EQ(stored(u"PenWidth"), 9u);
}

TEST_F(ProgramRunTest, AddingAWordFromTheAlternativesMenuRunsTheWordDialogOfTheCurrentConfiguration) {
  start();
  responder_.choose_id(kMenuAddWordItem);
  responder_.script_dialog({DialogAction::click(platform::IDOK)});
  WordChoice first({u"cats", u"cots"});
  system_.send_message(shell_window(), WM_DUCTRA_VARIANTS, 0, reinterpret_cast<platform::LParam>(&first.choice));
  ASSERT_EQ(responder_.dialog_titles(), std::vector<std::u16string>{localizer().string(249)});
  EXPECT_EQ(first.choice.chosen, kChoiceWordAdded);
  EXPECT_EQ(first.returned(), u"cats") << "the best reading, accepted as it was";
  EXPECT_EQ(manager_.current(), platform::kQuillpadClassId) << "ours again after the dialog";
  std::unique_ptr<platform::SharedEvent> pen_up;  // the menu's tap ended, as the touch shim says
  ASSERT_EQ(platform::SharedEvent::open(runtime_, kPromptStrokeEndedEvent, &pen_up), platform::Status::ok);
  pen_up->set();
  post(WM_DUCTRA_RECOGNIZED);
  const auto added = control_.observe().added_words;
  ASSERT_EQ(added.size(), 1u);
  EXPECT_EQ(added[0].text, u"cats");

  // The same word again: the dialog says it is there and stays open for
  // another word.
  responder_.choose_id(kMenuAddWordItem);
  responder_.answer_box(platform::IDOK);
  responder_.script_dialog({DialogAction::click(platform::IDOK), DialogAction::type(1010, u"\b\b\b\bdogs"),
                            DialogAction::click(platform::IDOK)});
  WordChoice second({u"cats"});
  system_.send_message(shell_window(), WM_DUCTRA_VARIANTS, 0, reinterpret_cast<platform::LParam>(&second.choice));
  ASSERT_EQ(responder_.boxes().size(), 1u);
  EXPECT_EQ(responder_.boxes()[0].text, localizer().string(238));
  EXPECT_EQ(responder_.unscripted(), 0);
  EXPECT_EQ(second.choice.chosen, kChoiceWordAdded);
  EXPECT_EQ(second.returned(), u"dogs");
}

TEST_F(ProgramRunTest, TheFirstRunShowsTheTwoInstallationDialogsOverItsWindow) {
  responder_.script_dialog({DialogAction::click(platform::IDOK)});
  responder_.script_dialog({DialogAction::click(platform::IDOK)});
  run_program(u"");
  EXPECT_EQ(exit_code(), 0u);
  EXPECT_EQ(responder_.dialog_titles(), (std::vector<std::u16string>{u"Ductra", u"Ductra"}));
  EXPECT_EQ(responder_.unscripted(), 0);
  EXPECT_FALSE(shell_window()) << "no normal run";
  EXPECT_FALSE(window_of_class(kInstallationClass));
}

TEST_F(ProgramRunTest, RebootInstallsTheCabinetThroughTheDevicesInstallerAndThenRestarts) {
  std::filesystem::path cab;
  ASSERT_EQ(device_.to_host(kInstallationCab, &cab), platform::Status::ok);
  std::ofstream(cab, std::ios::binary) << "MSCF";
  responder_.answer_box(platform::IDOK);
  run_program(u"reboot");
  clock_.advance(kRebootPauseMs);
  EXPECT_EQ(exit_code(), 0u);
  ASSERT_EQ(responder_.boxes().size(), 1u);
  EXPECT_EQ(responder_.boxes()[0].text, localizer().string(kStringRestartingDevice));
  const std::vector<std::u16string> requests{u"\\Windows\\wceload.exe  /noui \"\\temp\\Catalog.arm.cab\" ", u"reboot"};
  EXPECT_EQ(platform::recorded_requests(device_), requests);
}

}  // namespace
}  // namespace ductra

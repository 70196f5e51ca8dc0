#include "app/common/error_reports.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "app/common/settings.h"
#include "app/common/ui_thread_caller.h"
#include "appplatform/message_box.h"
#include "appplatform/resources/builtin_resources.h"
#include "appplatform/thread.h"
#include "appplatform/wait.h"
#include "appplatform/ui_responder.h"
#include "appplatform/window_server.h"
#include "appplatform/window_system.h"
#include "appplatform/wire_protocol.h"
#include "bundle_folder.h"
#include "temp_device.h"

namespace ductra {
namespace {

using platform::Message;
using platform::MessageBoxRequest;
using platform::WindowHandle;
using platform::WindowSystem;

// Answers every box with OK and lets the test look at the application
// while the box is open; `before_answer` may hold the box open.
class BoxWatcher final : public platform::UiResponder {
 public:
  BoxWatcher() : previous_(platform::set_ui_responder(this)) {}
  ~BoxWatcher() override { platform::set_ui_responder(previous_); }

  std::function<void(const MessageBoxRequest&)> before_answer;
  std::vector<MessageBoxRequest> boxes;  // UI thread only

  std::optional<int> choose_menu_item(const platform::MenuRequest&) override { return std::nullopt; }
  bool recognize_hold(const platform::HoldRequest&) override { return false; }
  int answer_message_box(const MessageBoxRequest& request) override {
    boxes.push_back(request);
    if (before_answer) before_answer(request);
    return platform::IDOK;
  }

 private:
  platform::UiResponder* previous_;
};

// The application around the reporter: the test's thread is the UI thread
// with a shell window; the controller is a set of flags; the orderly end
// saves the settings into the device's registry.
class ErrorReportsTest : public testing::TempDevice, public ErrorReportHost, public PausableController {
 protected:
  ErrorReportsTest() {
    system_.set_foreground_window(shell_);
    folder_.write(1033, "14 Error: could not create an event.\n255 Restart Ductra.\n");
    localizer_.set_language(1033);
  }

  void run_on_ui_thread(const std::function<void()>& work) override { EXPECT_TRUE(ui_caller_.run(work)); }
  PausableController* controller() override {
    expect_ui_thread();
    return has_controller_ ? this : nullptr;
  }
  void select_default_input_method() override { record("default input method"); }
  void save_settings_and_configurations() override {
    record("save");
    EXPECT_EQ(settings_.save(registry()), platform::Status::ok);
  }
  void quit_message_loop(int exit_code) override {
    record("quit " + std::to_string(exit_code));
    system_.post_quit_message(exit_code);
  }

  bool is_active() const override { return active_; }
  void set_active(bool active) override { active_ = active; }
  void set_modal_box(bool open) override { modal_box_ = open; }
  std::optional<int> capture_mode() const override { return capture_mode_; }
  void set_capture_mode(int mode) override {
    expect_ui_thread();
    capture_mode_ = mode;
  }

  // The UI thread's message loop until WM_QUIT; its exit code.
  int run_message_loop() {
    Message m;
    while (system_.get_message(m) > 0) system_.dispatch_message(m);
    return static_cast<int>(m.wparam);
  }

  void expect_ui_thread() const { EXPECT_EQ(std::this_thread::get_id(), ui_thread_); }
  void record(std::string event) {
    expect_ui_thread();
    events_.push_back(std::move(event));
  }
  std::u16string own(std::uint32_t id) const { return *platform::builtin_strings().find(id); }

  WindowHandle make_shell() {
    system_.register_class({u"Test Shell", shell_procedure});
    platform::CreateWindowParams params;
    params.class_name = u"Test Shell";
    params.style = platform::WS_POPUP | platform::WS_VISIBLE;
    params.width = 240;
    params.height = 300;
    return system_.create_window(params);
  }

  static platform::MessageResult shell_procedure(WindowHandle window, std::uint32_t message, platform::WParam wparam,
                                                 platform::LParam lparam) {
    if (message == WM_DUCTRA_RUN_ON_UI) return run_sent_work(lparam);
    return WindowSystem::current().default_procedure(window, message, wparam, lparam);
  }

  platform::WindowServer server_{240, 320};
  platform::WindowSystem system_{server_};
  WindowHandle shell_ = make_shell();
  UiThreadCaller ui_caller_{shell_};
  const std::thread::id ui_thread_ = std::this_thread::get_id();
  testing::BundleFolder folder_;
  Localizer localizer_{folder_.path(), 1033, platform::builtin_strings()};
  ErrorReporter reporter_{localizer_, *this};
  BoxWatcher watcher_;
  Settings settings_;
  bool has_controller_ = true;
  bool active_ = true;
  bool modal_box_ = false;
  std::optional<int> capture_mode_ = 0;
  std::vector<std::string> events_;
};

TEST_F(ErrorReportsTest, TwoEngineErrorsFromTheEngineThreadGiveOneBoxAndOneOrderlyEndWithTheSettingsSaved) {
  settings_.pen_width = 7;
  settings_.language = 1033;
  watcher_.before_answer = [&](const MessageBoxRequest&) {
    record("box");
    EXPECT_FALSE(active_);
    EXPECT_TRUE(modal_box_);
    EXPECT_EQ(capture_mode_, kCaptureOff);
  };
  std::atomic<bool> engine_went_on = false;
  auto engine = platform::Thread::start([&]() -> std::uint32_t {
    reporter_.report_engine_error({u"CCore::CoreThread", 4029});
    reporter_.report_engine_error({u"CCore::CoreThread", 4001});
    engine_went_on = true;
    return 0;
  });
  ASSERT_TRUE(engine);

  EXPECT_EQ(run_message_loop(), 0);
  platform::wait_for(*engine, platform::kInfinite);
  EXPECT_TRUE(engine_went_on.load());  // the engine thread ends nothing itself
  EXPECT_TRUE(reporter_.has_ended_application());

  ASSERT_EQ(watcher_.boxes.size(), 1u);
  const MessageBoxRequest& box = watcher_.boxes[0];
  EXPECT_EQ(box.text, u"Error occured in recognition core.\nRecomendations: Restart Ductra.\n\n"
                      u"Function which handled the error: CCore::CoreThread\nError code: 4029");
  EXPECT_EQ(box.caption, u"Ductra 9.0");
  EXPECT_EQ(box.owner, shell_);  // the foreground window
  EXPECT_EQ(box.icon, platform::MessageBoxIcon::stop);
  EXPECT_TRUE(box.topmost);
  EXPECT_TRUE(box.set_foreground);
  EXPECT_EQ(events_, (std::vector<std::string>{"box", "default input method", "save", "quit 0"}));
  EXPECT_FALSE(modal_box_);

  Settings saved;
  saved.load(registry());
  EXPECT_EQ(saved, settings_);
}

TEST_F(ErrorReportsTest, OutOfMemoryShowsTheFixedTextAndTheApplicationGoesOn) {
  capture_mode_ = 1;
  auto engine = platform::Thread::start([&]() -> std::uint32_t {
    reporter_.report_engine_error({u"CCore::CoreThread", kEngineOutOfMemory});
    reporter_.report_engine_error({u"CCore::CoreThread", kEngineOutOfMemory});
    system_.post_message(shell_, platform::WM_QUIT, 0, 0);
    return 0;
  });
  ASSERT_TRUE(engine);
  run_message_loop();
  platform::wait_for(*engine, platform::kInfinite);

  ASSERT_EQ(watcher_.boxes.size(), 2u);  // one after the other: both shown
  EXPECT_EQ(watcher_.boxes[0].text, kOutOfMemoryText);
  EXPECT_TRUE(events_.empty());
  EXPECT_FALSE(reporter_.has_ended_application());
  EXPECT_TRUE(active_);
  EXPECT_FALSE(modal_box_);
  EXPECT_EQ(capture_mode_, 1);
}

TEST_F(ErrorReportsTest, AReportWhileAnotherIsShownIsDropped) {
  std::promise<void> second_done;
  std::shared_future<void> second_done_future = second_done.get_future().share();
  std::unique_ptr<platform::Thread> second;
  watcher_.before_answer = [&](const MessageBoxRequest&) {
    if (second) return;
    second = platform::Thread::start([&]() -> std::uint32_t {
      reporter_.report_engine_error({u"Glyphs::restore", kEngineOutOfMemory});
      second_done.set_value();
      return 0;
    });
    second_done_future.wait();  // the box stays open until the second report has returned
  };
  auto first = platform::Thread::start([&]() -> std::uint32_t {
    reporter_.report_engine_error({u"CCore::CoreThread", kEngineOutOfMemory});
    system_.post_message(shell_, platform::WM_QUIT, 0, 0);
    return 0;
  });
  ASSERT_TRUE(first);
  run_message_loop();
  platform::wait_for(*first, platform::kInfinite);
  ASSERT_TRUE(second);
  platform::wait_for(*second, platform::kInfinite);
  EXPECT_EQ(watcher_.boxes.size(), 1u);

  reporter_.report_engine_error({u"Alphabet::fill_list", kEngineOutOfMemory});  // later ones show again
  EXPECT_EQ(watcher_.boxes.size(), 2u);
}

TEST_F(ErrorReportsTest, AnErrorBoxShowsItsStringsAndPausesTheControllerWhileOpen) {
  struct Case {
    std::uint32_t first;
    std::uint32_t second;
    bool has_controller;
    std::u16string text;
  };
  const Case cases[] = {
      {14, 255, true, u"Error: could not create an event.\nRestart Ductra."},
      {44, 0, true, own(44)},  // no second string: no line break either
      {23, 255, false, own(23) + u"\nRestart Ductra."},
      {9999, 0, true, u""},
  };
  for (const Case& c : cases) {
    watcher_.boxes.clear();
    has_controller_ = c.has_controller;
    active_ = true;
    capture_mode_ = 3;
    watcher_.before_answer = [&](const MessageBoxRequest&) {
      EXPECT_EQ(active_, !c.has_controller);
      EXPECT_EQ(capture_mode_, c.has_controller ? kCaptureOff : 3);
    };
    EXPECT_EQ(reporter_.show_error_box(c.first, c.second, kErrorBoxFlags), platform::IDOK);
    ASSERT_EQ(watcher_.boxes.size(), 1u);
    EXPECT_EQ(watcher_.boxes[0].text, c.text) << c.first;
    EXPECT_EQ(watcher_.boxes[0].caption, u"Ductra 9.0");
    EXPECT_FALSE(watcher_.boxes[0].owner);
    EXPECT_TRUE(active_);
    EXPECT_EQ(capture_mode_, 3);
    EXPECT_FALSE(modal_box_);
  }
}

TEST_F(ErrorReportsTest, AnInactiveControllerStaysInactiveAfterABoxAndItsLimitsHold) {
  active_ = false;
  capture_mode_.reset();  // no ink layer
  folder_.write(1033, "14 " + std::string(2000, 'e') + "\n255 " + std::string(400, 'r') + "\n");
  localizer_.set_language(1033);
  auto other = platform::Thread::start([&]() -> std::uint32_t {
    reporter_.show_error_box(14, 255, kErrorBoxFlags);
    system_.post_message(shell_, platform::WM_QUIT, 0, 0);
    return 0;
  });
  ASSERT_TRUE(other);
  run_message_loop();
  platform::wait_for(*other, platform::kInfinite);
  ASSERT_EQ(watcher_.boxes.size(), 1u);
  EXPECT_EQ(watcher_.boxes[0].text, std::u16string(1023, u'e') + u"\n" + std::u16string(255, u'r'));
  EXPECT_FALSE(active_);
  EXPECT_FALSE(capture_mode_.has_value());
}

TEST_F(ErrorReportsTest, WorkSentToTheUiThreadRunsThereAndNotForAGoneWindow) {
  std::thread::id ran_on;
  auto other = platform::Thread::start([&]() -> std::uint32_t {
    const bool delivered = ui_caller_.run([&] { ran_on = std::this_thread::get_id(); });
    system_.post_message(shell_, platform::WM_QUIT, 0, 0);
    return delivered ? 1 : 0;
  });
  ASSERT_TRUE(other);
  run_message_loop();
  platform::wait_for(*other, platform::kInfinite);
  EXPECT_EQ(other->exit_code(), 1u);
  EXPECT_EQ(ran_on, ui_thread_);

  ran_on = {};
  EXPECT_TRUE(ui_caller_.run([&] { ran_on = std::this_thread::get_id(); }));  // on the UI thread: at once
  EXPECT_EQ(ran_on, ui_thread_);
  EXPECT_FALSE(platform::is_wire_safe(WM_DUCTRA_RUN_ON_UI, 0, 1));  // never to another process

  system_.destroy_window(shell_);
  bool ran = false;
  EXPECT_FALSE(ui_caller_.run([&] { ran = true; }));
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace ductra

// Test doubles of the engine client's surroundings: the scripted engine
// (helper/fake_engine.cc) loaded as the engine, a log of its calls with
// the virtual time of each and whether the caller held the engine gate, and a
// shell whose UI thread answers the engine's questions as the shell window
// would (a Send it serves from its waits).
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/shell/core_shell.h"
#include "app/shell/engine.h"
#include "app/shell/engine_library.h"
#include "appplatform/event.h"
#include "appplatform/sent_message_service.h"
#include "appplatform/thread.h"
#include "appplatform/wait.h"
#include "tests/app/helper/fake_engine.h"
#include "tests/appplatform/virtual_time.h"

namespace ductra::testing {

struct EngineCall {
  std::string name;
  platform::Millis at = 0;
  bool gate_held = false;
  std::thread::id thread;
};

// The fake engine's control functions.
class FakeEngineControl {
 public:
  FakeEngineControl() : handle_(dlopen(FAKE_ENGINE_LIBRARY, RTLD_NOW | RTLD_LOCAL)) {
    resolve("fake_engine_reset", &reset);
    resolve("fake_engine_script_start", &script_start);
    resolve("fake_engine_script_add_stroke", &script_add_stroke);
    resolve("fake_engine_script_charsets", &script_charsets);
    resolve("fake_engine_script_charset_code", &script_charset_code);
    resolve("fake_engine_script_charset_count", &script_charset_count);
    resolve("fake_engine_script_recognition", &script_recognition);
    resolve("fake_engine_observe", &observe_into);
    resolve("fake_engine_figure_output", &figure_output);
    resolve("fake_engine_script_user_dictionaries", &script_user_dictionaries);
    resolve("fake_engine_script_copybook", &script_copybook);
    resolve("fake_engine_script_failure", &script_failure);
  }
  ~FakeEngineControl() { dlclose(handle_); }

  fake_engine::Observed observe() const {
    fake_engine::Observed observed;
    observe_into(&observed);
    return observed;
  }

  decltype(&fake_engine_reset) reset = nullptr;
  decltype(&fake_engine_script_start) script_start = nullptr;
  decltype(&fake_engine_script_add_stroke) script_add_stroke = nullptr;
  decltype(&fake_engine_script_charsets) script_charsets = nullptr;
  decltype(&fake_engine_script_charset_code) script_charset_code = nullptr;
  decltype(&fake_engine_script_charset_count) script_charset_count = nullptr;
  decltype(&fake_engine_script_recognition) script_recognition = nullptr;
  decltype(&fake_engine_observe) observe_into = nullptr;
  decltype(&fake_engine_figure_output) figure_output = nullptr;
  decltype(&fake_engine_script_user_dictionaries) script_user_dictionaries = nullptr;
  decltype(&fake_engine_script_copybook) script_copybook = nullptr;
  decltype(&fake_engine_script_failure) script_failure = nullptr;

 private:
  template <typename Function>
  void resolve(const char* name, Function* slot) {
    *slot = reinterpret_cast<Function>(dlsym(handle_, name));
    if (*slot == nullptr) throw std::runtime_error(name);
  }

  void* handle_;
};

// The shell window's side: a UI thread that answers the engine's questions
// and runs tasks, and records of every post and report.
class TestShell final : public CoreShell, private platform::SentMessageService {
 public:
  using Answerer = std::function<void(crResultChoice&)>;

  TestShell() {
    ui_ = platform::Thread::start([this] { return ui_loop(); });
    platform::wait_for(ui_started_, platform::kInfinite);
  }
  ~TestShell() override { ui_.reset(); }

  // How the UI thread answers questions (by default: keep the engine's choice).
  void answer_with(Answerer answerer) {
    std::lock_guard lock(mutex_);
    answerer_ = std::move(answerer);
  }

  // Runs `task` on the UI thread (as a posted message would).
  void run_on_ui(std::function<void()> task) {
    {
      std::lock_guard lock(mutex_);
      tasks_.push_back(std::move(task));
    }
    task_ready_.set();
  }

  std::thread::id ui_thread() const override { return ui_id_; }

  void send_variants(crResultChoice& choice) override {
    platform::Event answered(platform::EventReset::manual, false);
    {
      std::lock_guard lock(mutex_);
      questions_.push_back({&choice, &answered});
      ++questions_sent;
    }
    ui_->context()->wake();
    platform::wait_for(answered, platform::kInfinite, {.stoppable = false});
  }

  void post_recognized() override { record([this] { ++recognized; }); }
  void post_stroke_error() override { record([this] { ++stroke_errors; }); }
  void report_engine_error(const ExceptionInfo& info) override {
    record([&] { engine_errors.push_back({info.where, info.code}); });
  }
  void report_start_failure(const EngineStartFailure& failure) override {
    record([&] { start_failures.push_back(failure); });
  }
  void show_error_box(int first, int second) override {
    record([&] { boxes.push_back({first, second}); });
  }
  void quit_application() override { record([this] { ++quits; }); }

  // Read these under lock() or once the threads are blocked.
  std::unique_lock<std::mutex> lock() { return std::unique_lock(mutex_); }
  int questions_sent = 0;
  int recognized = 0;
  int stroke_errors = 0;
  int quits = 0;
  std::vector<std::pair<std::u16string, int>> engine_errors;
  std::vector<EngineStartFailure> start_failures;
  std::vector<std::pair<int, int>> boxes;

 private:
  struct Question {
    crResultChoice* choice;
    platform::Event* answered;
  };

  template <typename Change>
  void record(Change change) {
    std::lock_guard lock(mutex_);
    change();
  }

  std::uint32_t ui_loop() {
    ui_id_ = std::this_thread::get_id();
    platform::ThreadContext::current().set_sent_message_service(this);
    ui_started_.set();
    while (platform::wait_for(task_ready_, platform::kInfinite).signalled()) {
      for (;;) {
        std::function<void()> task;
        {
          std::lock_guard lock(mutex_);
          if (tasks_.empty()) break;
          task = std::move(tasks_.front());
          tasks_.pop_front();
        }
        task();
      }
    }
    platform::ThreadContext::current().set_sent_message_service(nullptr);
    return 0;
  }

  bool service_sent_messages() override {
    bool served = false;
    for (;;) {
      Question question{};
      Answerer answerer;
      {
        std::lock_guard lock(mutex_);
        if (questions_.empty()) return served;
        question = questions_.front();
        questions_.pop_front();
        answerer = answerer_;
      }
      if (answerer) answerer(*question.choice);
      question.answered->set();
      served = true;
    }
  }

  std::mutex mutex_;
  Answerer answerer_;
  std::deque<Question> questions_;
  std::deque<std::function<void()>> tasks_;
  platform::Event task_ready_{platform::EventReset::automatic, false};
  platform::Event ui_started_{platform::EventReset::manual, false};
  std::thread::id ui_id_;
  std::unique_ptr<platform::Thread> ui_;
};

// A test on the virtual clock with the fake engine loaded as the engine
// and a shell with its UI thread. Every engine call is logged.
class FakeEngineTest : public platform::VirtualTimeTest {
 protected:
  FakeEngineTest() {
    std::string error;
    library_ = EngineLibrary::open(FAKE_ENGINE_LIBRARY, &error);
    if (!library_) throw std::runtime_error(error);
    engine_ = std::make_unique<Engine>(*library_);
    const fake_engine::Hooks hooks{.on_call = &FakeEngineTest::on_call,
                                   .pause = &FakeEngineTest::pause,
                                   .wake = &FakeEngineTest::wake,
                                   .now = &FakeEngineTest::now,
                                   .context = this};
    control_.reset(&hooks);
  }

  std::vector<EngineCall> calls() {
    std::lock_guard lock(calls_mutex_);
    return calls_;
  }

  // The names of the calls logged so far, in order.
  std::vector<std::string> call_names() {
    std::vector<std::string> names;
    for (const EngineCall& call : calls()) names.push_back(call.name);
    return names;
  }

  // When `name` was first called; -1 when it was not.
  long long first_call_at(const std::string& name) {
    for (const EngineCall& call : calls()) {
      if (call.name == name) return static_cast<long long>(call.at - kStart);
    }
    return -1;
  }

  FakeEngineControl control_;
  std::unique_ptr<EngineLibrary> library_;
  std::unique_ptr<Engine> engine_;
  TestShell shell_;

 private:
  static void on_call(const char* name, void* context) {
    auto& test = *static_cast<FakeEngineTest*>(context);
    const EngineCall call{name, test.clock_.now(), test.engine_->gate().held_by_current_thread(),
                          std::this_thread::get_id()};
    std::lock_guard lock(test.calls_mutex_);
    test.calls_.push_back(call);
  }
  static bool pause(std::uint32_t ms, void* context) {
    auto& test = *static_cast<FakeEngineTest*>(context);
    return platform::wait_for(test.raised_, ms).status != platform::WaitStatus::stopped;
  }
  static void wake(void* context) { static_cast<FakeEngineTest*>(context)->raised_.set(); }
  static std::uint64_t now(void* context) {
    return static_cast<FakeEngineTest*>(context)->clock_.now();
  }

  std::mutex calls_mutex_;
  std::vector<EngineCall> calls_;
  platform::Event raised_{platform::EventReset::automatic, false};
};

}  // namespace ductra::testing

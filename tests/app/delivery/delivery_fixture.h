// The surroundings of result delivery in a test: a UI thread with a shell
// window, the input panel's relay window on a panel thread of its own with a
// recording callback, a scripted responder for the menus, the scripted
// engine, and recording stand-ins for the controller, the ink layer, the
// word dialog, the prompt-stroke signal and the segmenter. Runs on the
// virtual clock.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/delivery/result_delivery.h"
#include "appplatform/event.h"
#include "appplatform/resources/builtin_resources.h"
#include "appplatform/scripted_responder.h"
#include "appplatform/window_server.h"
#include "tests/app/controller_parts_fake.h"
#include "tests/app/engine_client_support.h"
#include "tests/inputpanel/relay_fixture.h"

namespace ductra::testing {

// A UI thread owning a shell window: work posted to it runs there, and the
// window's timers are logged as they fire.
class UiThread {
 public:
  UiThread(platform::WindowSystem& windows, CallLog& log) : windows_(windows), log_(log) {
    thread_ = platform::Thread::start([this] { return run(); });
    platform::wait_for(ready_, platform::kInfinite);
  }
  ~UiThread() {
    windows_.post_message(window_, platform::WM_QUIT, 0, 0);
    platform::wait_for(*thread_, platform::kInfinite);
  }

  platform::WindowHandle window() const { return window_; }
  // Queues `work` for the UI thread; the test lets the clock run to do it.
  void post(std::function<void()> work) {
    auto held = std::make_unique<std::function<void()>>(std::move(work));
    windows_.post_message(window_, kRunWork, 0, reinterpret_cast<platform::LParam>(held.release()));
  }

 private:
  static constexpr std::uint32_t kRunWork = 0x8402;
  static constexpr char16_t kClass[] = u"Test Shell Class";

  static platform::MessageResult procedure(platform::WindowHandle window, std::uint32_t message,
                                           platform::WParam wparam, platform::LParam lparam) {
    platform::WindowSystem& windows = platform::WindowSystem::current();
    auto* self = reinterpret_cast<UiThread*>(windows.user_data(window));
    if (self != nullptr && message == kRunWork) {
      std::unique_ptr<std::function<void()>> work(reinterpret_cast<std::function<void()>*>(lparam));
      (*work)();
      return 0;
    }
    if (self != nullptr && message == platform::WM_TIMER) {
      self->log_.add("timer " + std::to_string(wparam));
      windows.kill_timer(window, wparam);
      return 0;
    }
    return windows.default_procedure(window, message, wparam, lparam);
  }

  std::uint32_t run() {
    windows_.register_class({kClass, &UiThread::procedure});
    platform::CreateWindowParams params;
    params.class_name = kClass;
    window_ = windows_.create_window(params);
    windows_.set_user_data(window_, reinterpret_cast<std::uintptr_t>(this));
    ready_.set();
    platform::Message message;
    while (windows_.get_message(message) > 0) windows_.dispatch_message(message);
    windows_.destroy_window(window_);
    windows_.unregister_class(kClass);
    return 0;
  }

  platform::WindowSystem& windows_;
  CallLog& log_;
  platform::Event ready_{platform::EventReset::manual, false};
  platform::WindowHandle window_;
  std::unique_ptr<platform::Thread> thread_;
};

// The controller as delivery sees it, with the recording ink layer.
class FakeHost final : public ResultHost {
 public:
  FakeHost(FakeParts& parts, platform::WindowHandle shell) : shell_(shell), parts_(parts), ink_(parts) {}
  std::u16string_view result_text() const override { return result; }
  InkLayer* ink_layer() override { return with_ink ? &ink_ : nullptr; }
  bool is_active() const override { return true; }
  platform::WindowHandle shell_window() const override { return shell_; }
  platform::WindowHandle target_window() const override { return target; }
  void next_configuration() override { parts_.log.add("next configuration"); }
  void signal_activity() override { parts_.log.add("activity"); }

  std::u16string result;
  platform::WindowHandle target;
  bool with_ink = true;

 private:
  const platform::WindowHandle shell_;
  FakeParts& parts_;
  FakeParts::FakeInk ink_;
};

class FakeDictionaries final : public DictionaryWords {
 public:
  std::uint32_t current_charset() override { return charset; }
  std::optional<std::u16string> edit_word(std::u16string_view word, std::uint32_t dictionary,
                                          platform::WindowHandle) override {
    dialogs.push_back(std::u16string(word) + u" in " + std::u16string(1, static_cast<char16_t>(u'0' + dictionary)));
    return edited;
  }

  std::uint32_t charset = 5;
  std::optional<std::u16string> edited;
  std::vector<std::u16string> dialogs;  // "word in <dictionary>"
};

// The shim's signal as an event the test sets; it never comes unless set.
class FakePromptSignal final : public PromptStrokeSignal {
 public:
  void reset() override {
    ++resets;
    event.reset();
  }
  bool wait(std::uint32_t ms) override { return platform::wait_for(event, ms).signalled(); }

  platform::Event event{platform::EventReset::automatic, false};
  int resets = 0;
};

class FakeSegmenter final : public StrokeSegmenter {
 public:
  bool has_segmenter() override { return present; }
  SegmenterResult add_stroke(std::span<const crPoint> points, std::uint32_t start, std::uint32_t end) override {
    strokes.push_back({std::vector<crPoint>(points.begin(), points.end()), start, end});
    return answer;
  }

  struct Stroke {
    std::vector<crPoint> points;
    std::uint32_t start = 0;
    std::uint32_t end = 0;
  };
  bool present = true;
  SegmenterResult answer;
  std::vector<Stroke> strokes;
};

// The bubble: what it was asked to show.
class FakeBubble final : public PromptBubble {
 public:
  struct Shown {
    std::u16string text;
    platform::ColorRef colour = 0;
    std::optional<InkBox> ink_box;
  };
  void show_prompt(std::u16string_view text, platform::ColorRef colour, const std::optional<InkBox>& box) override {
    shown.push_back({std::u16string(text), colour, box});
  }
  std::vector<Shown> shown;
};

class DeliveryTest : public FakeEngineTest {
 protected:
  DeliveryTest() { engine_->init(u"/device/qlmain.dt"); }

  // Runs `work` on the UI thread with delivery attached to the host, and
  // lets the clock run (far enough for every wait) until all is done.
  void on_ui(std::function<void(ResultDelivery&)> work) {
    ui_.post([this, work] {
      delivery_.attach(&host_);
      work(delivery_);
    });
    clock_.advance(20000);
  }

  // The virtual time `work` took on the UI thread.
  platform::Millis timed_on_ui(std::function<void(ResultDelivery&)> work) {
    platform::Millis took = 0;
    on_ui([&took, work](ResultDelivery& delivery) {
      const platform::Millis start = platform::tick_count();
      work(delivery);
      took = platform::tick_count() - start;
    });
    return took;
  }

  void start_panel() { panel_.emplace(system_, &callback_); }

  platform::WindowServer server_{240, 320};
  platform::WindowSystem system_{server_};
  platform::ScriptedResponder responder_;
  quillpad::testing::RecordingCallback callback_;
  FakeParts parts_;
  UiThread ui_{system_, parts_.log};
  FakeHost host_{parts_, ui_.window()};
  FakeDictionaries dictionaries_;
  FakePromptSignal prompt_;
  FakeSegmenter segmenter_;
  FakeBubble bubble_;
  Localizer strings_{"/nonexistent", 1049, platform::builtin_strings()};
  ResultDelivery delivery_{
      DeliveryParts{system_, *engine_, parts_, strings_, dictionaries_, prompt_, segmenter_, bubble_, u','}};
  std::optional<quillpad::testing::PanelThread> panel_;
};

}  // namespace ductra::testing

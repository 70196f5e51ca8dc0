// A test's stand-in for the input-panel manager: a panel thread that owns a
// panel window ("SipWndClass") with the relay window as its child, and an
// input-panel callback that records every call with the virtual time it
// came at. Used by the relay window's tests and by the application's tests
// of result delivery.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "appplatform/clock.h"
#include "appplatform/com/input_panel_manager.h"
#include "appplatform/thread.h"
#include "appplatform/wait.h"
#include "appplatform/window_system.h"
#include "appplatform/relay_protocol.h"
#include "inputpanel/relay_window.h"

namespace ductra::quillpad::testing {

// How RecordingCallback writes a SendString of `text` at tick `at`.
inline std::string string_call(std::string_view text, std::uint64_t at) {
  return "string \"" + std::string(text) + "\" at " + std::to_string(at);
}

// Records what the relay window asks of the input panel. `text()` is what
// a focused edit field would show: strings appended, a backspace removing
// the last unit, tab and enter typed as their units.
class RecordingCallback final : public platform::IIMCallback {
 public:
  platform::HResult QueryInterface(const platform::Guid&, void** out) override {
    *out = nullptr;
    return platform::E_NOINTERFACE;
  }
  std::uint32_t AddRef() override { return ++references; }
  std::uint32_t Release() override { return --references; }

  platform::HResult SetImInfo(const platform::ImInfo* info) override {
    add("images " + std::to_string(info->narrow_index) + " " + std::to_string(info->wide_index) + " flags " +
        std::to_string(info->flags));
    std::lock_guard lock(mutex_);
    last_info_ = *info;
    return platform::S_OK;
  }
  platform::HResult SendVirtualKey(std::uint8_t key, std::uint32_t flags) override {
    add("key " + std::to_string(key) + (flags == 0 ? " down" : " up"));
    std::lock_guard lock(mutex_);
    if (flags == 0 && key == 8 && !text_.empty()) text_.pop_back();
    return platform::S_OK;
  }
  platform::HResult SendCharEvents(std::uint32_t key, std::uint32_t key_flags, std::uint32_t count,
                                   const std::uint32_t* shift_states, const std::uint32_t* characters) override {
    char call[80];
    std::snprintf(call, sizeof call, "char %u %x %u %x %u", key, key_flags, count, shift_states[0], characters[0]);
    add(call);
    std::lock_guard lock(mutex_);
    if (key_flags == 0x80) text_ += static_cast<char16_t>(characters[0]);
    return platform::S_OK;
  }
  platform::HResult SendString(const char16_t* text, std::uint32_t length) override {
    std::string narrow;
    for (std::uint32_t i = 0; i < length; ++i) narrow += static_cast<char>(text[i]);
    add(string_call(narrow, platform::tick_count()));
    std::lock_guard lock(mutex_);
    text_.append(text, length);
    return platform::S_OK;
  }

  std::vector<std::string> calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
  }
  std::u16string text() const {
    std::lock_guard lock(mutex_);
    return text_;
  }
  platform::ImInfo last_info() const {
    std::lock_guard lock(mutex_);
    return last_info_;
  }
  void clear() {
    std::lock_guard lock(mutex_);
    calls_.clear();
    text_.clear();
  }

  std::atomic<std::uint32_t> references{1};

 private:
  void add(std::string call) {
    std::lock_guard lock(mutex_);
    calls_.push_back(std::move(call));
  }

  mutable std::mutex mutex_;
  std::vector<std::string> calls_;
  std::u16string text_;
  platform::ImInfo last_info_;
};

// The panel's thread: makes the panel window and the relay window, registers
// the callback (unless told not to) and runs the messages until it ends.
class PanelThread {
 public:
  PanelThread(platform::WindowSystem& windows, RecordingCallback* callback, int dots_per_inch = 96)
      : windows_(windows) {
    thread_ = platform::Thread::start([this, callback, dots_per_inch] { return run(callback, dots_per_inch); });
    platform::wait_for(ready_, platform::kInfinite);
  }
  ~PanelThread() {
    windows_.post_message(panel_, platform::WM_QUIT, 0, 0);
    platform::wait_for(*thread_, platform::kInfinite);
  }

  platform::WindowHandle panel() const { return panel_; }
  platform::WindowHandle relay() const { return relay_; }
  // The character messages the relay window received, as "kind unit".
  std::vector<std::string> relay_messages() const {
    std::lock_guard lock(mutex_);
    return relay_messages_;
  }
  // Runs `work` with the relay window on the panel thread, at once.
  void on_panel(std::function<void(RelayWindow&)> work) {
    windows_.send_message(panel_, kRunWork, 0, reinterpret_cast<platform::LParam>(&work));
  }

 private:
  static constexpr std::uint32_t kRunWork = 0x8401;

  static platform::MessageResult procedure(platform::WindowHandle window, std::uint32_t message,
                                           platform::WParam wparam, platform::LParam lparam) {
    platform::WindowSystem& windows = platform::WindowSystem::current();
    auto* self = reinterpret_cast<PanelThread*>(windows.user_data(window));
    if (message != kRunWork || self == nullptr) return windows.default_procedure(window, message, wparam, lparam);
    (*reinterpret_cast<std::function<void(RelayWindow&)>*>(lparam))(*self->relay_window_);
    return 0;
  }

  // Notes each character message, then lets the relay window have it.
  static platform::MessageResult relay_logger(platform::WindowHandle window, std::uint32_t message,
                                              platform::WParam wparam, platform::LParam lparam) {
    platform::WindowSystem& windows = platform::WindowSystem::current();
    auto* self = reinterpret_cast<PanelThread*>(windows.user_data(windows.parent(window)));
    if (self != nullptr && message == platform::WM_QUILLPAD_CHAR) {
      std::lock_guard lock(self->mutex_);
      self->relay_messages_.push_back(std::to_string(wparam) + " " + std::to_string(lparam));
    }
    return RelayWindow::procedure(window, message, wparam, lparam);
  }

  std::uint32_t run(RecordingCallback* callback, int dots_per_inch) {
    windows_.register_class({std::u16string(platform::kPanelWindowClass), &PanelThread::procedure});
    platform::CreateWindowParams params;
    params.class_name = platform::kPanelWindowClass;
    params.style = platform::WS_POPUP | platform::WS_VISIBLE;
    params.y = 240;
    params.width = 240;
    params.height = 80;
    panel_ = windows_.create_window(params);
    windows_.set_user_data(panel_, reinterpret_cast<std::uintptr_t>(this));
    RelayWindow relay(windows_, dots_per_inch);
    relay_window_ = &relay;
    EXPECT_TRUE(relay.ensure_sip_window(panel_));
    relay_ = relay.window();
    windows_.set_procedure(relay_, &PanelThread::relay_logger);
    if (callback != nullptr) relay.set_callback(callback);
    ready_.set();
    platform::Message message;
    while (windows_.get_message(message) > 0) windows_.dispatch_message(message);
    relay.unregister_sip_window();
    windows_.destroy_window(panel_);
    windows_.unregister_class(platform::kPanelWindowClass);
    return 0;
  }

  platform::WindowSystem& windows_;
  platform::Event ready_{platform::EventReset::manual, false};
  RelayWindow* relay_window_ = nullptr;
  mutable std::mutex mutex_;
  std::vector<std::string> relay_messages_;
  platform::WindowHandle panel_;
  platform::WindowHandle relay_;
  std::unique_ptr<platform::Thread> thread_;
};

}  // namespace ductra::quillpad::testing

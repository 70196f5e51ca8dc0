// Helpers of the window tests: a recording window procedure and a fixture
// that runs the window server in the test process.
#pragma once

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "appplatform/window_server.h"
#include "appplatform/window_system.h"

namespace ductra::platform {

// What one window received, read from any thread.
class MessageLog {
 public:
  void add(const Message& m) {
    std::lock_guard lock(mutex_);
    messages_.push_back(m);
  }
  std::vector<Message> all() const {
    std::lock_guard lock(mutex_);
    return messages_;
  }
  std::vector<std::uint32_t> numbers() const {
    std::vector<std::uint32_t> out;
    for (const Message& m : all()) out.push_back(m.message);
    return out;
  }
  void clear() {
    std::lock_guard lock(mutex_);
    messages_.clear();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<Message> messages_;
};

// A procedure that logs into the MessageLog held in the window's user data.
inline MessageResult logging_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  WindowSystem& system = WindowSystem::current();
  if (auto* log = reinterpret_cast<MessageLog*>(system.user_data(window))) log->add({window, message, wparam, lparam});
  return system.default_procedure(window, message, wparam, lparam);
}

inline constexpr char16_t kLoggingClass[] = u"Logging Window";

class WindowServerTest : public ::testing::Test {
 protected:
  WindowServerTest() { system_.register_class({kLoggingClass, logging_procedure}); }

  WindowHandle make_window(MessageLog& log, Rect rect, std::uint32_t style = WS_POPUP | WS_VISIBLE,
                           std::uint32_t ex_style = 0, WindowHandle parent = {}, std::u16string title = u"") {
    CreateWindowParams params;
    params.class_name = kLoggingClass;
    params.title = title;
    params.style = style;
    params.ex_style = ex_style;
    params.x = rect.left;
    params.y = rect.top;
    params.width = rect.width();
    params.height = rect.height();
    params.parent = parent;
    const WindowHandle window = system_.create_window(params);
    system_.set_user_data(window, reinterpret_cast<std::uintptr_t>(&log));
    return window;
  }

  // Dispatches everything waiting for the calling thread.
  void pump() {
    Message m;
    while (system_.peek_message(m, true)) system_.dispatch_message(m);
  }

  WindowServer server_{240, 320};
  WindowSystem system_{server_};
};

}  // namespace ductra::platform

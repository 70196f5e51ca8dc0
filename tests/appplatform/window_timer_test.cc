#include <gtest/gtest.h>

#include <array>
#include <atomic>

#include "appplatform/thread.h"
#include "appplatform/window_server.h"
#include "appplatform/window_system.h"
#include "virtual_time.h"

namespace ductra::platform {
namespace {

constexpr std::uint32_t kKillFirst = WM_APP + 1;
constexpr std::uint32_t kQuit = WM_APP + 2;

std::array<std::atomic<int>, 3> fired{};
std::atomic<std::uint32_t> timer_window{0};

MessageResult timer_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  WindowSystem& system = WindowSystem::current();
  switch (message) {
    case WM_TIMER:
      if (wparam < fired.size()) ++fired[wparam];
      return 0;
    case kKillFirst:
      system.kill_timer(window, 1);
      return 0;
    case kQuit:
      system.post_quit_message(0);
      return 0;
    default:
      return system.default_procedure(window, message, wparam, lparam);
  }
}

class WindowTimerTest : public VirtualTimeTest {
 protected:
  WindowServer server_{240, 320};
  WindowSystem system_{server_};
};

TEST_F(WindowTimerTest, TimersFireOnTheProcessClockUntilKilled) {
  system_.register_class({u"Timer Window", timer_procedure});
  for (auto& count : fired) count = 0;
  auto ui = Thread::start([&]() -> std::uint32_t {
    CreateWindowParams params;
    params.class_name = u"Timer Window";
    const WindowHandle window = system_.create_window(params);
    timer_window.store(window.id);
    system_.set_timer(window, 1, 100);
    system_.set_timer(window, 2, 250);
    Message m;
    while (system_.get_message(m) > 0) system_.dispatch_message(m);
    return 0;
  });
  ASSERT_TRUE(ui);
  clock_.advance(0);
  const WindowHandle window{timer_window.load()};

  struct Step {
    Millis advance;
    int first;
    int second;
  };
  const Step steps[] = {{99, 0, 0}, {1, 1, 0}, {199, 2, 1}, {1, 3, 1}};
  for (const Step& step : steps) {
    clock_.advance(step.advance);
    EXPECT_EQ(fired[1].load(), step.first) << "at " << elapsed();
    EXPECT_EQ(fired[2].load(), step.second) << "at " << elapsed();
  }

  system_.post_message(window, kKillFirst, 0, 0);
  clock_.advance(1000);
  EXPECT_EQ(fired[1].load(), 3);
  EXPECT_EQ(fired[2].load(), 5);  // 250, 500, ... 1250

  system_.post_message(window, kQuit, 0, 0);
  clock_.advance(0);
  EXPECT_TRUE(ui->has_ended());
}

}  // namespace
}  // namespace ductra::platform

// The shim's hosts bound to the device: its window system answers the
// window test, its screen the orientation and size; without a window
// system nothing is under any point.
#include <gtest/gtest.h>

#include "appplatform/window_server.h"
#include "appplatform/window_system.h"
#include "touchshim/device_routing_host.h"
#include "touchshim/device_window_query.h"
#include "touchshim/pass_through_target.h"

namespace ductra::tapshim {
namespace {

using platform::WindowHandle;
using platform::WindowSystem;

platform::MessageResult plain_procedure(WindowHandle window, std::uint32_t message, platform::WParam wparam,
                                        platform::LParam lparam) {
  return WindowSystem::current().default_procedure(window, message, wparam, lparam);
}

class DeviceBindingsTest : public ::testing::Test {
 protected:
  DeviceBindingsTest() {
    for (const char16_t* name : {u"Content", u"Button", u"Static"}) system_.register_class({name, plain_procedure});
  }

  WindowHandle make(const char16_t* class_name, std::uint32_t style, platform::Rect rect, WindowHandle parent = {}) {
    platform::CreateWindowParams params;
    params.class_name = class_name;
    params.style = style | platform::WS_VISIBLE;
    params.x = rect.left;
    params.y = rect.top;
    params.width = rect.width();
    params.height = rect.height();
    params.parent = parent;
    return system_.create_window(params);
  }

  platform::WindowServer server_{240, 320};
  WindowSystem system_{server_};
};

TEST_F(DeviceBindingsTest, TheWindowTestAsksTheDevicesWindows) {
  // A content window with a button and a label inside a panel at (20, 100),
  // and an active vertical scroll bar.
  const WindowHandle content = make(u"Content", platform::WS_POPUP, {0, 0, 240, 320});
  const WindowHandle panel = make(u"Content", platform::WS_CHILD, {20, 100, 220, 200}, content);
  make(u"Button", platform::WS_CHILD, {10, 10, 60, 40}, panel);
  make(u"Static", platform::WS_CHILD, {80, 10, 130, 40}, panel);
  system_.set_scroll_range(content, true, {0, 100, 20, true});

  const DeviceWindowQuery windows;
  struct Case {
    ScreenPoint point;
    bool to_system;
  };
  const Case cases[] = {
      {{40, 120}, true},    // the button, two levels down
      {{110, 120}, false},  // the label
      {{100, 50}, false},   // plain content
      {{235, 50}, true},    // the scroll bar's strip
      {{300, 50}, false},   // off the screen
  };
  for (const Case& c : cases) {
    EXPECT_EQ(is_pass_through_target(windows, c.point), c.to_system) << c.point.x << "," << c.point.y;
  }
}

TEST_F(DeviceBindingsTest, TheScreenComesFromTheWindowServer) {
  const DeviceRoutingHost host;
  EXPECT_EQ(host.display_orientation(), 0);
  EXPECT_EQ(host.screen_size().width, 240);
  server_.set_screen(320, 240, 1);
  EXPECT_EQ(host.display_orientation(), 1);
  EXPECT_EQ(host.screen_size().width, 320);
  EXPECT_EQ(host.screen_size().height, 240);
}

TEST(DeviceBindingsWithoutWindowsTest, NothingIsUnderAnyPointAndTheOrientationQueryFails) {
  const DeviceWindowQuery windows;
  const DeviceRoutingHost host;
  EXPECT_FALSE(is_pass_through_target(windows, {10, 10}));
  EXPECT_EQ(host.display_orientation(), std::nullopt);
  EXPECT_EQ(host.screen_size().width, 0);
}

}  // namespace
}  // namespace ductra::tapshim

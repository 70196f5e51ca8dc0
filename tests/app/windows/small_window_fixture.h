// A device in the test process for the small windows: the window server
// over a screen bitmap of the size and density a test asks for, a shell
// window on the test's thread that records what it is posted and sent and
// answers colour requests through the process's registry, a
// scripted responder for the hold gesture, and the screen values the
// windows are placed by. Pen input goes through the window server as the
// touch driver's would. Runs on the virtual clock.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "app/shell/screen_info.h"
#include "app/shell/shell_messages.h"
#include "app/windows/ctl_color_registry.h"
#include "appplatform/draw/display.h"
#include "appplatform/draw/png_file.h"
#include "appplatform/scripted_responder.h"
#include "appplatform/window_server.h"
#include "appplatform/window_system.h"
#include "tests/app/ink/ink_picture.h"
#include "tests/appplatform/virtual_time.h"

namespace ductra::testing {

struct Screen {
  int width = 240;
  int height = 320;
  int dots_per_inch = 96;
  std::optional<int> bottom_bar;  // the "MS_SIPBUTTON" window's height, else the resolution's
};

// The screen as the application asks about it.
class TestScreenPlatform final : public ScreenPlatform {
 public:
  explicit TestScreenPlatform(Screen screen) : screen_(screen) {}
  int screen_width() const override { return screen_.width; }
  int screen_height() const override { return screen_.height; }
  int logical_pixels_x() const override { return screen_.dots_per_inch; }
  std::optional<int> display_orientation() const override { return 0; }
  bool device_file_exists(std::u16string_view) const override { return false; }
  std::optional<int> window_height_of_class(std::u16string_view) const override { return screen_.bottom_bar; }

 private:
  Screen screen_;
};

// A message the shell window received.
struct Received {
  std::uint32_t message = 0;
  platform::WParam wparam = 0;
  platform::LParam lparam = 0;  // for WM_NOTIFY the notification's code
  friend bool operator==(const Received&, const Received&) = default;
};

class SmallWindowTest : public platform::VirtualTimeTest {
 protected:
  static constexpr platform::ColorRef kDesk = platform::rgb(255, 255, 255);

  explicit SmallWindowTest(Screen screen = {})
      : screen_(screen),
        bitmap_(platform::Bitmap::create_rgb565(screen.width, screen.height)),
        server_(screen.width, screen.height),
        platform_(screen),
        info_(platform_) {
    platform::DeviceContext(bitmap_).fill_rect({0, 0, screen.width, screen.height}, platform::solid_brush(kDesk));
    platform::set_display(bitmap_, screen.dots_per_inch);
    received().clear();
    system_.register_class({u"SmallWindowTestShell", &shell_procedure});
    platform::CreateWindowParams shell;
    shell.class_name = u"SmallWindowTestShell";
    shell_window_ = system_.create_window(shell);
  }
  ~SmallWindowTest() override {
    system_.destroy_window(shell_window_);
    platform::set_display(nullptr);
  }

  // Dispatches everything that waits for the test's thread.
  void pump() {
    platform::Message m;
    while (system_.peek_message(m, true)) system_.dispatch_message(m);
  }
  void pen(platform::PointerAction action, platform::Point screen_point) {
    server_.pointer_input(action, screen_point);
    pump();
  }
  void tap(platform::Point screen_point) {
    pen(platform::PointerAction::down, screen_point);
    pen(platform::PointerAction::up, screen_point);
  }

  // What the shell window received since the last take.
  static std::vector<Received> take_received() { return std::exchange(received(), {}); }

  // The part of the screen a window covers.
  std::shared_ptr<platform::Bitmap> picture_of(platform::WindowHandle window) {
    const platform::Rect rect = system_.window_rect(window).value_or(platform::Rect{});
    auto picture = platform::Bitmap::create_rgb565(rect.width(), rect.height());
    platform::DeviceContext(picture).bit_blt(0, 0, rect.width(), rect.height(), platform::DeviceContext(bitmap_),
                                             rect.left, rect.top);
    return picture;
  }

  // Writes the window's picture to the test output as NAME.png.
  std::shared_ptr<platform::Bitmap> snapshot(platform::WindowHandle window, const std::string& name) {
    auto picture = picture_of(window);
    EXPECT_TRUE(platform::write_png(*picture, (app_output_dir() / (name + ".png")).string()));
    return picture;
  }
  static bool has_colour(const platform::Bitmap& picture, int x, int y, platform::ColorRef colour) {
    return picture.native(x, y) == picture.native_of(colour);
  }

  Screen screen_;
  std::shared_ptr<platform::Bitmap> bitmap_;
  platform::WindowServer server_;
  platform::WindowSystem system_{server_};
  platform::ScriptedResponder responder_;
  TestScreenPlatform platform_;
  ScreenInfo info_;
  platform::WindowHandle shell_window_;

 private:
  static std::vector<Received>& received() {
    static std::vector<Received> messages;
    return messages;
  }

  static platform::MessageResult shell_procedure(platform::WindowHandle window, std::uint32_t message,
                                                 platform::WParam wparam, platform::LParam lparam) {
    if (message >= WM_DUCTRA_NEXT_CONFIGURATION && message <= WM_DUCTRA_REPEAT_STOP) {
      received().push_back({message, wparam, lparam});
      return 0;
    }
    if (const platform::MessageResult colour = CtlColorRegistry::instance().dispatch(message, wparam, lparam)) {
      return colour;
    }
    if (message == platform::WM_NOTIFY) {
      received().push_back({message, 0, reinterpret_cast<const NotifyHeader*>(lparam)->code});
      return 0;
    }
    return platform::WindowSystem::current().default_procedure(window, message, wparam, lparam);
  }
};

}  // namespace ductra::testing

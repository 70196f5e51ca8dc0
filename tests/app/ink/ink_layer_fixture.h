// A device in the test process for the ink layer: the window server with a
// small white screen the ink is drawn on, the pen-sample ring written as
// the touch shim would, the screen metrics, a shell window on the test's
// thread recording what the capture thread posts, and the engine client on
// the scripted engine. Runs on the virtual clock.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/ink/ink_layer.h"
#include "app/shell/screen_metrics.h"
#include "app/shell/shell_messages.h"
#include "appplatform/device_root.h"
#include "appplatform/draw/display.h"
#include "appplatform/pen_ring.h"
#include "appplatform/runtime_dir.h"
#include "appplatform/shared_memory.h"
#include "appplatform/window_server.h"
#include "appplatform/window_system.h"
#include "tests/app/engine_client_support.h"

namespace ductra::testing {

// A screen of fixed size, upright.
struct FixedScreen final : ScreenPlatform {
  FixedScreen(int w, int h) : width(w), height(h) {}
  int width;
  int height;
  int screen_width() const override { return width; }
  int screen_height() const override { return height; }
  int logical_pixels_x() const override { return 96; }
  std::optional<int> display_orientation() const override { return 0; }
  bool device_file_exists(std::u16string_view) const override { return false; }
  std::optional<int> window_height_of_class(std::u16string_view) const override { return std::nullopt; }
};

// WM_DUCTRA_INK as the shell window received it.
struct InkMessage {
  platform::WParam kind = 0;
  platform::LParam value = 0;
  friend bool operator==(const InkMessage&, const InkMessage&) = default;
};

class InkLayerTest : public FakeEngineTest, public ErrorReports {
 protected:
  static constexpr int kWidth = 120;
  static constexpr int kHeight = 80;
  static constexpr platform::ColorRef kWhite = platform::rgb(255, 255, 255);
  static constexpr platform::ColorRef kInk = platform::rgb(0, 0, 160);

  InkLayerTest() : device_(make_folder()) {
    EXPECT_EQ(platform::RuntimeDir::for_device(device_, &runtime_), platform::Status::ok);
    EXPECT_EQ(platform::SharedMemory::open(runtime_, platform::kPenRingName, platform::kPenRingBytes, &block_),
              platform::Status::ok);
    shim_ = platform::PenRing(block_.bytes());
    shim_.initialize();
    platform::DeviceContext(screen_).fill_rect({0, 0, kWidth, kHeight}, platform::solid_brush(kWhite));
    platform::set_display(screen_);
    init_screen_globals(FixedScreen(kWidth, kHeight));
    received().clear();
    system_.register_class({u"InkTestShell", &shell_procedure});
    platform::CreateWindowParams shell;
    shell.class_name = u"InkTestShell";
    shell_window_ = system_.create_window(shell);
    core_ = std::make_unique<CCore>(*engine_, shell_, CoreFiles{"/device/qlmain.dt", device_.host() / "none.txt"});
  }
  ~InkLayerTest() override {
    layer_.reset();
    core_.reset();
    system_.destroy_window(shell_window_);
    platform::set_display(nullptr);
    block_ = {};
    std::filesystem::remove_all(runtime_.path());
    std::filesystem::remove_all(device_.host());
  }

  void make_layer(bool hand_over = false, int pen_width = 3) {
    layer_ = std::make_unique<ScreenInkLayer>(*core_, InkLayerHost{system_, shell_window_, runtime_, *this},
                                              pen_width, kInk, hand_over);
  }

  // A sample as the touch shim writes it, stamped with the time now.
  void write(std::uint32_t kind, std::uint32_t x, std::uint32_t y) {
    ASSERT_TRUE(shim_.append(platform::PenSample::make(kind, x, y, platform::tick_count())));
  }
  // A whole stroke through `points` (touch units).
  void write_stroke(const std::vector<platform::Point>& points) {
    for (std::size_t i = 0; i < points.size(); ++i) {
      const auto x = static_cast<std::uint32_t>(points[i].x), y = static_cast<std::uint32_t>(points[i].y);
      write(i == 0 ? platform::kPenDown : platform::kPenMove, x, y);
    }
    write(platform::kPenUp, 0, 0);
  }
  // Lets the capture thread take what waits in the ring, and answers what
  // it sends to the test's windows meanwhile.
  void settle() {
    clock_.advance(kEmptyRingPauseMs);
    pump();
  }
  void pump() {
    bool pumped = true;
    while (pumped) {
      clock_.advance(0);
      pumped = false;
      platform::Message m;
      while (system_.peek_message(m, true)) {
        system_.dispatch_message(m);
        pumped = true;
      }
    }
  }

  static std::vector<InkMessage>& received() {
    static std::vector<InkMessage> messages;
    return messages;
  }

  // ErrorReports.
  void show_error_box(int first, int second) override { boxes.push_back({first, second}); }
  void report_engine_error(const ExceptionInfo&) override {}
  void report_start_failure(const EngineStartFailure&) override {}

  std::vector<std::pair<int, int>> boxes;
  platform::DeviceRoot device_;
  platform::RuntimeDir runtime_;
  platform::SharedMemory block_;
  platform::PenRing shim_;
  std::shared_ptr<platform::Bitmap> screen_ = platform::Bitmap::create_rgb565(kWidth, kHeight);
  platform::WindowServer server_{kWidth, kHeight};
  platform::WindowSystem system_{server_};
  platform::WindowHandle shell_window_;
  std::unique_ptr<CCore> core_;
  std::unique_ptr<ScreenInkLayer> layer_;

 private:
  static std::filesystem::path make_folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ductra-ink-XXXXXX").string();
    return ::mkdtemp(pattern.data());
  }

  static platform::MessageResult shell_procedure(platform::WindowHandle window, std::uint32_t message,
                                                 platform::WParam wparam, platform::LParam lparam) {
    if (message == WM_DUCTRA_INK) {
      received().push_back({wparam, lparam});
      return 0;
    }
    return platform::WindowSystem::current().default_procedure(window, message, wparam, lparam);
  }
};

}  // namespace ductra::testing

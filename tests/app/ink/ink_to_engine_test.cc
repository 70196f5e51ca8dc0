#include <gtest/gtest.h>

#include <vector>

#include "app/ink/ink_layer.h"
#include "app/shell/screen_metrics.h"
#include "appplatform/draw/display.h"
#include "appplatform/pen_ring.h"
#include "appplatform/shared_memory.h"
#include "tests/app/ink/ink_layer_fixture.h"
#include "tests/app/shell_test_support.h"

namespace ductra {
namespace {

// The controller with the real ink layer on the scripted engine: ink the
// touch shim puts into the ring becomes strokes, and when the pen has
// rested for the time-out the controller hands them to the engine.
class InkToTheEngineTest : public testing::ShellTest {
 protected:
  InkToTheEngineTest() {
    platform::set_display(screen_);
    init_screen_globals(testing::FixedScreen(240, 320));
    parts_.real_ink_layers = &ink_layers_;
  }
  ~InkToTheEngineTest() override { platform::set_display(nullptr); }

  std::shared_ptr<platform::Bitmap> screen_ = platform::Bitmap::create_rgb565(240, 320);
  ScreenInkLayers ink_layers_{system_, runtime_, parts_};
};

TEST_F(InkToTheEngineTest, ThePenTimeOutHandsTheWrittenStrokesToTheEngine) {
  fake_engine::Recognition recognition;
  recognition.text = u"ab";
  recognition.work_ms = 1000;
  control_.script_recognition(&recognition);
  run(u"start");
  platform::SharedMemory block;
  ASSERT_EQ(platform::SharedMemory::open(runtime_, platform::kPenRingName, platform::kPenRingBytes, &block),
            platform::Status::ok);
  const platform::PenRing shim(block.bytes());
  const auto write = [&](std::uint32_t kind, std::uint32_t x, std::uint32_t y) {
    ASSERT_TRUE(shim.append(platform::PenSample::make(kind, x, y, platform::tick_count())));
  };
  const platform::Millis written = clock_.now();
  write(platform::kPenDown, 100, 100);
  write(platform::kPenMove, 140, 100);
  write(platform::kPenMove, 143, 102);  // too near: no point
  write(platform::kPenMove, 180, 160);
  write(platform::kPenUp, 0, 0);
  write(platform::kPenDown, 300, 100);
  write(platform::kPenUp, 0, 0);
  clock_.advance(399);
  EXPECT_EQ(first_call_at("crAddStroke"), -1) << "the pen has not rested long enough";
  clock_.advance(101);
  const long long rested = static_cast<long long>(written - kStart) + 400;
  EXPECT_GE(first_call_at("crAddStroke"), rested);
  EXPECT_LT(first_call_at("crAddStroke"), rested + 100) << "at the first tick after the time-out";
  const std::vector<std::vector<crPoint>> pane = control_.observe().pane;
  ASSERT_EQ(pane.size(), 2u);
  const auto points = [](const std::vector<crPoint>& stroke) {
    std::vector<std::pair<int, int>> out;
    for (const crPoint& p : stroke) out.push_back({p.x, p.y});
    return out;
  };
  EXPECT_EQ(points(pane[0]), (std::vector<std::pair<int, int>>{{100, 100}, {140, 100}, {180, 160}}));
  EXPECT_EQ(points(pane[1]), (std::vector<std::pair<int, int>>{{300, 100}}));
  clock_.advance(1000);
  EXPECT_EQ(parts_.log.count("result delivered"), 1);
}

}  // namespace
}  // namespace ductra

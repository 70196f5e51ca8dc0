#include <gtest/gtest.h>

#include <vector>

#include "app/ink/ink_layer.h"
#include "app/shell/controller.h"
#include "tests/app/ink/ink_layer_fixture.h"

namespace ductra {
namespace {

using platform::kPenDown;
using platform::kPenMove;
using platform::kPenUp;
using platform::Point;
using testing::InkLayerTest;
using testing::InkMessage;

const std::vector<InkMessage> kStrokeDone = {{kInkStrokesDone, 0}};

// Mode three: every finished stroke goes to the controller through the
// one-stroke slot; the next waits until the controller released the last.
TEST_F(InkLayerTest, InModeThreeEachFinishedStrokeWaitsInTheSlotForTheController) {
  make_layer(true);
  write_stroke({{40, 40}, {80, 40}, {120, 60}});
  const std::uint32_t first_tick = platform::tick_count();
  settle();
  EXPECT_EQ(received(), kStrokeDone);
  const InkStroke* stroke = layer_->handed_over_stroke();
  ASSERT_NE(stroke, nullptr);
  EXPECT_EQ(stroke->points, (std::vector<InkPoint>{{40, 40}, {80, 40}, {120, 60}}));
  EXPECT_EQ(stroke->start_tick, first_tick);
  EXPECT_EQ(stroke->last_tick, first_tick);

  received().clear();
  clock_.advance(100);
  write_stroke({{200, 200}, {240, 240}});
  settle();
  EXPECT_TRUE(received().empty()) << "the slot is still full";
  EXPECT_EQ(layer_->handed_over_stroke(), stroke);
  layer_->release_handed_over_stroke();
  settle();
  EXPECT_EQ(received(), kStrokeDone);
  ASSERT_NE(layer_->handed_over_stroke(), nullptr);
  const std::optional<HandedOverStroke> taken = layer_->take_handed_over_stroke();
  ASSERT_TRUE(taken.has_value());
  EXPECT_EQ(taken->points, (std::vector<InkPoint>{{200, 200}, {240, 240}}));
  EXPECT_EQ(layer_->handed_over_stroke(), nullptr) << "taking empties the slot";
  EXPECT_FALSE(core_->is_busy()) << "mode three never wakes the engine client";
}

// A new stroke stops the controller's timer that would clear the screen,
// and a backspace stroke is no stroke in progress: the erase takes it.
TEST_F(InkLayerTest, InModeThreeAPenDownStopsTheClearingTimerAndABackspaceIsErased) {
  make_layer(true);
  system_.set_timer(shell_window_, kModeThreeTimer, 400);
  write(kPenDown, 440, 40);
  settle();
  EXPECT_FALSE(system_.kill_timer(shell_window_, kModeThreeTimer)) << "stopped already";
  write(kPenMove, 240, 44);
  write(kPenMove, 40, 48);
  write(kPenUp, 0, 0);
  settle();
  EXPECT_EQ(received(), (std::vector<InkMessage>{{kInkOneUnit, 8}}));
  EXPECT_EQ(layer_->handed_over_stroke(), nullptr);
  layer_->erase_all();
  pump();
  EXPECT_TRUE(layer_->strokes_in_pixels().empty());
}

TEST_F(InkLayerTest, InModeThreeAnEraseKeepsTheStrokeStillBeingWritten) {
  make_layer(true);
  write_stroke({{40, 40}, {80, 40}});
  settle();  // handed over; the slot stays full
  write(kPenDown, 200, 200);
  write(kPenMove, 240, 200);
  settle();
  layer_->erase_all();
  pump();
  const InkStrokeList kept = layer_->strokes_in_pixels();
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].points, (std::vector<InkPoint>{{50, 50}, {60, 50}}));
  write(kPenUp, 0, 0);
  settle();
  layer_->erase_all();
  pump();
  EXPECT_EQ(layer_->strokes_in_pixels().size(), 1u) << "not handed over yet: still in progress";
  layer_->release_handed_over_stroke();
  settle();
  layer_->erase_all();
  pump();
  EXPECT_TRUE(layer_->strokes_in_pixels().empty());
}

// A pen held still for a second on a first stroke, while the engine client
// is idle, reaches the window under it as a press, and its lift as a
// release; the stroke leaves the ink and is not handed over.
TEST_F(InkLayerTest, APenHeldStillIsPassedOnAsMouseInputToTheWindowUnderIt) {
  struct Clicks {
    std::vector<std::pair<std::uint32_t, platform::LParam>> seen;
  };
  static Clicks clicks;
  clicks.seen.clear();
  static constexpr auto target = [](platform::WindowHandle window, std::uint32_t message, platform::WParam wparam,
                                     platform::LParam lparam) -> platform::MessageResult {
    if (message == platform::WM_LBUTTONDOWN || message == platform::WM_LBUTTONUP) {
      clicks.seen.push_back({message, lparam});
    }
    return platform::WindowSystem::current().default_procedure(window, message, wparam, lparam);
  };
  system_.register_class({u"Target", +target});
  platform::CreateWindowParams params;
  params.class_name = u"Target";
  params.style = platform::WS_POPUP | platform::WS_VISIBLE;
  params.x = 20;
  params.y = 20;
  params.width = 80;
  params.height = 40;
  const platform::WindowHandle window = system_.create_window(params);
  pump();

  make_layer(true);
  write(kPenDown, 160, 160);
  settle();
  clock_.advance(949);
  EXPECT_FALSE(layer_->begin_mouse_replay(false)) << "held 999 ms";
  clock_.advance(1);
  EXPECT_FALSE(layer_->begin_mouse_replay(true)) << "the engine client is busy";
  layer_->hold_test(false);
  EXPECT_TRUE(layer_->is_mouse_replay());
  EXPECT_FALSE(layer_->begin_mouse_replay(false)) << "already on";
  write(kPenUp, 0, 0);
  settle();

  const auto at = [](int x, int y) { return static_cast<platform::LParam>(x | (y << 16)); };
  const std::vector<std::pair<std::uint32_t, platform::LParam>> expected = {{platform::WM_LBUTTONDOWN, at(20, 20)},
                                                                             {platform::WM_LBUTTONUP, at(20, 20)}};
  EXPECT_EQ(clicks.seen, expected);
  EXPECT_FALSE(layer_->is_mouse_replay());
  EXPECT_FALSE(layer_->is_pen_down());
  EXPECT_TRUE(layer_->strokes_in_pixels().empty()) << "the replayed stroke left the ink";
  EXPECT_TRUE(received().empty()) << "nothing handed over";
  EXPECT_EQ(layer_->handed_over_stroke(), nullptr);
  EXPECT_EQ(layer_->capture_mode(), 0);
  system_.destroy_window(window);
}

TEST_F(InkLayerTest, OnlyAFirstStrokeHeldStillIsPassedOn) {
  make_layer();
  write_stroke({{40, 40}});
  write(kPenDown, 160, 160);
  settle();
  clock_.advance(2000);
  EXPECT_FALSE(layer_->begin_mouse_replay(false)) << "a second stroke";
  write(kPenUp, 0, 0);
  settle();
  clock_.advance(2000);
  EXPECT_FALSE(layer_->begin_mouse_replay(false)) << "the pen is up";
}

// The capture thread ends when asked wherever it waits: for the slot, or
// for a recognition to end at pen up.
TEST_F(InkLayerTest, TheCaptureThreadStopsWhileItWaitsForTheSlotOrTheEngine) {
  make_layer(true);
  write_stroke({{40, 40}});
  write_stroke({{80, 80}});
  settle();
  ASSERT_NE(layer_->handed_over_stroke(), nullptr);
  layer_.reset();
  EXPECT_EQ(shim_.load(&platform::PenRingHeader::capture_on_), 0u) << "capture off when the layer goes";

  make_layer(false);
  ASSERT_TRUE(core_->take_semaphore());  // a recognition runs
  write_stroke({{40, 40}});
  settle();
  layer_.reset();
  core_->request();
  clock_.advance(0);
}

TEST_F(InkLayerTest, WithoutADisplayNothingIsDrawnOrKeptAndTheFailureIsShown) {
  platform::set_display(nullptr);
  make_layer();
  EXPECT_EQ(boxes, (std::vector<std::pair<int, int>>{{13, 255}}));
  write_stroke({{40, 40}, {80, 80}});
  settle();
  EXPECT_TRUE(layer_->strokes_in_pixels().empty());
  EXPECT_FALSE(core_->is_busy());
}

TEST_F(InkLayerTest, AFramedWordHasARectangleAroundItsBoxAndItsInkDrawnAgain) {
  make_layer();
  write_stroke({{120, 120}, {200, 120}});
  settle();
  layer_->frame_box(platform::Rect{120, 120, 200, 140});
  pump();
  const platform::ColorRef black = platform::rgb(0, 0, 0);
  for (const Point p : {Point{26, 26}, Point{54, 26}, Point{54, 39}, Point{26, 39}, Point{40, 26}}) {
    EXPECT_EQ(screen_->color_at(p.x, p.y), black) << p.x << ", " << p.y;
  }
  EXPECT_NE(screen_->color_at(40, 30), kWhite) << "the ink is drawn again";
}

}  // namespace
}  // namespace ductra

#include "app/ink/ink_layer.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/ink/window_repaint.h"
#include "tests/app/ink/ink_layer_fixture.h"
#include "tests/app/ink/ink_picture.h"

namespace ductra {
namespace {

using platform::kPenDown;
using platform::kPenMove;
using platform::kPenUp;
using platform::Point;
using testing::InkLayerTest;
using testing::InkMessage;

// Points every `step` touch units along the segments between `corners`.
std::vector<Point> path(const std::vector<Point>& corners, int step) {
  std::vector<Point> points = {corners.front()};
  for (std::size_t i = 0; i + 1 < corners.size(); ++i) {
    const Point a = corners[i], b = corners[i + 1];
    const int n = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y)) / step;
    for (int k = 1; k <= n; ++k) points.push_back({a.x + (b.x - a.x) * k / n, a.y + (b.y - a.y) * k / n});
  }
  return points;
}

int ink_pixels(const platform::Bitmap& screen, platform::ColorRef background) {
  int count = 0;
  for (int y = 0; y < screen.height(); ++y)
    for (int x = 0; x < screen.width(); ++x) count += screen.color_at(x, y) != background;
  return count;
}

TEST_F(InkLayerTest, InkFromTheRingIsDrawnOnTheScreenAsStrokes) {
  make_layer();
  write_stroke(path({{40, 40}, {120, 200}, {200, 60}}, 6));
  write_stroke({{320, 160}});
  write_stroke(path({{280, 280}, {440, 280}}, 3));
  settle();
  testing::expect_picture(*screen_, "ink_strokes");

  const InkStrokeList pixels = layer_->strokes_in_pixels();
  ASSERT_EQ(pixels.size(), 3u);
  EXPECT_EQ(pixels[1].points, (std::vector<InkPoint>{{80, 40}}));
  EXPECT_EQ(pixels[0].points.front(), (InkPoint{10, 10}));
  // Samples 6 units apart: every second one is kept on the long legs.
  EXPECT_LT(pixels[0].points.size(), path({{40, 40}, {120, 200}, {200, 60}}, 6).size() * 2 / 3);
  EXPECT_EQ(pixels.box(), (InkBox{10, 10, 110, 70}));
  EXPECT_TRUE(received().empty()) << "no gesture, no hand-over";
  EXPECT_TRUE(core_->is_busy()) << "pen up woke the engine client";
  EXPECT_TRUE(boxes.empty());
}

TEST_F(InkLayerTest, ThePenTimeOutComesOnceWhenThePenHasRestedWithInkWaiting) {
  make_layer();
  EXPECT_FALSE(layer_->pen_timed_out(400, true)) << "no ink yet";
  write_stroke(path({{40, 40}, {200, 40}}, 10));
  settle();  // the last sample is 50 ms old
  ASSERT_TRUE(core_->is_busy());
  clock_.advance(349);
  EXPECT_FALSE(layer_->pen_timed_out(400, true));
  clock_.advance(1);
  EXPECT_FALSE(layer_->pen_timed_out(400, false)) << "only while the engine client holds the ink";
  EXPECT_TRUE(layer_->pen_timed_out(400, true));
  EXPECT_FALSE(layer_->pen_timed_out(400, true)) << "once";

  write(kPenDown, 40, 100);
  settle();
  clock_.advance(1000);
  EXPECT_FALSE(layer_->pen_timed_out(400, true)) << "the pen is down";
  write(kPenUp, 0, 0);
  settle();
  clock_.advance(400);
  EXPECT_TRUE(layer_->pen_timed_out(400, true));
}

// One stroke alone, written leftwards and flat, wider than a third of the
// screen's pixels in touch units (the screen is 120 pixels wide), is a
// backspace; any other stroke goes on to recognition.
TEST_F(InkLayerTest, ALongFlatLeftwardStrokeIsABackspace) {
  struct Case {
    const char* name;
    std::vector<Point> points;
    bool after_another;
    bool fires;
  };
  const std::vector<Case> cases = {
      {"100 by 10 pixels", path({{440, 40}, {40, 80}}, 16), false, true},
      {"100 by 40 pixels", path({{440, 40}, {40, 200}}, 16), false, false},
      {"11 pixels wide", path({{84, 40}, {40, 44}}, 8), false, true},
      {"9 pixels wide", path({{76, 40}, {40, 44}}, 8), false, false},
      {"steps of 7 to the right", {{440, 40}, {400, 40}, {407, 48}, {360, 48}, {367, 40}, {40, 40}}, false, true},
      {"a step of 8 to the right", {{440, 40}, {400, 40}, {408, 48}, {360, 48}, {40, 40}}, false, false},
      {"written rightwards", path({{40, 40}, {440, 80}}, 16), false, false},
      {"a second stroke", path({{440, 40}, {40, 80}}, 16), true, false},
  };
  make_layer();
  const std::vector<InkMessage> backspace = {{kInkOneUnit, 8}};
  for (const Case& c : cases) {
    layer_->erase_all();
    received().clear();
    if (c.after_another) write_stroke({{200, 200}});
    write_stroke(c.points);
    settle();
    EXPECT_EQ(received() == backspace, c.fires) << c.name;
    EXPECT_EQ(layer_->capture_mode(), c.fires ? 0 : 1) << c.name;
    EXPECT_EQ(layer_->strokes_in_pixels().size(), c.after_another ? 2u : 1u) << c.name << ": the stroke stays";
  }
}

TEST_F(InkLayerTest, ErasingRepaintsWhatLayUnderTheInk) {
  // A window painted in stripes covers the screen; the ink goes over it.
  static constexpr auto stripes = [](platform::WindowHandle window, std::uint32_t message, platform::WParam wparam,
                                      platform::LParam lparam) -> platform::MessageResult {
    platform::WindowSystem& system = platform::WindowSystem::current();
    if (message != platform::WM_PAINT) return system.default_procedure(window, message, wparam, lparam);
    const platform::PaintInfo paint = system.begin_paint(window);
    const auto info = system.describe(window);
    platform::DeviceContext dc = platform::display_context(info->client_origin, paint.update);
    for (int y = 0; y < kHeight; ++y) {
      dc.fill_rect({0, y, kWidth, y + 1}, platform::solid_brush(y % 4 < 2 ? platform::rgb(255, 200, 0) : kWhite));
    }
    system.end_paint(window, paint);
    return 0;
  };
  system_.register_class({u"Stripes", +stripes});
  platform::CreateWindowParams params;
  params.class_name = u"Stripes";
  params.style = platform::WS_POPUP | platform::WS_VISIBLE;
  params.width = kWidth;
  params.height = kHeight;
  const platform::WindowHandle window = system_.create_window(params);
  pump();
  const auto before = platform::Bitmap::create_rgb565(kWidth, kHeight);
  platform::DeviceContext(before).bit_blt(0, 0, kWidth, kHeight, platform::DeviceContext(screen_), 0, 0);

  make_layer(false, 5);
  write_stroke(path({{40, 40}, {400, 280}}, 10));
  write_stroke(path({{40, 280}, {400, 40}}, 10));
  write_stroke({{240, 160}});
  settle();
  const int inked = ink_pixels(*screen_, platform::rgb(255, 255, 255));
  EXPECT_GT(inked, ink_pixels(*before, platform::rgb(255, 255, 255)) + 100);
  const InkBox box = layer_->strokes_in_pixels().box();

  layer_->erase(true, 2);
  pump();
  const InkStrokeList kept = layer_->strokes_in_pixels();
  ASSERT_EQ(kept.size(), 1u) << "the third stroke stays";
  EXPECT_EQ(kept[0].points, (std::vector<InkPoint>{{60, 40}}));
  EXPECT_EQ(kept.box(), box) << "the box is not recomputed";
  layer_->erase_all();
  pump();
  EXPECT_TRUE(layer_->strokes_in_pixels().empty());
  int differ = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) differ += screen_->native(x, y) != before->native(x, y);
  EXPECT_EQ(differ, 0) << "the stripes are back where the ink was";
  system_.destroy_window(window);
}

}  // namespace
}  // namespace ductra

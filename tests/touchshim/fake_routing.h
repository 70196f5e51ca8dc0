// Fakes of what the shim's routing reaches: a host that records what goes
// to the system and a small window tree.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "touchshim/routing_host.h"
#include "touchshim/window_query.h"

namespace ductra::tapshim {

struct Touch {
  std::uint32_t flags;
  std::int32_t x;
  std::int32_t y;
  friend bool operator==(const Touch&, const Touch&) = default;
};

class FakeHost : public RoutingHost {
 public:
  std::uint32_t tick_count() const override { return tick; }
  std::int32_t pass_to_system(std::uint32_t flags, std::int32_t x, std::int32_t y) override {
    to_system.push_back({flags, x, y});
    return system_result;
  }
  Liveness probe_application() const override { return liveness; }
  void set_prompt_stroke_event() override { ++prompt_events; }
  std::optional<int> display_orientation() const override { return orientation; }
  ScreenSize screen_size() const override {
    ++size_reads;
    return size;
  }
  void yield() override { ++yields; }

  std::uint32_t tick = 1000;
  std::int32_t system_result = 7;
  Liveness liveness = Liveness::alive;
  std::optional<int> orientation = 0;
  ScreenSize size{240, 320};
  std::vector<Touch> to_system;
  int prompt_events = 0;
  mutable int size_reads = 0;
  int yields = 0;
};

// Window 1 covers the screen (class "Content", a vertical scroll bar along
// its right edge when `scrolling`); its child 2, a "Button", lies at pixels
// (10, 10)..(49, 29); its child 3, class "Static", at (60, 10)..(99, 29).
class FakeWindows : public WindowQuery {
 public:
  WindowId window_from_point(ScreenPoint point) const override {
    asked.push_back(point);
    return inside(point, {0, 0, 239, 319}) ? 1 : 0;
  }
  WindowId child_window_from_point(WindowId window, ScreenPoint point) const override {
    if (window != 1) return window;
    if (inside(point, {10, 10, 49, 29})) return 2;
    if (inside(point, {60, 10, 99, 29})) return 3;
    return 1;
  }
  std::optional<std::u16string> class_name(WindowId window) const override {
    switch (window) {
      case 1:
        return u"Content";
      case 2:
        return button_class;
      case 3:
        return u"Static";
      default:
        return std::nullopt;
    }
  }
  std::optional<ScrollRange> scroll_range(WindowId window, ScrollBar bar) const override {
    if (window != 1 || bar != ScrollBar::vertical || !scrolling) return std::nullopt;
    return ScrollRange{0, 100, 20};
  }
  std::optional<ScreenRect> window_rect(WindowId window) const override {
    if (window != 1) return std::nullopt;
    return ScreenRect{0, 0, 239, 319};
  }
  std::int32_t horizontal_bar_height() const override { return 13; }
  std::int32_t vertical_bar_width() const override { return 13; }

  std::u16string button_class = u"Button";
  bool scrolling = false;
  mutable std::vector<ScreenPoint> asked;

 private:
  static bool inside(ScreenPoint p, ScreenRect r) {
    return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
  }
};

}  // namespace ductra::tapshim

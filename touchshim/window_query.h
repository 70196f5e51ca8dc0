// What the touch shim asks the window system when it decides whether a
// stroke that starts at a screen point belongs to the system: the window
// under the point, its class, its scroll bars and its rectangle. The shim
// binds it to the device's window system; tests give fixed answers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ductra::tapshim {

using WindowId = std::uint32_t;  // 0: no window

struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// Screen coordinates, all four bounds inside.
struct ScreenRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

struct ScrollRange {
  std::int32_t min = 0;
  std::int32_t max = 0;
  std::uint32_t page = 0;
};

enum class ScrollBar { horizontal, vertical };

class WindowQuery {
 public:
  virtual ~WindowQuery() = default;

  // The visible window under a screen point; 0 when none.
  virtual WindowId window_from_point(ScreenPoint point) const = 0;

  // The child of `window` under a screen point, `window` itself when no
  // child is there, 0 when the point lies outside it.
  virtual WindowId child_window_from_point(WindowId window, ScreenPoint point) const = 0;

  // The window's class name; nothing when it cannot be read.
  virtual std::optional<std::u16string> class_name(WindowId window) const = 0;

  // The range and page of one of the window's scroll bars; nothing when the
  // window has no such bar.
  virtual std::optional<ScrollRange> scroll_range(WindowId window, ScrollBar bar) const = 0;

  // The window's rectangle on the screen; nothing when it cannot be read.
  virtual std::optional<ScreenRect> window_rect(WindowId window) const = 0;

  // The height of a horizontal scroll bar and the width of a vertical one.
  virtual std::int32_t horizontal_bar_height() const = 0;
  virtual std::int32_t vertical_bar_width() const = 0;
};

}  // namespace ductra::tapshim

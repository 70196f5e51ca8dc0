#include "touchshim/pass_through_target.h"

#include <array>
#include <string_view>

namespace ductra::tapshim {

namespace {

// Deeper than any window tree; ends the walk should the query ever answer
// in a circle.
constexpr int kMaxDepth = 64;

bool is_excluded_window_class(const WindowQuery& windows, WindowId window) {
  static constexpr std::array<std::u16string_view, 5> kExcluded = {
      u"Button", u"msctls_trackbar32", u"ScrollBar", u"Ductra ToolWindow Class", u"Ductra KeyboardWindow Class"};
  const std::optional<std::u16string> name = windows.class_name(window);
  if (!name) return false;
  for (std::u16string_view excluded : kExcluded) {
    if (*name == excluded) return true;
  }
  return false;
}

// A bar is active when its page is smaller than its range.
bool scroll_bar_active(const WindowQuery& windows, WindowId window, ScrollBar bar) {
  const std::optional<ScrollRange> range = windows.scroll_range(window, bar);
  return range && range->page < static_cast<std::uint32_t>(range->max - range->min);
}

bool point_in_rect(ScreenPoint point, const ScreenRect& rect) {
  return point.x >= rect.left && point.x <= rect.right && point.y >= rect.top && point.y <= rect.bottom;
}

bool is_on_scroll_bar(const WindowQuery& windows, WindowId window, ScreenPoint point) {
  const bool horizontal = scroll_bar_active(windows, window, ScrollBar::horizontal);
  const bool vertical = scroll_bar_active(windows, window, ScrollBar::vertical);
  if (!horizontal && !vertical) return false;
  const std::optional<ScreenRect> rect = windows.window_rect(window);
  if (!rect) return false;
  const ScreenRect bottom_strip{rect->left, rect->bottom - windows.horizontal_bar_height(), rect->right, rect->bottom};
  const ScreenRect right_strip{rect->right - windows.vertical_bar_width(), rect->top, rect->right, rect->bottom};
  return (horizontal && point_in_rect(point, bottom_strip)) || (vertical && point_in_rect(point, right_strip));
}

}  // namespace

bool is_pass_through_target(const WindowQuery& windows, ScreenPoint point) {
  WindowId window = windows.window_from_point(point);
  for (int depth = 0; window != 0 && depth < kMaxDepth; ++depth) {
    if (is_excluded_window_class(windows, window) || is_on_scroll_bar(windows, window, point)) return true;
    const WindowId child = windows.child_window_from_point(window, point);
    if (child == window) return false;
    window = child;
  }
  return false;
}

}  // namespace ductra::tapshim

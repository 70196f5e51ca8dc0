#include "touchshim/device_window_query.h"

#include "appplatform/window_system.h"

namespace ductra::tapshim {

namespace {

using platform::WindowHandle;
using platform::WindowSystem;

WindowSystem* window_system() { return WindowSystem::current_if_any(); }

}  // namespace

WindowId DeviceWindowQuery::window_from_point(ScreenPoint point) const {
  WindowSystem* windows = window_system();
  if (windows == nullptr) return 0;
  return windows->window_from_point({point.x, point.y}).id;
}

WindowId DeviceWindowQuery::child_window_from_point(WindowId window, ScreenPoint point) const {
  WindowSystem* windows = window_system();
  if (windows == nullptr) return 0;
  const std::optional<platform::Point> client = windows->screen_to_client(WindowHandle{window}, {point.x, point.y});
  if (!client) return 0;
  return windows->child_window_from_point(WindowHandle{window}, *client).id;
}

std::optional<std::u16string> DeviceWindowQuery::class_name(WindowId window) const {
  WindowSystem* windows = window_system();
  if (windows == nullptr) return std::nullopt;
  std::u16string name = windows->class_name(WindowHandle{window});
  if (name.empty()) return std::nullopt;
  return name;
}

std::optional<ScrollRange> DeviceWindowQuery::scroll_range(WindowId window, ScrollBar bar) const {
  WindowSystem* windows = window_system();
  if (windows == nullptr) return std::nullopt;
  const std::optional<platform::ScrollRange> range =
      windows->scroll_range(WindowHandle{window}, bar == ScrollBar::vertical);
  if (!range || !range->set) return std::nullopt;
  return ScrollRange{range->min, range->max, range->page};
}

std::optional<ScreenRect> DeviceWindowQuery::window_rect(WindowId window) const {
  WindowSystem* windows = window_system();
  if (windows == nullptr) return std::nullopt;
  const std::optional<platform::Rect> rect = windows->window_rect(WindowHandle{window});
  if (!rect) return std::nullopt;
  return ScreenRect{rect->left, rect->top, rect->right, rect->bottom};
}

std::int32_t DeviceWindowQuery::horizontal_bar_height() const {
  WindowSystem* windows = window_system();
  return windows == nullptr ? 0 : windows->system_metric(platform::SM_CYHSCROLL);
}

std::int32_t DeviceWindowQuery::vertical_bar_width() const {
  WindowSystem* windows = window_system();
  return windows == nullptr ? 0 : windows->system_metric(platform::SM_CXVSCROLL);
}

}  // namespace ductra::tapshim

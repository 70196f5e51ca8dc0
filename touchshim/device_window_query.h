// The shim's window questions answered by the process's window system
// (the device's window server). Without a window system in the process
// there is no window under any point.
#pragma once

#include "touchshim/window_query.h"

namespace ductra::tapshim {

class DeviceWindowQuery final : public WindowQuery {
 public:
  WindowId window_from_point(ScreenPoint point) const override;
  // The window system looks for children at client coordinates; the
  // screen point is converted first.
  WindowId child_window_from_point(WindowId window, ScreenPoint point) const override;
  std::optional<std::u16string> class_name(WindowId window) const override;
  std::optional<ScrollRange> scroll_range(WindowId window, ScrollBar bar) const override;
  std::optional<ScreenRect> window_rect(WindowId window) const override;
  std::int32_t horizontal_bar_height() const override;
  std::int32_t vertical_bar_width() const override;
};

}  // namespace ductra::tapshim

#include "inputpanel/panel_placement.h"

namespace ductra::quillpad {
namespace {

int strip_top(platform::WindowSystem& windows) {
  const platform::WindowHandle button = windows.find_window(kSipButtonClass, std::nullopt);
  if (button) {
    if (const std::optional<platform::Rect> rect = windows.window_rect(button)) return rect->top;
  }
  const platform::Rect work_area = windows.screen().work_area;
  return work_area.bottom - work_area.top;
}

}  // namespace

void collapse_panel(platform::WindowSystem& windows, platform::WindowHandle panel) {
  windows.set_window_pos(panel, {}, 0, strip_top(windows), 0, 0,
                         platform::SWP_NOZORDER | platform::SWP_NOACTIVATE | platform::SWP_NOOWNERZORDER);
}

}  // namespace ductra::quillpad

#include "app/ink/window_repaint.h"

namespace ductra {
namespace {

using platform::WindowHandle;

// The window after `window` in a depth-first walk: its first child, else
// its next sibling, else the next sibling of the nearest ancestor that has
// one; null at the end.
WindowHandle next_in_walk(platform::WindowSystem& windows, WindowHandle window) {
  if (const WindowHandle child = windows.get_window(window, platform::GW_CHILD)) return child;
  for (WindowHandle at = window; at && at != platform::kDesktopWindow; at = windows.parent(at)) {
    if (const WindowHandle sibling = windows.get_window(at, platform::GW_HWNDNEXT)) return sibling;
  }
  return {};
}

void repaint_part(platform::WindowSystem& windows, WindowHandle window, const platform::Rect& box) {
  const auto info = windows.describe(window);
  if (!info || !info->visible) return;
  const platform::Rect overlap = platform::intersect(box, info->window_rect);
  if (overlap.empty()) return;
  windows.invalidate_rect(window, overlap.offset(-info->client_origin.x, -info->client_origin.y), true);
  windows.update_window(window);
}

}  // namespace

void repaint_windows_under(platform::WindowSystem& windows, const platform::Rect& box) {
  for (WindowHandle window = windows.get_window(platform::kDesktopWindow, platform::GW_CHILD); window;
       window = next_in_walk(windows, window)) {
    repaint_part(windows, window, box);
  }
}

}  // namespace ductra

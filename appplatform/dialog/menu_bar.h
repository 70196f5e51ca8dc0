// The menu bar: a strip along the bottom of the screen with soft keys,
// owned by a dialog or window (it stays above its owner and goes with it).
// Each key shows its text; a tap on a key (pressed and lifted on the same
// key) sends its command to the owner as WM_COMMAND (id in the low word,
// code 0). A bar may have no keys at all.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "appplatform/window_types.h"

namespace ductra::platform {

inline constexpr char16_t kMenuBarClass[] = u"Ductra MenuBar";
inline constexpr int kMenuBarHeight = 26;

struct SoftKey {
  int command = 0;
  std::u16string text;
};

// The bar's window, shown; null when `owner` is not a window.
WindowHandle create_menu_bar(WindowHandle owner, std::span<const SoftKey> keys);
// The bar's keys, left to right (none for a window that is no bar).
std::vector<SoftKey> menu_bar_keys(WindowHandle bar);
// The bar's keys' rectangles in screen coordinates, left to right.
std::vector<Rect> menu_bar_key_rects(WindowHandle bar);

}  // namespace ductra::platform

// The tool window's measures: its size index and icon size from the bottom
// bar, its widths, its default place beside the bottom bar, what a tap at
// a point of it means, the pixels of its tab and its default icon. Pure
// arithmetic on integers (the thirds of the icon size truncated), so each
// measure can be checked on its own.
//
// With s the icon size the window shows, from the left: the tab (2/3 s
// wide), the icon (s), and in the expanded state four keys of s each
// ("." "," backspace, space), 17/3 s in all.
#pragma once

#include <cstdint>
#include <optional>

#include "appplatform/geometry.h"

namespace ductra {

// 0 to 4 from the bottom bar's height, which counts double in movable mode.
int tool_size_index(int bottom_bar_height, bool movable);
// 22, 30, 42, 54 or 84 pixels.
int tool_icon_size(int size_index);

inline int tool_tab_width(int s) { return 2 * s / 3; }
inline int tool_collapsed_width(int s) { return 5 * s / 3; }
inline int tool_expanded_width(int s) { return 17 * s / 3; }

struct ToolScreen {
  int width = 0;
  int height = 0;
  int bottom_bar_height = 0;
  int display_scale = 1;
  int os_major_version = 5;
  std::optional<int> sip_button_left;  // the left edge of the "MS_SIPBUTTON" window, when there is one
};

// Where the window stands when it has no saved place.
platform::Point tool_default_position(const ToolScreen& screen, int s);

// A saved place is used only in movable mode and only when it lies within
// the screen (compared unsigned, so -1, "never saved", is outside).
bool tool_position_usable(const ToolScreen& screen, int x, int y);

// What a tap at client x means.
enum class ToolTap { toggle_keys, next_configuration, full_stop, comma, backspace, space, nothing };
ToolTap tool_tap_at(int x, int s);
// The key of the expanded tool window whose press starts the backspace repeat.
bool tool_press_repeats(int x, int s);

// Whether the tab's pixel in column k and row i takes palette index 8
// (else 255, white): a white triangle pointing right when collapsed, left
// when expanded.
bool tool_tab_pixel_is_dark(int k, int i, int s, bool movable, bool expanded);

// The default icon's resource: 149 for a fixed window at display scale 1,
// 125 when the scale is above 1 or the window is movable, 150 when both.
int tool_default_icon_id(int display_scale, bool movable);

}  // namespace ductra

#include "app/windows/tool_geometry.h"

#include <algorithm>
#include <array>

#include "appplatform/resources/builtin_resources.h"

namespace ductra {
namespace {

constexpr std::array<int, 5> kIconSizes = {22, 30, 42, 54, 84};
// The fixed window keeps 36 pixels (at scale 1) clear of the right edge on
// older platforms.
constexpr int kOldPlatformMargin = 36;
constexpr int kFirstCenteredVersion = 5;

}  // namespace

int tool_size_index(int bottom_bar_height, bool movable) {
  const int h = movable ? 2 * bottom_bar_height : bottom_bar_height;
  if (h > 83) return 4;
  if (h > 53) return 3;
  if (h > 41) return 2;
  if (h >= 30) return 1;
  return 0;
}

int tool_icon_size(int size_index) {
  return kIconSizes[static_cast<std::size_t>(std::clamp(size_index, 0, 4))];
}

platform::Point tool_default_position(const ToolScreen& screen, int s) {
  int x = 0;
  if (screen.os_major_version < kFirstCenteredVersion) {
    x = screen.width - kOldPlatformMargin * screen.display_scale - s;
  } else if (screen.sip_button_left) {
    x = std::max(*screen.sip_button_left - tool_collapsed_width(s), 0);
  } else {
    x = screen.width / 2 - tool_collapsed_width(s);
  }
  const int b = screen.bottom_bar_height;
  const int y = b < s ? screen.height - s : screen.height - (s + b) / 2;
  return {x, y};
}

bool tool_position_usable(const ToolScreen& screen, int x, int y) {
  return static_cast<unsigned>(x) < static_cast<unsigned>(screen.width) &&
         static_cast<unsigned>(y) < static_cast<unsigned>(screen.height);
}

ToolTap tool_tap_at(int x, int s) {
  // Zones in thirds of s: the tab below 2/3, the icon below 5/3, then a
  // key every 3/3.
  constexpr std::array<ToolTap, 6> kZones = {ToolTap::toggle_keys, ToolTap::next_configuration,
                                             ToolTap::full_stop,   ToolTap::comma,
                                             ToolTap::backspace,   ToolTap::space};
  if (x < 0) return ToolTap::nothing;
  for (std::size_t zone = 0; zone < kZones.size(); ++zone) {
    if (3 * x < (2 + 3 * static_cast<int>(zone)) * s) return kZones[zone];
  }
  return ToolTap::nothing;
}

bool tool_press_repeats(int x, int s) { return 3 * x > 11 * s && 3 * x < 14 * s; }

bool tool_tab_pixel_is_dark(int k, int i, int s, bool movable, bool expanded) {
  const int m = movable ? 4 : 2;
  const int f = s / 2;
  const int slope = 3 * k / 4;
  if (expanded) {
    const int c = tool_tab_width(s);
    return k > c - m || slope - m < f - i || (i > f && slope - m < i - f);
  }
  return k < m || i < m + slope || (i > f && s - i < m + slope);
}

int tool_default_icon_id(int display_scale, bool movable) {
  const bool dense = display_scale > 1;
  if (dense && movable) return platform::kIndicatorIconHuge;
  if (dense || movable) return platform::kIndicatorIconLarge;
  return platform::kIndicatorIconSmall;
}

}  // namespace ductra

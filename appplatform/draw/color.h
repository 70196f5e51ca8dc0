// Colours as the application gives them (COLORREF: red in the low byte, then
// green, then blue) and as RGB565 surfaces store them; the system colours
// and their brushes.
#pragma once

#include <cstdint>

namespace ductra::platform {

using ColorRef = std::uint32_t;

constexpr ColorRef rgb(int red, int green, int blue) {
  return static_cast<ColorRef>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int red_of(ColorRef c) { return static_cast<int>(c & 0xFF); }
constexpr int green_of(ColorRef c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blue_of(ColorRef c) { return static_cast<int>((c >> 16) & 0xFF); }

// Keeps the top 5, 6 and 5 bits of red, green and blue.
constexpr std::uint16_t to_rgb565(ColorRef c) {
  return static_cast<std::uint16_t>(((red_of(c) & 0xF8) << 8) | ((green_of(c) & 0xFC) << 3) |
                                    (blue_of(c) >> 3));
}
// Widens each field by repeating its top bits, so white stays white.
constexpr ColorRef from_rgb565(std::uint16_t p) {
  const int r = (p >> 11) & 0x1F, g = (p >> 5) & 0x3F, b = p & 0x1F;
  return rgb((r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2));
}

// System colour indices the application uses. An index may carry
// kSysColorFlag, as class backgrounds and brushes name them.
inline constexpr int COLOR_SCROLLBAR = 0;
inline constexpr int COLOR_BACKGROUND = 1;
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWFRAME = 6;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT = 14;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_BTNSHADOW = 16;
inline constexpr int COLOR_GRAYTEXT = 17;
inline constexpr int COLOR_BTNTEXT = 18;
inline constexpr int COLOR_BTNHIGHLIGHT = 20;
inline constexpr int COLOR_STATIC = 25;
inline constexpr int COLOR_STATICTEXT = 26;
inline constexpr int kSysColorCount = 27;
inline constexpr int kSysColorFlag = 0x40000000;

// The colour of a system colour index (with or without the flag); black for
// an index the system does not have.
ColorRef sys_color(int index);

}  // namespace ductra::platform

// Pens and brushes: the small values a device context draws lines and fills
// with, and the stock ones every program may use without creating them.
#pragma once

#include "appplatform/draw/color.h"

namespace ductra::platform {

enum class PenStyle { solid, dash, null };

// A pen of width 0 or 1 draws one-pixel lines; a wider solid pen draws round
// ends and joins. A dashed pen is always one pixel wide.
struct Pen {
  PenStyle style = PenStyle::solid;
  int width = 1;
  ColorRef color = rgb(0, 0, 0);
  friend bool operator==(const Pen&, const Pen&) = default;
};

// A brush fills with one colour; a hollow brush fills nothing.
struct Brush {
  ColorRef color = rgb(255, 255, 255);
  bool hollow = false;
  friend bool operator==(const Brush&, const Brush&) = default;
};

inline Pen solid_pen(int width, ColorRef color) { return {PenStyle::solid, width, color}; }
inline Brush solid_brush(ColorRef color) { return {color, false}; }
// The brush of a system colour index (with or without kSysColorFlag).
inline Brush sys_color_brush(int index) { return solid_brush(sys_color(index)); }

// Stock objects by their numbers.
inline constexpr int WHITE_BRUSH = 0;
inline constexpr int LTGRAY_BRUSH = 1;
inline constexpr int GRAY_BRUSH = 2;
inline constexpr int DKGRAY_BRUSH = 3;
inline constexpr int BLACK_BRUSH = 4;
inline constexpr int NULL_BRUSH = 5;
inline constexpr int WHITE_PEN = 6;
inline constexpr int BLACK_PEN = 7;
inline constexpr int NULL_PEN = 8;

// The stock brush of a number (white for a number that names a pen or
// nothing); a number with kSysColorFlag gives that system colour's brush.
Brush stock_brush(int number);
// The stock pen of a number (black for a number that names no pen).
Pen stock_pen(int number);

}  // namespace ductra::platform

// A device context: where and how drawing calls land on a bitmap.
//
// A context draws on a target bitmap with its own (0, 0) at `origin` of the
// target and touches no pixel outside its clip rectangle (in the context's
// coordinates) nor outside the target. A memory context owns its origin and
// clip (the whole bitmap selected into it); the window server hands out a
// context on the screen bitmap with the window's client origin and visible
// rectangle. It carries the selected pen, brush and font, the text and
// background colours, the background mode and the current position.
//
// Lines follow the platform's rules: a line leaves out its last pixel, a
// polyline its very last one. Rectangles and fills are half-open. A context
// belongs to one thread at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "appplatform/draw/bitmap.h"
#include "appplatform/draw/font.h"
#include "appplatform/geometry.h"
#include "appplatform/draw/pen_and_brush.h"

namespace ductra::platform {

// Device capabilities.
inline constexpr int HORZRES = 8;
inline constexpr int VERTRES = 10;
inline constexpr int BITSPIXEL = 12;
inline constexpr int LOGPIXELSX = 88;
inline constexpr int LOGPIXELSY = 90;

// Background modes.
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// Text output options and text drawing formats.
inline constexpr unsigned ETO_OPAQUE = 0x0002;
inline constexpr unsigned ETO_CLIPPED = 0x0004;
inline constexpr unsigned DT_LEFT = 0x0000;
inline constexpr unsigned DT_CENTER = 0x0001;
inline constexpr unsigned DT_RIGHT = 0x0002;
inline constexpr unsigned DT_VCENTER = 0x0004;
inline constexpr unsigned DT_BOTTOM = 0x0008;
inline constexpr unsigned DT_WORDBREAK = 0x0010;
inline constexpr unsigned DT_SINGLELINE = 0x0020;
inline constexpr unsigned DT_NOCLIP = 0x0100;
inline constexpr unsigned DT_CALCRECT = 0x0400;
inline constexpr unsigned DT_NOPREFIX = 0x0800;

inline constexpr ColorRef CLR_INVALID = 0xFFFFFFFF;

// How a blit combines source and destination pixels.
enum class RasterOp {
  copy,    // SRCCOPY
  xor_,    // SRCINVERT
  and_,    // SRCAND
  or_,     // SRCPAINT
};

struct TextSize {
  int cx = 0;
  int cy = 0;
};

// The extents of a text: `fit` units lie within the maximum extent asked
// for (all when none was), `extents[i]` is the width of units 0..i and
// `size` the size of the whole text.
struct TextExtent {
  int fit = 0;
  std::vector<int> extents;
  TextSize size;
};

class DeviceContext {
 public:
  // A context on the whole target (a memory context when the target is a
  // bitmap of its own). A null target draws nothing.
  explicit DeviceContext(std::shared_ptr<Bitmap> target, int dots_per_inch = 96);
  // A context on part of a target: (0, 0) at `origin`, drawing only in `clip`.
  DeviceContext(std::shared_ptr<Bitmap> target, Point origin, Rect clip,
                int dots_per_inch = 96);

  // Selects another bitmap, with the origin at its corner and no clip beyond
  // it; returns the one selected before.
  std::shared_ptr<Bitmap> select_bitmap(std::shared_ptr<Bitmap> bitmap);
  const std::shared_ptr<Bitmap>& target() const { return target_; }
  Point origin() const { return origin_; }
  Rect clip() const { return clip_; }
  // The clip becomes `clip` within the target.
  void set_clip(Rect clip);
  int device_caps(int index) const;

  Pen select_pen(const Pen& pen);
  Brush select_brush(const Brush& brush);
  std::shared_ptr<const Font> select_font(std::shared_ptr<const Font> font);
  const Pen& pen() const { return pen_; }
  const Brush& brush() const { return brush_; }
  const std::shared_ptr<const Font>& font() const { return font_; }
  ColorRef set_text_color(ColorRef color);
  ColorRef set_bk_color(ColorRef color);
  int set_bk_mode(int mode);
  ColorRef text_color() const { return text_color_; }
  ColorRef bk_color() const { return bk_color_; }
  int bk_mode() const { return bk_mode_; }

  // CLR_INVALID outside the clip.
  ColorRef pixel(int x, int y) const;
  void set_pixel(int x, int y, ColorRef color);
  void fill_rect(const Rect& rect, const Brush& brush);
  // Returns the previous position.
  Point move_to(int x, int y);
  void line_to(int x, int y);
  void polyline(std::span<const Point> points);
  // Outline with the pen, inside filled with the brush.
  void rectangle(int left, int top, int right, int bottom);
  void ellipse(int left, int top, int right, int bottom);
  // Inverts every other pixel of the rectangle's border; drawing it again
  // takes it away.
  void draw_focus_rect(const Rect& rect);

  // Copies w x h pixels from `source` at (sx, sy). Parts outside the source
  // bitmap or this context's clip are left out. A monochrome source paints
  // its 0 bits in this context's text colour and its 1 bits in its
  // background colour. False when either context has no bitmap.
  bool bit_blt(int x, int y, int w, int h, const DeviceContext& source, int sx, int sy,
               RasterOp op = RasterOp::copy);
  // Stretches `from` of the source onto `to`, leaving out source pixels of
  // the transparent colour. False for an empty rectangle or no bitmap.
  bool transparent_blt(const Rect& to, const DeviceContext& source, const Rect& from,
                       ColorRef transparent);

  // Text, with the selected font, in the text colour; with an opaque
  // background mode the text's cells are first filled with the background
  // colour. (x, y) is the top left of the first cell.
  TextMetrics text_metrics() const;
  void text_out(int x, int y, std::u16string_view text, unsigned options = 0,
                const Rect* rect = nullptr);
  // `max_extent` below 0: every unit counts as fitting.
  TextExtent text_extent(std::u16string_view text, int max_extent = -1) const;
  // Draws text into a rectangle by the DT_ format; returns the text's
  // height. DT_CALCRECT draws nothing and sets the rectangle to the text's.
  int draw_text(std::u16string_view text, Rect& rect, unsigned format);

 private:
  // Plots one pixel in context coordinates, within the clip.
  void plot(int x, int y, std::uint32_t native);
  void plot_pen_point(int x, int y, std::span<const Point> tip);
  void stroke_segment(Point from, Point to, bool last_pixel);
  void draw_glyph_run(int x, int baseline, std::u16string_view text, const Rect& clip);
  Rect device_clip() const;

  std::shared_ptr<Bitmap> target_;
  Point origin_;
  Rect clip_;
  int dots_per_inch_;
  Pen pen_;
  Brush brush_;
  std::shared_ptr<const Font> font_;
  ColorRef text_color_ = rgb(0, 0, 0);
  ColorRef bk_color_ = rgb(255, 255, 255);
  int bk_mode_ = OPAQUE;
  Point position_;
  int dash_phase_ = 0;
};

}  // namespace ductra::platform

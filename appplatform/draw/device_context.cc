#include "appplatform/draw/device_context.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace ductra::platform {

namespace {

// A dashed pen draws kDashOn pixels, then leaves kDashOff, along its lines.
constexpr int kDashOn = 4;
constexpr int kDashOff = 2;

Rect whole(const std::shared_ptr<Bitmap>& bitmap) {
  return bitmap ? Rect{0, 0, bitmap->width(), bitmap->height()} : Rect{};
}

// The value whose exclusive-or inverts a stored pixel.
std::uint32_t all_ones(const Bitmap& bitmap) {
  switch (bitmap.format()) {
    case PixelFormat::rgb565: return 0xFFFF;
    case PixelFormat::indexed8: return 0xFF;
    case PixelFormat::mono1: return 1;
  }
  return 0;
}

std::uint32_t combine(std::uint32_t source, std::uint32_t destination, RasterOp op) {
  switch (op) {
    case RasterOp::copy: return source;
    case RasterOp::xor_: return source ^ destination;
    case RasterOp::and_: return source & destination;
    case RasterOp::or_: return source | destination;
  }
  return source;
}

// The offsets of a round pen tip of `width` pixels.
std::vector<Point> tip_offsets(int width) {
  std::vector<Point> offsets;
  const double centre = width % 2 ? 0.0 : -0.5;
  const double radius = width / 2.0;
  for (int j = -(width / 2); j <= (width - 1) / 2; ++j) {
    for (int i = -(width / 2); i <= (width - 1) / 2; ++i) {
      const double dx = i - centre, dy = j - centre;
      if (dx * dx + dy * dy <= radius * radius + 1e-9) offsets.push_back({i, j});
    }
  }
  return offsets;
}

}  // namespace

DeviceContext::DeviceContext(std::shared_ptr<Bitmap> target, int dots_per_inch)
    : DeviceContext(target, {}, whole(target), dots_per_inch) {}

DeviceContext::DeviceContext(std::shared_ptr<Bitmap> target, Point origin, Rect clip,
                             int dots_per_inch)
    : target_(std::move(target)), origin_(origin), dots_per_inch_(dots_per_inch), font_(system_font()) {
  set_clip(clip);
}

std::shared_ptr<Bitmap> DeviceContext::select_bitmap(std::shared_ptr<Bitmap> bitmap) {
  std::shared_ptr<Bitmap> previous = std::move(target_);
  target_ = std::move(bitmap);
  origin_ = {};
  clip_ = whole(target_);
  return previous;
}

void DeviceContext::set_clip(Rect clip) {
  clip_ = intersect(clip, whole(target_).offset(-origin_.x, -origin_.y));
}

Rect DeviceContext::device_clip() const { return clip_.offset(origin_.x, origin_.y); }

int DeviceContext::device_caps(int index) const {
  switch (index) {
    case HORZRES: return target_ ? target_->width() : 0;
    case VERTRES: return target_ ? target_->height() : 0;
    case BITSPIXEL:
      if (!target_) return 0;
      return target_->format() == PixelFormat::rgb565 ? 16 : target_->format() == PixelFormat::indexed8 ? 8 : 1;
    case LOGPIXELSX:
    case LOGPIXELSY: return dots_per_inch_;
    default: return 0;
  }
}

Pen DeviceContext::select_pen(const Pen& pen) { return std::exchange(pen_, pen); }
Brush DeviceContext::select_brush(const Brush& brush) { return std::exchange(brush_, brush); }
std::shared_ptr<const Font> DeviceContext::select_font(std::shared_ptr<const Font> font) {
  return std::exchange(font_, font ? std::move(font) : system_font());
}
ColorRef DeviceContext::set_text_color(ColorRef color) { return std::exchange(text_color_, color); }
ColorRef DeviceContext::set_bk_color(ColorRef color) { return std::exchange(bk_color_, color); }
int DeviceContext::set_bk_mode(int mode) { return std::exchange(bk_mode_, mode); }

ColorRef DeviceContext::pixel(int x, int y) const {
  if (!clip_.contains(x, y)) return CLR_INVALID;
  return target_->color_at(x + origin_.x, y + origin_.y);
}

void DeviceContext::plot(int x, int y, std::uint32_t native) {
  if (clip_.contains(x, y)) target_->set_native(x + origin_.x, y + origin_.y, native);
}

void DeviceContext::set_pixel(int x, int y, ColorRef color) {
  if (target_) plot(x, y, target_->native_of(color));
}

void DeviceContext::fill_rect(const Rect& rect, const Brush& brush) {
  if (!target_ || brush.hollow) return;
  const Rect area = intersect(rect, clip_);
  const std::uint32_t native = target_->native_of(brush.color);
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) target_->set_native(x + origin_.x, y + origin_.y, native);
  }
}

Point DeviceContext::move_to(int x, int y) {
  dash_phase_ = 0;
  return std::exchange(position_, Point{x, y});
}

void DeviceContext::line_to(int x, int y) {
  stroke_segment(position_, {x, y}, false);
  position_ = {x, y};
}

void DeviceContext::polyline(std::span<const Point> points) {
  dash_phase_ = 0;
  for (std::size_t i = 1; i < points.size(); ++i) stroke_segment(points[i - 1], points[i], false);
}

void DeviceContext::plot_pen_point(int x, int y, std::span<const Point> tip) {
  const std::uint32_t native = target_->native_of(pen_.color);
  if (pen_.style == PenStyle::dash) {
    const bool on = dash_phase_ < kDashOn;
    dash_phase_ = (dash_phase_ + 1) % (kDashOn + kDashOff);
    if (on) plot(x, y, native);
    return;
  }
  if (pen_.width <= 1) {
    plot(x, y, native);
    return;
  }
  for (Point d : tip) plot(x + d.x, y + d.y, native);
}

// Bresenham's walk from `from` towards `to`; the end pixel only when asked
// for, or always for a wide pen, whose round ends close every join.
void DeviceContext::stroke_segment(Point from, Point to, bool last_pixel) {
  if (!target_ || pen_.style == PenStyle::null) return;
  const bool wide = pen_.style == PenStyle::solid && pen_.width > 1;
  const std::vector<Point> tip = wide ? tip_offsets(pen_.width) : std::vector<Point>{};
  const int dx = std::abs(to.x - from.x), dy = std::abs(to.y - from.y);
  const int sx = to.x >= from.x ? 1 : -1, sy = to.y >= from.y ? 1 : -1;
  const int steps = std::max(dx, dy);
  int x = from.x, y = from.y;
  int error = dx >= dy ? 2 * dy - dx : 2 * dx - dy;
  for (int i = 0; i < steps; ++i) {
    plot_pen_point(x, y, tip);
    if (dx >= dy) {
      if (error >= 0 && dy > 0) {
        y += sy;
        error -= 2 * dx;
      }
      error += 2 * dy;
      x += sx;
    } else {
      if (error >= 0 && dx > 0) {
        x += sx;
        error -= 2 * dy;
      }
      error += 2 * dx;
      y += sy;
    }
  }
  if (last_pixel || wide) plot_pen_point(x, y, tip);
}

void DeviceContext::rectangle(int left, int top, int right, int bottom) {
  if (right - left < 1 || bottom - top < 1) return;
  fill_rect({left, top, right, bottom}, brush_);
  const Point corners[] = {{left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}, {left, top}};
  polyline(corners);
}

void DeviceContext::ellipse(int left, int top, int right, int bottom) {
  if (!target_ || right - left < 1 || bottom - top < 1) return;
  const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
  const double rx = (right - left) / 2.0, ry = (bottom - top) / 2.0;
  auto inside = [&](int x, int y) {
    const double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
    return u * u + v * v <= 1.0;
  };
  const std::uint32_t fill = target_->native_of(brush_.color);
  const std::uint32_t edge = target_->native_of(pen_.color);
  const bool outline = pen_.style != PenStyle::null;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      if (!inside(x, y)) continue;
      const bool border = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
      if (border && outline) {
        plot(x, y, edge);
      } else if (!brush_.hollow) {
        plot(x, y, fill);
      }
    }
  }
}

void DeviceContext::draw_focus_rect(const Rect& rect) {
  if (!target_ || rect.empty()) return;
  const std::uint32_t invert = all_ones(*target_);
  auto flip = [&](int x, int y) {
    if ((x + y) % 2 != 0 || !clip_.contains(x, y)) return;
    const int tx = x + origin_.x, ty = y + origin_.y;
    target_->set_native(tx, ty, target_->native(tx, ty) ^ invert);
  };
  for (int x = rect.left; x < rect.right; ++x) {
    flip(x, rect.top);
    if (rect.bottom - 1 > rect.top) flip(x, rect.bottom - 1);
  }
  for (int y = rect.top + 1; y < rect.bottom - 1; ++y) {
    flip(rect.left, y);
    if (rect.right - 1 > rect.left) flip(rect.right - 1, y);
  }
}

bool DeviceContext::bit_blt(int x, int y, int w, int h, const DeviceContext& source, int sx, int sy,
                            RasterOp op) {
  if (!target_ || !source.target_) return false;
  const Bitmap& from = *source.target_;
  // The destination rectangle, cut to this clip and to where source pixels exist.
  const Rect source_area = whole(source.target_).offset(-source.origin_.x - sx + x, -source.origin_.y - sy + y);
  const Rect area = intersect(intersect({x, y, x + w, y + h}, clip_), source_area);
  if (area.empty()) return true;
  const int shift_x = sx - x + source.origin_.x, shift_y = sy - y + source.origin_.y;
  // Read the whole source first: the source may be this very bitmap.
  std::vector<std::uint32_t> values(static_cast<std::size_t>(area.width()) * static_cast<std::size_t>(area.height()));
  const bool mono_to_colour = from.format() == PixelFormat::mono1 && target_->format() != PixelFormat::mono1;
  const bool colour_to_mono = from.format() != PixelFormat::mono1 && target_->format() == PixelFormat::mono1;
  const bool same_kind = from.format() == target_->format() && from.format() != PixelFormat::indexed8;
  std::size_t k = 0;
  for (int py = area.top; py < area.bottom; ++py) {
    for (int px = area.left; px < area.right; ++px) {
      const std::uint32_t value = from.native(px + shift_x, py + shift_y);
      if (same_kind) {
        values[k++] = value;
      } else if (mono_to_colour) {
        values[k++] = target_->native_of(value ? bk_color_ : text_color_);
      } else if (colour_to_mono) {
        values[k++] = from.color_of(value) == source.bk_color_ ? 1u : 0u;
      } else {
        values[k++] = target_->native_of(from.color_of(value));
      }
    }
  }
  k = 0;
  for (int py = area.top; py < area.bottom; ++py) {
    for (int px = area.left; px < area.right; ++px) {
      const int tx = px + origin_.x, ty = py + origin_.y;
      target_->set_native(tx, ty, combine(values[k++], target_->native(tx, ty), op));
    }
  }
  return true;
}

bool DeviceContext::transparent_blt(const Rect& to, const DeviceContext& source, const Rect& from,
                                    ColorRef transparent) {
  if (!target_ || !source.target_ || to.empty() || from.empty()) return false;
  const Bitmap& bitmap = *source.target_;
  const std::uint32_t skip = bitmap.native_of(transparent);
  const Rect area = intersect(to, clip_);
  for (int y = area.top; y < area.bottom; ++y) {
    const int fy = from.top + static_cast<int>(static_cast<long long>(y - to.top) * from.height() / to.height()) + source.origin_.y;
    for (int x = area.left; x < area.right; ++x) {
      const int fx = from.left + static_cast<int>(static_cast<long long>(x - to.left) * from.width() / to.width()) + source.origin_.x;
      if (fx < 0 || fy < 0 || fx >= bitmap.width() || fy >= bitmap.height()) continue;
      const std::uint32_t value = bitmap.native(fx, fy);
      if (value == skip) continue;
      target_->set_native(x + origin_.x, y + origin_.y, target_->native_of(bitmap.color_of(value)));
    }
  }
  return true;
}

}  // namespace ductra::platform

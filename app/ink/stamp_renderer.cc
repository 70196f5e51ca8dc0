#include "app/ink/stamp_renderer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace ductra {
namespace {

using platform::Bitmap;
using platform::DeviceContext;
using platform::Point;

constexpr std::uint8_t kFullCoverage = 255;
// The coverage at the middle of a disc tip (never reached exactly).
constexpr double kDiscCoverage = 140.0;
// Tips this wide or wider are stamped at every fourth step only.
constexpr int kSparseTipSize = 8;
constexpr std::uint32_t kSparseStep = 4;
constexpr std::uint32_t kRedBlue = 0xF81F;
constexpr std::uint32_t kGreen = 0x07E0;

int tip_size_of(int width) { return width == 2 ? 3 : width; }
int tip_half_of(int width) { return width == 2 ? 1 : width / 2; }

// A bottom-up 16-bit section with the RGB565 bit fields.
std::shared_ptr<Bitmap> scratch_bitmap(int width, int height) {
  return Bitmap::create_dib_section({.width = width, .height = height});
}

std::uint32_t blend_part(std::uint32_t pixel, std::uint32_t colour, int alpha, std::uint32_t part) {
  const int p = static_cast<int>(pixel & part);
  const int c = static_cast<int>(colour & part);
  return static_cast<std::uint32_t>(p + (((c - p) * alpha) >> 6)) & part;
}

}  // namespace

std::vector<std::uint8_t> tip_mask(int width) {
  if (width <= 1) return {kFullCoverage};
  if (width == 2) return {5, 34, 5, 34, kFullCoverage, 34, 5, 34, 5};
  const double r = width / 2.0;
  std::vector<std::uint8_t> mask(static_cast<std::size_t>(width) * static_cast<std::size_t>(width), 0);
  for (int row = 0; row < width; ++row) {
    for (int column = 0; column < width; ++column) {
      const double d = std::hypot(r - (column + 0.5), r - (row + 0.5));
      if (d < r) mask[static_cast<std::size_t>(row * width + column)] = static_cast<std::uint8_t>((r - d) / r * kDiscCoverage);
    }
  }
  return mask;
}

std::uint16_t blend565(std::uint16_t pixel, std::uint16_t colour, std::uint8_t coverage) {
  if (coverage == 0) return pixel;
  if (coverage == kFullCoverage) return colour;
  const int alpha = coverage >> 2;
  return static_cast<std::uint16_t>(blend_part(pixel, colour, alpha, kRedBlue) |
                                    blend_part(pixel, colour, alpha, kGreen));
}

StampRenderer::StampRenderer(int width, platform::ColorRef colour)
    : size_(tip_size_of(std::max(width, 1))),
      half_(tip_half_of(std::max(width, 1))),
      mask_(tip_mask(std::max(width, 1))),
      colour565_(platform::to_rgb565(colour)),
      tip_(scratch_bitmap(size_, size_)),
      tip_context_(tip_) {}

void StampRenderer::stamp(Bitmap& pixels, int x, int y) const {
  for (int row = 0; row < size_; ++row) {
    for (int column = 0; column < size_; ++column) {
      const int px = x + column, py = y + row;
      if (px < 0 || py < 0 || px >= pixels.width() || py >= pixels.height()) continue;
      const std::uint8_t coverage = mask_[static_cast<std::size_t>(row * size_ + column)];
      const auto pixel = static_cast<std::uint16_t>(pixels.native(px, py));
      pixels.set_native(px, py, blend565(pixel, colour565_, coverage));
    }
  }
}

void StampRenderer::dot(DeviceContext& target, int x, int y) {
  if (!tip_) return;
  const int left = x - half_, top = y - half_;
  tip_context_.bit_blt(0, 0, size_, size_, target, left, top);
  stamp(*tip_, 0, 0);
  target.bit_blt(left, top, size_, size_, tip_context_, 0, 0);
}

// The whole run is read into one scratch bitmap over the points' box
// (widened by the tip) and written back once; the target's clip keeps
// both copies on the screen.
void StampRenderer::polyline(DeviceContext& target, std::span<const Point> points) {
  if (points.size() < 2) return;
  int min_x = points[0].x, min_y = points[0].y, max_x = min_x, max_y = min_y;
  for (const Point& p : points) {
    min_x = std::min(min_x, p.x);
    min_y = std::min(min_y, p.y);
    max_x = std::max(max_x, p.x);
    max_y = std::max(max_y, p.y);
  }
  const int width = max_x - min_x + size_, height = max_y - min_y + size_;
  const std::shared_ptr<Bitmap> scratch = scratch_bitmap(width, height);
  if (!scratch) return;
  DeviceContext scratch_context(scratch);
  const int left = min_x - size_ / 2, top = min_y - size_ / 2;
  scratch_context.bit_blt(0, 0, width, height, target, left, top);
  steps_ = 1;
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    walk_segment(*scratch, {points[i].x - min_x, points[i].y - min_y},
                 {points[i + 1].x - min_x, points[i + 1].y - min_y});
  }
  target.bit_blt(left, top, width, height, scratch_context, 0, 0);
}

// Bresenham's walk: one pixel along the longer axis (x on a tie) at every
// step, one along the shorter whenever the error term allows.
void StampRenderer::walk_segment(Bitmap& scratch, Point from, Point to) {
  const int dx = std::abs(to.x - from.x), dy = std::abs(to.y - from.y);
  const int step_x = to.x < from.x ? -1 : 1, step_y = to.y < from.y ? -1 : 1;
  const bool along_x = dx >= dy;
  const int major = along_x ? dx : dy, minor = along_x ? dy : dx;
  int error = 2 * minor - major;
  Point at = from;
  for (int step = 0; step < major; ++step) {
    if (along_x) {
      at.x += step_x;
    } else {
      at.y += step_y;
    }
    if (error >= 0) {
      if (along_x) {
        at.y += step_y;
      } else {
        at.x += step_x;
      }
      error -= 2 * major;
    }
    error += 2 * minor;
    if (size_ < kSparseTipSize || steps_ % kSparseStep == 0) stamp(scratch, at.x, at.y);
    ++steps_;
  }
}

}  // namespace ductra

// Drawing of a writing variant's model shape into a cell of the copybook:
// the shape element's two guide lines across the cell, its strokes scaled
// from the engine's shape units onto the cell's width, and for a letter of
// two parts, copies of the second part above, below, left or right of the
// first as the variant's layout asks. Animated, the strokes appear segment
// by segment in writing order, pausing on the process clock (about half a
// second a stroke; 50 ms a segment for strokes under 21 points).
//
// Stateless; what a call builds is freed before it returns, and the
// context's pen is what it was. A reference width below 1 draws nothing.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "appplatform/draw/device_context.h"
#include "inkrec/inkrec.h"

namespace ductra {

// Layout word bits: where the copies of the second part go.
inline constexpr std::uint32_t kCopiesAbove = 1;
inline constexpr std::uint32_t kCopiesBelow = 2;
inline constexpr std::uint32_t kCopiesLeft = 4;
inline constexpr std::uint32_t kCopiesRight = 8;
// Pixels between the first part and its copies.
inline constexpr int kCopyGap = 8;

// Screen points of one stroke, and the strokes of a shape.
using DrawnStroke = std::vector<platform::Point>;
using DrawnShape = std::vector<DrawnStroke>;

struct DrawnBounds {
  int min_x = 0x7FFFFFFF;
  int min_y = 0x7FFFFFFF;
  int max_x = -0x7FFFFFFF - 1;
  int max_y = -0x7FFFFFFF - 1;
};

// Where shape units land: x0 + x * scale, y0 + y * scale, truncated.
struct ShapeScale {
  double scale = 1;
  int x0 = 0;
  int y0 = 0;
};

struct ShapeCell {
  platform::Rect rect;
  int reference_width = 320;  // shape units across the cell
};

struct SecondPart {
  const crDynArray* elements = nullptr;  // crSample; the first one's strokes (none: a dash)
  std::uint32_t layout = 0;
  int count = 0;  // copies on each chosen side; 0: none
};

void draw_shape(platform::DeviceContext& dc, const platform::Pen& stroke_pen, const platform::Pen& guide_pen,
                bool animate, const crSample& element, const ShapeCell& cell, const SecondPart& second);

DrawnStroke scale_stroke(std::span<const crPoint> stroke, const ShapeScale& scale);
DrawnBounds points_bounds(const DrawnShape& shape);
void draw_polyline(platform::DeviceContext& dc, const DrawnStroke& stroke, bool animate);
// Moves the shape back by (tx, ty), then `count` times on by `step` and draws it.
void draw_shifted_copies(platform::DeviceContext& dc, DrawnShape shape, platform::Point translation, int count,
                         platform::Point step, bool animate);

}  // namespace ductra
